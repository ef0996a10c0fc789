// The software mixer: resampling, gains, saturation, ends and loops, sample by sample.
#include "soft/sound_mixer.h"

#include <vector>

#include "../sound/sound_fixture.h"

namespace {

MixVoice Voice(const std::string& data, int bits, uint32_t frequency) {
  MixVoice voice{};
  voice.data = reinterpret_cast<const uint8_t*>(data.data());
  voice.frames = static_cast<uint32_t>(data.size() / (bits / 8));
  voice.channels = 1;
  voice.bits = bits;
  voice.frequency = frequency;
  voice.left_gain = voice.right_gain = UNIT_GAIN;
  voice.playing = true;
  return voice;
}

std::vector<int16_t> Mix(std::vector<MixVoice*> voices, int frames, uint32_t rate = 44100) {
  std::vector<int16_t> out(frames * 2, 12345);
  MixVoices(voices.data(), static_cast<int>(voices.size()), rate, out.data(), frames);
  return out;
}

TEST(SoundMixer, TwoOverlappingSoundsAtDifferentFrequenciesSampleBySample) {
  // 8-bit at 11025 Hz: four output frames per sample; 16-bit at 22050 Hz: two per sample.
  const std::string low = Bytes({128 + 40, 128 - 20});
  const std::string high = Int16s({1000, -3000, 500});
  MixVoice a = Voice(low, 8, 11025);
  MixVoice b = Voice(high, 16, 22050);
  const std::vector<int16_t> out = Mix({&a, &b}, 10);
  // a: 10240 easing towards -5120 in quarters, then -5120 held to its end after 8 frames.
  // b: 1000, -1000, -3000, -1250, 500, 500, then done after 6 frames.
  const int16_t expected[10] = {11240, 5400, -440, -2530, -4620, -4620, -5120, -5120, 0, 0};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(out[i * 2], expected[i]) << "left " << i;
    EXPECT_EQ(out[i * 2 + 1], expected[i]) << "right " << i;
  }
  EXPECT_FALSE(a.playing);
  EXPECT_FALSE(b.playing);
  EXPECT_EQ(a.position, 0u);
}

TEST(SoundMixer, AStoppedVoiceAddsNothingAndSumsSaturate) {
  const std::string loud = Int16s({30000, -30000});
  MixVoice a = Voice(loud, 16, 44100);
  MixVoice b = Voice(loud, 16, 44100);
  MixVoice quiet = Voice(loud, 16, 44100);
  quiet.playing = false;
  const std::vector<int16_t> out = Mix({&a, &quiet, &b}, 2);
  EXPECT_EQ(out, (std::vector<int16_t>{32767, 32767, -32768, -32768}));
  EXPECT_EQ(quiet.position, 0u);
}

TEST(SoundMixer, StereoVoicesKeepTheirSidesAndGainsScaleEach) {
  const std::string stereo = Int16s({8000, -8000, 4000, 2000});
  MixVoice voice = Voice(stereo, 16, 44100);
  voice.channels = 2;
  voice.frames = 2;
  voice.left_gain = UNIT_GAIN / 2;
  voice.right_gain = UNIT_GAIN / 4;
  const std::vector<int16_t> out = Mix({&voice}, 3);
  EXPECT_EQ(out, (std::vector<int16_t>{4000, -2000, 2000, 500, 0, 0}));
}

TEST(SoundMixer, ALoopingVoiceStartsOverInsteadOfStopping) {
  const std::string data = Bytes({128 + 1, 128 + 2, 128 + 3});
  MixVoice voice = Voice(data, 8, 44100);
  voice.looping = true;
  const std::vector<int16_t> out = Mix({&voice}, 7);
  const int16_t expected[7] = {256, 512, 768, 256, 512, 768, 256};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(out[i * 2], expected[i]) << i;
  EXPECT_TRUE(voice.playing);
  EXPECT_EQ(voice.position, 1u << 16);
  // Between the last frame and the first, a loop interpolates towards the first.
  MixVoice slow = Voice(data, 8, 22050);
  slow.looping = true;
  slow.position = 2u << 16;
  const std::vector<int16_t> halves = Mix({&slow}, 2);
  EXPECT_EQ(halves[0], 768);
  EXPECT_EQ(halves[2], 512);
}

TEST(SoundMixer, LongMixesRunOnAcrossChunks) {
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i % 256);
  MixVoice voice = Voice(data, 8, 44100);
  const std::vector<int16_t> out = Mix({&voice}, 1001);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(out[i * 2], (i % 256 - 128) * 256) << i;
  EXPECT_EQ(out[2000], 0);
}

// Volume and pan in hundredths of a decibel to gains of UNIT_GAIN at full scale; a pan lowers
// the far side by its amount.
TEST(SoundMixer, GainsFollowHundredthsOfADecibel) {
  const int32_t rows[][4] = {  // volume, pan, left gain, right gain
      {0, 0, 32768, 32768},       {-600, 0, 16423, 16423},  // -6 dB: about half
      {-10000, 0, 0, 0},          {-600, 1000, 5193, 16423},
      {0, -10000, 32768, 0},      {100, 0, 32768, 32768},
  };
  for (const auto& row : rows) {
    int32_t left = -1, right = -1;
    VoiceGains(row[0], row[1], &left, &right);
    EXPECT_EQ(left, row[2]) << row[0] << " " << row[1];
    EXPECT_EQ(right, row[3]) << row[0] << " " << row[1];
  }
}

}  // namespace
