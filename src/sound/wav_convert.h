// Turning PCM samples of any common layout into the sound table's one buffer format:
// 11025 frames per second, 8-bit unsigned, mono.
#pragma once

#include <cstdint>

// The sound table's buffer format.
constexpr uint32_t TABLE_RATE = 11025;

// A PCM layout: frames per second, channels, bits per sample (8 or 16).
struct PcmLayout {
  uint32_t rate;
  int channels;
  int bits;
};

// True for layouts ConvertToTableFormat reads: 8- or 16-bit, 1 to 8 channels, rate 1 and up.
bool ConvertibleLayout(const PcmLayout& layout);
// True when samples in `layout` are already in the table's format.
bool IsTableFormat(const PcmLayout& layout);
// Bytes the converted sound takes: whole input frames, at 11025 Hz, one byte each (a low rate
// can make it more than 32 bits hold).
uint64_t ConvertedSize(const PcmLayout& layout, uint32_t bytes);
// Converts `bytes` of samples in `layout` to ConvertedSize bytes in the table's format: channels
// averaged, rate changed by averaging (down) or linear interpolation (up).
void ConvertToTableFormat(const PcmLayout& layout, const uint8_t* samples, uint32_t bytes, uint8_t* out);
