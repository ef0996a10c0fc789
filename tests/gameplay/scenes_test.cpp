// Scene set-up and the letter logic.
#include "gameplay_fixture.h"

namespace {

using ScenesTest = GameFixture;

// Each letter touched in spelling order goes to the word row; touched before its turn it stays.
TEST_F(ScenesTest, LettersCountOnlyInSpellingOrder) {
  StartGame();
  const struct {
    int tile;
    bool completes;
    float x, y;
  } steps[] = {{TILE_O, false, 450, 280}, {TILE_D, false, 200, 430}, {TILE_G, false, 240, 270},
               {TILE_O, false, 230, 430}, {TILE_G, true, 260, 430}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.tile);
    PutRobotOn(step.tile);
    EXPECT_EQ(CheckLetters(1), step.completes);
    ExpectAt(letter_sprites[step.tile], step.x, step.y);
  }
}

// The finished word is shown over the current frame; then the next scene is set up.
TEST_F(ScenesTest, ACompletedWordIsShownThenSetsUpTheNextScene) {
  StartGame(true);
  Place(&dozer_sprite, 500, 380);
  for (int tile : {TILE_D, TILE_O}) {
    PutRobotOn(tile);
    PlayScene(1);
  }
  Place(&robot_sprite, 100, 120);
  PlayScene(1);  // G still in the field in this frame, which the back buffer holds after the next flip
  Place(&robot_sprite, 240, 250);  // touching G at (240, 270)
  const size_t before = HeadlessFrames().size();
  PlayScene(1);
  ASSERT_EQ(game_state, StateScene2);
  // The frames of this call: the play frame, the finished word, then the next picture's palette.
  ASSERT_EQ(HeadlessFrames().size(), before + 3);
  const HeadlessFrame& word_frame = HeadlessFrames()[before + 1];
  LoadBackdrop("scene1.BMP");
  EXPECT_TRUE(ShowsBackdrop(word_frame, 240, 270, {240, 250}));  // G has left the field
  EXPECT_FALSE(ShowsBackdrop(word_frame, 260, 430));             // and stands in the word row
  EXPECT_FALSE(ShowsBackdrop(word_frame, 240, 250));             // the robot is drawn
}

}  // namespace
