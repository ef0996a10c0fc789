// Feeds arbitrary bytes to LoadWav through a file, as the game reads its sounds, on the headless
// host; a sound that loads is played for a few virtual milliseconds so its samples are mixed.
#include <cstdint>

#include "hosts/headless/headless_host.h"
#include "scratch_file.h"
#include "sound/sound_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file("wav");
  static bool started = false;
  if (!started) {
    HeadlessStart();
    started = SoundInit() == 1;
  }
  if (!file.Write(data, size)) return 0;
  const int id = LoadWav(file.path.c_str(), SOUND_CONTROLS);
  if (id >= 0) {
    PlaySound(id, 0);
    HeadlessAdvance(3);
  }
  SoundInit();  // empties the table for the next input
  HeadlessForgetOpenedFiles();  // each input frees what it allocated, so none looks like a leak
  return 0;
}
