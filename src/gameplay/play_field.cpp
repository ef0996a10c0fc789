// The play field drawn on the back surface: a scene's backdrop, trees, stumps and tiles, the
// bulldozer, the spare robots and the robot.
#include "display/frame.h"
#include "gameplay/game_routines.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"

namespace {

void DrawObject(const Sprite* sprite) { DrawSpriteScaled(sprite, OBJECT_W, OBJECT_H, display.back_surface); }

}  // namespace

void DrawSceneField(int scene) {
  const SceneSpec& spec = scene_table[scene - 1];
  DrawBackdrop();
  for (int i = 0; i < spec.tree_count; ++i) {
    DrawObject(&tree_sprites[i]);
    DrawObject(&stump_sprites[i]);
  }
  for (int i = 0; i < spec.tile_count; ++i) DrawObject(&letter_sprites[spec.draw_order[i]]);
}

void DrawDozerAndSpareRobots() {
  DrawSpriteScaled(&dozer_sprite, OBJECT_W, OBJECT_H, display.back_surface);
  for (const Sprite& spare : life_bot_sprites) DrawSprite(&spare, display.back_surface);
}

void DrawRobot() { DrawSpriteScaled(&robot_sprite, OBJECT_W, OBJECT_H, display.back_surface); }
