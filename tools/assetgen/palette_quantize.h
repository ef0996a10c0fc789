// Reduces every picture to one shared 256-colour palette whose index 0 is black.
#pragma once

#include <array>
#include <vector>

#include "pixel_image.h"

// The shared palette: 256 colours, entry 0 black (the sprites' transparent colour).
using Palette = std::array<Rgb, 256>;

// Every picture as palette indices, in the order given, and the palette they share.
struct QuantizedPictures {
  Palette palette{};
  std::vector<IndexedImage> images;
};

// Picks one palette for all pictures and maps each picture onto it. Sprite sheets map
// transparent pixels to 0 and never map a drawn pixel to 0; backdrops are dithered lightly.
// Returns false when the quantiser fails.
bool QuantizeShared(const std::vector<NamedPicture>& pictures, QuantizedPictures* result);

// Index of the palette colour nearest to (red, green, blue), never 0 when skip_zero is set.
int NearestColor(const Palette& palette, int red, int green, int blue, bool skip_zero);
