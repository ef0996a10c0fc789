// Small synthesis building blocks: a seeded noise source, filters, envelopes, tones.
#pragma once

#include <cstdint>

#include "sound_levels.h"

// Deterministic noise: a xorshift generator with a fixed seed, never the clock.
struct NoiseSource {
  uint32_t state = 0x2545F491u;  // any nonzero seed
};

// Next noise value, uniform in -1..1.
float NextNoise(NoiseSource& noise);

// A second-order filter section (direct form I) with its coefficients and memory.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;  // normalised coefficients
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;          // last inputs and outputs
};

// Band-pass of constant peak gain 1 around frequency (Hz) with quality q.
Biquad MakeBandPass(double frequency, double q);
// Low-pass at frequency (Hz) with quality q (0.707: no resonance peak).
Biquad MakeLowPass(double frequency, double q);
// High-pass at frequency (Hz) with quality q.
Biquad MakeHighPass(double frequency, double q);
// Moves a band-pass to a new centre frequency, keeping its memory (for gliding formants).
void TuneBandPass(Biquad& filter, double frequency, double q);
// Runs one sample through the filter.
float RunFilter(Biquad& filter, float input);

// Attack-then-exponential-decay envelope at time t (seconds since the note started).
double PluckEnvelope(double t, double attack, double decay_time);
// Smooth rise, hold and fall over [0, length] seconds; 0 outside.
double SwellEnvelope(double t, double length, double rise, double fall);

// Frequency in Hz of a MIDI note number (69 is A at 440 Hz).
double NoteFrequency(int midi_note);

// Adds into out, from sample start, a band-limited pulse tone of the given duty cycle
// (harmonics kept below the Nyquist limit); indices wrap around out's length when wrap is set.
void AddPulseNote(Samples& out, size_t start, double seconds, double frequency, double duty,
                  double level, double decay_time, bool wrap);
// Adds a triangle-like soft tone (odd harmonics falling as 1/k^2), as AddPulseNote.
void AddSoftNote(Samples& out, size_t start, double seconds, double frequency, double level,
                 double decay_time, bool wrap);
// Adds a short drum: a sine falling from high_hz to low_hz, decaying over decay_time.
void AddDrum(Samples& out, size_t start, double high_hz, double low_hz, double level,
             double decay_time, bool wrap);
// Adds a short filtered noise tick (hi-hat or clank) of the given centre frequency.
void AddTick(Samples& out, NoiseSource& noise, size_t start, double frequency, double level,
             double decay_time, bool wrap);
