// Finishing sounds: loudness, peaks and fades, and the dithered 8-bit conversion.
#include "sound_levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "wav_writer.h"

namespace {

// Largest distance from silence (128) of 8-bit samples.
int Peak(const std::vector<uint8_t>& pcm) {
  int peak = 0;
  for (uint8_t v : pcm) peak = std::max(peak, std::abs(v - 128));
  return peak;
}

TEST(Levels, ActiveLoudnessCountsOnlyWindowsWithin20DbOfTheLoudest) {
  // Four 20 ms windows at 0.5, 0.5, 0.01 (34 dB down: left out) and -0.25 (6 dB down).
  Samples sound;
  for (float level : {0.5f, 0.5f, 0.01f, -0.25f}) sound.insert(sound.end(), SAMPLE_RATE / 50, level);
  EXPECT_NEAR(ActiveLoudness(sound), std::sqrt((0.25 + 0.25 + 0.0625) / 3), 1e-6);
}

// A one-shot's spike is brought to the ceiling under half of full scale; a spoken line's peak
// comes to the same level whatever its input level; both start and end at silence, and silence
// stays silence.
TEST(Levels, FinishedSoundsPeakUnderHalfScaleAndStartAndEndInSilence) {
  Samples burst(2000, 0.0f);
  burst[1000] = 5.0f;
  for (size_t i = 0; i < 500; ++i) burst[i] = static_cast<float>(0.01 * std::sin(i * 0.3));
  std::vector<std::vector<uint8_t>> finished = {FinishOneShot(burst)};
  for (float level : {0.05f, 0.5f, 3.0f}) {
    Samples tone(4000);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(level * std::sin(i * 0.2));
    finished.push_back(FinishSpeech(tone));
  }
  for (const std::vector<uint8_t>& pcm : finished) {
    EXPECT_GE(Peak(pcm), 58);
    EXPECT_LE(Peak(pcm), 59);
    EXPECT_EQ(pcm.front(), 128);
    EXPECT_EQ(pcm.back(), 128);
  }
  Samples short_sound(4, 1.0f);  // shorter than two fades: each half fades on its own
  FadeEdges(short_sound, 1.0);
  EXPECT_EQ(short_sound, (Samples{0.0f, 0.5f, 0.5f, 0.0f}));
  EXPECT_EQ(FinishOneShot(Samples(500, 0.0f)), std::vector<uint8_t>(500, 128));
  EXPECT_EQ(FinishLoop(Samples(500, 0.0f)), std::vector<uint8_t>(500, 128));
}

TEST(Pcm8, DitherKeepsTheAverageBetweenStepsNearSilenceStaysAndFullScaleIsClamped) {
  // 0.4 step above 128 rounds to 128 without dither; dithered, its mean is 128.4.
  const std::vector<uint8_t> pcm = ToPcm8(Samples(20000, 0.4f / 127));
  EXPECT_GE(*std::min_element(pcm.begin(), pcm.end()), 127);
  EXPECT_LE(*std::max_element(pcm.begin(), pcm.end()), 129);
  double sum = 0;
  for (uint8_t v : pcm) sum += v;
  EXPECT_NEAR(sum / pcm.size(), 128.4, 0.02);
  const std::vector<uint8_t> edges = ToPcm8({0.0f, 0.2f / 127, -0.2f / 127, 2.0f, -2.0f, 1.0f, -1.0f});
  EXPECT_EQ(std::vector<uint8_t>(edges.begin(), edges.begin() + 5), (std::vector<uint8_t>{128, 128, 128, 255, 1}));
  EXPECT_GE(edges[5], 254);
  EXPECT_LE(edges[6], 2);
}

}  // namespace
