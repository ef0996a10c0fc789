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

// A spoken sound: its file, the words and how they are said.
struct SpokenSound {
  const char* file_name;
  const char* text;
  SpeechStyle style;
  bool sparkle = false;  // bells under the voice
};

// A synthesised sound: its file, how it is made and whether it loops.
struct SynthSound {
  const char* file_name;
  Samples (*make)();
  bool loops;
};

const SpeechStyle PROMPT = {125, 68, 70, 3};
const SpeechStyle NAME = {100, 72, 80, 0};
const SpeechStyle CHEER = {140, 85, 95, 0};

const SpokenSound SPOKEN_SOUNDS[] = {
    {"SpaceBar.wav", "Press the space bar to play.", PROMPT},
    {"esc.wav", "Press Escape to stop.", PROMPT},
    {"Enter.wav", "Press Enter to hear how to play.", PROMPT},
    {"How.wav",
     "Use the arrow keys to move the robot. Touch the letters of the animal's name, in order. "
     "Keep away from the bulldozer!",
     PROMPT},
    {"dog.wav", "Dog!", NAME},
    {"cat.wav", "Cat!", NAME},
    {"owl.wav", "Owl!", NAME},
    {"frog.wav", "Frog!", NAME},
    {"Hooray.wav", "Hooray!", CHEER, true},
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
  if (!StartSpeech()) return false;
  bool written = true;
  for (const SpokenSound& sound : SPOKEN_SOUNDS) {
    Samples spoken = Speak(sound.text, sound.style);
    if (sound.sparkle && !spoken.empty()) AddCheerSparkle(spoken);
    written = !spoken.empty() && WriteFileBytes(PathIn(folder, sound.file_name), EncodeWav8(FinishOneShot(spoken)));
    if (!written) break;
  }
  StopSpeech();
  return written;
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
