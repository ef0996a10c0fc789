// Spoken prompts and names from the eSpeak NG speech synthesiser.
#pragma once

#include <string>

#include "sound_levels.h"

// How a line is spoken.
struct SpeechStyle {
  int words_per_minute = 120;  // slow, for small children
  int pitch = 70;              // 0..100, 50 is the voice's normal pitch
  int pitch_range = 70;        // 0..100, more range sounds livelier
  int gap_between_words = 2;   // extra pause between words, in units of 10 ms
};

// Starts the synthesiser; false (with a message, nothing left open) when it cannot start.
bool StartSpeech();
// Stops the synthesiser and frees what it holds.
void StopSpeech();

// Speaks text (UTF-8) and returns it at SAMPLE_RATE, silence at both ends trimmed;
// empty when synthesis fails.
Samples Speak(const std::string& text, const SpeechStyle& style);

// Converts a sound from one sample rate to another with a band-limited resampler.
Samples Resample(const Samples& sound, int from_rate, int to_rate);
