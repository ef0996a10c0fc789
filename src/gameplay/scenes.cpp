// Scene set-up, the play frame and the letter logic.
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "gameplay/game_routines.h"
#include "sound/sound_table.h"

namespace {

const SceneSpec& Scene(int scene) { return scene_table[scene - 1]; }

void PlaceSprite(Sprite* sprite, Spot spot) { SetSpritePosition(sprite, spot.x, spot.y); }

// Scene 1 begins a new game: the title for the next game's start, fresh spare robots.
void StartNewGame() {
  show_title = 1;
  prompt_pending = 1;
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    life_bot_present[i] = 1;
    SetSpriteAnimation(&life_bot_sprites[i], 1);
    AnimateSprite(&life_bot_sprites[i]);
  }
  game_over_shown = 0;
}

void ClearLettersFound() {
  for (uint8_t& found : letter_found) found = 0;
}

Spot WordRowSpot(int letter_index) { return {WORD_ROW_X + WORD_ROW_STEP * letter_index, WORD_ROW_Y}; }

bool RobotTouchesTile(int tile) { return ObjectsTouch(letter_sprites[tile], robot_sprite); }

bool LettersBeforeFound(int letter_index) {
  for (int j = 0; j < letter_index; ++j)
    if (!letter_found[j]) return false;
  return true;
}

void HandleWrongTiles(const SceneSpec& spec) {
  for (int i = 0; i < spec.wrong_count; ++i) {
    const int tile = spec.wrong[i];
    if (!RobotTouchesTile(tile)) continue;
    WrongLetterSequence();
    HideSprite(&letter_sprites[tile]);
    PlaceSprite(&letter_sprites[tile], WRONG_TILE_PARKING);
    if (game_state != StateGameEnd) LoadBackdrop(spec.play_picture);
  }
}

// The word is complete: show the whole frame with the word in its row, then the name and cheer.
void FinishWord(int scene) {
  const SceneSpec& spec = Scene(scene);
  const int last = spec.word_length - 1;
  PlaceSprite(&letter_sprites[spec.word[last]], WordRowSpot(last));
  DrawSceneField(scene);
  DrawDozerAndSpareRobots();
  DrawRobot();
  FlipPages();
  StopAllSounds();
  PlaySound(animal_name_sounds[scene - 1], 0, 0, 0, 0);
  PlayAndWait(hooray_sound);
  ClearLettersFound();
}

}  // namespace

int SetUpScene(int scene) {
  const SceneSpec& spec = Scene(scene);
  if (scene == 1) StartNewGame();
  ClearLettersFound();
  PlaceSprite(&robot_sprite, ROBOT_START);
  PlaceSprite(&dozer_sprite, DOZER_START);
  for (int i = 0; i < spec.tree_count; ++i) {
    ShowSprite(&tree_sprites[i]);
    HideSprite(&stump_sprites[i]);
    PlaceSprite(&tree_sprites[i], spec.tree_spots[i]);
    PlaceSprite(&stump_sprites[i], spec.tree_spots[i]);
  }
  for (int i = 0; i < spec.tile_count; ++i) {
    const int tile = spec.draw_order[i];
    ShowSprite(&letter_sprites[tile]);
    PlaceSprite(&letter_sprites[tile], spec.tile_spots[tile]);
  }
  LoadBackdrop(spec.setup_picture);
  return 1;
}

int PlayScene(int scene) {
  const SceneSpec& spec = Scene(scene);
  StartClock();
  for (int i = 0; i < spec.tree_count; ++i) {
    AnimateSprite(&stump_sprites[i]);
    AnimateSprite(&tree_sprites[i]);
  }
  for (int i = 0; i < spec.tile_count; ++i) AnimateSprite(&letter_sprites[spec.draw_order[i]]);
  DrawSceneField(scene);
  RunPlayFrame();
  if (quit_requested) return 1;  // Escape in this frame: the program is ending
  if (CheckLetters(scene)) {
    if (scene < SCENE_COUNT) {
      game_state = scene + 1;
      SetUpScene(scene + 1);
    } else {
      game_state = StateGameEnd;
    }
  }
  return 1;
}

bool CheckLetters(int scene) {
  const SceneSpec& spec = Scene(scene);
  HandleWrongTiles(spec);
  const int last = spec.word_length - 1;
  for (int j = 0; j < last; ++j) {
    const int tile = spec.word[j];
    if (!RobotTouchesTile(tile) || !LettersBeforeFound(j)) continue;
    PlaySound(hooray_sound, 0, 0, 0, 0);
    PlaceSprite(&letter_sprites[tile], WordRowSpot(j));
    letter_found[j] = 1;
  }
  if (!RobotTouchesTile(spec.word[last]) || !LettersBeforeFound(last)) return false;
  FinishWord(scene);
  return true;
}
