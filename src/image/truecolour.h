/// \file
/// Truecolour pictures made ready for the display: packed into 16-bit pixels, or mapped onto the
/// 256 colours of a palette with error diffusion so that gradients do not band.
#pragma once

#include <cstdint>

#include "display/display.h"

/// Packs `count` red-green-blue triples into 16-bit pixels: 5.5.5 when pixel_format is 15, else 5.6.5.
void PackTruecolour(const uint8_t* rgb, int64_t count, int pixel_format, uint8_t* out);
/// Maps width x height red-green-blue triples (top row first) to indexes of the nearest colours
/// of `palette`, spreading each pixel's error over the neighbours not yet mapped. False, with
/// `out` unwritten, when its working rows cannot be allocated.
bool DitherToPalette(const uint8_t* rgb, int64_t width, int64_t height, const PaletteEntry* palette, uint8_t* out);
