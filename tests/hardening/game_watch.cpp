#include "game_watch.h"

#include <algorithm>
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

// What the checks read of the game between two passes.
struct Snapshot {
  int32_t state;
  uint8_t show_title, prompt_pending, game_over_shown, quit_requested;
  uint8_t intro_pending[SCENE_COUNT];
  uint8_t spares[SPARE_ROBOTS];
  uint8_t found[MAX_WORD - 1];
  float robot_x, robot_y;
};

struct Watch {
  bool running = false;
  Snapshot before{};
  bool have_before = false;
  uint32_t last_present = 0;
  void (*hook)() = nullptr;
  WatchTotals totals;
};

Watch watch;

void Violation(const std::string& what) {
  if (watch.totals.violations.size() < VIOLATIONS_KEPT)
    watch.totals.violations.push_back(std::to_string(HeadlessNow()) + " ms: " + what);
}

bool InScene(int32_t state) { return state >= StateScene1 && state <= StateScene4; }

Snapshot TakeSnapshot() {
  Snapshot game{game_state, show_title, prompt_pending, game_over_shown, quit_requested, {}, {}, {},
                robot_sprite.x, robot_sprite.y};
  std::memcpy(game.intro_pending, scene_intro_pending, sizeof game.intro_pending);
  std::memcpy(game.spares, life_bot_present, sizeof game.spares);
  std::memcpy(game.found, letter_found, sizeof game.found);
  return game;
}

bool TileAt(int tile, int x, int y) { return letter_sprites[tile].x == x && letter_sprites[tile].y == y; }

// Each letter of the word stands in the field, or in its place in the word row once found.
void CheckWordTiles(const Snapshot& game) {
  const SceneSpec& spec = scene_table[game.state - 1];
  for (int j = 0; j < spec.word_length; ++j) {
    const int tile = spec.word[j];
    const bool visible = letter_sprites[tile].flags & SPRITE_VISIBLE;
    const bool in_field = visible && TileAt(tile, spec.tile_spots[tile].x, spec.tile_spots[tile].y);
    const bool in_row = TileAt(tile, WORD_ROW_X + WORD_ROW_STEP * j, WORD_ROW_Y);
    const bool found = j < spec.word_length - 1 && game.found[j];
    if ((!in_field && !in_row) || in_row != found) Violation("letter " + std::to_string(j) + " out of place");
  }
}

void CheckScene(const Snapshot& game) {
  if (game.robot_x < -SLACK || game.robot_x > 590 + SLACK || game.robot_y < -SLACK || game.robot_y > 390 + SLACK)
    Violation("robot out of bounds");
  CheckWordTiles(game);
}

void CheckSpares(const Snapshot& before, const Snapshot& after) {
  const bool scene_one_set_up = before.state == StateTitle && !before.show_title && after.state == StateScene1;
  bool restored = false, any_left = false;
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    if (i > 0 && after.spares[i - 1] && !after.spares[i]) Violation("spare robots spent out of order");
    restored = restored || (!before.spares[i] && after.spares[i]);
    any_left = any_left || after.spares[i];
  }
  if (restored && !scene_one_set_up) Violation("a spare robot came back in play");
  if (scene_one_set_up && !(after.spares[0] && after.spares[1] && after.spares[2]))
    Violation("scene 1's set-up left a spare robot spent");
  if (after.game_over_shown && any_left) Violation("game over with a spare robot left");
}

void Count(const Snapshot& after) {
  ++watch.totals.passes;
  watch.totals.states_seen |= 1u << after.state;
}

void OnPass() {
  if (watch.hook) watch.hook();
  const Snapshot after = TakeSnapshot();
  if (after.state < StateTitle || after.state > StateCredits) {
    Violation("game_state " + std::to_string(after.state));
  } else if (watch.have_before) {
    if (InScene(after.state)) CheckScene(after);
    CheckSpares(watch.before, after);
    Count(after);
  }
  watch.before = after;
  watch.have_before = true;
}

void OnFrame(const HeadlessFrame&, int) {
  const bool unpaced = game_state == StateInstructions || game_state == StateCredits;
  if (unpaced && HeadlessNow() - watch.last_present < REFRESH_MS)
    HeadlessAdvance(watch.last_present + REFRESH_MS - HeadlessNow());
  watch.last_present = HeadlessNow();
}

}  // namespace

void StartWatch() {
  watch = Watch{};
  watch.last_present = HeadlessNow();
  SetMessagePollObserver(OnPass);
  HeadlessOnFrame(OnFrame);
}

void StopWatch() {
  SetMessagePollObserver(nullptr);
  HeadlessOnFrame(nullptr);
}

const WatchTotals& WatchFigures() { return watch.totals; }
void NoteViolation(const std::string& what) { Violation(what); }
void SetWatchPassHook(void (*hook)()) { watch.hook = hook; }
