// The autopilot's steering: towards the letter, around a tree or a wrong tile, away from the
// bulldozer.
#include <gtest/gtest.h>

#include "autopilot.h"
#include "gameplay/game_world.h"

namespace {

TEST(Steering, LeadsToTheLetterAroundWhatIsInTheWay) {
  constexpr int LEFT = AUTOPILOT_LEFT, RIGHT = AUTOPILOT_RIGHT, UP = AUTOPILOT_UP, DOWN = AUTOPILOT_DOWN;
  struct Row {
    const char* name;
    Spot robot, letter, dozer;
    Spot tree;                // tree 0's place (the others are off the screen)
    std::vector<int> hazard;  // a wrong tile's x, y
    int some_of, none_of;     // keys of which at least one is held, and keys never held
  };
  const Row rows[] = {
      {"an open letter to the right", {100, 120}, {300, 120}, {500, 380}, TREE_PARKING, {}, RIGHT, LEFT},
      {"an open letter up left", {300, 300}, {100, 100}, {500, 380}, TREE_PARKING, {}, LEFT | UP, RIGHT | DOWN},
      {"a tree in the way", {120, 120}, {300, 120}, {500, 380}, {200, 120}, {}, UP | DOWN, 0},
      {"a wrong tile in the way", {120, 120}, {300, 120}, {500, 380}, TREE_PARKING, {200, 120}, UP | DOWN, 0},
      {"the bulldozer 10 pixels off", {100, 120}, {400, 120}, {154, 120}, TREE_PARKING, {}, LEFT | UP | DOWN, RIGHT},
      {"already touching", {300, 120}, {300, 121}, {500, 380}, TREE_PARKING, {}, 0, LEFT | RIGHT | UP | DOWN},
  };
  for (const Row& row : rows) {
    for (Sprite& tree : tree_sprites) tree.x = TREE_PARKING.x, tree.y = TREE_PARKING.y;
    tree_sprites[0].x = static_cast<float>(row.tree.x), tree_sprites[0].y = static_cast<float>(row.tree.y);
    const int keys = SteerRobot(static_cast<float>(row.robot.x), static_cast<float>(row.robot.y), row.letter.x,
                                row.letter.y, row.hazard.data(), static_cast<int>(row.hazard.size() / 2),
                                static_cast<float>(row.dozer.x), static_cast<float>(row.dozer.y));
    EXPECT_TRUE(row.some_of == 0 || (keys & row.some_of)) << row.name << ": " << keys;
    EXPECT_EQ(keys & row.none_of, 0) << row.name << ": " << keys;
  }
}

}  // namespace
