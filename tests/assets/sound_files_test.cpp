// The generated sounds, read back chunk by chunk and measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "asset_reader.h"

namespace {

// A sound the game loads, with the length it should have.
struct ExpectedSound {
  const char* name;
  double min_seconds, max_seconds;
  bool loops;
};

const ExpectedSound SOUNDS[] = {
    {"CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV", 1.0, 6.0, true},
    {"Mana-mana.wav", 4.0, 30.0, true},
    {"Dog 1.wav", 0.6, 1.6, false},
    {"cat 1.wav", 0.6, 1.6, false},
    {"owl 1.wav", 0.6, 1.6, false},
    {"frog 1.wav", 0.6, 1.6, false},
    {"TREE.wav", 0.5, 3.0, false},
    {"dog.wav", 0.2, 2.0, false},
    {"cat.wav", 0.2, 2.0, false},
    {"owl.wav", 0.2, 2.0, false},
    {"frog.wav", 0.2, 2.0, false},
    {"Hooray.wav", 0.3, 2.5, false},  // plays on every letter found: short
    {"Beep2.wav", 0.15, 1.0, false},
    {"Banana.wav", 0.8, 4.0, false},
    {"How.wav", 4.0, 15.0, false},
    {"esc.wav", 0.8, 4.0, false},
    {"Enter.wav", 0.8, 5.0, false},
    {"SpaceBar.wav", 0.8, 4.0, false},
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

TEST(SoundFiles, LevelsAreEvenWithNoClippingAndNoDcOffset) {
  for (const ExpectedSound& sound : SOUNDS) {
    const Wave w = ReadWave(AssetPath(sound.name));
    ASSERT_TRUE(w.valid) << sound.name;
    const std::vector<uint8_t>& s = w.samples;
    int peak = 0;
    for (uint8_t v : s) peak = std::max(peak, std::abs(v - 128));
    EXPECT_LE(peak, 120) << sound.name << " reaches full scale";
    EXPECT_GE(peak, 40) << sound.name << " is too quiet";
    EXPECT_NEAR(Mean(s, 0, s.size()), 128.0, 1.0) << sound.name << " has a DC offset";
    const double loudness = ActiveRms(s);
    EXPECT_GE(loudness, 14.0) << sound.name << " is much quieter than the rest";
    EXPECT_LE(loudness, 40.0) << sound.name << " is much louder than the rest";
  }
}

TEST(SoundFiles, OneShotsStartAndEndInSilence) {
  for (const ExpectedSound& sound : SOUNDS) {
    if (sound.loops) continue;
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
    if (!sound.loops) continue;
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
