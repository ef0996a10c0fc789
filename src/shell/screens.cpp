// The picture screens. Until pictures and sounds load, each screen shows the backdrop as a paced
// frame and answers its keys as far as they need nothing more.
#include "display/frame.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"

namespace {

// One paced frame of the backdrop, then a fresh keyboard snapshot.
void ShowPacedFrame() {
  StartClock();
  DrawBackdrop();
  FlipPages();
  WaitClock(FRAME_MS);
  KeyboardRead();
}

bool EscapePressed() { return KeyPressed(VK_ESCAPE, DIK_ESCAPE); }
bool SpacePressed() { return KeyPressed(VK_SPACE, DIK_SPACE); }

}  // namespace

int TitleScreen() {
  ShowPacedFrame();
  prompt_pending = 0;
  if (EscapePressed()) {
    RequestQuit();
    show_title = 0;
    prompt_pending = 1;
  }
  if (SpacePressed()) {
    show_title = 0;
    prompt_pending = 1;
  }
  return 1;
}

int InstructionsScreen() {
  ShowPacedFrame();
  if (EscapePressed()) {
    RequestQuit();
    show_title = 0;
  }
  return 1;
}

int SceneIntroScreen(int) {
  ShowPacedFrame();
  if (EscapePressed()) RequestQuit();
  return 1;
}

int GameOverScreen() {
  ShowPacedFrame();
  if (EscapePressed()) {
    RequestQuit();
    prompt_pending = 1;
  }
  return 1;
}

int WinScreen() {
  ShowPacedFrame();
  return 1;
}

int CreditsScreen() {
  ShowPacedFrame();
  if (EscapePressed()) RequestQuit();
  return 1;
}
