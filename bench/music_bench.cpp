// MIDI music: one second of the generated tune rendered by the synthesiser and added into the
// mixer's 44100 Hz output on the headless host, against the real-time budget of one second.
// "percent_of_realtime" is the share of that second the rendering takes; the target is under 5.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "sound/midi_music.h"
#include "sound/sound_table.h"
#include "tune.h"

namespace {

void RenderOneSecondOfTheTune(benchmark::State& state) {
  HeadlessStart();
  sound_first_call = 1;  // the benchmark runs this more than once: DirectSound afresh each time
  direct_sound = nullptr;
  if (SoundInit() != 1 || MusicInit() != 1) {
    state.SkipWithError(direct_sound ? "no General MIDI SoundFont" : "no audio output");
    return;
  }
  const std::string path = "/tmp/vork-bench-tune-" + std::to_string(getpid()) + ".mid";
  const std::vector<uint8_t> tune = CheerfulTuneMidi();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file) std::fwrite(tune.data(), 1, tune.size(), file), std::fclose(file);
  const int id = LoadMidi(path.c_str());
  std::remove(path.c_str());
  PlayMidi(id);
  double seconds = 0;
  for (auto _ : state) {
    if (MidiStatus(id) != MIDI_PLAYING) PlayMidi(id);  // from the start again, outside the timing
    const auto start = std::chrono::steady_clock::now();
    HeadlessAdvance(1000);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["percent_of_realtime"] = 100.0 * seconds / static_cast<double>(state.iterations());
  state.counters["budget_ms"] = 1000;
  MusicShutdown();
  SoundShutdown();
}
BENCHMARK(RenderOneSecondOfTheTune)->Unit(benchmark::kMillisecond);

}  // namespace
