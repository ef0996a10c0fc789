#include "soft/sound_mixer.h"

#include <cmath>
#include <cstring>

namespace {

// Frames mixed per pass over the voices.
constexpr int CHUNK_FRAMES = 256;

// Channel `channel` of frame `frame`, as a signed 16-bit value.
int32_t SampleAt(const MixVoice& voice, uint32_t frame, int channel) {
  const uint32_t index = frame * static_cast<uint32_t>(voice.channels) + static_cast<uint32_t>(channel);
  if (voice.bits == 8) return (static_cast<int32_t>(voice.data[index]) - 128) * 256;
  const uint8_t* bytes = voice.data + static_cast<size_t>(index) * 2;
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

// The frame after `frame`: the first again when looping, else the last one held.
uint32_t NextFrame(const MixVoice& voice, uint32_t frame) {
  if (frame + 1 < voice.frames) return frame + 1;
  return voice.looping ? 0 : frame;
}

// Channel value between two frames, `fraction` of the way (16-bit fraction).
int32_t Interpolated(const MixVoice& voice, uint32_t frame, uint32_t fraction, int channel) {
  const int32_t here = SampleAt(voice, frame, channel);
  const int32_t next = SampleAt(voice, NextFrame(voice, frame), channel);
  return here + static_cast<int32_t>((static_cast<int64_t>(next - here) * fraction) >> 16);
}

// Adds up to `frames` frames of one voice into `sum`; stops the voice at its end.
void MixOneVoice(MixVoice& voice, uint32_t out_rate, int32_t* sum, int frames) {
  const uint64_t step = (static_cast<uint64_t>(voice.frequency) << 16) / out_rate;
  const uint64_t end = static_cast<uint64_t>(voice.frames) << 16;
  const int right_channel = voice.channels > 1 ? 1 : 0;
  for (int i = 0; i < frames; ++i) {
    const uint32_t frame = static_cast<uint32_t>(voice.position >> 16);
    const uint32_t fraction = static_cast<uint32_t>(voice.position & 0xFFFF);
    const int32_t left = Interpolated(voice, frame, fraction, 0);
    const int32_t right = right_channel ? Interpolated(voice, frame, fraction, 1) : left;
    sum[i * 2] += (left * voice.left_gain) >> 15;
    sum[i * 2 + 1] += (right * voice.right_gain) >> 15;
    voice.position += step;
    if (voice.position < end) continue;
    if (!voice.looping) {
      voice.playing = false;
      voice.position = 0;
      return;
    }
    voice.position %= end;
  }
}

int16_t Saturate(int32_t value) {
  if (value > 32767) return 32767;
  if (value < -32768) return -32768;
  return static_cast<int16_t>(value);
}

}  // namespace

int32_t GainFromHundredthsDb(int32_t hundredths_db) {
  if (hundredths_db >= 0) return UNIT_GAIN;
  return static_cast<int32_t>(std::lround(UNIT_GAIN * std::pow(10.0, hundredths_db / 2000.0)));
}

void VoiceGains(int32_t volume, int32_t pan, int32_t* left, int32_t* right) {
  *left = GainFromHundredthsDb(volume - (pan > 0 ? pan : 0));
  *right = GainFromHundredthsDb(volume + (pan < 0 ? pan : 0));
}

void MixVoices(MixVoice* const* voices, int count, uint32_t out_rate, int16_t* out, int frames) {
  int32_t sum[CHUNK_FRAMES * 2];
  for (int done = 0; done < frames; done += CHUNK_FRAMES) {
    const int chunk = frames - done < CHUNK_FRAMES ? frames - done : CHUNK_FRAMES;
    std::memset(sum, 0, sizeof(int32_t) * 2 * chunk);
    for (int v = 0; v < count; ++v) {
      MixVoice& voice = *voices[v];
      if (voice.playing && voice.frames > 0 && out_rate > 0) MixOneVoice(voice, out_rate, sum, chunk);
    }
    for (int i = 0; i < chunk * 2; ++i) out[done * 2 + i] = Saturate(sum[i]);
  }
}
