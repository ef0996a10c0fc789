// The collision test and the four scenes' data.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gameplay/game_world.h"

namespace {

TEST(BoxesOverlap, ShrinksEachBoxAboutItsOwnCorner) {
  // A 116 x 60 box and a 58 x 30 one: half-extents 44 and 22, reference points 44 and 22 in.
  for (int x = -44; x <= 88; ++x) EXPECT_EQ(BoxesOverlap(0, 0, 116, 60, x, 0, 58, 30), x >= -43 && x <= 87) << x;
  // Down: half-heights 23 and 12, so the rows differ by less than 35 about points 23 and 12 in.
  for (int y = -30; y <= 50; ++y) EXPECT_EQ(BoxesOverlap(0, 0, 116, 60, 0, y, 58, 30), y >= -23 && y <= 45) << y;
}

TEST(BoxesOverlap, SpritesTouchAtTheirTruncatedPositions) {
  Sprite a{}, b{};
  b.x = 43.9f;
  EXPECT_TRUE(ObjectsTouch(a, b));
  b.x = 44.0f;
  EXPECT_FALSE(ObjectsTouch(a, b));
  b.x = 0, b.y = -23.9f;  // truncated toward zero: -23
  EXPECT_TRUE(ObjectsTouch(a, b));
}

// Each scene as the game's design gives it: the word, the wrong tiles in the order they are
// tested, the pictures, where each tile stands (by tile: A ? C D F G L O R T W; 0 0 unused),
// where the trees stand, and the tiles drawn.
TEST(SceneData, WordsPicturesAndSpotsOfTheFourScenes) {
  const struct {
    std::string word, wrong, animal;
    std::vector<int> tiles, trees;
  } scenes[] = {
      {"DOG", "AFT", "dog", {525, 25, 0, 0, 0, 0, 330, 160, 130, 50, 240, 270, 0, 0, 450, 280, 0, 0, 560, 360, 0, 0},
       {250, 190, 430, 195, 560, 115, 340, 275, 150, 340}},
      {"CAT", "LORW", "cat", {100, 315, 0, 0, 340, 90, 0, 0, 0, 0, 0, 0, 430, 285, 515, 155, 255, 190, 560, 30, 50, 25},
       {190, 110, 170, 280, 430, 115, 495, 45, 560, 335}},
      {"OWL", "ACDT", "owl", {290, 270, 0, 0, 370, 35, 90, 330, 0, 0, 0, 0, 490, 325, 585, 38, 0, 0, 135, 30, 150, 165},
       {75, 75, 260, 150, 375, 140, 500, 85, 430, 220, 385, 235}},
      {"FROG", "ADLW", "frog", {285, 65, 0, 0, 0, 0, 550, 270, 60, 20, 575, 90, 520, 40, 95, 345, 460, 115, 0, 0, 260, 240},
       {65, 85, 255, 320, 400, 120, 455, 55, 600, 155, 475, 285}},
  };
  const char letters[] = "A?CDFGLORTW";
  for (int n = 0; n < 4; ++n) {
    const SceneSpec& spec = scene_table[n];
    std::string word, wrong;
    for (int j = 0; j < spec.word_length; ++j) word += letters[spec.word[j]];
    for (int j = 0; j < spec.wrong_count; ++j) wrong += letters[spec.wrong[j]];
    std::vector<int> tiles, trees;
    for (Spot spot : spec.tile_spots) tiles.insert(tiles.end(), {spot.x, spot.y});
    for (int i = 0; i < spec.tree_count; ++i) trees.insert(trees.end(), {spec.tree_spots[i].x, spec.tree_spots[i].y});
    SCOPED_TRACE(n);
    EXPECT_EQ(word, scenes[n].word);
    EXPECT_EQ(wrong, scenes[n].wrong);
    EXPECT_EQ(tiles, scenes[n].tiles);
    EXPECT_EQ(trees, scenes[n].trees);
    EXPECT_EQ(spec.setup_picture, scenes[n].animal + ".BMP");
    std::string drawn, used = word + wrong;
    for (int i = 0; i < spec.tile_count; ++i) drawn += letters[spec.draw_order[i]];
    std::sort(drawn.begin(), drawn.end());
    std::sort(used.begin(), used.end());
    EXPECT_EQ(drawn, used);  // the draw order lists exactly the word's and the wrong tiles
  }
}

}  // namespace
