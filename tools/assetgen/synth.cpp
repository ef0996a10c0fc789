#include "synth.h"

#include <algorithm>
#include <cmath>

#include "wav_writer.h"
#include "xorshift.h"

namespace {

const double NYQUIST_MARGIN = 0.45;  // harmonics stay below 0.45 of the sample rate

void SetBandPass(Biquad& f, double frequency, double q) {
  const double w = 2 * M_PI * frequency / SAMPLE_RATE;
  const double alpha = std::sin(w) / (2 * q);
  const double a0 = 1 + alpha;
  f.b0 = alpha / a0;
  f.b1 = 0;
  f.b2 = -alpha / a0;
  f.a1 = -2 * std::cos(w) / a0;
  f.a2 = (1 - alpha) / a0;
}

Biquad MakeLowOrHighPass(double frequency, double q, bool high) {
  Biquad f;
  const double w = 2 * M_PI * frequency / SAMPLE_RATE;
  const double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  const double a0 = 1 + alpha;
  f.b0 = (high ? (1 + c) : (1 - c)) / 2 / a0;
  f.b1 = (high ? -(1 + c) : (1 - c)) / a0;
  f.b2 = f.b0;
  f.a1 = -2 * c / a0;
  f.a2 = (1 - alpha) / a0;
  return f;
}

// Writes value at index start + i, wrapping around or dropping past the end.
void AddAt(Samples& out, size_t start, size_t i, double value, bool wrap) {
  size_t index = start + i;
  if (index >= out.size()) {
    if (!wrap) return;
    index %= out.size();
  }
  out[index] += static_cast<float>(value);
}

// Adds a tone whose harmonic k has amplitude weight(k), with a pluck envelope.
template <typename Weight>
void AddHarmonicNote(Samples& out, size_t start, double seconds, double frequency, double level,
                     double decay_time, bool wrap, Weight weight) {
  const size_t count = static_cast<size_t>(seconds * SAMPLE_RATE);
  const int harmonics = std::max(1, static_cast<int>(NYQUIST_MARGIN * SAMPLE_RATE / frequency));
  const double release = std::min(0.03, seconds / 4);
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    double value = 0;
    for (int k = 1; k <= harmonics; ++k) value += weight(k) * std::sin(2 * M_PI * k * frequency * t);
    // The note ends with a short release, so it never stops with a click.
    const double tail = std::min(1.0, (seconds - t) / release);
    AddAt(out, start, i, level * value * PluckEnvelope(t, 0.005, decay_time) * tail, wrap);
  }
}

}  // namespace

float NextNoise(NoiseSource& noise) { return static_cast<float>(NextXorShift(noise.state) / 2147483648.0 - 1.0); }

Biquad MakeBandPass(double frequency, double q) {
  Biquad f;
  SetBandPass(f, frequency, q);
  return f;
}

void TuneBandPass(Biquad& filter, double frequency, double q) { SetBandPass(filter, frequency, q); }

Biquad MakeLowPass(double frequency, double q) { return MakeLowOrHighPass(frequency, q, false); }

Biquad MakeHighPass(double frequency, double q) { return MakeLowOrHighPass(frequency, q, true); }

float RunFilter(Biquad& f, float input) {
  const double y = f.b0 * input + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
  f.x2 = f.x1;
  f.x1 = input;
  f.y2 = f.y1;
  f.y1 = y;
  return static_cast<float>(y);
}

double PluckEnvelope(double t, double attack, double decay_time) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay_time);
}

double SwellEnvelope(double t, double length, double rise, double fall) {
  if (t < 0 || t > length) return 0;
  const double in = t < rise ? 0.5 - 0.5 * std::cos(M_PI * t / rise) : 1.0;
  const double left = length - t;
  const double out = left < fall ? 0.5 - 0.5 * std::cos(M_PI * left / fall) : 1.0;
  return in * out;
}

double NoteFrequency(int midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0); }

void AddPulseNote(Samples& out, size_t start, double seconds, double frequency, double duty,
                  double level, double decay_time, bool wrap) {
  AddHarmonicNote(out, start, seconds, frequency, level, decay_time, wrap,
                  [duty](int k) { return 2 * std::sin(M_PI * k * duty) / (M_PI * k); });
}

void AddSoftNote(Samples& out, size_t start, double seconds, double frequency, double level,
                 double decay_time, bool wrap) {
  AddHarmonicNote(out, start, seconds, frequency, level, decay_time, wrap,
                  [](int k) { return k % 2 == 1 ? 1.0 / (static_cast<double>(k) * k) : 0.0; });
}

void AddDrum(Samples& out, size_t start, double high_hz, double low_hz, double level,
             double decay_time, bool wrap) {
  const size_t count = static_cast<size_t>(decay_time * 6 * SAMPLE_RATE);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    const double frequency = low_hz + (high_hz - low_hz) * std::exp(-t / 0.03);
    phase += 2 * M_PI * frequency / SAMPLE_RATE;
    AddAt(out, start, i, level * std::sin(phase) * PluckEnvelope(t, 0.002, decay_time), wrap);
  }
}

void AddTick(Samples& out, NoiseSource& noise, size_t start, double frequency, double level,
             double decay_time, bool wrap) {
  Biquad band = MakeBandPass(frequency, 1.5);
  const size_t count = static_cast<size_t>(decay_time * 6 * SAMPLE_RATE);
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    const float filtered = RunFilter(band, NextNoise(noise));
    AddAt(out, start, i, level * filtered * PluckEnvelope(t, 0.001, decay_time), wrap);
  }
}
