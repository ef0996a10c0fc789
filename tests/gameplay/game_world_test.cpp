// The collision test.
#include <gtest/gtest.h>

#include "gameplay/game_world.h"

namespace {

TEST(BoxesOverlap, ShrinksEachBoxAboutItsOwnCorner) {
  // A 116 x 60 box and a 58 x 30 one: half-extents 44 and 22, reference points 44 and 22 in.
  for (int x = -44; x <= 88; ++x) EXPECT_EQ(BoxesOverlap(0, 0, 116, 60, x, 0, 58, 30), x >= -43 && x <= 87) << x;
  // Down: half-heights 23 and 12, so the rows differ by less than 35 about points 23 and 12 in.
  for (int y = -30; y <= 50; ++y) EXPECT_EQ(BoxesOverlap(0, 0, 116, 60, 0, y, 58, 30), y >= -23 && y <= 45) << y;
}

}  // namespace
