// Feeds arbitrary bytes to the palette file reader through a file, as the game reads it.
#include <cstdint>
#include <cstdio>

#include "display/display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* path = "/tmp/vork-palette-fuzz.pal";
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  PaletteEntry entries[PALETTE_SIZE] = {};
  LoadPaletteFile(path, entries);
  return 0;
}
