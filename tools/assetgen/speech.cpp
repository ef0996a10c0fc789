#include "speech.h"

#include <espeak-ng/speak_lib.h>
#include <samplerate.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "wav_writer.h"

namespace {

// English with a light, friendly voice variant.
const char* const VOICE_NAME = "en-us+f3";
int synth_rate = 22050;  // the synthesiser's own output rate, set by StartSpeech
Samples* collecting = nullptr;  // where the callback appends samples

int CollectSamples(short* wav, int count, espeak_EVENT*) {
  if (wav != nullptr && collecting != nullptr) {
    for (int i = 0; i < count; ++i) collecting->push_back(wav[i] / 32768.0f);
  }
  return 0;  // 0: go on synthesising
}

// Drops the near-silent lead-in and tail the synthesiser adds, keeping a short margin.
Samples TrimSilence(const Samples& sound, int rate) {
  const float threshold = 0.01f;
  size_t first = 0, last = sound.size();
  while (first < sound.size() && std::fabs(sound[first]) < threshold) ++first;
  while (last > first && std::fabs(sound[last - 1]) < threshold) --last;
  const size_t margin = static_cast<size_t>(rate * 0.03);
  first = first > margin ? first - margin : 0;
  last = std::min(sound.size(), last + margin);
  return Samples(sound.begin() + first, sound.begin() + last);
}

}  // namespace

bool StartSpeech() {
  synth_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  if (synth_rate <= 0) {
    std::fprintf(stderr, "vork-assetgen: cannot start the speech synthesiser\n");
    return false;
  }
  espeak_SetSynthCallback(CollectSamples);
  if (espeak_SetVoiceByName(VOICE_NAME) != EE_OK) {
    std::fprintf(stderr, "vork-assetgen: no speech voice %s\n", VOICE_NAME);
    espeak_Terminate();
    return false;
  }
  return true;
}

void StopSpeech() { espeak_Terminate(); }

Samples Speak(const std::string& text, const SpeechStyle& style) {
  espeak_SetParameter(espeakRATE, style.words_per_minute, 0);
  espeak_SetParameter(espeakPITCH, style.pitch, 0);
  espeak_SetParameter(espeakRANGE, style.pitch_range, 0);
  espeak_SetParameter(espeakWORDGAP, style.gap_between_words, 0);
  // The synthesiser's noise sources draw on the C generator: seed it for the same bytes.
  std::srand(1);
  Samples spoken;
  collecting = &spoken;
  const espeak_ERROR error = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                          espeakCHARS_UTF8, nullptr, nullptr);
  espeak_Synchronize();
  collecting = nullptr;
  if (error != EE_OK || spoken.empty()) {
    std::fprintf(stderr, "vork-assetgen: speech synthesis failed for \"%s\"\n", text.c_str());
    return {};
  }
  return Resample(TrimSilence(spoken, synth_rate), synth_rate, SAMPLE_RATE);
}

Samples Resample(const Samples& sound, int from_rate, int to_rate) {
  if (sound.empty()) return {};
  const double ratio = static_cast<double>(to_rate) / from_rate;
  Samples out(static_cast<size_t>(std::ceil(sound.size() * ratio)) + 16);
  SRC_DATA data{};
  data.data_in = sound.data();
  data.input_frames = static_cast<long>(sound.size());
  data.data_out = out.data();
  data.output_frames = static_cast<long>(out.size());
  data.src_ratio = ratio;
  if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0) return {};
  out.resize(static_cast<size_t>(data.output_frames_gen));
  return out;
}
