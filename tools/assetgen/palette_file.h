// The display's palette text file, holding the shared palette.
#pragma once

#include <string>

#include "palette_quantize.h"

// Formats 256 entries as "\nR G B FLAGS" each, with no line end after the last entry.
std::string FormatPaletteFile(const Palette& palette);
