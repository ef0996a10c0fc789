#include "palette_file.h"

#include <cstdio>

std::string FormatPaletteFile(const Palette& palette) {
  std::string text;
  char line[32];
  for (const Rgb& color : palette) {
    // Flags 0: plain entries; the display sets its own flags where it needs them.
    std::snprintf(line, sizeof line, "\n%d %d %d %d", color.red, color.green, color.blue, 0);
    text += line;
  }
  return text;
}
