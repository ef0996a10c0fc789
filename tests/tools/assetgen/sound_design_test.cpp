// The generated sounds, read back chunk by chunk and measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "asset_reader.h"

namespace {

// What a sound is: a loop, a spoken line or any other one-shot.
enum class Kind { LOOP, SPOKEN, EFFECT };

// A sound the game loads, with the length it should have.
struct ExpectedSound {
  const char* name;
  double min_seconds, max_seconds;
  Kind kind;
};

const char* const ENGINE = "CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV";
const char* const TUNE = "Mana-mana.wav";

const ExpectedSound SOUNDS[] = {
    {ENGINE, 1.0, 6.0, Kind::LOOP},          {TUNE, 4.0, 30.0, Kind::LOOP},
    {"Dog 1.wav", 0.6, 1.6, Kind::EFFECT},   {"cat 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"owl 1.wav", 0.6, 1.6, Kind::EFFECT},   {"frog 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"TREE.wav", 0.5, 3.0, Kind::EFFECT},    {"dog.wav", 0.2, 2.0, Kind::SPOKEN},
    {"cat.wav", 0.2, 2.0, Kind::SPOKEN},     {"owl.wav", 0.2, 2.0, Kind::SPOKEN},
    {"frog.wav", 0.2, 2.0, Kind::SPOKEN},    {"Hooray.wav", 0.3, 2.5, Kind::SPOKEN},  // every letter: short
    {"Beep2.wav", 0.15, 1.0, Kind::EFFECT},  {"Banana.wav", 0.8, 4.0, Kind::EFFECT},
    {"How.wav", 4.0, 15.0, Kind::SPOKEN},    {"esc.wav", 0.8, 4.0, Kind::SPOKEN},
    {"Enter.wav", 0.8, 5.0, Kind::SPOKEN},   {"SpaceBar.wav", 0.8, 4.0, Kind::SPOKEN},
};

const double RATE = 11025;

double Rms(const std::vector<uint8_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += (s[i] - 128.0) * (s[i] - 128.0);
  return std::sqrt(sum / (to - from));
}

// Loudness of the active part: 20 ms windows within 20 dB of the loudest one.
double ActiveRms(const std::vector<uint8_t>& s) {
  std::vector<double> levels;
  for (size_t at = 0; at + 220 <= s.size(); at += 220) levels.push_back(Rms(s, at, at + 220));
  const double loudest = *std::max_element(levels.begin(), levels.end());
  double sum = 0;
  int counted = 0;
  for (double level : levels) {
    if (level < loudest / 10) continue;
    sum += level * level;
    ++counted;
  }
  return std::sqrt(sum / counted);
}

// Every sound: 11025 Hz mono 8-bit PCM with the format first in the 18 bytes the game's loader
// reads, a length that suits where it plays, no DC offset, a level like the rest; one-shots
// start and end in silence; loops join without a click and do not fade at either end. Spoken
// lines are louder than everything else.
TEST(SoundFiles, EverySoundIsAnEven8BitMonoPcmOfItsLength) {
  const std::vector<uint8_t> format = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};
  double quietest_spoken = 1e9, loudest_other = 0;
  for (const ExpectedSound& sound : SOUNDS) {
    SCOPED_TRACE(sound.name);
    const Wave w = ReadWave(sound.name);
    ASSERT_EQ(w.problem, "");
    EXPECT_EQ(w.first_chunk, "fmt ");
    EXPECT_EQ(w.format, format);
    const std::vector<uint8_t>& s = w.samples;
    EXPECT_GE(s.size() / RATE, sound.min_seconds);
    EXPECT_LE(s.size() / RATE, sound.max_seconds);
    double sum = 0;
    for (uint8_t v : s) sum += v;
    EXPECT_NEAR(sum / s.size(), 128.0, 1.0) << "DC offset";
    EXPECT_GE(ActiveRms(s), 5.0) << "much quieter than the rest";
    EXPECT_LE(ActiveRms(s), 20.0) << "much louder than the rest";
    if (sound.kind == Kind::SPOKEN) quietest_spoken = std::min(quietest_spoken, ActiveRms(s));
    if (sound.kind != Kind::SPOKEN) loudest_other = std::max(loudest_other, ActiveRms(s));
    if (sound.kind != Kind::LOOP) {
      for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(s[i], 128, 2) << "clicks at its start";
      for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(s[s.size() - 1 - i], 128, 2) << "clicks at its end";
      continue;
    }
    std::vector<int> steps;
    for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
    std::sort(steps.begin(), steps.end());
    EXPECT_LE(std::abs(s.front() - s.back()), steps[steps.size() * 99 / 100]) << "clicks where it wraps";
    const size_t edge = static_cast<size_t>(0.05 * RATE);
    EXPECT_GT(Rms(s, 0, edge), 0.4 * Rms(s, 0, s.size())) << "fades in: it would pulse";
    EXPECT_GT(Rms(s, s.size() - edge, s.size()), 0.4 * Rms(s, 0, s.size())) << "fades out";
  }
  EXPECT_GT(quietest_spoken, loudest_other * 1.1);
}

// The most the game plays at once: a letter found cheers over the engine and the tune; the
// game-over prompts speak over both; a finished word says the animal's name and the cheer
// together. The mixer adds step k as k * 256, so together they may reach 127 steps either way.
TEST(SoundFiles, SoundsPlayedTogetherStayBelowFullScale) {
  const std::vector<const char*> played_together[] = {
      {ENGINE, TUNE, "Hooray.wav"}, {ENGINE, TUNE, "SpaceBar.wav"}, {ENGINE, TUNE, "esc.wav"},
      {"dog.wav", "Hooray.wav"},    {"cat.wav", "Hooray.wav"},      {"owl.wav", "Hooray.wav"},
      {"frog.wav", "Hooray.wav"},
  };
  for (const std::vector<const char*>& group : played_together) {
    SCOPED_TRACE(std::string(group[0]) + " + " + group[1] + (group.size() > 2 ? std::string(" + ") + group[2] : ""));
    int up = 0, down = 0;
    for (const char* name : group) {
      const std::vector<uint8_t> s = ReadWave(name).samples;
      up += *std::max_element(s.begin(), s.end()) - 128;
      down += 128 - *std::min_element(s.begin(), s.end());
    }
    EXPECT_LE(up, 127);
    EXPECT_LE(down, 127);
  }
  // Over the engine and the tune together the cheer is still clearly the loudest.
  const double bed = std::hypot(ActiveRms(ReadWave(ENGINE).samples), ActiveRms(ReadWave(TUNE).samples));
  EXPECT_GT(ActiveRms(ReadWave("Hooray.wav").samples), bed * 1.2);
  // The game waits for the cheer, not the name said with it: a name outlasting the cheer would
  // still be speaking over the next scene's animal call.
  for (const char* name : {"dog.wav", "cat.wav", "owl.wav", "frog.wav"})
    EXPECT_LT(ReadWave(name).samples.size(), ReadWave("Hooray.wav").samples.size()) << name;
}

}  // namespace
