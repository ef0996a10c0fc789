// Feeds arbitrary bytes to LoadMidi through a file on the headless host; a file that loads is
// played for a few virtual milliseconds, so the synthesiser's reader and player run over it.
// The file is written in the working directory, where LoadMidi looks.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "headless/headless_host.h"
#include "sound/midi_music.h"
#include "sound/sound_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string name = "vork-midi-fuzz-" + std::to_string(getpid()) + ".mid";
  static bool started = false;
  if (!started) {
    HeadlessStart();
    started = SoundInit() == 1 && MusicInit() == 1;
  }
  FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const int id = LoadMidi(name.c_str());
  if (id >= 0) {
    PlayMidi(id);
    HeadlessAdvance(5);
    MidiStatus(id);
    DeleteMidi(id);
  }
  return 0;
}
