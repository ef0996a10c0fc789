// The mishaps, a wrong tile and a catch, and the spare robots they cost.
#include "gameplay_fixture.h"

namespace {

using MishapsTest = GameFixture;

// A wrong tile shows the cages and restarts; keys tapped while it held the game are forgotten,
// but for Escape. Four mishaps of either kind end the game, spares spent left to right.
TEST_F(MishapsTest, MishapsSpendSparesUntilTheGameEnds) {
  StartGame();
  Place(&dozer_sprite, 300, 300);
  PutRobotOn(TILE_A);
  for (int key : {VK_LEFT, VK_ESCAPE}) {
    HeadlessScheduleKey(HeadlessNow() + 100, key, true);
    HeadlessScheduleKey(HeadlessNow() + 200, key, false);
  }
  const uint32_t before = HeadlessNow();
  EXPECT_FALSE(CheckLetters(1));
  EXPECT_GE(HeadlessNow() - before, 2500u);  // three pictures of 500 ms and a 1000 ms pause
  EXPECT_LT(HeadlessNow() - before, 2600u);
  ExpectAt(letter_sprites[TILE_A], 200, 430);
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(dozer_sprite, 480, 200);
  const std::vector<std::string> expected = {"treeCage.BMP", "treeCage2.BMP", "treeCage3.BMP", "scene1.BMP"};
  const auto& opened = HeadlessOpenedFiles();
  EXPECT_EQ(std::vector<std::string>(opened.end() - 4, opened.end()), expected);
  KeyboardRead();
  EXPECT_EQ(KeyboardState[DIK_LEFT], 0);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught
  EXPECT_EQ(std::vector<int>(life_bot_present, life_bot_present + 3), std::vector<int>({0, 0, 1}));
  PutRobotOn(TILE_F);
  CheckLetters(1);  // wrong tile
  EXPECT_EQ(game_state, StateScene1);
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_frame, 0);  // used up
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught, none left
  EXPECT_EQ(game_state, StateGameEnd);
  EXPECT_EQ(game_over_shown, 1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "GameOver.BMP");
}

TEST_F(MishapsTest, TheLosingWrongTileKeepsTheGameOverPicture) {
  StartGame();
  for (uint8_t& present : life_bot_present) present = 0;
  PutRobotOn(TILE_T);
  CheckLetters(1);
  EXPECT_EQ(game_state, StateGameEnd);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "GameOver.BMP");
}

}  // namespace
