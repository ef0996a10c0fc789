#include "game_watch.h"

#include <cstring>

#include "gameplay/game_world.h"
#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"
#include "soft/soft_windows.h"

namespace {

// A step is taken only from inside the field, so the robot may end one step beyond it (plus
// float rounding) and no further.
constexpr float SLACK = static_cast<float>(PLAY_STEP) + 0.001f;
// The unpaced screens (instructions, credits) are shown as on a 60 Hz display.
constexpr uint32_t REFRESH_MS = 16;
constexpr size_t VIOLATIONS_KEPT = 20;

// What the spare-robot checks compare with: the game after the pass before.
struct Before {
  int32_t state = -1;  // -1: no pass yet
  uint8_t show_title = 0;
  uint8_t spares[SPARE_ROBOTS] = {};
};

struct Watch {
  Before before;
  uint32_t last_present = 0;
  void (*hook)() = nullptr;
  WatchTotals totals;
};

Watch watch;

void Violation(const std::string& what) {
  if (watch.totals.violations.size() < VIOLATIONS_KEPT)
    watch.totals.violations.push_back(std::to_string(HeadlessNow()) + " ms: " + what);
}

bool TileAt(int tile, int x, int y) { return letter_sprites[tile].x == x && letter_sprites[tile].y == y; }

// Each letter of the word stands in the field, or in its place in the word row once found.
void CheckWordTiles() {
  const SceneSpec& spec = scene_table[game_state - 1];
  for (int j = 0; j < spec.word_length; ++j) {
    const int tile = spec.word[j];
    const bool visible = letter_sprites[tile].flags & SPRITE_VISIBLE;
    const bool in_field = visible && TileAt(tile, spec.tile_spots[tile].x, spec.tile_spots[tile].y);
    const bool in_row = TileAt(tile, WORD_ROW_X + WORD_ROW_STEP * j, WORD_ROW_Y);
    const bool found = j < spec.word_length - 1 && letter_found[j];
    if ((!in_field && !in_row) || in_row != found) Violation("letter " + std::to_string(j) + " out of place");
  }
}

void CheckScene() {
  const float x = robot_sprite.x, y = robot_sprite.y;
  if (x < -SLACK || x > 590 + SLACK || y < -SLACK || y > 390 + SLACK) Violation("robot out of bounds");
  CheckWordTiles();
}

void CheckSpares(const Before& before) {
  const bool scene_one_set_up = before.state == StateTitle && !before.show_title && game_state == StateScene1;
  bool restored = false, any_left = false;
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    if (i > 0 && life_bot_present[i - 1] && !life_bot_present[i]) Violation("spare robots spent out of order");
    restored = restored || (!before.spares[i] && life_bot_present[i]);
    any_left = any_left || life_bot_present[i];
  }
  if (restored && !scene_one_set_up) Violation("a spare robot came back in play");
  if (scene_one_set_up && !(life_bot_present[0] && life_bot_present[1] && life_bot_present[2]))
    Violation("scene 1's set-up left a spare robot spent");
  if (game_over_shown && any_left) Violation("game over with a spare robot left");
}

void OnPass() {
  if (watch.hook) watch.hook();
  if (game_state < StateTitle || game_state > StateCredits) {
    Violation("game_state " + std::to_string(game_state));
  } else if (watch.before.state >= 0) {
    if (game_state >= StateScene1 && game_state <= StateScene4) CheckScene();
    CheckSpares(watch.before);
    ++watch.totals.passes;
    watch.totals.states_seen |= 1u << game_state;
  }
  watch.before.state = game_state;
  watch.before.show_title = show_title;
  std::memcpy(watch.before.spares, life_bot_present, sizeof watch.before.spares);
}

void OnFrame(const HeadlessFrame&, int) {
  const bool unpaced = game_state == StateInstructions || game_state == StateCredits;
  if (unpaced && HeadlessNow() - watch.last_present < REFRESH_MS)
    HeadlessAdvance(watch.last_present + REFRESH_MS - HeadlessNow());
  watch.last_present = HeadlessNow();
}

}  // namespace

void StartWatch(void (*hook)()) {
  watch = Watch{};
  watch.hook = hook;
  watch.last_present = HeadlessNow();
  SetMessagePollObserver(OnPass);
  HeadlessOnFrame(OnFrame);
}

void StopWatch() {
  SetMessagePollObserver(nullptr);
  HeadlessOnFrame(nullptr);
}

const WatchTotals& WatchFigures() { return watch.totals; }
