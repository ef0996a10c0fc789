#include "asset_set.h"

#include <functional>

#include "bmp_writer.h"
#include "output_files.h"
#include "palette_file.h"
#include "scenes_art.h"
#include "screens_art.h"
#include "sound_design.h"
#include "sound_levels.h"
#include "speech.h"
#include "sprites_art.h"
#include "wav_writer.h"

namespace {

// A spoken sound: its file, the words and how fast they are said.
struct SpokenSound {
  const char* file_name;
  SpeechLine line;
  bool sparkle = false;  // bells under the voice
};

// A synthesised sound: its file, how it is made and whether it loops.
struct SynthSound {
  const char* file_name;
  Samples (*make)();
  bool loops;
};

// Every line at the voice's own pace: slowed down, the voice stretches its sounds and the
// recogniser of make speech-check misses more words (at 0.9 of the pace, 71% of a wider test
// set against 66%; with a grammar of the prompts, "Dog!" was taken for "Frog!"). The pauses
// between sentences keep the longer prompt gentle for small children instead.
const double SPEAKING_SPEED = 1.0;

const SpokenSound SPOKEN_SOUNDS[] = {
    {"SpaceBar.wav", {"Press the space bar to play.", SPEAKING_SPEED}},
    {"esc.wav", {"Press Escape to stop.", SPEAKING_SPEED}},
    {"Enter.wav", {"Press Enter to hear how to play.", SPEAKING_SPEED}},
    {"How.wav",
     {"Use the arrow keys to move the robot. Touch the letters of the animal's name, in order. "
      "Keep away from the bulldozer!",
      SPEAKING_SPEED}},
    {"dog.wav", {"Dog!", SPEAKING_SPEED}},
    {"cat.wav", {"Cat!", SPEAKING_SPEED}},
    {"owl.wav", {"Owl!", SPEAKING_SPEED}},
    {"frog.wav", {"Frog!", SPEAKING_SPEED}},
    {"Hooray.wav", {"Hooray!", SPEAKING_SPEED}, true},
};

const SynthSound SYNTH_SOUNDS[] = {
    {"CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV", MakeEngineLoop, true},
    {"Mana-mana.wav", MakeTuneLoop, true},
    {"Dog 1.wav", MakeBark, false},
    {"cat 1.wav", MakeMeow, false},
    {"owl 1.wav", MakeHoot, false},
    {"frog 1.wav", MakeCroak, false},
    {"TREE.wav", MakeTreeCrash, false},
    {"Beep2.wav", MakeWrongBeep, false},
    {"Banana.wav", MakeCreditsJingle, false},
};

std::string PathIn(const std::string& folder, const std::string& name) { return folder + "/" + name; }

bool WritePictures(const std::string& folder, const PictureSet& pictures) {
  for (size_t i = 0; i < pictures.drawn.size(); ++i) {
    const std::vector<uint8_t> bmp = EncodeBmp8(pictures.quantized.images[i], pictures.quantized.palette);
    if (bmp.empty() || !WriteFileBytes(PathIn(folder, pictures.drawn[i].file_name), bmp)) return false;
  }
  const std::string text = FormatPaletteFile(pictures.quantized.palette);
  return WriteFileBytes(PathIn(folder, PALETTE_FILE_NAME), std::vector<uint8_t>(text.begin(), text.end()));
}

bool WriteSounds(const std::string& folder) {
  for (const SynthSound& sound : SYNTH_SOUNDS) {
    const Samples samples = sound.make();
    const std::vector<uint8_t> pcm = sound.loops ? FinishLoop(samples) : FinishOneShot(samples);
    if (!WriteFileBytes(PathIn(folder, sound.file_name), EncodeWav8(pcm))) return false;
  }
  std::vector<SpeechLine> lines;
  for (const SpokenSound& sound : SPOKEN_SOUNDS) lines.push_back(sound.line);
  std::vector<Samples> spoken = SpeakLines(lines);
  if (spoken.size() != lines.size()) return false;
  for (size_t i = 0; i < spoken.size(); ++i) {
    if (SPOKEN_SOUNDS[i].sparkle) AddCheerSparkle(spoken[i]);
    if (!WriteFileBytes(PathIn(folder, SPOKEN_SOUNDS[i].file_name), EncodeWav8(FinishSpeech(spoken[i])))) return false;
  }
  return true;
}

}  // namespace

bool MakePictures(PictureSet* pictures) {
  pictures->drawn = DrawScreens();
  for (NamedPicture& scene : DrawScenes()) pictures->drawn.push_back(std::move(scene));
  for (NamedPicture& sheet : DrawSpriteSheets()) pictures->drawn.push_back(std::move(sheet));
  return QuantizeShared(pictures->drawn, &pictures->quantized);
}

bool WriteAssets(const std::string& folder, const PictureSet& pictures) {
  return WritePictures(folder, pictures) && WriteSounds(folder);
}
