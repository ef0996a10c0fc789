// Scene set-up and the letter logic.
#include "gameplay_fixture.h"

namespace {

using ScenesTest = GameFixture;

TEST_F(ScenesTest, SceneOneSetUpPlacesEverythingAndStartsANewGame) {
  StartGame();
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(dozer_sprite, 320, 200);
  ExpectAt(tree_sprites[4], 150, 340);
  ExpectAt(tree_sprites[5], 100, 400);  // unused slots stay where start-up put them
  ExpectAt(letter_sprites[TILE_T], 560, 360);
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_frame, 1);  // still there
  EXPECT_EQ(prompt_pending, 1);
}

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
  for (uint8_t found : letter_found) EXPECT_EQ(found, 0);
}

TEST_F(ScenesTest, TheFrogWordFillsFourPlacesAndEndsTheGame) {
  StartGame();
  SetUpScene(4);
  game_state = StateScene4;
  const int word[] = {TILE_F, TILE_R, TILE_O, TILE_G};
  for (int j = 0; j < 4; ++j) {
    PutRobotOn(word[j]);
    PlayScene(4);
    ExpectAt(letter_sprites[word[j]], 200 + 30 * j, 430);
  }
  EXPECT_EQ(game_state, StateGameEnd);
}

// The finished word is shown over the current frame; then the next scene is set up, with the
// felled trees standing again.
TEST_F(ScenesTest, ACompletedWordIsShownThenSetsUpTheNextScene) {
  StartGame(true);
  Place(&dozer_sprite, 250, 210);  // fells tree 0 at (250, 190)
  for (int tile : {TILE_D, TILE_O}) {
    PutRobotOn(tile);
    PlayScene(1);
  }
  Place(&robot_sprite, 100, 120);
  Place(&dozer_sprite, 500, 380);
  PlayScene(1);  // G still in the field in this frame, which the back buffer holds after the next flip
  Place(&robot_sprite, 240, 250);  // touching G at (240, 270)
  const size_t before = HeadlessFrames().size();
  ASSERT_FALSE(Visible(tree_sprites[0]));
  PlayScene(1);
  ASSERT_EQ(game_state, StateScene2);
  // The frames of this call: the play frame, the finished word, then the cat picture's palette.
  ASSERT_EQ(HeadlessFrames().size(), before + 3);
  const HeadlessFrame& word_frame = HeadlessFrames()[before + 1];
  EXPECT_EQ(HeadlessOpenedFiles().back(), "cat.BMP");
  LoadBackdrop("scene1.BMP");
  EXPECT_TRUE(ShowsBackdrop(word_frame, 240, 270, {240, 250}));  // G has left the field
  EXPECT_FALSE(ShowsBackdrop(word_frame, 260, 430));             // and stands in the word row
  EXPECT_FALSE(ShowsBackdrop(word_frame, 240, 250));             // the robot is drawn
  ExpectAt(letter_sprites[TILE_O], 515, 155);  // O is a wrong tile of the cat scene
  EXPECT_TRUE(Visible(tree_sprites[0]));
  EXPECT_FALSE(Visible(stump_sprites[0]));
  ExpectAt(stump_sprites[0], 190, 110);
}

}  // namespace
