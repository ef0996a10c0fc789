// The picture screens between the scenes: title, instructions, each scene's intro, game over,
// the winning sequence and the credits. Each call is one pass of the main loop.
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"
#include "sound/sound_table.h"

namespace {

constexpr const char* PLAY_PICTURES[SCENE_COUNT] = {"scene1.BMP", "scene2.BMP", "scene3.BMP", "scene4.BMP"};

bool EscapePressed() { return KeyPressed(VK_ESCAPE, DIK_ESCAPE); }
bool SpacePressed() { return KeyPressed(VK_SPACE, DIK_SPACE); }
bool EnterPressed() { return KeyPressed(VK_RETURN, DIK_RETURN); }

// One paced frame of the backdrop, then a fresh keyboard snapshot (the title).
void ShowPacedFrameThenRead() {
  StartClock();
  DrawBackdrop();
  FlipPages();
  WaitClock(FRAME_MS);
  KeyboardRead();
}

// One paced frame of the backdrop with the snapshot taken before the flip (intro, game over).
void ShowPacedFrameReadFirst() {
  StartClock();
  DrawBackdrop();
  KeyboardRead();
  FlipPages();
  WaitClock(FRAME_MS);
}

// Space on the game-over and credits screens: a new game from scene 1, without the title.
void StartAgain() {
  ResetSceneIntros();
  show_title = 0;
  prompt_pending = 1;
  StopAllSounds();
  game_state = StateTitle;
}

}  // namespace

int TitleScreen() {
  ShowPacedFrameThenRead();
  if (prompt_pending) {
    PlayAndWait(space_prompt_sound);
    PlayAndWait(esc_prompt_sound);
    PlayAndWait(enter_prompt_sound);
    prompt_pending = 0;
  }
  if (EscapePressed()) {
    RequestQuit();
    show_title = 0;
    prompt_pending = 1;
    return 1;
  }
  if (SpacePressed()) {
    show_title = 0;
    prompt_pending = 1;
  }
  if (EnterPressed()) {
    LoadBackdrop("Inst.BMP");
    prompt_pending = 1;
    game_state = StateInstructions;
  }
  if (KeyboardState[DIK_C]) {
    LoadBackdrop("Cr1.BMP");
    prompt_pending = 1;
    game_state = StateCredits;
  }
  return 1;
}

int InstructionsScreen() {
  DrawBackdrop();
  KeyboardRead();
  FlipPages();
  if (prompt_pending) {
    PlayAndWait(how_prompt_sound);
    PlayAndWait(space_prompt_sound);
    prompt_pending = 0;
    // The Enter that opened this screen is in the snapshot taken before the prompts.
    KeyboardRead();
  }
  if (EscapePressed()) {
    RequestQuit();
    show_title = 0;
    return 1;
  }
  if (SpacePressed()) {
    game_state = StateTitle;
    show_title = 0;
    prompt_pending = 1;
  }
  if (EnterPressed()) prompt_pending = 1;
  return 1;
}

int SceneIntroScreen(int scene) {
  const int call = animal_call_sounds[scene - 1];
  if (prompt_pending) {
    PlaySound(call, 0, 0, 0, 0);
    prompt_pending = 0;
  }
  ShowPacedFrameReadFirst();
  if (EscapePressed()) {
    RequestQuit();
    return 1;
  }
  if (scene == 1) {
    WaitForSound(call);
  } else if (SoundPlaying(call)) {
    return 1;
  }
  LoadBackdrop(PLAY_PICTURES[scene - 1]);
  scene_intro_pending[scene - 1] = 0;
  prompt_pending = 1;
  PlaySound(dozer_sound, DSBPLAY_LOOPING, 0, 0, 0);
  PlaySound(tune_sound, DSBPLAY_LOOPING, 0, 0, 0);
  return 1;
}

int GameOverScreen() {
  ShowPacedFrameReadFirst();
  if (prompt_pending) {
    PlayAndWait(space_prompt_sound);
    PlayAndWait(esc_prompt_sound);
    prompt_pending = 0;
  }
  if (EscapePressed()) {
    RequestQuit();
    prompt_pending = 1;
    return 1;
  }
  if (SpacePressed()) StartAgain();
  return 1;
}

int WinScreen() {
  LoadBackdrop("winAnimals.BMP");
  StartClock();
  DrawBackdrop();
  KeyboardRead();
  FlipPages();
  for (int name : animal_name_sounds) PlayAndWait(name);
  PlayAndWait(hooray_sound);
  KeyboardForgetTaps();  // keys tapped during the sequence do not act on the credits
  WaitClock(FRAME_MS);
  ResetSceneIntros();
  LoadBackdrop("Cr1.BMP");
  game_state = StateCredits;
  return 1;
}

int CreditsScreen() {
  DrawBackdrop();
  FlipPages();
  if (prompt_pending) {
    PlaySound(banana_sound, 0, 0, 0, 0);
    prompt_pending = 0;
  }
  KeyboardRead();
  if (EscapePressed()) {
    RequestQuit();
    return 1;
  }
  if (SpacePressed()) StartAgain();
  return 1;
}
