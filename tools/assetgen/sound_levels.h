// Finishing a synthesised or spoken sound: levels, edges, loop seams and 8-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A mono sound as floating-point samples at SAMPLE_RATE, full scale +-1.
using Samples = std::vector<float>;

// Subtracts the mean so the sound has no DC offset.
void RemoveDcOffset(Samples& sound);

// Turns down the loud moments (above threshold, a fraction of the peak) by ratio, so
// quiet and loud sounds can be brought to one loudness without clipping.
void CompressPeaks(Samples& sound, double threshold, double ratio);

// RMS of the sound's active part: 20 ms windows within 20 dB of the loudest one.
double ActiveLoudness(const Samples& sound);

// Scales the active loudness to target_rms, but never the peak past peak_ceiling.
void EvenOutLevel(Samples& sound, double target_rms, double peak_ceiling);

// Ramps the first and last fade_seconds in and out so the sound starts and ends in silence.
void FadeEdges(Samples& sound, double fade_seconds);

// Makes a loop of loop_length samples from a longer sound: the part past the loop is
// cross-faded into the loop's start, so the end flows into the beginning without a seam.
Samples MakeSeamlessLoop(const Samples& sound, size_t loop_length, size_t crossfade_length);

// Converts to unsigned 8-bit samples (128 is silence) with triangular (TPDF) dither of one
// step either way from a fixed seed, so quiet detail is kept as noise, not as distortion;
// near-silence (under a quarter step) stays 128 and the result is clamped to 1..255.
std::vector<uint8_t> ToPcm8(const Samples& sound);

// Finishes a one-shot sound: no DC, an even level below the voice's, silent edges, 8-bit.
std::vector<uint8_t> FinishOneShot(Samples sound);

// Finishes a spoken line: no DC, peak brought to the level that leaves room for the sounds
// played with it, silent edges, dithered 8-bit; no compression, which would blur the consonants.
std::vector<uint8_t> FinishSpeech(Samples speech);

// Finishes a loop: no DC and a level low enough to play under the voice, with no fades that
// would pulse at each repeat.
std::vector<uint8_t> FinishLoop(Samples loop);
