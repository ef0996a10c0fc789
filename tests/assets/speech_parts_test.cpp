// The speech pieces: the synthesiser's script, reading its WAV output, trimming, resampling,
// and the dithered 8-bit conversion every sound goes through.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "sound_levels.h"
#include "speech.h"

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A WAV file as a synthesiser writes it: an optional chunk before the format, then 16-bit data.
std::vector<uint8_t> Wav16(const std::vector<int16_t>& samples, uint32_t rate, uint16_t channels,
                           uint16_t bits, bool extra_chunk) {
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 0);  // the decoder goes by the chunks, not by this size
  PutTag(out, "WAVE");
  if (extra_chunk) {
    PutTag(out, "LIST");
    PutU32(out, 3);
    out.insert(out.end(), {1, 2, 3, 0});  // three bytes and the pad byte
  }
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);
  PutU16(out, channels);
  PutU32(out, rate);
  PutU32(out, rate * 2);
  PutU16(out, 2);
  PutU16(out, bits);
  PutTag(out, "data");
  PutU32(out, static_cast<uint32_t>(samples.size() * 2));
  for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
  return out;
}

TEST(SpeechWav, DecodesSixteenBitMonoPastOtherChunks) {
  int rate = 0;
  const Samples s = DecodeWav16(Wav16({0, 16384, -32768, 32767}, 32000, 1, 16, true), &rate);
  EXPECT_EQ(rate, 32000);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0], 0.0f);
  EXPECT_EQ(s[1], 0.5f);
  EXPECT_EQ(s[2], -1.0f);
  EXPECT_FLOAT_EQ(s[3], 32767 / 32768.0f);
}

TEST(SpeechWav, RefusesOtherFormatsAndTruncatedFiles) {
  int rate = 0;
  EXPECT_TRUE(DecodeWav16(Wav16({1, 2}, 32000, 2, 16, false), &rate).empty()) << "stereo";
  EXPECT_TRUE(DecodeWav16(Wav16({1, 2}, 32000, 1, 8, false), &rate).empty()) << "8-bit";
  std::vector<uint8_t> cut = Wav16({1, 2, 3}, 32000, 1, 16, false);
  cut.pop_back();
  EXPECT_TRUE(DecodeWav16(cut, &rate).empty()) << "data runs past the end";
  std::vector<uint8_t> not_wave = Wav16({1}, 32000, 1, 16, false);
  not_wave[8] = 'X';
  EXPECT_TRUE(DecodeWav16(not_wave, &rate).empty());
  EXPECT_TRUE(DecodeWav16({}, &rate).empty());
  // A format chunk followed by four stray bytes, too few for a chunk header: refused without
  // reading past the end (the copy holds exactly the file, so a read beyond it is caught).
  std::vector<uint8_t> no_data = Wav16({}, 32000, 1, 16, false);
  no_data.resize(no_data.size() - 8);
  no_data.insert(no_data.end(), {'d', 'a', 't', 'a'});
  EXPECT_TRUE(DecodeWav16(std::vector<uint8_t>(no_data), &rate).empty());
}

TEST(SpeechWav, RefusesAFormatChunkTooShortToHoldTheSampleSize) {
  std::vector<uint8_t> bytes = Wav16({1, 2}, 32000, 1, 16, false);
  bytes[16] = 15;  // "fmt " size: 15 bytes and a pad byte, short of the bits-per-sample field
  int rate = 0;
  EXPECT_TRUE(DecodeWav16(bytes, &rate).empty());
}

int EntriesIn(const std::string& folder) {
  int count = 0;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return -1;
  while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
  closedir(dir);
  return count;
}

// The longest run of samples that are exactly zero.
size_t LongestSilence(const Samples& s) {
  size_t longest = 0, run = 0;
  for (float v : s) {
    run = v == 0.0f ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST(SpeakLines, SpeaksEveryLineAndLeavesNothingInTheScratchFolder) {
  char scratch_template[] = "/tmp/vork-speech-test-XXXXXX";
  const std::string scratch = mkdtemp(scratch_template);
  const char* old_tmp = std::getenv("TMPDIR");
  const std::string saved = old_tmp != nullptr ? old_tmp : "";
  setenv("TMPDIR", scratch.c_str(), 1);
  const std::vector<Samples> spoken = SpeakLines({{"Dog!", 1.0}, {"Press the space bar.", 1.0}, {"Dog! Cat!", 1.0}});
  if (old_tmp != nullptr) setenv("TMPDIR", saved.c_str(), 1); else unsetenv("TMPDIR");
  EXPECT_EQ(EntriesIn(scratch), 0) << "scratch files left behind";
  rmdir(scratch.c_str());
  ASSERT_EQ(spoken.size(), 3u);
  // A word is a few tenths of a second, a sentence longer, both trimmed to the speech.
  EXPECT_GT(spoken[0].size(), 0.2 * 11025);
  EXPECT_LT(spoken[0].size(), 1.0 * 11025);
  EXPECT_GT(spoken[1].size(), spoken[0].size() * 2);
  // Two sentences: both spoken, with 0.4 s of silence between them (plus at most the
  // near-silent margins kept around each).
  const size_t pause = static_cast<size_t>(0.4 * 11025);
  EXPECT_GT(spoken[2].size(), spoken[0].size() + pause + 0.2 * 11025);
  EXPECT_GE(LongestSilence(spoken[2]), pause);
  EXPECT_LT(LongestSilence(spoken[2]), pause + 2 * 0.03 * 11025);
}

TEST(SpeechScript, SpeaksEachSentenceIntoItsOwnFileAtItsLinesSpeed) {
  const std::string script = SpeechScript({{"Dog!", 0.8}, {"Say \"hi\". Go on!", 1.0}}, "/tmp/x");
  EXPECT_EQ(script,
            "(voice_cmu_us_slt_arctic_hts)\n"
            "(set! hts_engine_params (append cmu_us_slt_arctic_hts::hts_engine_params '((\"-r\" 0.800))))\n"
            "(utt.save.wave (utt.synth (Utterance Text \"Dog!\")) \"/tmp/x/0-0.wav\" 'riff)\n"
            "(set! hts_engine_params (append cmu_us_slt_arctic_hts::hts_engine_params '((\"-r\" 1.000))))\n"
            "(utt.save.wave (utt.synth (Utterance Text \"Say \\\"hi\\\".\")) \"/tmp/x/1-0.wav\" 'riff)\n"
            "(utt.save.wave (utt.synth (Utterance Text \"Go on!\")) \"/tmp/x/1-1.wav\" 'riff)\n");
}

TEST(SpeechSentences, SplitsAfterEachEndMarkFollowedByASpace) {
  EXPECT_EQ(SplitSentences("Use the keys. Touch them, in order? Keep away!"),
            (std::vector<std::string>{"Use the keys.", "Touch them, in order?", "Keep away!"}));
  EXPECT_EQ(SplitSentences("Dog!"), (std::vector<std::string>{"Dog!"}));
  EXPECT_EQ(SplitSentences("Dog! "), (std::vector<std::string>{"Dog!"})) << "no empty sentence at the end";
  EXPECT_EQ(SplitSentences("Version 1.5 now."), (std::vector<std::string>{"Version 1.5 now."}))
      << "a point inside a number ends nothing";
}

TEST(SpeechTrim, KeepsTheMarginAroundTheSoundAndNoMore) {
  Samples sound(1000, 0.0f);
  for (size_t i = 400; i < 600; ++i) sound[i] = 0.5f;
  sound[100] = 0.005f;  // below the threshold: still silence
  const Samples trimmed = TrimSilence(sound, 1000, 0.05);  // 50 samples each side
  ASSERT_EQ(trimmed.size(), 300u);
  EXPECT_EQ(trimmed[49], 0.0f);
  EXPECT_EQ(trimmed[50], 0.5f);
  EXPECT_EQ(trimmed[249], 0.5f);
  EXPECT_EQ(trimmed[250], 0.0f);
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
  for (size_t i = 0; i < in.size(); ++i) {
    in[i] = static_cast<float>(0.3 * std::sin(2 * M_PI * 1000.0 * i / from) +
                               0.3 * std::sin(2 * M_PI * 5400.0 * i / from) +
                               0.3 * std::sin(2 * M_PI * 7000.0 * i / from));
  }
  const Samples out = Resample(in, from, to);
  ASSERT_NEAR(static_cast<double>(out.size()), 11025.0, 2.0);
  const Samples middle(out.begin() + 1000, out.end() - 1000);
  EXPECT_NEAR(ToneLevel(middle, 1000, to), 0.3, 0.003);
  EXPECT_NEAR(ToneLevel(middle, 5400, to), 0.3, 0.003) << "the pass band reaches close to 5512 Hz";
  // 7 kHz would fold down to 4025 Hz without the low-pass.
  EXPECT_LT(ToneLevel(middle, 11025 - 7000, to), 0.001);
  EXPECT_TRUE(Resample(Samples{}, from, to).empty());
  EXPECT_TRUE(Resample(in, 0, to).empty()) << "no rate to convert from";
  EXPECT_TRUE(Resample(in, from, 0).empty()) << "no rate to convert to";
  EXPECT_TRUE(Resample(in, -from, to).empty());
}

TEST(Pcm8, DitherKeepsTheAverageOfAValueBetweenSteps) {
  // 0.4 step above 128 rounds to 128 without dither; dithered, its mean is 128.4.
  const Samples quarter(20000, 0.4f / 127);
  const std::vector<uint8_t> pcm = ToPcm8(quarter);
  double sum = 0;
  for (uint8_t v : pcm) {
    EXPECT_GE(v, 127);
    EXPECT_LE(v, 129);
    sum += v;
  }
  EXPECT_NEAR(sum / pcm.size(), 128.4, 0.02);
  EXPECT_EQ(ToPcm8(quarter), pcm) << "the same bytes every time";
}

TEST(Pcm8, NearSilenceStaysSilentAndFullScaleIsClamped) {
  const std::vector<uint8_t> pcm = ToPcm8({0.0f, 0.2f / 127, 2.0f, -2.0f, 1.0f, -1.0f, -0.2f / 127});
  EXPECT_EQ(pcm[0], 128);
  EXPECT_EQ(pcm[1], 128) << "under a quarter step";
  EXPECT_EQ(pcm[6], 128) << "under a quarter step";
  EXPECT_EQ(pcm[2], 255);
  EXPECT_EQ(pcm[3], 1);
  EXPECT_GE(pcm[4], 254);
  EXPECT_LE(pcm[5], 2);
}

TEST(Levels, CompressionLeavesQuietPartsAndTurnsDownLoudOnes) {
  Samples sound(11025);
  for (size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<float>((i < 5000 ? 0.05 : 0.5) * std::sin(i * 0.3));
  Samples compressed = sound;
  CompressPeaks(compressed, 0.3, 3);
  for (size_t i = 0; i < 5000; ++i) ASSERT_EQ(compressed[i], sound[i]) << i;
  float loud_peak = 0;
  for (size_t i = 8000; i < sound.size(); ++i) loud_peak = std::max(loud_peak, std::fabs(compressed[i]));
  // The threshold is a share of the sound's own peak (0.5). Above it the level grows a third
  // as fast: 0.5 * (0.3 + 0.7 / 3) = 0.267, and a bit more as the envelope dips between peaks.
  EXPECT_NEAR(loud_peak, 0.2725, 0.005);
}

TEST(FinishSpeech, BringsThePeakToTheSameLevelWhateverTheInputLevel) {
  for (float level : {0.05f, 0.5f, 3.0f}) {
    Samples tone(4000);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(level * std::sin(i * 0.2));
    const std::vector<uint8_t> pcm = FinishSpeech(tone);
    int peak = 0;
    for (uint8_t v : pcm) peak = std::max(peak, std::abs(v - 128));
    EXPECT_GE(peak, 58) << level;
    EXPECT_LE(peak, 59) << level;
    EXPECT_EQ(pcm.front(), 128) << level;
    EXPECT_EQ(pcm.back(), 128) << level;
    // No compression: a sine's RMS stays at peak / sqrt(2).
    double sum = 0;
    for (size_t i = 500; i < 3500; ++i) sum += (pcm[i] - 128.0) * (pcm[i] - 128.0);
    EXPECT_NEAR(std::sqrt(sum / 3000), 0.46 * 127 / std::sqrt(2.0), 1.0) << level;
  }
}

}  // namespace
