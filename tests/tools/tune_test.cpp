// The generated tune and vork-tune's player: the tune is a file the music table takes, and
// rendered headless it is heard from start to end and then stops.
#include <string>
#include <vector>

#include "soft/midi_file.h"
#include "test_support.h"
#include "tune.h"
#include "tune_player.h"

namespace {

// Samples of a 44100 Hz 16-bit stereo WAV written by the player (after its 44-byte header).
std::vector<int16_t> WavSamples(const std::string& bytes) {
  std::vector<int16_t> samples;
  for (size_t at = 44; at + 1 < bytes.size(); at += 2)
    samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8));
  return samples;
}

TEST(Tune, IsTheSameBytesAsWhenItWasWrittenAndListenedTo) {
  // FNV-1a of the whole file: any change to a note, a length or an instrument shows here.
  const std::vector<uint8_t> tune = CheerfulTuneMidi();
  EXPECT_TRUE(MidiFileValid(tune.data(), tune.size()));
  uint32_t hash = 0x811C9DC5u;
  for (uint8_t byte : tune) hash = (hash ^ byte) * 0x01000193u;
  EXPECT_EQ(hash, 0x0245096Bu);
}

TEST(Tune, RendersHeardThroughoutAndEndsOnTime) {
  StartFreshMachine();
  const std::vector<uint8_t> tune = CheerfulTuneMidi();
  WriteTextFile(TUNE_FILE, std::string(tune.begin(), tune.end()));
  TuneOptions options;
  options.midi_file = TUNE_FILE;
  options.wav_file = "tune.wav";
  std::string error;
  ASSERT_EQ(RenderTuneToWav(options, &error), 0) << error;
  const std::vector<int16_t> samples = WavSamples(ReadTextFile("tune.wav"));
  // 32 quarter notes at 150 a minute, the last one 4 ticks short: 12.783 s; found within one
  // 20 ms poll, then 300 ms of release.
  const double seconds = samples.size() / 2 / 44100.0;
  EXPECT_NEAR(seconds, 12.783 + 0.300 + 0.012, 0.015);
  for (int second = 0; second < 12; ++second) {
    int peak = 0;
    for (size_t i = second * 88200; i < (second + 1) * 88200u; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    EXPECT_GT(peak, 1500) << "second " << second;
  }
  options.midi_file = "missing.mid";
  EXPECT_EQ(RenderTuneToWav(options, &error), 1);
  EXPECT_NE(error.find("cannot load missing.mid"), std::string::npos);
}

}  // namespace
