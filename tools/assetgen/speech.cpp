#include "speech.h"

#include <soxr.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "wav_writer.h"

#ifndef VORK_FESTIVAL
#define VORK_FESTIVAL "festival"
#endif

namespace {

// The voice: a clear US English female voice, the clearest of Debian's voices when measured.
const char* const VOICE_COMMAND = "(voice_cmu_us_slt_arctic_hts)";
const char* const VOICE_PARAMETERS = "cmu_us_slt_arctic_hts::hts_engine_params";
const double TRIM_MARGIN_SECONDS = 0.03;
// Silence between the sentences of one line: time for a small child to take in each one, yet
// under the half second after which speech recognisers close an utterance, so that a prompt of
// several sentences still reaches them as one.
const double SENTENCE_PAUSE_SECONDS = 0.4;
const double PASSBAND_END = 0.997;  // of the lower rate's Nyquist limit

uint32_t ReadU16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) { return ReadU16(b, at) | ReadU16(b, at + 2) << 16; }
bool TagAt(const std::vector<uint8_t>& b, size_t at, const char* tag) { return std::equal(tag, tag + 4, b.begin() + at); }

// The text as a quoted Scheme string.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// Where the synthesiser writes sentence j of line i.
std::string SentencePath(const std::string& folder, size_t i, size_t j) {
  return folder + "/" + std::to_string(i) + "-" + std::to_string(j) + ".wav";
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

// Runs the synthesiser on the script; true when it ran and reported success.
bool RunSynthesiser(const std::string& script_path) {
  const std::string command = std::string("'") + VORK_FESTIVAL + "' --batch '" + script_path + "' >/dev/null";
  return std::system(command.c_str()) == 0;
}

// Reads back the sentences the synthesiser wrote for line i, each trimmed, joined by pauses,
// as samples at SAMPLE_RATE; empty when one is missing or unreadable.
Samples ReadSpokenLine(const std::string& folder, size_t i, size_t sentences) {
  Samples line;
  for (size_t j = 0; j < sentences; ++j) {
    int rate = 0;
    const Samples raw = DecodeWav16(ReadFile(SentencePath(folder, i, j)), &rate);
    const Samples sentence = Resample(TrimSilence(raw, rate, TRIM_MARGIN_SECONDS), rate, SAMPLE_RATE);
    if (sentence.empty()) return {};
    if (j > 0) line.insert(line.end(), static_cast<size_t>(SENTENCE_PAUSE_SECONDS * SAMPLE_RATE), 0.0f);
    line.insert(line.end(), sentence.begin(), sentence.end());
  }
  return line;
}

std::vector<Samples> ReadSpokenLines(const std::string& folder, const std::vector<SpeechLine>& lines) {
  std::vector<Samples> spoken;
  for (size_t i = 0; i < lines.size(); ++i) {
    Samples line = ReadSpokenLine(folder, i, SplitSentences(lines[i].text).size());
    if (line.empty()) return {};
    spoken.push_back(std::move(line));
  }
  return spoken;
}

void RemoveFolder(const std::string& folder, const std::vector<SpeechLine>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    for (size_t j = 0; j < SplitSentences(lines[i].text).size(); ++j) unlink(SentencePath(folder, i, j).c_str());
  }
  unlink((folder + "/speak.scm").c_str());
  rmdir(folder.c_str());
}

}  // namespace

std::vector<std::string> SplitSentences(const std::string& text) {
  std::vector<std::string> sentences;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool ends = (text[i] == '.' || text[i] == '!' || text[i] == '?') && i + 1 < text.size() && text[i + 1] == ' ';
    if (!ends) continue;
    sentences.push_back(text.substr(start, i + 1 - start));
    start = i + 2;
  }
  if (start < text.size()) sentences.push_back(text.substr(start));  // none empty after a last mark
  return sentences;
}

std::string SpeechScript(const std::vector<SpeechLine>& lines, const std::string& folder) {
  std::string script = std::string(VOICE_COMMAND) + "\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.3f", lines[i].speed);
    script += std::string("(set! hts_engine_params (append ") + VOICE_PARAMETERS + " '((\"-r\" " + speed + "))))\n";
    const std::vector<std::string> sentences = SplitSentences(lines[i].text);
    for (size_t j = 0; j < sentences.size(); ++j) {
      script += "(utt.save.wave (utt.synth (Utterance Text " + Quoted(sentences[j]) + ")) " +
                Quoted(SentencePath(folder, i, j)) + " 'riff)\n";
    }
  }
  return script;
}

std::vector<Samples> SpeakLines(const std::vector<SpeechLine>& lines) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vork-speech-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "vork-assetgen: cannot make a scratch folder for speech\n");
    return {};
  }
  const std::string folder = pattern;
  const std::string script_path = folder + "/speak.scm";
  std::vector<Samples> spoken;
  if (WriteText(script_path, SpeechScript(lines, folder)) && RunSynthesiser(script_path)) {
    spoken = ReadSpokenLines(folder, lines);
  }
  if (spoken.empty()) {
    std::fprintf(stderr, "vork-assetgen: speech synthesis failed: is %s with the festvox-us-slt-hts voice installed?\n",
                 VORK_FESTIVAL);
  }
  RemoveFolder(folder, lines);
  return spoken;
}

Samples DecodeWav16(const std::vector<uint8_t>& bytes, int* rate) {
  if (bytes.size() < 12 || !TagAt(bytes, 0, "RIFF") || !TagAt(bytes, 8, "WAVE")) return {};
  bool format_ok = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const uint32_t size = ReadU32(bytes, at + 4);
    const size_t body = at + 8;
    if (size > bytes.size() - body) return {};
    if (TagAt(bytes, at, "fmt ") && size >= 16) {
      // PCM, one channel, 16 bits a sample.
      format_ok = ReadU16(bytes, body) == 1 && ReadU16(bytes, body + 2) == 1 && ReadU16(bytes, body + 14) == 16;
      *rate = static_cast<int>(ReadU32(bytes, body + 4));
    } else if (TagAt(bytes, at, "data") && format_ok && *rate > 0) {
      Samples samples(size / 2);
      for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(ReadU16(bytes, body + 2 * i)) / 32768.0f;
      }
      return samples;
    }
    at = body + size + (size & 1);  // chunks are padded to an even length
  }
  return {};
}

Samples TrimSilence(const Samples& sound, int rate, double margin_seconds) {
  const float threshold = 0.01f;
  size_t first = 0, last = sound.size();
  while (first < sound.size() && std::fabs(sound[first]) < threshold) ++first;
  while (last > first && std::fabs(sound[last - 1]) < threshold) --last;
  const size_t margin = static_cast<size_t>(rate * margin_seconds);
  first = first > margin ? first - margin : 0;
  last = std::min(sound.size(), last + margin);
  return Samples(sound.begin() + first, sound.begin() + last);
}

Samples Resample(const Samples& sound, int from_rate, int to_rate) {
  if (sound.empty() || from_rate <= 0 || to_rate <= 0) return {};
  // Very high precision, linear phase, and a pass band reaching 99.7% of the lower Nyquist
  // limit with the stop band starting right at it: the top of the band holds much of what
  // makes consonants clear, and nothing above the limit folds back into it.
  soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, SOXR_LINEAR_PHASE);
  quality.passband_end = PASSBAND_END;
  quality.stopband_begin = 1.0;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);  // one thread: the same bytes every run
  Samples out(static_cast<size_t>(std::ceil(static_cast<double>(sound.size()) * to_rate / from_rate)) + 16);
  size_t written = 0;
  const soxr_error_t error = soxr_oneshot(from_rate, to_rate, 1, sound.data(), sound.size(), nullptr,
                                          out.data(), out.size(), &written, &io, &quality, &runtime);
  if (error != nullptr) return {};
  out.resize(written);
  return out;
}
