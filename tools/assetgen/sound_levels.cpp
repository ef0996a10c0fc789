#include "sound_levels.h"

#include <algorithm>
#include <cmath>

#include "wav_writer.h"

namespace {

// Every sound is brought to the same loudness, with its peaks kept below full scale.
const double TARGET_RMS = 0.22;
const double PEAK_CEILING = 0.9;
const double EDGE_FADE_SECONDS = 0.01;

}  // namespace

void RemoveDcOffset(Samples& sound) {
  if (sound.empty()) return;
  double sum = 0;
  for (float s : sound) sum += s;
  const float mean = static_cast<float>(sum / sound.size());
  for (float& s : sound) s -= mean;
}

void EvenOutLevel(Samples& sound, double target_rms, double peak_ceiling) {
  double energy = 0, peak = 0;
  for (float s : sound) {
    energy += static_cast<double>(s) * s;
    peak = std::max(peak, std::fabs(static_cast<double>(s)));
  }
  if (sound.empty() || peak <= 0) return;
  const double rms = std::sqrt(energy / sound.size());
  const double gain = std::min(target_rms / rms, peak_ceiling / peak);
  for (float& s : sound) s = static_cast<float>(s * gain);
}

void FadeEdges(Samples& sound, double fade_seconds) {
  const size_t fade = std::min(sound.size() / 2, static_cast<size_t>(fade_seconds * SAMPLE_RATE));
  for (size_t i = 0; i < fade; ++i) {
    const float gain = static_cast<float>(i) / fade;
    sound[i] *= gain;
    sound[sound.size() - 1 - i] *= gain;
  }
}

Samples MakeSeamlessLoop(const Samples& sound, size_t loop_length, size_t crossfade_length) {
  Samples loop(sound.begin(), sound.begin() + std::min(loop_length, sound.size()));
  const size_t fade = std::min(crossfade_length, sound.size() - loop.size());
  // Sample loop_length + i would have followed the loop's end; blending it into sample i
  // makes the wrap from the last sample to the first continue the sound as it was.
  for (size_t i = 0; i < fade; ++i) {
    const float w = static_cast<float>(i) / fade;
    loop[i] = loop[i] * w + sound[loop_length + i] * (1 - w);
  }
  return loop;
}

std::vector<uint8_t> ToPcm8(const Samples& sound) {
  std::vector<uint8_t> pcm(sound.size());
  for (size_t i = 0; i < sound.size(); ++i) {
    const long value = std::lround(128.0 + 127.0 * sound[i]);
    pcm[i] = static_cast<uint8_t>(std::clamp(value, 1L, 255L));
  }
  return pcm;
}

std::vector<uint8_t> FinishOneShot(Samples sound) {
  RemoveDcOffset(sound);
  EvenOutLevel(sound, TARGET_RMS, PEAK_CEILING);
  FadeEdges(sound, EDGE_FADE_SECONDS);
  return ToPcm8(sound);
}

std::vector<uint8_t> FinishLoop(Samples loop) {
  RemoveDcOffset(loop);
  EvenOutLevel(loop, TARGET_RMS, PEAK_CEILING);
  return ToPcm8(loop);
}
