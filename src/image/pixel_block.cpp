// The clipped block copy under image and sprite-frame cuts.
#include "image/pixel_block.h"

#include <algorithm>
#include <cstring>

PixelBlock BitmapBlock(const BitmapFile* bitmap, int bits_per_pixel) {
  if (bitmap == nullptr || bitmap->pixels == nullptr || bitmap->info_header.biBitCount != bits_per_pixel)
    return PixelBlock{nullptr, 0, 0, 0, bits_per_pixel / 8};
  const BITMAPINFOHEADER& info = bitmap->info_header;
  const int bytes_per_pixel = bits_per_pixel / 8;
  return PixelBlock{bitmap->pixels, info.biWidth, info.biHeight, int64_t{info.biWidth} * bytes_per_pixel,
                    bytes_per_pixel};
}

void CellOrigin(int cell_x, int cell_y, int width, int height, int mode, int64_t* x, int64_t* y) {
  if (mode == 0) {
    *x = int64_t{cell_x} * (int64_t{width} + 1) + 1;
    *y = int64_t{cell_y} * (int64_t{height} + 1) + 1;
  } else {
    *x = cell_x;
    *y = cell_y;
  }
}

namespace {

// Moves the start of a span up to `low` when it begins below it, shortening the span to match.
void ClipStart(int64_t* start, int64_t* other_start, int64_t* length, int64_t low) {
  if (*start >= low) return;
  const int64_t cut = low - *start;
  *start += cut;
  *other_start += cut;
  *length -= cut;
}

}  // namespace

void CopyClippedBlock(const PixelBlock& dest, int64_t dest_x, int64_t dest_y, const PixelBlock& source,
                      int64_t source_x, int64_t source_y, int64_t width, int64_t height) {
  if (dest.pixels == nullptr || source.pixels == nullptr || dest.bytes_per_pixel != source.bytes_per_pixel) return;
  ClipStart(&source_x, &dest_x, &width, 0);
  ClipStart(&dest_x, &source_x, &width, 0);
  ClipStart(&source_y, &dest_y, &height, 0);
  ClipStart(&dest_y, &source_y, &height, 0);
  width = std::min({width, source.width - source_x, dest.width - dest_x});
  height = std::min({height, source.height - source_y, dest.height - dest_y});
  if (width <= 0 || height <= 0) return;
  const int bytes = dest.bytes_per_pixel;
  // Within one block, a move down copies the bottom row first so that no row is overwritten
  // before it has been copied; each row's own copy may overlap too.
  const bool bottom_first = dest.pixels == source.pixels && dest_y > source_y;
  const int64_t first = bottom_first ? height - 1 : 0, step = bottom_first ? -1 : 1;
  const uint8_t* from = source.pixels + (source_y + first) * source.pitch + source_x * bytes;
  uint8_t* to = dest.pixels + (dest_y + first) * dest.pitch + dest_x * bytes;
  for (int64_t row = 0; row < height; ++row, from += step * source.pitch, to += step * dest.pitch)
    std::memmove(to, from, static_cast<size_t>(width * bytes));
}
