/// \file
/// Reading a WAV file's format chunk, and turning samples of any layout it allows into the sound
/// table's one buffer format: 11025 frames per second, 8-bit unsigned, mono.
#pragma once

#include <cstdint>

/// The sound table's buffer format.
constexpr uint32_t TABLE_RATE = 11025;
/// The lowest sample rate read: below it no recording is made, and a tiny file would become an
/// enormous sound (the conversion multiplies its length by up to TABLE_RATE / MIN_RATE).
constexpr uint32_t MIN_RATE = 1000;
/// Bytes of the longest format chunk read: the extensible format's.
constexpr uint32_t EXTENSIBLE_FORMAT_BYTES = 40;

/// A sample layout: frames per second, channels, bits each sample takes, integer or float.
struct PcmLayout {
  uint32_t rate;          ///< frames per second
  int channels;           ///< samples in each frame, interleaved
  int bits;               ///< 8 (unsigned), 16, 24 or 32 (signed), or 32 for floats
  bool is_float = false;  ///< samples are 32-bit floats, full scale -1..1
};

/// The layout a format chunk (its first `size` bytes, up to EXTENSIBLE_FORMAT_BYTES) describes:
/// PCM (tag 1) or float (tag 3), plain or in the extensible format (tag 0xFFFE) with either
/// sub-format. False for every other format and for layouts ConvertibleLayout refuses.
bool ReadFormatChunk(const uint8_t* chunk, uint32_t size, PcmLayout* layout);
/// True for layouts ConvertToTableFormat reads: 8-, 16-, 24- or 32-bit integers or 32-bit floats,
/// 1 to 65535 channels, at least MIN_RATE frames per second.
bool ConvertibleLayout(const PcmLayout& layout);
/// True when samples in `layout` are already in the table's format.
bool IsTableFormat(const PcmLayout& layout);
/// Bytes the converted sound takes: whole input frames, at 11025 Hz, one byte each (may be more
/// than 32 bits hold).
uint64_t ConvertedSize(const PcmLayout& layout, uint32_t bytes);
/// Converts `bytes` of samples in `layout` to ConvertedSize bytes in the table's format: channels
/// averaged, rate changed by averaging (down) or linear interpolation (up).
void ConvertToTableFormat(const PcmLayout& layout, const uint8_t* samples, uint32_t bytes, uint8_t* out);
