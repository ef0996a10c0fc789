// The speech pieces: splitting the script into sentences, reading the synthesiser's WAV output,
// trimming, resampling.
#include "speech.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "byte_writer.h"

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A WAV file as a synthesiser writes it: a chunk before the format, then 16-bit data.
std::vector<uint8_t> Wav16(const std::vector<int16_t>& samples, uint16_t channels = 1, uint16_t bits = 16) {
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 0);  // the decoder goes by the chunks, not by this size
  PutTag(out, "WAVE");
  PutTag(out, "LIST");
  PutU32(out, 3);
  out.insert(out.end(), {1, 2, 3, 0});  // three bytes and the pad byte
  PutTag(out, "fmt ");
  for (uint32_t field : {16u, 1u | channels << 16, 32000u, 64000u, 2u | uint32_t{bits} << 16}) PutU32(out, field);
  PutTag(out, "data");
  PutU32(out, static_cast<uint32_t>(samples.size() * 2));
  for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
  return out;
}

TEST(SpeechWav, DecodesSixteenBitMonoPastOtherChunksAndRefusesAnythingElse) {
  int rate = 0;
  EXPECT_EQ(DecodeWav16(Wav16({0, 16384, -32768, 32767}), &rate), (Samples{0.0f, 0.5f, -1.0f, 32767 / 32768.0f}));
  EXPECT_EQ(rate, 32000);
  std::vector<uint8_t> cut = Wav16({1, 2, 3});
  cut.pop_back();
  std::vector<uint8_t> not_wave = Wav16({1});
  not_wave[8] = 'X';
  std::vector<uint8_t> short_format = Wav16({1, 2});
  short_format[28] = 15;  // "fmt " size: 15 bytes and a pad byte, short of the bits-per-sample field
  // A format chunk followed by four stray bytes, too few for a chunk header: refused without
  // reading past the end (the copy holds exactly the file, so a read beyond it is caught).
  std::vector<uint8_t> no_data = Wav16({});
  no_data.resize(no_data.size() - 8);
  no_data.insert(no_data.end(), {'d', 'a', 't', 'a'});
  for (const std::vector<uint8_t>& bytes : {Wav16({1, 2}, 2), Wav16({1, 2}, 1, 8), cut, not_wave, short_format,
                                           no_data, std::vector<uint8_t>{}})
    EXPECT_TRUE(DecodeWav16(std::vector<uint8_t>(bytes), &rate).empty());
}

TEST(SpeechSentences, EndAfterEachEndMarkFollowedByASpace) {
  // A point inside a number ends nothing.
  EXPECT_EQ(SplitSentences("Use the keys. Touch them, in order? Keep away! "),
            (std::vector<std::string>{"Use the keys.", "Touch them, in order?", "Keep away!"}));
  EXPECT_EQ(SplitSentences("Version 1.5 now."), (std::vector<std::string>{"Version 1.5 now."}));
}

TEST(SpeechTrim, KeepsTheMarginAroundTheSoundAndNoMore) {
  Samples sound(1000, 0.0f);
  std::fill(sound.begin() + 400, sound.begin() + 600, 0.5f);
  sound[100] = 0.005f;  // below the threshold: still silence
  sound[400] = sound[599] = 0.01f;  // at the threshold: sound
  Samples expected(300, 0.0f);  // 50 samples each side
  std::fill(expected.begin() + 50, expected.begin() + 250, 0.5f);
  expected[50] = expected[249] = 0.01f;
  EXPECT_EQ(TrimSilence(sound, 1000, 0.05), expected);
  EXPECT_EQ(TrimSilence(Samples(10, 0.5f), 1000, 0.05).size(), 10u) << "no room for a margin";
}

double ToneLevel(const Samples& s, double frequency, int rate) {
  double re = 0, im = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    re += s[i] * std::cos(2 * M_PI * frequency * i / rate);
    im += s[i] * std::sin(2 * M_PI * frequency * i / rate);
  }
  return 2 * std::sqrt(re * re + im * im) / s.size();
}

TEST(SpeechResample, KeepsTonesBelowTheNewNyquistAndDropsThoseAbove) {
  const int from = 32000, to = 11025;
  Samples in(32000);
  for (size_t i = 0; i < in.size(); ++i)
    for (double tone : {1000.0, 5400.0, 7000.0})
      in[i] += static_cast<float>(0.3 * std::sin(2 * M_PI * tone * i / from));
  const Samples out = Resample(in, from, to);
  ASSERT_NEAR(static_cast<double>(out.size()), 11025.0, 2.0);
  const Samples middle(out.begin() + 1000, out.end() - 1000);
  EXPECT_NEAR(ToneLevel(middle, 1000, to), 0.3, 0.003);
  EXPECT_NEAR(ToneLevel(middle, 5400, to), 0.3, 0.003) << "the pass band reaches close to 5512 Hz";
  EXPECT_LT(ToneLevel(middle, 11025 - 7000, to), 0.001) << "7 kHz folded down without the low-pass";
  EXPECT_TRUE(Resample(Samples{}, from, to).empty());
  for (const auto& [source, target] : {std::pair{0, to}, {from, 0}, {-from, to}})
    EXPECT_TRUE(Resample(in, source, target).empty()) << source << " to " << target;
}

}  // namespace
