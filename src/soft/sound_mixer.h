// The software mixer: every playing voice resampled from its own frequency to the output rate
// (linear interpolation), scaled by its left and right gains, and summed into signed 16-bit
// stereo with saturation. Pure functions over plain records, so they are tested and measured
// without any device.
#pragma once

#include <cstdint>

// Gain 1.0 in the mixer's fixed-point gains.
constexpr int32_t UNIT_GAIN = 32768;

// One buffer as the mixer sees it.
struct MixVoice {
  const uint8_t* data;   // samples: 8-bit unsigned or 16-bit signed little-endian, interleaved
  uint32_t frames;       // sample frames in data
  int channels;          // 1 or 2
  int bits;              // 8 or 16
  uint32_t frequency;    // frames per second it plays at
  int32_t left_gain;     // UNIT_GAIN is full level
  int32_t right_gain;
  uint64_t position;     // play position in frames, 16.16 fixed point
  bool playing;
  bool looping;
};

// Gain for a level in hundredths of a decibel (0 full, -10000 silent in practice).
int32_t GainFromHundredthsDb(int32_t hundredths_db);
// Left and right gains for a volume and a pan, both in hundredths of a decibel: a pan to one
// side lowers the other side by that much.
void VoiceGains(int32_t volume, int32_t pan, int32_t* left, int32_t* right);
// Mixes `frames` stereo frames at `out_rate` from the playing voices into `out` (left, right,
// left, ...), moving each voice on; a voice that runs out stops (or starts over when looping).
void MixVoices(MixVoice* const* voices, int count, uint32_t out_rate, int16_t* out, int frames);
