// The robot steered with the arrow keys around the trees, and the bulldozer's chase that fells
// the trees it crosses.
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "input/keyboard.h"
#include "gameplay/game_routines.h"

namespace {

// How far the robot may go: x + 50 < 640, x > 0, y > 0, y + 250 < 640.
constexpr float RIGHT_LIMIT = 640;
constexpr float BOTTOM_LIMIT = 640;
constexpr float RIGHT_MARGIN = 50;
constexpr float BOTTOM_MARGIN = 250;
// The screen the bulldozer wraps around.
constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;

// The robot's animations and the bulldozer's.
enum RobotAnimation { WALK_RIGHT = 0, WALK_LEFT = 1, WALK_UP = 2, WALK_DOWN = 3 };
enum DozerAnimation { FACE_RIGHT = 0, FACE_LEFT = 1 };

// Adds a step to a float coordinate as a double, stored back as a float.
void Step(float* coordinate, double step) { *coordinate = static_cast<float>(*coordinate + step); }

// Selecting an animation rewinds it, so it is selected only when it changes.
void SelectAnimation(Sprite* sprite, int animation) {
  if (sprite->current_animation != animation) SetSpriteAnimation(sprite, animation);
}

bool KeyHeld(int dik_code) { return KeyboardState[dik_code] != 0; }

// Each tree the robot now overlaps takes the step back once, slots in order.
void BlockAgainstTrees(float* coordinate, double step) {
  for (const Sprite& tree : tree_sprites)
    if (ObjectsTouch(tree, robot_sprite)) Step(coordinate, -step);
}

// Steps on one axis and notes the walk that goes with the step.
void MoveRobotOnAxis(float* coordinate, int animation, double step, int* walk) {
  *walk = animation;
  Step(coordinate, step);
  BlockAgainstTrees(coordinate, step);
}

// A coordinate that left the screen comes back at the opposite edge.
void Wrap(float* coordinate, int screen_size, int sprite_size) {
  if (*coordinate >= screen_size)
    *coordinate = static_cast<float>(-sprite_size);
  else if (*coordinate < -sprite_size)
    *coordinate = static_cast<float>(screen_size);
}

}  // namespace

// The walk is selected once, after both axes: the vertical one when both move. Selecting each
// axis's walk in turn would rewind it twice a frame while two arrows are held.
void MoveRobot() {
  int walk = -1;
  if (KeyHeld(DIK_RIGHT) && robot_sprite.x + RIGHT_MARGIN < RIGHT_LIMIT)
    MoveRobotOnAxis(&robot_sprite.x, WALK_RIGHT, PLAY_STEP, &walk);
  else if (KeyHeld(DIK_LEFT) && robot_sprite.x > 0)
    MoveRobotOnAxis(&robot_sprite.x, WALK_LEFT, -PLAY_STEP, &walk);
  if (KeyHeld(DIK_UP) && robot_sprite.y > 0)
    MoveRobotOnAxis(&robot_sprite.y, WALK_UP, -PLAY_STEP, &walk);
  else if (KeyHeld(DIK_DOWN) && robot_sprite.y + BOTTOM_MARGIN < BOTTOM_LIMIT)
    MoveRobotOnAxis(&robot_sprite.y, WALK_DOWN, PLAY_STEP, &walk);
  if (walk >= 0) SelectAnimation(&robot_sprite, walk);
}

void FellTreesUnderDozer() {
  for (int i = 0; i < TREE_SLOTS; ++i) {
    if (!ObjectsTouch(tree_sprites[i], dozer_sprite)) continue;
    HideSprite(&tree_sprites[i]);
    ShowSprite(&stump_sprites[i]);
    SetSpritePosition(&tree_sprites[i], TREE_PARKING.x, TREE_PARKING.y);
  }
}

void MoveDozer() {
  if (robot_sprite.x > dozer_sprite.x) {
    SelectAnimation(&dozer_sprite, FACE_RIGHT);
    AnimateSprite(&dozer_sprite);
    Step(&dozer_sprite.x, DOZER_STEP);
  } else if (robot_sprite.x < dozer_sprite.x) {
    SelectAnimation(&dozer_sprite, FACE_LEFT);
    AnimateSprite(&dozer_sprite);
    Step(&dozer_sprite.x, -DOZER_STEP);
  }
  if (robot_sprite.y > dozer_sprite.y)
    Step(&dozer_sprite.y, DOZER_STEP);
  else if (robot_sprite.y < dozer_sprite.y)
    Step(&dozer_sprite.y, -DOZER_STEP);
  Wrap(&dozer_sprite.x, SCREEN_W, dozer_sprite.width);
  Wrap(&dozer_sprite.y, SCREEN_H, dozer_sprite.height);
}
