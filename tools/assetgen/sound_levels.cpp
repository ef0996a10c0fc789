#include "sound_levels.h"

#include <algorithm>
#include <cmath>

#include "wav_writer.h"
#include "xorshift.h"

namespace {

// The mixer adds up the sounds playing at one moment and saturates at full scale, so their
// peaks share it. The most the game plays at once is a spoken line over the engine and the
// tune (a letter found, the game-over prompts), or two spoken lines (a name and the cheer):
// 2 x 0.46 and 0.46 + 2 x 0.24 stay under 0.95, leaving room for each sound's dither step.
const double SPEECH_PEAK = 0.46;
const double LOOP_PEAK = 0.24;
// Other one-shots play alone; they are kept quieter than the voice, which stays the loudest.
const double ONE_SHOT_RMS = 0.07;
const double ONE_SHOT_PEAK = SPEECH_PEAK;
const double EDGE_FADE_SECONDS = 0.01;
const double COMPRESS_THRESHOLD = 0.3;  // of the sound's own peak
const double COMPRESS_RATIO = 3;
const uint32_t DITHER_SEED = 0x9E3779B9u;
// Below a quarter of a step a sample counts as silence and is not dithered, so the gaps
// between calls and words stay silent instead of hissing.
const double SILENCE_STEPS = 0.25;

// A uniform value in 0..1 from the dither generator.
double NextUniform(uint32_t& state) { return NextXorShift(state) / 4294967296.0; }

}  // namespace

void RemoveDcOffset(Samples& sound) {
  if (sound.empty()) return;
  double sum = 0;
  for (float s : sound) sum += s;
  const float mean = static_cast<float>(sum / sound.size());
  for (float& s : sound) s -= mean;
}

void CompressPeaks(Samples& sound, double threshold, double ratio) {
  double peak = 0;
  for (float s : sound) peak = std::max(peak, std::fabs(static_cast<double>(s)));
  if (peak <= 0) return;
  // Follows the level quickly on the way up and slowly on the way down, so short bursts
  // are turned down as a whole and not bent out of shape.
  const double attack = 1 - std::exp(-1.0 / (0.002 * SAMPLE_RATE));
  const double release = 1 - std::exp(-1.0 / (0.08 * SAMPLE_RATE));
  double envelope = 0;
  for (float& s : sound) {
    const double level = std::fabs(s) / peak;
    envelope += (level - envelope) * (level > envelope ? attack : release);
    if (envelope > threshold) {
      const double wanted = threshold + (envelope - threshold) / ratio;
      s = static_cast<float>(s * wanted / envelope);
    }
  }
}

double ActiveLoudness(const Samples& sound) {
  // RMS over 20 ms windows, counting only windows within 20 dB of the loudest, so pauses
  // and fading tails do not make a sound count as quiet.
  const size_t window = SAMPLE_RATE / 50;
  std::vector<double> energies;
  for (size_t start = 0; start + window <= sound.size(); start += window) {
    double energy = 0;
    for (size_t i = start; i < start + window; ++i) energy += static_cast<double>(sound[i]) * sound[i];
    energies.push_back(energy / window);
  }
  if (energies.empty()) return 0;
  const double loudest = *std::max_element(energies.begin(), energies.end());
  double sum = 0;
  int counted = 0;
  for (double e : energies) {
    if (e < loudest * 0.01) continue;
    sum += e;
    ++counted;
  }
  return std::sqrt(sum / counted);
}

void EvenOutLevel(Samples& sound, double target_rms, double peak_ceiling) {
  double peak = 0;
  for (float s : sound) peak = std::max(peak, std::fabs(static_cast<double>(s)));
  const double loudness = ActiveLoudness(sound);
  if (peak <= 0 || loudness <= 0) return;
  const double gain = std::min(target_rms / loudness, peak_ceiling / peak);
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
  std::vector<uint8_t> pcm(sound.size(), 128);
  uint32_t state = DITHER_SEED;
  for (size_t i = 0; i < sound.size(); ++i) {
    // The difference of two uniform values: triangular over -1..1 steps.
    const double dither = NextUniform(state) - NextUniform(state);
    const double steps = 127.0 * sound[i];
    if (std::fabs(steps) < SILENCE_STEPS) continue;
    const double value = std::floor(128.0 + steps + dither + 0.5);
    pcm[i] = static_cast<uint8_t>(std::clamp(value, 1.0, 255.0));
  }
  return pcm;
}

std::vector<uint8_t> FinishOneShot(Samples sound) {
  CompressPeaks(sound, COMPRESS_THRESHOLD, COMPRESS_RATIO);
  RemoveDcOffset(sound);
  EvenOutLevel(sound, ONE_SHOT_RMS, ONE_SHOT_PEAK);
  FadeEdges(sound, EDGE_FADE_SECONDS);
  return ToPcm8(sound);
}

std::vector<uint8_t> FinishSpeech(Samples speech) {
  RemoveDcOffset(speech);
  double peak = 0;
  for (float s : speech) peak = std::max(peak, std::fabs(static_cast<double>(s)));
  if (peak > 0) {
    for (float& s : speech) s = static_cast<float>(s * SPEECH_PEAK / peak);
  }
  FadeEdges(speech, EDGE_FADE_SECONDS);
  return ToPcm8(speech);
}

std::vector<uint8_t> FinishLoop(Samples loop) {
  RemoveDcOffset(loop);
  EvenOutLevel(loop, ONE_SHOT_RMS, LOOP_PEAK);
  return ToPcm8(loop);
}
