// The generated sounds, read back chunk by chunk and measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

const ExpectedSound SOUNDS[] = {
    {"CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV", 1.0, 6.0, Kind::LOOP},
    {"Mana-mana.wav", 4.0, 30.0, Kind::LOOP},
    {"Dog 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"cat 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"owl 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"frog 1.wav", 0.6, 1.6, Kind::EFFECT},
    {"TREE.wav", 0.5, 3.0, Kind::EFFECT},
    {"dog.wav", 0.2, 2.0, Kind::SPOKEN},
    {"cat.wav", 0.2, 2.0, Kind::SPOKEN},
    {"owl.wav", 0.2, 2.0, Kind::SPOKEN},
    {"frog.wav", 0.2, 2.0, Kind::SPOKEN},
    {"Hooray.wav", 0.3, 2.5, Kind::SPOKEN},  // plays on every letter found: short
    {"Beep2.wav", 0.15, 1.0, Kind::EFFECT},
    {"Banana.wav", 0.8, 4.0, Kind::EFFECT},
    {"How.wav", 4.0, 15.0, Kind::SPOKEN},
    {"esc.wav", 0.8, 4.0, Kind::SPOKEN},
    {"Enter.wav", 0.8, 5.0, Kind::SPOKEN},
    {"SpaceBar.wav", 0.8, 4.0, Kind::SPOKEN},
};

const double RATE = 11025;

double Mean(const std::vector<uint8_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += s[i];
  return sum / (to - from);
}

double Rms(const std::vector<uint8_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += (s[i] - 128.0) * (s[i] - 128.0);
  return std::sqrt(sum / (to - from));
}

// Loudness of the active part: 20 ms windows within 20 dB of the loudest one.
double ActiveRms(const std::vector<uint8_t>& s) {
  const size_t window = 220;
  std::vector<double> levels;
  for (size_t at = 0; at + window <= s.size(); at += window) levels.push_back(Rms(s, at, at + window));
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

TEST(SoundFiles, EveryFileIs11025HzMono8BitPcmWithFormatFirst) {
  for (const ExpectedSound& sound : SOUNDS) {
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name << ": " << w.problem;
    EXPECT_EQ(w.first_chunk, "fmt ") << sound.name;
    // The game's loader reads 18 bytes of the format chunk and fails on fewer.
    EXPECT_GE(w.format_bytes, 18u) << sound.name;
    EXPECT_EQ(w.extra_bytes, 0u) << sound.name;
    EXPECT_EQ(w.format_tag, 1u) << sound.name;
    EXPECT_EQ(w.channels, 1u) << sound.name;
    EXPECT_EQ(w.rate, 11025u) << sound.name;
    EXPECT_EQ(w.bytes_per_second, 11025u) << sound.name;
    EXPECT_EQ(w.block_align, 1u) << sound.name;
    EXPECT_EQ(w.bits, 8u) << sound.name;
  }
}

TEST(SoundFiles, LengthsSuitWhereTheGamePlaysThem) {
  for (const ExpectedSound& sound : SOUNDS) {
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const double seconds = w.samples.size() / RATE;
    EXPECT_GE(seconds, sound.min_seconds) << sound.name;
    EXPECT_LE(seconds, sound.max_seconds) << sound.name;
  }
}

TEST(SoundFiles, LevelsAreEvenWithNoDcOffset) {
  for (const ExpectedSound& sound : SOUNDS) {
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const std::vector<uint8_t>& s = w.samples;
    EXPECT_NEAR(Mean(s, 0, s.size()), 128.0, 1.0) << sound.name << " has a DC offset";
    const double loudness = ActiveRms(s);
    EXPECT_GE(loudness, 5.0) << sound.name << " is much quieter than the rest";
    EXPECT_LE(loudness, 20.0) << sound.name << " is much louder than the rest";
  }
}

// Largest steps above and below silence. The mixer adds step k as k * 256, so sounds playing
// together reach full scale from 128 steps on either side (-32768 and 32767 saturated).
struct Peaks {
  int up = 0, down = 0;
};

Peaks PeaksOf(const char* name) {
  const Wave w = ReadWave(AssetPath(name));
  Peaks peaks;
  for (uint8_t v : w.samples) {
    peaks.up = std::max(peaks.up, v - 128);
    peaks.down = std::max(peaks.down, 128 - v);
  }
  return peaks;
}

const char* const ENGINE = "CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV";
const char* const TUNE = "Mana-mana.wav";

// The most the game plays at once: a letter found cheers over the engine and the tune; the
// game-over prompts speak over both (they start again before the game ends); a finished
// word says the animal's name and the cheer together. Everything else plays alone.
const std::vector<const char*> PLAYED_TOGETHER[] = {
    {ENGINE, TUNE, "Hooray.wav"}, {ENGINE, TUNE, "SpaceBar.wav"}, {ENGINE, TUNE, "esc.wav"},
    {"dog.wav", "Hooray.wav"},    {"cat.wav", "Hooray.wav"},      {"owl.wav", "Hooray.wav"},
    {"frog.wav", "Hooray.wav"},
};

TEST(SoundFiles, SoundsPlayedTogetherStayBelowFullScale) {
  for (const std::vector<const char*>& group : PLAYED_TOGETHER) {
    int up = 0, down = 0;
    std::string names;
    for (const char* name : group) {
      up += PeaksOf(name).up;
      down += PeaksOf(name).down;
      names += std::string(name) + " + ";
    }
    EXPECT_LE(up, 127) << names << "reach full scale together";
    EXPECT_LE(down, 127) << names << "reach full scale together";
  }
  // The game waits for the cheer, not the name said with it: a name outlasting the cheer would
  // still be speaking over the next scene's animal call.
  const size_t cheer = ReadWave(AssetPath("Hooray.wav")).samples.size();
  for (const char* name : {"dog.wav", "cat.wav", "owl.wav", "frog.wav"}) {
    EXPECT_LT(ReadWave(AssetPath(name)).samples.size(), cheer) << name;
  }
}

TEST(SoundFiles, SpokenLinesAreLouderThanEverythingElse) {
  double quietest_spoken = 1e9, loudest_other = 0;
  for (const ExpectedSound& sound : SOUNDS) {
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const double loudness = ActiveRms(w.samples);
    if (sound.kind == Kind::SPOKEN) quietest_spoken = std::min(quietest_spoken, loudness);
    if (sound.kind != Kind::SPOKEN) loudest_other = std::max(loudest_other, loudness);
  }
  EXPECT_GT(quietest_spoken, loudest_other * 1.1);
  // Over the engine and the tune together the cheer is still clearly the loudest.
  const double bed = std::hypot(ActiveRms(ReadWave(AssetPath(ENGINE)).samples),
                                ActiveRms(ReadWave(AssetPath(TUNE)).samples));
  EXPECT_GT(ActiveRms(ReadWave(AssetPath("Hooray.wav")).samples), bed * 1.2);
}

TEST(SoundFiles, OneShotsStartAndEndInSilence) {
  for (const ExpectedSound& sound : SOUNDS) {
    if (sound.kind == Kind::LOOP) continue;
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const std::vector<uint8_t>& s = w.samples;
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_NEAR(s[i], 128, 2) << sound.name << " clicks at its start";
      EXPECT_NEAR(s[s.size() - 1 - i], 128, 2) << sound.name << " clicks at its end";
    }
  }
}

TEST(SoundFiles, LoopsJoinWithoutASeam) {
  for (const ExpectedSound& sound : SOUNDS) {
    if (sound.kind != Kind::LOOP) continue;
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const std::vector<uint8_t>& s = w.samples;
    std::vector<int> steps;
    for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
    std::sort(steps.begin(), steps.end());
    const int typical_large_step = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::abs(s.front() - s.back()), typical_large_step) << sound.name << " clicks where it wraps";
    // No fade at either end: that would pulse at every repeat.
    const size_t edge = static_cast<size_t>(0.05 * RATE);
    const double whole = Rms(s, 0, s.size());
    EXPECT_GT(Rms(s, 0, edge), 0.4 * whole) << sound.name << " fades in";
    EXPECT_GT(Rms(s, s.size() - edge, s.size()), 0.4 * whole) << sound.name << " fades out";
  }
}

}  // namespace
