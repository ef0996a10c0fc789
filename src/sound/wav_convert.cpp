#include "sound/wav_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Format tags: integer PCM, float, and the extensible format that names one of them by a GUID.
constexpr uint32_t TAG_PCM = 1;
constexpr uint32_t TAG_FLOAT = 3;
constexpr uint32_t TAG_EXTENSIBLE = 0xFFFE;
// The plain format chunk's bytes, and the extra bytes the extensible format adds to the 18-byte one.
constexpr uint32_t PLAIN_FORMAT_BYTES = 16;
constexpr uint32_t EXTENSIBLE_EXTRA_BYTES = 22;
// The sub-format GUID after its first field, which holds the tag; the same for PCM and float.
constexpr uint8_t SUBFORMAT_GUID_REST[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// A little-endian number of `bytes` bytes.
uint32_t LittleEndian(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

// The tag a format chunk stands for: its own, or for the extensible format its sub-format's; 0
// when the extensible part is missing or names something else.
uint32_t EffectiveTag(const uint8_t* chunk, uint32_t size) {
  const uint32_t tag = LittleEndian(chunk, 2);
  if (tag != TAG_EXTENSIBLE) return tag;
  if (size < EXTENSIBLE_FORMAT_BYTES || LittleEndian(chunk + 16, 2) < EXTENSIBLE_EXTRA_BYTES) return 0;
  if (LittleEndian(chunk + 18, 2) > LittleEndian(chunk + 14, 2)) return 0;  // more valid bits than stored
  if (std::memcmp(chunk + 28, SUBFORMAT_GUID_REST, sizeof SUBFORMAT_GUID_REST) != 0) return 0;
  return LittleEndian(chunk + 24, 4);
}

uint32_t FrameBytes(const PcmLayout& layout) { return static_cast<uint32_t>(layout.channels) * (layout.bits / 8); }

// A float sample scaled to 16 bits: beyond full scale held at it, not a number taken as silence.
int32_t FloatTo16(float value) {
  if (std::isnan(value)) return 0;
  return std::min(static_cast<int32_t>(std::clamp(value, -1.0f, 1.0f) * 32768.0f), int32_t{32767});
}

// One sample as a signed 16-bit value: the top 16 bits of an integer, or a float scaled.
int32_t SampleAt(const PcmLayout& layout, const uint8_t* at) {
  if (layout.bits == 8) return (static_cast<int32_t>(at[0]) - 128) * 256;
  if (!layout.is_float) return static_cast<int16_t>(LittleEndian(at + layout.bits / 8 - 2, 2));
  const uint32_t pattern = LittleEndian(at, 4);
  float value;
  std::memcpy(&value, &pattern, sizeof value);
  return FloatTo16(value);
}

// One input frame, channels averaged, as a signed 16-bit value.
int32_t MonoAt(const PcmLayout& layout, const uint8_t* samples, uint64_t frame) {
  const uint8_t* at = samples + frame * FrameBytes(layout);
  int64_t sum = 0;
  for (int channel = 0; channel < layout.channels; ++channel) sum += SampleAt(layout, at + channel * (layout.bits / 8));
  return static_cast<int32_t>(sum / layout.channels);
}

// Signed 16-bit to unsigned 8-bit: the top byte with its sign bit flipped.
uint8_t ToUnsigned8(int32_t value) { return static_cast<uint8_t>((value >> 8) ^ 0x80); }

}  // namespace

bool ReadFormatChunk(const uint8_t* chunk, uint32_t size, PcmLayout* layout) {
  if (size < PLAIN_FORMAT_BYTES) return false;
  const uint32_t tag = EffectiveTag(chunk, size);
  if (tag != TAG_PCM && tag != TAG_FLOAT) return false;
  *layout = PcmLayout{LittleEndian(chunk + 4, 4), static_cast<int>(LittleEndian(chunk + 2, 2)),
                      static_cast<int>(LittleEndian(chunk + 14, 2)), tag == TAG_FLOAT};
  return ConvertibleLayout(*layout) && LittleEndian(chunk + 12, 2) == FrameBytes(*layout);
}

bool ConvertibleLayout(const PcmLayout& layout) {
  const bool integer_bits = layout.bits == 8 || layout.bits == 16 || layout.bits == 24 || layout.bits == 32;
  return layout.rate >= MIN_RATE && layout.channels >= 1 && layout.channels <= 0xFFFF &&
         (layout.is_float ? layout.bits == 32 : integer_bits);
}

bool IsTableFormat(const PcmLayout& layout) {
  return layout.rate == TABLE_RATE && layout.channels == 1 && layout.bits == 8 && !layout.is_float;
}

uint64_t ConvertedSize(const PcmLayout& layout, uint32_t bytes) {
  const uint64_t frames = bytes / FrameBytes(layout);
  return frames * TABLE_RATE / layout.rate;
}

void ConvertToTableFormat(const PcmLayout& layout, const uint8_t* samples, uint32_t bytes, uint8_t* out) {
  const uint64_t frames = bytes / FrameBytes(layout);
  const uint64_t count = ConvertedSize(layout, bytes);
  for (uint64_t j = 0; j < count; ++j) {
    const uint64_t first = j * layout.rate / TABLE_RATE;
    if (layout.rate > TABLE_RATE) {  // average every input frame this output frame covers
      uint64_t last = (j + 1) * layout.rate / TABLE_RATE;
      if (last > frames) last = frames;
      int64_t sum = 0;
      for (uint64_t i = first; i < last; ++i) sum += MonoAt(layout, samples, i);
      out[j] = ToUnsigned8(static_cast<int32_t>(sum / static_cast<int64_t>(last - first)));
    } else {  // between two input frames
      const uint64_t remainder = j * layout.rate % TABLE_RATE;
      const int32_t here = MonoAt(layout, samples, first);
      const int32_t next = first + 1 < frames ? MonoAt(layout, samples, first + 1) : here;
      out[j] = ToUnsigned8(here + static_cast<int32_t>((next - here) * static_cast<int64_t>(remainder) / TABLE_RATE));
    }
  }
}
