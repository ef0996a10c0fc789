#include "sound_design.h"

#include <algorithm>
#include <cmath>

#include "synth.h"
#include "wav_writer.h"

namespace {

size_t SamplesFor(double seconds) { return static_cast<size_t>(seconds * SAMPLE_RATE); }

// A voiced sound: a sawtooth-like source at a gliding pitch through two gliding formants.
struct VoiceShape {
  double start_hz, peak_hz, end_hz;  // pitch contour: start, middle, end
  double formant1_from, formant1_to;  // first formant glide (Hz)
  double formant2_from, formant2_to;  // second formant glide (Hz)
  double breath;                      // share of noise in the source
};

double Glide(double from, double to, double x) { return from + (to - from) * x; }

// Renders one voiced call of the given length into out at start.
void AddVoicedCall(Samples& out, size_t start, double seconds, const VoiceShape& shape,
                   double rise, double fall, NoiseSource& noise) {
  Biquad formant1 = MakeBandPass(shape.formant1_from, 5);
  Biquad formant2 = MakeBandPass(shape.formant2_from, 7);
  double phase = 0;
  const size_t count = SamplesFor(seconds);
  for (size_t i = 0; i < count && start + i < out.size(); ++i) {
    const double x = static_cast<double>(i) / count;
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    // Pitch rises to the middle and falls after it, smoothly.
    const double pitch = x < 0.4 ? Glide(shape.start_hz, shape.peak_hz, std::sin(x / 0.4 * M_PI / 2))
                                 : Glide(shape.peak_hz, shape.end_hz, (x - 0.4) / 0.6);
    phase += pitch / SAMPLE_RATE;
    phase -= std::floor(phase);
    const double saw = 2 * phase - 1;
    const double source = (1 - shape.breath) * saw + shape.breath * NextNoise(noise);
    TuneBandPass(formant1, Glide(shape.formant1_from, shape.formant1_to, x), 5);
    TuneBandPass(formant2, Glide(shape.formant2_from, shape.formant2_to, x), 7);
    const float voiced = RunFilter(formant1, static_cast<float>(source)) +
                         0.6f * RunFilter(formant2, static_cast<float>(source));
    out[start + i] += static_cast<float>(voiced * SwellEnvelope(t, seconds, rise, fall));
  }
}

// One note of the tune: a MIDI note number (0 for a rest) and its length in eighths.
struct MelodyNote {
  int note;
  int eighths;
};

}  // namespace

Samples MakeBark() {
  Samples out(SamplesFor(1.0), 0.0f);
  NoiseSource noise;
  const VoiceShape woof = {420, 520, 260, 1200, 500, 2200, 1100, 0.35};
  AddVoicedCall(out, SamplesFor(0.04), 0.2, woof, 0.01, 0.12, noise);
  AddVoicedCall(out, SamplesFor(0.42), 0.24, woof, 0.01, 0.14, noise);
  return out;
}

Samples MakeMeow() {
  Samples out(SamplesFor(1.0), 0.0f);
  NoiseSource noise;
  // "mi-aaa-ow": the vowel opens and closes while the pitch rises and falls.
  const VoiceShape meow = {520, 820, 480, 350, 700, 2300, 1000, 0.08};
  AddVoicedCall(out, SamplesFor(0.05), 0.85, meow, 0.08, 0.25, noise);
  return out;
}

Samples MakeHoot() {
  Samples out(SamplesFor(1.1), 0.0f);
  NoiseSource noise;
  Biquad breath_filter = MakeLowPass(900, 0.7);
  // Three soft hoots: a long one, then two short ones.
  const double starts[] = {0.03, 0.5, 0.75};
  const double lengths[] = {0.34, 0.18, 0.3};
  for (int h = 0; h < 3; ++h) {
    const size_t first = SamplesFor(starts[h]);
    double phase = 0;
    for (size_t i = 0; i < SamplesFor(lengths[h]); ++i) {
      const double t = static_cast<double>(i) / SAMPLE_RATE;
      const double pitch = 390 - 40 * t / lengths[h] + 6 * std::sin(2 * M_PI * 5 * t);
      phase += 2 * M_PI * pitch / SAMPLE_RATE;
      const double tone = std::sin(phase) + 0.15 * std::sin(2 * phase);
      const double breath = 0.25 * RunFilter(breath_filter, NextNoise(noise));
      out[first + i] += static_cast<float>((tone + breath) * SwellEnvelope(t, lengths[h], 0.06, 0.12));
    }
  }
  return out;
}

Samples MakeCroak() {
  Samples out(SamplesFor(1.0), 0.0f);
  // Each croak is a train of glottal clicks ringing two resonances: "rib-bit".
  Biquad low = MakeBandPass(420, 14), high = MakeBandPass(1150, 12);
  const double croak_starts[] = {0.04, 0.52};
  for (double croak_start : croak_starts) {
    const double length = 0.36;
    double phase = 1;
    for (size_t i = 0; i < SamplesFor(length); ++i) {
      const double t = static_cast<double>(i) / SAMPLE_RATE;
      const double rate = t < length / 2 ? 38 : 30;  // the second syllable is lower
      phase += rate / SAMPLE_RATE;
      float click = 0;
      if (phase >= 1) {
        phase -= 1;
        click = 1;
      }
      const float rung = RunFilter(low, click) + 0.5f * RunFilter(high, click);
      // A short dip between the two syllables.
      const double syllables = 1 - 0.8 * SwellEnvelope(t - length * 0.45, length * 0.1, 0.02, 0.02);
      out[SamplesFor(croak_start) + i] +=
          static_cast<float>(rung * syllables * SwellEnvelope(t, length, 0.02, 0.06));
    }
  }
  return out;
}

Samples MakeEngineLoop() {
  const double loop_seconds = 2.0, crossfade_seconds = 0.25;
  Samples raw(SamplesFor(loop_seconds + crossfade_seconds), 0.0f);
  NoiseSource noise;
  Biquad body = MakeLowPass(180, 1.2);
  Biquad rumble = MakeLowPass(90, 0.8);
  double phase = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    // The diesel fires 26 times a second with a slow wobble in its speed.
    phase += (26 + 1.5 * std::sin(2 * M_PI * 0.5 * t)) / SAMPLE_RATE;
    phase -= std::floor(phase);
    const double firing = std::exp(-phase * 9) * (0.8 + 0.2 * NextNoise(noise));
    const float thump = RunFilter(body, static_cast<float>(firing));
    const float growl = RunFilter(rumble, NextNoise(noise));
    raw[i] = 1.6f * thump + 0.5f * growl;
  }
  // Track plates clank four times a second.
  for (int k = 0; k < static_cast<int>((loop_seconds + crossfade_seconds) * 4); ++k) {
    AddTick(raw, noise, SamplesFor(k * 0.25 + 0.02), 2400, 0.25, 0.012, false);
  }
  return MakeSeamlessLoop(raw, SamplesFor(loop_seconds), SamplesFor(crossfade_seconds));
}

Samples MakeTuneLoop() {
  // An eighth note is 2300 samples (about 144 beats a minute); eight bars of eight.
  const size_t eighth = 2300;
  const double eighth_seconds = static_cast<double>(eighth) / SAMPLE_RATE;
  Samples loop(eighth * 8 * 8, 0.0f);
  NoiseSource noise;
  const MelodyNote melody[] = {
      {76, 2}, {79, 1}, {76, 1}, {74, 1}, {72, 1}, {74, 1}, {76, 1},  // bar 1
      {79, 2}, {81, 1}, {79, 1}, {76, 2}, {0, 2},                     // bar 2
      {77, 1}, {77, 1}, {81, 1}, {77, 1}, {76, 1}, {76, 1}, {79, 1}, {76, 1},
      {74, 2}, {76, 1}, {74, 1}, {72, 2}, {67, 2},                    // bar 4
      {76, 2}, {79, 1}, {76, 1}, {74, 1}, {72, 1}, {74, 1}, {76, 1},  // bar 5
      {79, 2}, {81, 1}, {83, 1}, {84, 2}, {81, 2},                    // bar 6
      {79, 1}, {76, 1}, {77, 1}, {74, 1}, {76, 1}, {72, 1}, {74, 1}, {71, 1},
      {72, 4}, {0, 2}, {67, 2},                                       // bar 8
  };
  size_t position = 0;
  for (const MelodyNote& n : melody) {
    if (n.note != 0) {
      AddPulseNote(loop, position * eighth, n.eighths * eighth_seconds * 0.92, NoteFrequency(n.note),
                   0.25, 0.32, 0.35, true);
    }
    position += n.eighths;
  }
  // Oom-pah bass: root on beats one and three, fifth on two and four.
  const int chord_roots[] = {48, 48, 53, 55, 48, 53, 55, 48};  // C C F G C F G C
  for (int bar = 0; bar < 8; ++bar) {
    // A soft sustained chord under each bar, overlapping the next, so the loop never drops
    // out to silence (not even where it wraps round).
    const int chord[3] = {chord_roots[bar] + 12, chord_roots[bar] + 16, chord_roots[bar] + 19};
    for (int note : chord) {
      AddSoftNote(loop, bar * 8 * eighth, (8 * eighth + 300) / static_cast<double>(SAMPLE_RATE),
                  NoteFrequency(note), 0.12, 20.0, true);
    }
    for (int beat = 0; beat < 4; ++beat) {
      const int note = chord_roots[bar] - 12 + (beat % 2 == 1 ? 7 : 0);
      const size_t at = (bar * 8 + beat * 2) * eighth;
      AddSoftNote(loop, at, eighth_seconds * 1.6, NoteFrequency(note), 0.5, 0.25, true);
      if (beat % 2 == 0) AddDrum(loop, at, 150, 55, 0.45, 0.06, true);
      AddTick(loop, noise, at + eighth, 4200, 0.3, 0.015, true);  // off-beat hat
    }
  }
  return loop;
}

Samples MakeTreeCrash() {
  Samples out(SamplesFor(1.6), 0.0f);
  NoiseSource noise;
  // The crunch: wood splintering, a dense run of cracks that thins out.
  for (int k = 0; k < 40; ++k) {
    const double at = 0.02 + 0.38 * std::pow(k / 40.0, 1.5);
    const double level = 0.9 - 0.5 * k / 40.0;
    AddTick(out, noise, SamplesFor(at), 1200 + 1800 * (0.5 + 0.5 * NextNoise(noise)), level, 0.02, false);
  }
  // The crash: a heavy thud, then leaves and twigs settling.
  AddDrum(out, SamplesFor(0.42), 120, 40, 1.2, 0.15, false);
  Biquad rustle = MakeBandPass(3000, 0.8);
  Biquad rumble = MakeLowPass(200, 0.7);
  for (size_t i = SamplesFor(0.42); i < out.size(); ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE - 0.42;
    const double leaves = 0.35 * RunFilter(rustle, NextNoise(noise)) * PluckEnvelope(t, 0.05, 0.35);
    const double ground = 0.8 * RunFilter(rumble, NextNoise(noise)) * PluckEnvelope(t, 0.01, 0.2);
    out[i] += static_cast<float>(leaves + ground);
  }
  return out;
}

Samples MakeWrongBeep() {
  Samples out(SamplesFor(0.5), 0.0f);
  // Two soft falling notes, "uh-oh": gentle, not a buzzer.
  AddSoftNote(out, 0, 0.2, NoteFrequency(72), 0.8, 0.3, false);
  AddSoftNote(out, SamplesFor(0.22), 0.26, NoteFrequency(67), 0.8, 0.25, false);
  return out;
}

void AddCheerSparkle(Samples& cheer) {
  const int bells[] = {84, 88, 91, 96};  // C E G C, two octaves up
  const double spacing = 0.07;
  const double ring = 0.25;
  double peak = 0;
  for (float s : cheer) peak = std::max(peak, std::fabs(static_cast<double>(s)));
  // The bells rise out of the word's last quarter, so they never cover its consonants.
  const size_t first = cheer.size() * 3 / 4;
  cheer.resize(first + SamplesFor(3 * spacing + ring + 0.05), 0.0f);
  for (int k = 0; k < 4; ++k) {
    AddSoftNote(cheer, first + SamplesFor(k * spacing), ring, NoteFrequency(bells[k]), 0.2 * peak, 0.12, false);
  }
}

Samples MakeCreditsJingle() {
  Samples out(SamplesFor(2.0), 0.0f);
  // A rising arpeggio that lands on a ringing major chord.
  const int arpeggio[] = {72, 76, 79, 84};
  for (int k = 0; k < 4; ++k) {
    AddPulseNote(out, SamplesFor(k * 0.14), 0.16, NoteFrequency(arpeggio[k]), 0.5, 0.3, 0.2, false);
  }
  const int chord[] = {72, 76, 79, 84};
  for (int note : chord) {
    AddSoftNote(out, SamplesFor(0.6), 1.35, NoteFrequency(note), 0.3, 0.45, false);
    AddPulseNote(out, SamplesFor(0.6), 1.35, NoteFrequency(note), 0.5, 0.08, 0.3, false);
  }
  AddDrum(out, SamplesFor(0.6), 160, 60, 0.4, 0.08, false);
  return out;
}
