// Feeds arbitrary bytes to LoadMidi through a file on the headless host; a file that loads is
// played for a few virtual milliseconds, so the synthesiser's reader and player run over it.
#include <cstdint>

#include "hosts/headless/headless_host.h"
#include "scratch_file.h"
#include "sound/midi_music.h"
#include "sound/sound_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file("mid");
  static bool started = false;
  if (!started) {
    HeadlessStart();
    started = SoundInit() == 1 && MusicInit() == 1;
  }
  if (!file.Write(data, size)) return 0;
  const int id = LoadMidi(file.path.c_str());
  if (id >= 0) {
    PlayMidi(id);
    HeadlessAdvance(5);
    MidiStatus(id);
    DeleteMidi(id);
  }
  HeadlessForgetOpenedFiles();  // each input frees what it allocated, so none looks like a leak
  return 0;
}
