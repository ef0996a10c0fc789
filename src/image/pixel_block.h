/// \file
/// Rectangles of pixels in memory and the clipped block copy that images and sprite frames share.
#pragma once

#include <cstdint>

#include "image/bitmap_file.h"

/// A picture in memory: its first pixel, size in pixels and the bytes from one row to the next.
struct PixelBlock {
  uint8_t* pixels;       ///< the top-left pixel; null for no picture
  int64_t width;         ///< pixels per row
  int64_t height;        ///< rows
  int64_t pitch;         ///< bytes from one row to the next
  int bytes_per_pixel;   ///< 1 or 2
};

/// A bitmap's pixels as a block, or one with null pixels when it holds none of that depth.
PixelBlock BitmapBlock(const BitmapFile* bitmap, int bits_per_pixel);
/// Where a cut starts: mode 0 takes cell (cell_x, cell_y) of a sheet of width x height cells with
/// one-pixel borders, any other mode the pixel (cell_x, cell_y) itself.
void CellOrigin(int cell_x, int cell_y, int width, int height, int mode, int64_t* x, int64_t* y);
/// Copies the width x height block at (source_x, source_y) of `source` to (dest_x, dest_y) of
/// `dest`, only the part that lies inside both; both blocks must have the same bytes per pixel.
void CopyClippedBlock(const PixelBlock& dest, int64_t dest_x, int64_t dest_y, const PixelBlock& source,
                      int64_t source_x, int64_t source_y, int64_t width, int64_t height);
