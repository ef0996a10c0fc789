// The collision test and the four scenes' data.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gameplay/game_world.h"

namespace {

bool Touch(int x1, int y1, int x2, int y2) { return BoxesOverlap(x1, y1, OBJECT_W, OBJECT_H, x2, y2, OBJECT_W, OBJECT_H); }

TEST(BoxesOverlap, ObjectsTouchWithinFortyFourAcrossAndTwentyFourDown) {
  EXPECT_TRUE(Touch(0, 0, 43, 0));
  EXPECT_FALSE(Touch(0, 0, 44, 0));
  EXPECT_TRUE(Touch(0, 0, -43, 0));
  EXPECT_FALSE(Touch(0, 0, -44, 0));
  EXPECT_TRUE(Touch(0, 0, 0, 23));
  EXPECT_FALSE(Touch(0, 0, 0, 24));
  EXPECT_TRUE(Touch(0, 0, 0, -23));
  EXPECT_FALSE(Touch(0, 0, 0, -24));
  EXPECT_TRUE(Touch(0, 0, 43, 23));
  EXPECT_FALSE(Touch(0, 0, 43, 24));
  EXPECT_TRUE(Touch(5, 7, 5, 7));
}

TEST(BoxesOverlap, IsSymmetric) {
  for (int dx = -50; dx <= 50; dx += 7)
    for (int dy = -30; dy <= 30; dy += 5) EXPECT_EQ(Touch(10, 20, 10 + dx, 20 + dy), Touch(10 + dx, 20 + dy, 10, 20));
}

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

class SceneData : public ::testing::TestWithParam<int> {
 protected:
  const SceneSpec& spec() const { return scene_table[GetParam()]; }
  bool TouchesTreeSlot(Spot spot) const {
    for (int i = 0; i < spec().tree_count; ++i)
      if (Touch(spot.x, spot.y, spec().tree_spots[i].x, spec().tree_spots[i].y)) return true;
    return Touch(spot.x, spot.y, 100, 400);  // unplaced slots stay at their start-up spot
  }
};

TEST_P(SceneData, StartSpotsAreClearOfTilesAndTrees) {
  for (Spot spot : {ROBOT_START, DOZER_START, DOZER_RESTART}) {
    EXPECT_FALSE(TouchesTreeSlot(spot));
    for (int i = 0; i < spec().tile_count; ++i) {
      const Spot tile = spec().tile_spots[spec().draw_order[i]];
      EXPECT_FALSE(Touch(spot.x, spot.y, tile.x, tile.y)) << spec().draw_order[i];
    }
  }
}

TEST_P(SceneData, NoTileTouchesATree) {
  for (int i = 0; i < spec().tile_count; ++i) EXPECT_FALSE(TouchesTreeSlot(spec().tile_spots[spec().draw_order[i]]));
}

TEST_P(SceneData, DrawOrderHoldsExactlyTheWordAndTheWrongTiles) {
  int listed = 0;
  for (int j = 0; j < spec().word_length; ++j, ++listed)
    EXPECT_NE(std::find(spec().draw_order, spec().draw_order + spec().tile_count, spec().word[j]),
              spec().draw_order + spec().tile_count);
  for (int j = 0; j < spec().wrong_count; ++j, ++listed)
    EXPECT_NE(std::find(spec().draw_order, spec().draw_order + spec().tile_count, spec().wrong[j]),
              spec().draw_order + spec().tile_count);
  EXPECT_EQ(listed, spec().tile_count);
}

INSTANTIATE_TEST_SUITE_P(EveryScene, SceneData, ::testing::Values(0, 1, 2, 3));

// Every tile and tree spot of the four scenes, as the game's design gives them.
TEST(SceneData, TileAndTreeSpots) {
  struct TileAt {
    int scene, tile, x, y;
  };
  const TileAt tiles[] = {
      {0, TILE_F, 130, 50},  {0, TILE_A, 525, 25},  {0, TILE_D, 330, 160}, {0, TILE_G, 240, 270},
      {0, TILE_O, 450, 280}, {0, TILE_T, 560, 360}, {1, TILE_W, 50, 25},   {1, TILE_C, 340, 90},
      {1, TILE_O, 515, 155}, {1, TILE_T, 560, 30},  {1, TILE_R, 255, 190}, {1, TILE_A, 100, 315},
      {1, TILE_L, 430, 285}, {2, TILE_T, 135, 30},  {2, TILE_W, 150, 165}, {2, TILE_D, 90, 330},
      {2, TILE_A, 290, 270}, {2, TILE_C, 370, 35},  {2, TILE_O, 585, 38},  {2, TILE_L, 490, 325},
      {3, TILE_F, 60, 20},   {3, TILE_A, 285, 65},  {3, TILE_D, 550, 270}, {3, TILE_R, 460, 115},
      {3, TILE_L, 520, 40},  {3, TILE_G, 575, 90},  {3, TILE_O, 95, 345},  {3, TILE_W, 260, 240}};
  for (const TileAt& at : tiles) {
    EXPECT_EQ(scene_table[at.scene].tile_spots[at.tile].x, at.x) << at.scene << " " << at.tile;
    EXPECT_EQ(scene_table[at.scene].tile_spots[at.tile].y, at.y) << at.scene << " " << at.tile;
  }
  const Spot trees[4][6] = {{{250, 190}, {430, 195}, {560, 115}, {340, 275}, {150, 340}, {0, 0}},
                            {{190, 110}, {170, 280}, {430, 115}, {495, 45}, {560, 335}, {0, 0}},
                            {{75, 75}, {260, 150}, {375, 140}, {500, 85}, {430, 220}, {385, 235}},
                            {{65, 85}, {255, 320}, {400, 120}, {455, 55}, {600, 155}, {475, 285}}};
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(scene_table[n].tree_count, n < 2 ? 5 : 6);
    for (int i = 0; i < scene_table[n].tree_count; ++i) {
      EXPECT_EQ(scene_table[n].tree_spots[i].x, trees[n][i].x) << n << " " << i;
      EXPECT_EQ(scene_table[n].tree_spots[i].y, trees[n][i].y) << n << " " << i;
    }
  }
}

TEST(SceneData, WordsAndPicturesOfTheFourAnimals) {
  const char* words[] = {"DOG", "CAT", "OWL", "FROG"};
  const char letters[] = "A?CDFGLORTW";
  for (int n = 0; n < 4; ++n) {
    std::string word;
    for (int j = 0; j < scene_table[n].word_length; ++j) word += letters[scene_table[n].word[j]];
    EXPECT_EQ(word, words[n]);
    EXPECT_EQ(std::string(scene_table[n].play_picture), "scene" + std::to_string(n + 1) + ".BMP");
  }
  EXPECT_STREQ(scene_table[0].setup_picture, "dog.BMP");
  EXPECT_STREQ(scene_table[3].setup_picture, "frog.BMP");
  EXPECT_EQ(scene_table[1].wrong[1], TILE_O);  // in the cat scene O is a wrong letter
  EXPECT_EQ(scene_table[0].tile_spots[TILE_G].x, 240);
  EXPECT_EQ(scene_table[3].tree_spots[5].y, 285);
}

}  // namespace
