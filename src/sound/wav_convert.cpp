#include "sound/wav_convert.h"

namespace {

uint32_t FrameBytes(const PcmLayout& layout) { return static_cast<uint32_t>(layout.channels * layout.bits / 8); }

// One input frame, channels averaged, as a signed 16-bit value.
int32_t MonoAt(const PcmLayout& layout, const uint8_t* samples, uint64_t frame) {
  const uint8_t* at = samples + frame * FrameBytes(layout);
  int32_t sum = 0;
  for (int channel = 0; channel < layout.channels; ++channel) {
    if (layout.bits == 8) {
      sum += (static_cast<int32_t>(at[channel]) - 128) * 256;
    } else {
      const uint8_t* word = at + channel * 2;
      sum += static_cast<int16_t>(static_cast<uint16_t>(word[0] | (word[1] << 8)));
    }
  }
  return sum / layout.channels;
}

// Signed 16-bit to unsigned 8-bit: the top byte with its sign bit flipped.
uint8_t ToUnsigned8(int32_t value) { return static_cast<uint8_t>((value >> 8) ^ 0x80); }

}  // namespace

bool ConvertibleLayout(const PcmLayout& layout) {
  return layout.rate > 0 && layout.channels >= 1 && layout.channels <= 8 && (layout.bits == 8 || layout.bits == 16);
}

bool IsTableFormat(const PcmLayout& layout) {
  return layout.rate == TABLE_RATE && layout.channels == 1 && layout.bits == 8;
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
