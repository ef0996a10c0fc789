// Truecolour to display pixels. The palette mapping is Floyd-Steinberg error diffusion: a pixel
// takes the palette colour nearest to its own colour plus the error carried to it, and passes
// its new error on, 7/16 to the right, 3/16 below left, 5/16 below and 1/16 below right.
#include "image/truecolour.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

#include "display/rgb16.h"

namespace {

// Nearest palette colour by squared distance in red, green and blue (the lowest index on a tie),
// remembered for the colours seen most recently: a picture repeats its colours a great deal.
class NearestColour {
 public:
  explicit NearestColour(const PaletteEntry* palette) : palette_(palette) { keys_.fill(0); }
  uint8_t Find(int red, int green, int blue) {
    const uint32_t colour = 0x1000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
    const uint32_t slot = (colour * 2654435761u) >> (32 - CACHE_BITS);
    if (keys_[slot] != colour) {
      keys_[slot] = colour;
      values_[slot] = Search(red, green, blue);
    }
    return values_[slot];
  }

 private:
  static constexpr int CACHE_BITS = 14;
  uint8_t Search(int red, int green, int blue) const {
    int best = 0, best_distance = 0x7FFFFFFF;
    for (int i = 0; i < PALETTE_SIZE; ++i) {
      const int dr = red - palette_[i].peRed, dg = green - palette_[i].peGreen, db = blue - palette_[i].peBlue;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < best_distance) best = i, best_distance = distance;
    }
    return static_cast<uint8_t>(best);
  }
  const PaletteEntry* palette_;
  std::array<uint32_t, 1 << CACHE_BITS> keys_;
  std::array<uint8_t, 1 << CACHE_BITS> values_{};
};

// Maps one row, taking the errors carried into `here` and adding its own to `here` and `below`.
void DitherRow(const uint8_t* rgb, int64_t width, const PaletteEntry* palette, NearestColour& nearest,
               int32_t* here, int32_t* below, uint8_t* out) {
  for (int64_t x = 0; x < width; ++x) {
    int wanted[3];
    for (int c = 0; c < 3; ++c)
      wanted[c] = std::clamp(rgb[3 * x + c] + ((here[3 * (x + 1) + c] + 8) >> 4), 0, 255);
    const uint8_t index = nearest.Find(wanted[0], wanted[1], wanted[2]);
    out[x] = index;
    const int got[3] = {palette[index].peRed, palette[index].peGreen, palette[index].peBlue};
    for (int c = 0; c < 3; ++c) {
      const int error = wanted[c] - got[c];
      here[3 * (x + 2) + c] += 7 * error;
      below[3 * x + c] += 3 * error;
      below[3 * (x + 1) + c] += 5 * error;
      below[3 * (x + 2) + c] += error;
    }
  }
}

}  // namespace

void PackTruecolour(const uint8_t* rgb, int64_t count, int pixel_format, uint8_t* out) {
  int (*pack)(int, int, int) = pixel_format == 15 ? PackRgb555 : PackRgb565;
  for (int64_t i = 0; i < count; ++i, rgb += 3) {
    const uint16_t value = static_cast<uint16_t>(pack(rgb[0], rgb[1], rgb[2]));
    std::memcpy(out + 2 * i, &value, sizeof value);
  }
}

// The errors carried to a row are in sixteenths, three channels a pixel, with one spare pixel
// at each end so that the edges need no test.
bool DitherToPalette(const uint8_t* rgb, int64_t width, int64_t height, const PaletteEntry* palette, uint8_t* out) {
  const size_t row_values = static_cast<size_t>(3 * (width + 2));
  auto* here = static_cast<int32_t*>(std::calloc(row_values, sizeof(int32_t)));
  auto* below = static_cast<int32_t*>(std::calloc(row_values, sizeof(int32_t)));
  auto* nearest = new (std::nothrow) NearestColour(palette);
  const bool ok = here != nullptr && below != nullptr && nearest != nullptr;
  for (int64_t y = 0; ok && y < height; ++y, rgb += 3 * width, out += width) {
    DitherRow(rgb, width, palette, *nearest, here, below, out);
    std::swap(here, below);
    std::fill(below, below + row_values, 0);
  }
  delete nearest;
  std::free(here);
  std::free(below);
  return ok;
}
