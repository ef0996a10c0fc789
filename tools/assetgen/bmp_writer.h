// Writes 8-bit palettised .BMP files the way the game's picture reader takes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palette_quantize.h"
#include "pixel_image.h"

// Encodes an 8-bit BMP: 256-entry colour table, bottom-up rows, biSizeImage filled in.
// Returns an empty vector when the width is not a multiple of 4 (rows would need padding).
std::vector<uint8_t> EncodeBmp8(const IndexedImage& image, const Palette& palette);
