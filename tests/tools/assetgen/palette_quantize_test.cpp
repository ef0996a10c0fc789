// One palette shared by every picture, with entry 0 black and kept for transparency.
#include "palette_quantize.h"

#include <gtest/gtest.h>

namespace {

// A width x height opaque picture of one colour.
RgbaImage Solid(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  RgbaImage image = MakeRgbaImage(width, height);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = red;
    image.pixels[i + 1] = green;
    image.pixels[i + 2] = blue;
    image.pixels[i + 3] = 255;
  }
  return image;
}

TEST(SharedPalette, SpritesKeepDarkPixelsVisibleAndBackdropsMayUseBlack) {
  // A sprite with a transparent pixel and nearly black drawn ones, and a black backdrop.
  NamedPicture sprite{"sprite", PictureKind::SPRITE_SHEET, Solid(4, 1, 3, 2, 4)};
  PixelAt(sprite.image, 0, 0)[3] = 0;
  NamedPicture backdrop{"backdrop", PictureKind::BACKDROP, Solid(4, 4, 0, 0, 0)};
  PixelAt(backdrop.image, 1, 1)[0] = 250;
  QuantizedPictures quantized;
  ASSERT_TRUE(QuantizeShared({sprite, backdrop}, &quantized));
  EXPECT_EQ(quantized.palette[0].red + quantized.palette[0].green + quantized.palette[0].blue, 0);
  const IndexedImage& keyed = quantized.images[0];
  EXPECT_EQ(keyed.pixels[0], 0) << "transparent pixel";
  for (int x = 1; x < 4; ++x) EXPECT_NE(keyed.pixels[x], 0) << "a drawn dark pixel would be keyed out";
  EXPECT_EQ(quantized.images[1].pixels[0], 0) << "black backdrop pixels use the black entry";
  EXPECT_GT(quantized.palette[quantized.images[1].pixels[5]].red, 200);
}

}  // namespace
