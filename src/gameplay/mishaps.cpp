// The two mishaps, a wrong tile and a catch, and the spare robots they cost.
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "input/keyboard.h"
#include "gameplay/game_routines.h"
#include "sound/sound_table.h"

namespace {

// Each cage picture stays this long; the pause after the beep is longer.
constexpr uint32_t CAGE_PICTURE_MS = 500;
constexpr uint32_t AFTER_BEEP_MS = 1000;

constexpr const char* CAGE_PICTURES[] = {"treeCage.BMP", "treeCage2.BMP", "treeCage3.BMP"};

void RestartPlayLoops() {
  PlaySound(dozer_sound, DSBPLAY_LOOPING, 0, 0, 0);
  PlaySound(tune_sound, DSBPLAY_LOOPING, 0, 0, 0);
}

// The common end of both mishaps; keys tapped while the sequence held the game are lost.
void SpendRobotAndRestart() {
  KeyboardForgetTaps();
  RestartPlayLoops();
  UseSpareRobot();
  SetSpritePosition(&dozer_sprite, DOZER_RESTART.x, DOZER_RESTART.y);
  SetSpritePosition(&robot_sprite, ROBOT_START.x, ROBOT_START.y);
}

}  // namespace

void WrongLetterSequence() {
  StopAllSounds();
  for (const char* picture : CAGE_PICTURES) {
    LoadBackdrop(picture);
    DrawBackdrop();
    FlipPages();
    Sleep(CAGE_PICTURE_MS);
  }
  PlayAndWait(beep_sound);
  Sleep(AFTER_BEEP_MS);
  SpendRobotAndRestart();
}

void CaughtSequence() {
  StopAllSounds();
  DrawSprite(&crunch_sprite, display.back_surface);
  FlipPages();
  PlayAndWait(tree_sound);
  SpendRobotAndRestart();
}

void UseSpareRobot() {
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    if (!life_bot_present[i]) continue;
    SetSpriteAnimation(&life_bot_sprites[i], 0);
    AnimateSprite(&life_bot_sprites[i]);
    life_bot_present[i] = 0;
    return;
  }
  game_over_shown = 1;
  LoadBackdrop("GameOver.BMP");
  game_state = StateGameEnd;
}
