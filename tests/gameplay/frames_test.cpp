// What the play frames show, with the generated pictures: the finished word over the current
// frame, the frame after a catch, and a felled tree.
#include <string>

#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "shell/game_shell.h"
#include "test_support.h"

namespace {

class PlayFramesTest : public FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    EnterFolder(VORK_ASSET_DIR);
    CreateTestWindow();
    ASSERT_EQ(GameStartup(), 1);
    SetUpScene(1);
    LoadBackdrop("scene1.BMP");
    game_state = StateScene1;
    scene_intro_pending[0] = 0;
    HeadlessKeepFrames(FrameKeeping::All);
  }
  void TearDown() override {
    GameShutdown();
    display = DisplayState{};
    FolderTest::TearDown();
  }
  // True when every pixel of the 58 x 30 box at (x, y), outside the boxes to skip, shows the
  // backdrop picture.
  static bool ShowsBackdrop(const HeadlessFrame& frame, int x, int y, std::initializer_list<Spot> skip = {}) {
    for (int row = y; row < y + OBJECT_H; ++row)
      for (int column = x; column < x + OBJECT_W; ++column) {
        bool skipped = false;
        for (Spot box : skip)
          skipped = skipped || (column >= box.x && column < box.x + OBJECT_W && row >= box.y && row < box.y + OBJECT_H);
        if (!skipped && frame.pixels[row * 640 + column] != backdrop.pixels[row * 640 + column]) return false;
      }
    return true;
  }
  static Spot At(const Sprite& sprite) { return {static_cast<int>(sprite.x), static_cast<int>(sprite.y)}; }
};

TEST_F(PlayFramesTest, TheFinishedWordIsShownOverTheCurrentFrame) {
  dozer_sprite.x = 500, dozer_sprite.y = 380;
  for (int tile : {TILE_D, TILE_O}) {
    robot_sprite.x = letter_sprites[tile].x, robot_sprite.y = letter_sprites[tile].y;
    PlayScene(1);
  }
  robot_sprite.x = 100, robot_sprite.y = 120;
  PlayScene(1);  // G still in the field in this frame, which the back buffer holds after the next flip
  robot_sprite.x = 240, robot_sprite.y = 250;  // touching G at (240, 270)
  const size_t before = HeadlessFrames().size();
  PlayScene(1);
  ASSERT_EQ(game_state, StateScene2);
  // The frames of this call: the play frame, the finished word, then the cat picture's palette.
  ASSERT_EQ(HeadlessFrames().size(), before + 3);
  const HeadlessFrame& word_frame = HeadlessFrames()[before + 1];
  LoadBackdrop("scene1.BMP");
  EXPECT_TRUE(ShowsBackdrop(word_frame, 240, 270, {{240, 250}}));  // G has left the field
  EXPECT_FALSE(ShowsBackdrop(word_frame, 260, 430));                // and stands in the word row
  EXPECT_FALSE(ShowsBackdrop(word_frame, 240, 250));                // the robot is drawn
}

TEST_F(PlayFramesTest, TheFrameAfterACatchShowsTheRobotAndBulldozerOnlyAtTheirRestartSpots) {
  robot_sprite.x = 300, robot_sprite.y = 330;
  dozer_sprite.x = 380, dozer_sprite.y = 330;
  PlayScene(1);  // the robot and the bulldozer side by side, not yet touching
  dozer_sprite.x = 340;
  const size_t before = HeadlessFrames().size();
  PlayScene(1);  // caught
  ASSERT_EQ(life_bot_present[0], 0);
  // The crunch picture, then the rest of the frame.
  ASSERT_EQ(HeadlessFrames().size(), before + 2);
  const HeadlessFrame& after = HeadlessFrames()[before + 1];
  EXPECT_TRUE(ShowsBackdrop(after, 300, 330));
  EXPECT_TRUE(ShowsBackdrop(after, 380, 330));
  EXPECT_FALSE(ShowsBackdrop(after, 100, 120));
  EXPECT_FALSE(ShowsBackdrop(after, 480, 200));
}

TEST_F(PlayFramesTest, EveryFrameAfterTheLastCatchShowsTheGameOverPictureAlone) {
  for (uint8_t& present : life_bot_present) present = 0;
  robot_sprite.x = 300, robot_sprite.y = 330;
  dozer_sprite.x = 340, dozer_sprite.y = 330;
  const size_t before = HeadlessFrames().size();
  PlayScene(1);
  ASSERT_EQ(game_state, StateGameEnd);
  // The crunch, the crunch again as the game-over palette comes in, then the frame's end: the
  // game-over picture alone.
  ASSERT_EQ(HeadlessFrames().size(), before + 3);
  const std::vector<uint8_t> game_over(backdrop.pixels, backdrop.pixels + 640 * 480);
  EXPECT_TRUE(HeadlessFrames()[before + 1].pixels == HeadlessFrames()[before].pixels);
  EXPECT_TRUE(HeadlessFrames().back().pixels == game_over);
}

TEST_F(PlayFramesTest, AFelledTreeShowsInItsFrameAndItsStumpFromTheNext) {
  robot_sprite.x = 560, robot_sprite.y = 20;
  const Spot tree = {scene_table[0].tree_spots[3].x, scene_table[0].tree_spots[3].y};  // (340, 275)
  dozer_sprite.x = static_cast<float>(tree.x), dozer_sprite.y = static_cast<float>(tree.y + 20);
  PlayScene(1);
  PlayScene(1);
  const std::vector<HeadlessFrame>& frames = HeadlessFrames();
  ASSERT_GE(frames.size(), 2u);
  EXPECT_FALSE(tree_sprites[3].flags & SPRITE_VISIBLE);
  // The same spot (above the bulldozer) shows the tree in the felling frame and the stump next.
  const HeadlessFrame& felling = frames[frames.size() - 2];
  const HeadlessFrame& next = frames.back();
  int differing = 0;
  for (int row = tree.y; row < tree.y + 18; ++row)
    for (int column = tree.x; column < tree.x + OBJECT_W; ++column)
      differing += felling.pixels[row * 640 + column] != next.pixels[row * 640 + column];
  EXPECT_GT(differing, 50);
  EXPECT_FALSE(ShowsBackdrop(felling, tree.x, tree.y, {{tree.x, tree.y + 19}}));
}

}  // namespace
