// Sprite cells keyed for the sheet (their sizes and places show in the generated sheets).
#include "sprite_sheet.h"

#include <gtest/gtest.h>

namespace {

RgbaImage Pattern(int width, int height) {
  RgbaImage image = MakeRgbaImage(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = PixelAt(image, x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y * 13);
      p[1] = static_cast<uint8_t>(x * y);
      p[2] = static_cast<uint8_t>(x ^ y);
      p[3] = 255;
    }
  }
  return image;
}

TEST(SpriteCells, ThresholdLeavesOnlyOpaqueOrFullyTransparentPixels) {
  RgbaImage image = Pattern(4, 1);
  const uint8_t alphas[] = {0, 127, 128, 255};
  for (int x = 0; x < 4; ++x) PixelAt(image, x, 0)[3] = alphas[x];
  const RgbaImage keyed = ThresholdAlpha(image);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[3], 0);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[0], 0) << "a keyed-out pixel keeps no colour";
  EXPECT_EQ(PixelAt(keyed, 2, 0)[3], 255);
  EXPECT_EQ(PixelAt(keyed, 2, 0)[0], PixelAt(image, 2, 0)[0]);
}

}  // namespace
