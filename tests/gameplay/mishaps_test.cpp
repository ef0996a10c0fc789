// The mishaps, a wrong tile and a catch, and the spare robots they cost.
#include "gameplay_fixture.h"

namespace {

using MishapsTest = GameFixture;

// Mishaps of either kind spend the spares left to right.
TEST_F(MishapsTest, MishapsSpendSparesLeftToRight) {
  StartGame();
  PutRobotOn(TILE_A);
  EXPECT_FALSE(CheckLetters(1));  // wrong tile
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught
  EXPECT_EQ(std::vector<int>(life_bot_present, life_bot_present + 3), std::vector<int>({0, 0, 1}));
  PutRobotOn(TILE_F);
  CheckLetters(1);  // wrong tile
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_frame, 0);  // used up
}

}  // namespace
