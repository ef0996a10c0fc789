// The software mixer: one second of 44100 Hz stereo output from 8 sounds playing at once (the
// game's 11025 Hz 8-bit format, different volumes and pans), against the real-time budget of
// one second. "percent_of_realtime" is the share of that second the mixing takes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "soft/sound_mixer.h"

namespace {

constexpr int OUTPUT_RATE = 44100;
constexpr int VOICES = 8;

void MixOneSecondOfEightSounds(benchmark::State& state) {
  std::vector<uint8_t> samples(OUTPUT_RATE);  // four seconds at 11025 Hz
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>((i * 37) & 0xFF);
  MixVoice voices[VOICES];
  MixVoice* playing[VOICES];
  for (int v = 0; v < VOICES; ++v) {
    voices[v] = MixVoice{samples.data(), static_cast<uint32_t>(samples.size()), 1, 8,
                         static_cast<uint32_t>(11025 + v * 1000), 0, 0, 0, true, true};
    VoiceGains(-300 * v, 1200 * (v - 4), &voices[v].left_gain, &voices[v].right_gain);
    playing[v] = &voices[v];
  }
  std::vector<int16_t> out(OUTPUT_RATE * 2);
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    MixVoices(playing, VOICES, OUTPUT_RATE, out.data(), OUTPUT_RATE);
    benchmark::DoNotOptimize(out.data());
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["percent_of_realtime"] = 100.0 * seconds / static_cast<double>(state.iterations());
  state.counters["budget_ms"] = 1000;
}
BENCHMARK(MixOneSecondOfEightSounds)->Unit(benchmark::kMillisecond);

}  // namespace
