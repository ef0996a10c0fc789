// Feeds arbitrary bytes to LoadWav through a file, as the game reads its sounds, on the headless
// host; a sound that loads is played for a few virtual milliseconds so its samples are mixed.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "headless/headless_host.h"
#include "sound/sound_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/vork-wav-fuzz-" + std::to_string(getpid()) + ".wav";
  static bool started = false;
  if (!started) {
    HeadlessStart();
    started = SoundInit() == 1;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const int id = LoadWav(path.c_str(), SOUND_CONTROLS);
  if (id >= 0) {
    PlaySound(id, 0);
    HeadlessAdvance(3);
  }
  SoundInit();  // empties the table for the next input
  return 0;
}
