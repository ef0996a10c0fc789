// The shared play frame: the catch between the bulldozer's step and the robot's, the frames a
// catch shows, and Escape.
#include "gameplay_fixture.h"

namespace {

using PlayFrameTest = GameFixture;

// The bulldozer's step brings it from 144.4 to 143.9, which truncates to 143: 43 from the robot,
// a catch, though the robot would step out of reach; from 144.6 it stays out of reach.
TEST_F(PlayFrameTest, TheCatchIsTestedAfterTheDozerStepsAndBeforeTheRobotDoes) {
  StartGame();
  Place(&dozer_sprite, 144.6f, 120);
  RunPlayFrame();
  EXPECT_EQ(SparesLeft(), 3);
  Place(&dozer_sprite, 144.4f, 120);
  Hold(VK_LEFT);
  RunPlayFrame();
  EXPECT_EQ(life_bot_present[0], 0);
  // Back at the restart spots, and the frame goes on: the robot takes its step from there.
  ExpectAt(robot_sprite, static_cast<float>(100 - PLAY_STEP), 120);
  ExpectAt(dozer_sprite, 480, 200);
}

// After the crunch the frame is drawn again: the robot and the bulldozer only at their restart
// spots; or, when the catch lost the game, the game-over picture alone.
TEST_F(PlayFrameTest, TheFrameAfterACatchShowsTheRestartOrTheGameOverPictureAlone) {
  StartGame(true);
  for (int spares : {3, 0}) {
    SCOPED_TRACE(spares);
    for (int i = 0; i < SPARE_ROBOTS; ++i) life_bot_present[i] = i < spares;
    Place(&robot_sprite, 300, 330);
    Place(&dozer_sprite, 380, 330);
    PlayScene(1);  // the robot and the bulldozer side by side, not yet touching
    dozer_sprite.x = 340;
    const size_t before = HeadlessFrames().size();
    PlayScene(1);  // caught
    const std::vector<HeadlessFrame>& frames = HeadlessFrames();
    if (spares == 0) {
      // The crunch, the crunch again as the game-over palette comes in, then the picture alone.
      ASSERT_EQ(game_state, StateGameEnd);
      ASSERT_EQ(frames.size(), before + 3);
      EXPECT_TRUE(frames[before + 1].pixels == frames[before].pixels);
      EXPECT_TRUE(frames.back().pixels == std::vector<uint8_t>(backdrop.pixels, backdrop.pixels + 640 * 480));
      continue;
    }
    ASSERT_EQ(life_bot_present[0], 0);
    ASSERT_EQ(frames.size(), before + 2);  // the crunch picture, then the rest of the frame
    EXPECT_TRUE(ShowsBackdrop(frames.back(), 300, 330));
    EXPECT_TRUE(ShowsBackdrop(frames.back(), 380, 330));
    EXPECT_FALSE(ShowsBackdrop(frames.back(), 100, 120));
    EXPECT_FALSE(ShowsBackdrop(frames.back(), 480, 200));
  }
}

// Escape ends the frame without testing the tiles and asks to quit once while held.
TEST_F(PlayFrameTest, EscapeInPlayEndsTheFrameWithoutTestingTheTiles) {
  StartGame();
  PutRobotOn(TILE_A);
  Place(&dozer_sprite, 500, 350);
  Hold(VK_ESCAPE);
  PlayScene(1);
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(SparesLeft(), 3);  // the wrong tile under the robot was not tested
  const int frames = HeadlessFrameCount();
  PlayScene(1);
  EXPECT_EQ(HeadlessFrameCount(), frames + 1);  // the play frame, no second closing fade
}

}  // namespace
