#include "palette_quantize.h"

#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Colours the palette must hold exactly: black for transparency and backdrop shadows, and
// the near-black ink of outlines, which must stay visible on sprites.
const liq_color FIXED_COLORS[] = {{0, 0, 0, 255}, {28, 24, 36, 255}, {255, 255, 255, 255}};

// Releases the quantiser's objects when they go out of scope.
struct LiqRelease {
  void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
  void operator()(liq_histogram* histogram) const { liq_histogram_destroy(histogram); }
  void operator()(liq_image* image) const { liq_image_destroy(image); }
  void operator()(liq_result* result) const { liq_result_destroy(result); }
};
using AttrPtr = std::unique_ptr<liq_attr, LiqRelease>;
using HistogramPtr = std::unique_ptr<liq_histogram, LiqRelease>;
using ImagePtr = std::unique_ptr<liq_image, LiqRelease>;
using ResultPtr = std::unique_ptr<liq_result, LiqRelease>;

// The quantiser sees sprites without transparency: a keyed-out pixel is black, which is
// what index 0 shows anyway, so no palette entry is spent on an invisible colour.
std::vector<uint8_t> OpaqueCopy(const RgbaImage& image) {
  std::vector<uint8_t> pixels = image.pixels;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    if (pixels[i + 3] < 128) std::memset(&pixels[i], 0, 3);
    pixels[i + 3] = 255;
  }
  return pixels;
}

// Copies the quantiser's palette with black moved to entry 0.
void OrderBlackFirst(const liq_palette& source, Palette* palette) {
  std::array<uint8_t, 256> new_index{};
  unsigned black = 0;
  for (unsigned i = 0; i < source.count; ++i) {
    const liq_color& c = source.entries[i];
    if (c.r == 0 && c.g == 0 && c.b == 0) {
      black = i;
      break;
    }
  }
  for (unsigned i = 0; i < 256; ++i) new_index[i] = static_cast<uint8_t>(i);
  new_index[black] = 0;
  new_index[0] = static_cast<uint8_t>(black);
  palette->fill(Rgb{});
  for (unsigned i = 0; i < source.count; ++i) {
    const liq_color& c = source.entries[i];
    (*palette)[new_index[i]] = Rgb{c.r, c.g, c.b};
  }
}

// Colour -> palette index lookups already made, so repeated colours cost nothing.
struct ColorMapper {
  const Palette* palette = nullptr;
  std::vector<int16_t> cache;  // 24-bit colour -> index, -1 while unknown
};

// Nearest palette index of a colour; never 0 when skip_zero is set.
int MapColor(ColorMapper& mapper, int red, int green, int blue, bool skip_zero) {
  if (skip_zero) return NearestColor(*mapper.palette, red, green, blue, true);
  int16_t& cached = mapper.cache[(static_cast<size_t>(red) << 16) | (green << 8) | blue];
  if (cached < 0) cached = static_cast<int16_t>(NearestColor(*mapper.palette, red, green, blue, false));
  return cached;
}

int ClampByte(int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

// Sprites: nearest colour, transparent pixels to 0, drawn pixels never to 0. No dithering:
// the cells are enlarged blocks and dither would turn them into noise.
void MapSprite(const RgbaImage& image, ColorMapper& mapper, IndexedImage* indexed) {
  for (size_t p = 0; p < indexed->pixels.size(); ++p) {
    const uint8_t* rgba = &image.pixels[p * 4];
    if (rgba[3] < 128) continue;
    int index = MapColor(mapper, rgba[0], rgba[1], rgba[2], false);
    if (index == 0) index = MapColor(mapper, rgba[0], rgba[1], rgba[2], true);
    indexed->pixels[p] = static_cast<uint8_t>(index);
  }
}

// Backdrops: nearest colour with a light error diffusion, so gradients do not band.
void MapBackdrop(const RgbaImage& image, ColorMapper& mapper, IndexedImage* indexed) {
  const int w = image.width;
  std::vector<int> error(static_cast<size_t>(w + 2) * 3 * 2, 0);  // this row and the next
  for (int y = 0; y < image.height; ++y) {
    int* here = &error[static_cast<size_t>((y & 1) * (w + 2) * 3)];
    int* below = &error[static_cast<size_t>(((y + 1) & 1) * (w + 2) * 3)];
    std::fill(below, below + (w + 2) * 3, 0);
    for (int x = 0; x < w; ++x) {
      const uint8_t* rgba = PixelAt(image, x, y);
      int want[3];
      for (int c = 0; c < 3; ++c) want[c] = ClampByte(rgba[c] + here[(x + 1) * 3 + c] / 16);
      const int index = MapColor(mapper, want[0], want[1], want[2], false);
      indexed->pixels[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(index);
      const Rgb& got = (*mapper.palette)[index];
      const int got_rgb[3] = {got.red, got.green, got.blue};
      for (int c = 0; c < 3; ++c) {
        // Three quarters of the error is passed on (weights 7, 3, 5, 1 of 16).
        const int e = (want[c] - got_rgb[c]) * 3 / 4;
        here[(x + 2) * 3 + c] += e * 7;
        below[x * 3 + c] += e * 3;
        below[(x + 1) * 3 + c] += e * 5;
        below[(x + 2) * 3 + c] += e;
      }
    }
  }
}

}  // namespace

int NearestColor(const Palette& palette, int red, int green, int blue, bool skip_zero) {
  int best = skip_zero ? 1 : 0;
  long best_distance = -1;
  for (int i = skip_zero ? 1 : 0; i < 256; ++i) {
    const long dr = palette[i].red - red, dg = palette[i].green - green, db = palette[i].blue - blue;
    const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (best_distance < 0 || distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

bool QuantizeShared(const std::vector<NamedPicture>& pictures, QuantizedPictures* quantized) {
  // One thread: the quantiser's parallel sums could otherwise differ between machines.
  omp_set_num_threads(1);
  AttrPtr attr(liq_attr_create());
  liq_set_max_colors(attr.get(), 256);
  liq_set_speed(attr.get(), 4);
  HistogramPtr histogram(liq_histogram_create(attr.get()));
  for (const liq_color& color : FIXED_COLORS) liq_histogram_add_fixed_color(histogram.get(), color, 0);

  for (const NamedPicture& picture : pictures) {
    // The histogram copies what it needs before the copy goes away.
    std::vector<uint8_t> opaque = OpaqueCopy(picture.image);
    ImagePtr image(liq_image_create_rgba(attr.get(), opaque.data(), picture.image.width,
                                         picture.image.height, 0));
    if (!image || liq_histogram_add_image(histogram.get(), attr.get(), image.get()) != LIQ_OK) {
      std::fprintf(stderr, "vork-assetgen: cannot add %s to the palette\n", picture.file_name.c_str());
      return false;
    }
  }
  liq_result* raw_result = nullptr;
  if (liq_histogram_quantize(histogram.get(), attr.get(), &raw_result) != LIQ_OK) {
    std::fprintf(stderr, "vork-assetgen: palette quantisation failed\n");
    return false;
  }
  ResultPtr result(raw_result);
  // Only the palette is taken from the quantiser; the mapping below is ours, so every
  // picture is mapped onto exactly the same 256 colours.
  OrderBlackFirst(*liq_get_palette(result.get()), &quantized->palette);

  ColorMapper mapper{&quantized->palette, std::vector<int16_t>(1u << 24, -1)};
  quantized->images.assign(pictures.size(), IndexedImage{});
  for (size_t i = 0; i < pictures.size(); ++i) {
    const RgbaImage& image = pictures[i].image;
    IndexedImage& indexed = quantized->images[i];
    indexed.width = image.width;
    indexed.height = image.height;
    indexed.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
    if (pictures[i].kind == PictureKind::SPRITE_SHEET) {
      MapSprite(image, mapper, &indexed);
    } else {
      MapBackdrop(image, mapper, &indexed);
    }
  }
  return true;
}
