// Spoken prompts and names from the Festival speech synthesiser and its HTS US English voice,
// run as a build tool once for every line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound_levels.h"

// One line to speak.
struct SpeechLine {
  std::string text;     // what is said (plain ASCII)
  double speed = 0.85;  // speaking rate against the voice's own (below 1: slower, for small children)
};

// Speaks every line in one run of the synthesiser and returns each at SAMPLE_RATE, silence at
// both ends trimmed and half a second of silence between its sentences; empty (with a message,
// nothing left behind) when synthesis fails.
std::vector<Samples> SpeakLines(const std::vector<SpeechLine>& lines);

// The sentences of a line: split after '.', '!' or '?' followed by a space.
std::vector<std::string> SplitSentences(const std::string& text);

// The synthesiser's script that speaks sentence j of line i into folder/i-j.wav.
std::string SpeechScript(const std::vector<SpeechLine>& lines, const std::string& folder);

// Decodes a 16-bit PCM mono WAV file to samples (full scale +-1) and its sample rate;
// empty when the bytes are not such a file or its data runs past the end.
Samples DecodeWav16(const std::vector<uint8_t>& bytes, int* rate);

// Drops the near-silent lead-in and tail, keeping a margin of margin_seconds.
Samples TrimSilence(const Samples& sound, int rate, double margin_seconds);

// Converts a sound from one sample rate to another with a band-limited resampler, whose
// low-pass keeps everything below the lower rate's Nyquist limit out of aliasing.
Samples Resample(const Samples& sound, int from_rate, int to_rate);
