// The shared part of every play frame: keys, the bulldozer's step, felled trees, the catch,
// the robot's step, the flip and the frame's wait, Escape.
#include "display/frame.h"
#include "gameplay/game_routines.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "input/keyboard.h"

namespace {

// The crunch and the mishap; the flip showed the crunch and left an old frame behind, so the
// frame is drawn again: the field, or the game-over picture alone when the catch lost the game.
// True when the game goes on.
bool CatchRobot(int scene) {
  CaughtSequence();
  if (game_state == StateGameEnd) {
    DrawBackdrop();
    return false;
  }
  if (scene >= StateScene1 && scene <= StateScene4) DrawSceneField(scene);
  return true;
}

}  // namespace

int RunPlayFrame() {
  const int scene = game_state;
  KeyboardRead();
  MoveDozer();
  FellTreesUnderDozer();
  const bool playing = !ObjectsTouch(robot_sprite, dozer_sprite) || CatchRobot(scene);
  if (playing) {
    DrawDozerAndSpareRobots();
    MoveRobot();
    AnimateSprite(&robot_sprite);
    DrawRobot();
  }
  FlipPages();
  WaitClock(FRAME_MS);
  if (KeyPressed(VK_ESCAPE, DIK_ESCAPE)) RequestQuit();
  return 1;
}
