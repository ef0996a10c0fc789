// The mishaps, a wrong tile and a catch, and the spare robots they cost.
#include "gameplay_fixture.h"

namespace {

using MishapsTest = GameFixture;

// Keys tapped while a wrong tile held the game are forgotten, but for Escape. Mishaps of either
// kind spend the spares left to right.
TEST_F(MishapsTest, MishapsSpendSparesLeftToRight) {
  StartGame();
  Place(&dozer_sprite, 300, 300);
  PutRobotOn(TILE_A);
  for (int key : {VK_LEFT, VK_ESCAPE}) {
    HeadlessScheduleKey(HeadlessNow() + 100, key, true);
    HeadlessScheduleKey(HeadlessNow() + 200, key, false);
  }
  EXPECT_FALSE(CheckLetters(1));
  KeyboardRead();
  EXPECT_EQ(KeyboardState[DIK_LEFT], 0);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught
  EXPECT_EQ(std::vector<int>(life_bot_present, life_bot_present + 3), std::vector<int>({0, 0, 1}));
  PutRobotOn(TILE_F);
  CheckLetters(1);  // wrong tile
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_frame, 0);  // used up
}

}  // namespace
