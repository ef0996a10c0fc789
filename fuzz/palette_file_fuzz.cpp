// Feeds arbitrary bytes to the palette file reader through a file, as the game reads it.
#include <cstdint>

#include "display/display.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file("pal");
  if (!file.Write(data, size)) return 0;
  PaletteEntry entries[PALETTE_SIZE] = {};
  LoadPaletteFile(file.path.c_str(), entries);
  return 0;
}
