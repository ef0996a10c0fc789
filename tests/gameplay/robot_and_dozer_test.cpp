// The robot steered around the trees within its bounds, and the bulldozer's chase and felling.
#include "gameplay_fixture.h"

namespace {

class RobotAndDozerTest : public GameFixture {
 protected:
  // A float coordinate after steps of `step` added as doubles, as the robot takes them.
  static float After(float start, std::initializer_list<double> steps) {
    for (double step : steps) start = static_cast<float>(start + step);
    return start;
  }
};

// The robot steps by the arrow keys; a tree (slot 0 at 250, 190, or the unplaced slots 5 and 6
// at 100, 400) takes the step back once per tree touched, while the other axis moves; right wins
// over left and up over down while they may move, the other key otherwise.
TEST_F(RobotAndDozerTest, TheRobotStepsByTheArrowsBlockedByTreesAndTheScreenLimits) {
  StartGame();
  const double step = PLAY_STEP;
  const struct {
    float x, y;
    std::vector<int> keys;
    float to_x, to_y;
  } rows[] = {
      {205.9f, 190, {VK_RIGHT, VK_DOWN}, After(205.9f, {step, -step}), After(190, {step})},
      {100, 376.5f, {VK_DOWN}, 100, After(376.5f, {step, -step})},  // slot 5 only: 6 is tested after
      {After(589.9f, {step}), 10, {VK_RIGHT, VK_LEFT}, After(589.9f, {step, -step}), 10},  // x + 50 not below 640
      {10, After(389.5f, {step}), {VK_DOWN}, 10, After(389.5f, {step})},  // y + 250 is not below 640
      {10, After(0.5f, {-step}), {VK_UP, VK_DOWN}, 10, After(0.5f, {-step, step})},
      {0, 10, {VK_LEFT}, 0, 10},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.x << ", " << row.y);
    Place(&robot_sprite, row.x, row.y);
    Place(&dozer_sprite, 500, 350);
    for (int key : row.keys) Hold(key);
    RunPlayFrame();
    for (int key : row.keys) Hold(key, false);
    ExpectAt(robot_sprite, row.to_x, row.to_y);
  }
}

// One arrow or two: the walk goes on through its pictures (two arrows show the vertical walk).
TEST_F(RobotAndDozerTest, TheWalkAnimatesWhileArrowsAreHeld) {
  StartGame();
  const struct {
    std::vector<int> keys;
    std::vector<int> frames;
  } cases[] = {{{VK_LEFT}, {0, 9, 9, 8, 8, 9}},
               {{VK_RIGHT, VK_DOWN}, {0, 13, 13, 12, 12, 13}},
               {{VK_LEFT, VK_UP}, {0, 5, 5, 4, 4, 5}}};
  for (const auto& c : cases) {
    SetSpriteAnimation(&robot_sprite, 0);
    robot_sprite.current_frame = 0;
    Place(&robot_sprite, 300, 20);
    Place(&dozer_sprite, 500, 350);
    for (int key : c.keys) Hold(key);
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
      RunPlayFrame();
      frames.push_back(robot_sprite.current_frame);
    }
    EXPECT_EQ(frames, c.frames) << c.keys.size();
    for (int key : c.keys) Hold(key, false);
  }
}

TEST_F(RobotAndDozerTest, TheDozerChasesAtHalfAPixelAndWrapsRoundTheScreen) {
  StartGame();
  const struct {
    float robot_x, robot_y, x, y, to_x, to_y;
    int animation;
  } rows[] = {{1000, 1000, 639.6f, 479.6f, -116, -60, 0},
              {-500, -500, -116, -60, 640, 480, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.x << ", " << row.y);
    Place(&robot_sprite, row.robot_x, row.robot_y);
    Place(&dozer_sprite, row.x, row.y);
    MoveDozer();
    ExpectAt(dozer_sprite, row.to_x, row.to_y);
    EXPECT_EQ(dozer_sprite.current_animation, row.animation);
  }
}

// The tree the bulldozer fells shows in the felling frame and its stump from the next.
TEST_F(RobotAndDozerTest, AFelledTreeShowsInItsFrameAndItsStumpFromTheNext) {
  StartGame(true);
  Place(&robot_sprite, 560, 20);
  const Spot tree = scene_table[0].tree_spots[3];  // (340, 275)
  Place(&dozer_sprite, tree.x, tree.y + 20);
  PlayScene(1);
  PlayScene(1);
  // The same spot (above the bulldozer) shows the tree in the felling frame and the stump next.
  const std::vector<HeadlessFrame>& frames = HeadlessFrames();
  const HeadlessFrame& felling = frames[frames.size() - 2];
  const HeadlessFrame& next = frames.back();
  int differing = 0;
  for (int row = tree.y; row < tree.y + 18; ++row)
    for (int column = tree.x; column < tree.x + OBJECT_W; ++column)
      differing += felling.pixels[row * 640 + column] != next.pixels[row * 640 + column];
  EXPECT_GT(differing, 50);
  EXPECT_FALSE(ShowsBackdrop(felling, tree.x, tree.y, {tree.x, tree.y + 19}));
}

}  // namespace
