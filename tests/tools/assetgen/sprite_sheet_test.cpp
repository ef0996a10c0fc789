// Sprite cells keyed for the sheet (their sizes and places show in the generated sheets).
#include "sprite_sheet.h"

#include <gtest/gtest.h>

namespace {

TEST(SpriteCells, ThresholdLeavesOnlyOpaqueOrFullyTransparentPixels) {
  RgbaImage image = MakeRgbaImage(4, 1);
  const uint8_t alphas[] = {0, 127, 128, 255};
  for (int x = 0; x < 4; ++x) {
    PixelAt(image, x, 0)[0] = static_cast<uint8_t>(50 + x);
    PixelAt(image, x, 0)[3] = alphas[x];
  }
  const RgbaImage keyed = ThresholdAlpha(image);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[3], 0);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[0], 0) << "a keyed-out pixel keeps no colour";
  EXPECT_EQ(PixelAt(keyed, 2, 0)[3], 255);
  EXPECT_EQ(PixelAt(keyed, 2, 0)[0], 52);
}

}  // namespace
