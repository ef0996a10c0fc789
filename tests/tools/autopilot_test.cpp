// The autopilot's steering: towards the letter, around a tree, away from the bulldozer.
#include <gtest/gtest.h>

#include "autopilot.h"
#include "gameplay/game_world.h"

namespace {

class SteeringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Sprite& tree : tree_sprites) tree.x = TREE_PARKING.x, tree.y = TREE_PARKING.y;
  }
  static int Steer(float x, float y, Spot target, Spot dozer, const std::vector<int>& hazards = {}) {
    return SteerRobot(x, y, target.x, target.y, hazards.data(), static_cast<int>(hazards.size() / 2),
                      static_cast<float>(dozer.x), static_cast<float>(dozer.y));
  }
};

TEST_F(SteeringTest, HeadsStraightForAnOpenLetter) {
  // Any shortest path on the grid will do: it never leads away from the letter.
  const int right = Steer(100, 120, {300, 120}, {500, 380});
  EXPECT_TRUE(right & AUTOPILOT_RIGHT) << right;
  EXPECT_FALSE(right & AUTOPILOT_LEFT) << right;
  const int up_left = Steer(300, 300, {100, 100}, {500, 380});
  EXPECT_TRUE(up_left & (AUTOPILOT_LEFT | AUTOPILOT_UP)) << up_left;
  EXPECT_FALSE(up_left & (AUTOPILOT_RIGHT | AUTOPILOT_DOWN)) << up_left;
  EXPECT_EQ(Steer(300, 120, {300, 121}, {500, 380}), 0);  // already touching
}

TEST_F(SteeringTest, GoesRoundATreeInTheWay) {
  tree_sprites[0].x = 200, tree_sprites[0].y = 120;
  const int keys = Steer(120, 120, {300, 120}, {500, 380});
  EXPECT_TRUE(keys & (AUTOPILOT_UP | AUTOPILOT_DOWN)) << keys;
}

TEST_F(SteeringTest, KeepsOffAWrongTile) {
  const int keys = Steer(120, 120, {300, 120}, {500, 380}, {200, 120});
  EXPECT_TRUE(keys & (AUTOPILOT_UP | AUTOPILOT_DOWN)) << keys;
}

TEST_F(SteeringTest, MovesAwayFromABulldozerCloseBy) {
  // The bulldozer sits between the robot and the letter, 10 pixels from catching it.
  const int keys = Steer(100, 120, {400, 120}, {154, 120});
  EXPECT_TRUE(keys & AUTOPILOT_LEFT || keys & AUTOPILOT_UP || keys & AUTOPILOT_DOWN) << keys;
  EXPECT_FALSE(keys & AUTOPILOT_RIGHT) << keys;
}

}  // namespace
