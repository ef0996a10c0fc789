// Everything the game loads, drawn or synthesised, and written into one folder.
#pragma once

#include <string>
#include <vector>

#include "palette_quantize.h"
#include "pixel_image.h"

// Name of the palette text file the display reads.
constexpr const char* PALETTE_FILE_NAME = "PALDATA3.PAL";

// Every picture as the game shows it: names, kinds and the shared palette.
struct PictureSet {
  std::vector<NamedPicture> drawn;  // straight from the drawing, in RGBA
  QuantizedPictures quantized;      // the same pictures on the shared palette
};

// Draws every picture and reduces them to the shared palette; false on failure.
bool MakePictures(PictureSet* pictures);

// Writes the pictures, the palette file and every sound into folder; false on failure.
bool WriteAssets(const std::string& folder, const PictureSet& pictures);
