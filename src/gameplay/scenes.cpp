// Scene set-up and play. Until the game world arrives, set-up resets the shell flags as a new
// scene does and play shows the backdrop as a paced frame with Escape to quit.
#include "display/frame.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"

int SetUpScene(int scene) {
  if (scene == 1) game_over_shown = 0;
  show_title = 1;
  prompt_pending = 1;
  return 1;
}

int PlayScene(int) {
  StartClock();
  DrawBackdrop();
  FlipPages();
  WaitClock(FRAME_MS);
  KeyboardRead();
  if (KeyPressed(VK_ESCAPE, DIK_ESCAPE)) RequestQuit();
  return 1;
}
