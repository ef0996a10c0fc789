#include "game_watch.h"

#include <algorithm>
#include <cstring>

#include "hosts/headless/headless_host.h"
#include "soft/soft_windows.h"

namespace {

// The robot's bounds: a step is taken only from inside x + 50 < 640, x > 0, y > 0, y + 250 < 640,
// so a step may end at most one step beyond them (the small slack is the float rounding).
constexpr float ROBOT_LEFT = static_cast<float>(-PLAY_STEP) - 0.001f;
constexpr float ROBOT_RIGHT = 590 + static_cast<float>(PLAY_STEP) + 0.001f;
constexpr float ROBOT_TOP = ROBOT_LEFT;
constexpr float ROBOT_BOTTOM = 390 + static_cast<float>(PLAY_STEP) + 0.001f;
// Violations kept; later ones are only counted.
constexpr size_t VIOLATIONS_KEPT = 50;

void Report(std::vector<std::string>* violations, const std::string& what) {
  violations->push_back(what);
}

bool InScene(int32_t state) { return state >= StateScene1 && state <= StateScene4; }

bool At(const GameSnapshot& game, int tile, int x, int y) {
  return game.tile_x[tile] == static_cast<float>(x) && game.tile_y[tile] == static_cast<float>(y);
}

void CheckRobot(const GameSnapshot& game, std::vector<std::string>* violations) {
  if (!InScene(game.game_state)) return;
  if (game.robot_x < ROBOT_LEFT || game.robot_x > ROBOT_RIGHT || game.robot_y < ROBOT_TOP ||
      game.robot_y > ROBOT_BOTTOM)
    Report(violations, "robot out of bounds at (" + std::to_string(game.robot_x) + ", " +
                           std::to_string(game.robot_y) + ")");
}

bool SceneOneSetUp(const GameSnapshot& before, const GameSnapshot& after) {
  return before.game_state == StateTitle && !before.show_title && after.game_state == StateScene1;
}

void CheckSpares(const GameSnapshot& before, const GameSnapshot& after, std::vector<std::string>* violations) {
  for (int i = 1; i < SPARE_ROBOTS; ++i)
    if (after.spares[i - 1] && !after.spares[i])
      Report(violations, "spare robot " + std::to_string(i) + " spent before spare robot " + std::to_string(i - 1));
  bool restored = false, all_present = true;
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    restored = restored || (!before.spares[i] && after.spares[i]);
    all_present = all_present && after.spares[i];
  }
  if (restored && !SceneOneSetUp(before, after)) Report(violations, "spare robots restored outside scene 1's set-up");
  if (SceneOneSetUp(before, after) && !all_present) Report(violations, "scene 1's set-up left a spare robot spent");
  if (after.game_over_shown && (after.spares[0] || after.spares[1] || after.spares[2]))
    Report(violations, "game over with a spare robot left");
}

void CheckWordTiles(const GameSnapshot& game, std::vector<std::string>* violations) {
  if (!InScene(game.game_state)) return;
  const SceneSpec& spec = scene_table[game.game_state - 1];
  const int last = spec.word_length - 1;
  for (int j = 0; j <= last; ++j) {
    const int tile = spec.word[j];
    const bool in_field = game.tile_visible[tile] && At(game, tile, spec.tile_spots[tile].x, spec.tile_spots[tile].y);
    const bool in_row = At(game, tile, WORD_ROW_X + WORD_ROW_STEP * j, WORD_ROW_Y);
    const std::string name = "scene " + std::to_string(game.game_state) + " letter " + std::to_string(j);
    if (!in_field && !in_row)
      Report(violations, name + " neither in the field nor in the word row (" + std::to_string(game.tile_x[tile]) +
                             ", " + std::to_string(game.tile_y[tile]) + ")");
    const bool found = j < last && game.letters_found[j];
    if (in_row != found) Report(violations, name + (in_row ? " in the word row but not found" : " found but not in the word row"));
  }
  for (int i = 0; i < spec.wrong_count; ++i) {
    const int tile = spec.wrong[i];
    const bool in_field = game.tile_visible[tile] && At(game, tile, spec.tile_spots[tile].x, spec.tile_spots[tile].y);
    const bool parked = !game.tile_visible[tile] && At(game, tile, WRONG_TILE_PARKING.x, WRONG_TILE_PARKING.y);
    if (!in_field && !parked)
      Report(violations, "scene " + std::to_string(game.game_state) + " wrong tile " + std::to_string(tile) +
                             " neither in the field nor hidden in its parking place");
  }
}

}  // namespace

GameSnapshot TakeSnapshot() {
  GameSnapshot game{};
  game.game_state = game_state;
  game.show_title = show_title;
  game.prompt_pending = prompt_pending;
  std::memcpy(game.intro_pending, scene_intro_pending, sizeof game.intro_pending);
  game.game_over_shown = game_over_shown;
  game.quit_requested = quit_requested;
  std::memcpy(game.spares, life_bot_present, sizeof game.spares);
  std::memcpy(game.letters_found, letter_found, sizeof game.letters_found);
  game.robot_x = robot_sprite.x;
  game.robot_y = robot_sprite.y;
  for (int tile = 0; tile < LETTER_TILES; ++tile) {
    game.tile_x[tile] = letter_sprites[tile].x;
    game.tile_y[tile] = letter_sprites[tile].y;
    game.tile_visible[tile] = (letter_sprites[tile].flags & SPRITE_VISIBLE) != 0;
  }
  return game;
}

void CheckPassState(const GameSnapshot& before, const GameSnapshot& after, std::vector<std::string>* violations) {
  if (after.game_state < StateTitle || after.game_state > StateCredits) {
    Report(violations, "game_state " + std::to_string(after.game_state) + " outside 0..7");
    return;
  }
  CheckRobot(after, violations);
  CheckSpares(before, after, violations);
  CheckWordTiles(after, violations);
}

bool PlainPass(const GameSnapshot& before, const GameSnapshot& after) {
  return before.game_state == after.game_state && before.show_title == after.show_title &&
         before.prompt_pending == after.prompt_pending &&
         std::memcmp(before.intro_pending, after.intro_pending, sizeof before.intro_pending) == 0 &&
         before.game_over_shown == after.game_over_shown && before.quit_requested == after.quit_requested &&
         std::memcmp(before.spares, after.spares, sizeof before.spares) == 0 &&
         std::memcmp(before.letters_found, after.letters_found, sizeof before.letters_found) == 0;
}

uint32_t PacedFrameInterval(const GameSnapshot& before) {
  const bool later_intro = before.game_state > StateScene1 && before.game_state <= StateScene4 &&
                           before.intro_pending[before.game_state - 1];
  return PACED_FRAME_INTERVAL_MS + (later_intro ? 1 : 0);
}

bool PacedPass(const GameSnapshot& before) {
  switch (before.game_state) {
    case StateTitle: return before.show_title != 0;
    case StateScene1:
    case StateScene2:
    case StateScene3:
    case StateScene4: return true;
    case StateGameEnd: return before.game_over_shown != 0;
    default: return false;
  }
}

namespace {

// What the watch remembers between passes and frames.
struct Watch {
  bool running = false;
  uint32_t end_ms = 0;
  GameSnapshot before{};
  bool have_before = false;
  PassFrames pass{};
  uint32_t last_present = 0;
  bool previous_plain_paced = false;
  uint32_t previous_present = 0;
  void (*hook)(const GameSnapshot&, const GameSnapshot&) = nullptr;
  WatchTotals totals;
};

Watch watch;

void Violation(const std::string& what) {
  if (watch.totals.violations.size() < VIOLATIONS_KEPT)
    watch.totals.violations.push_back(std::to_string(HeadlessNow()) + " ms: " + what);
}

void ArmDeadline() { HeadlessSetDeadline(std::min(watch.end_ms, watch.last_present + HANG_MS + 1)); }

void CheckFrames(const GameSnapshot& before, const GameSnapshot& after) {
  const bool plain = PlainPass(before, after) && !before.quit_requested;
  if (plain && watch.pass.count != 1)
    Violation("a pass without hand-over in state " + std::to_string(before.game_state) + " presented " +
              std::to_string(watch.pass.count) + " frames");
  const bool plain_paced = plain && PacedPass(before) && watch.pass.count == 1;
  if (plain_paced && watch.previous_plain_paced) {
    ++watch.totals.rhythm_checks;
    const uint32_t interval = watch.pass.last_present - watch.previous_present;
    if (interval != PacedFrameInterval(before))
      Violation("paced frames " + std::to_string(interval) + " ms apart in state " + std::to_string(before.game_state) +
                (InScene(before.game_state) && before.intro_pending[before.game_state - 1] ? " (intro)" : ""));
  }
  watch.previous_plain_paced = plain_paced;
  watch.previous_present = watch.pass.last_present;
}

void CountEvents(const GameSnapshot& before, const GameSnapshot& after) {
  for (int i = 0; i < SPARE_ROBOTS; ++i) watch.totals.spares_spent += before.spares[i] && !after.spares[i];
  if (!before.game_over_shown && after.game_over_shown) ++watch.totals.games_lost;
  if (before.game_state == StateGameEnd && !before.game_over_shown && after.game_state == StateCredits)
    ++watch.totals.games_won;
  if (after.game_state >= 0 && after.game_state < 32) watch.totals.states_seen |= 1u << after.game_state;
}

void OnPass() {
  if (!watch.running) return;
  const GameSnapshot after = TakeSnapshot();
  if (watch.have_before) {
    ++watch.totals.passes;
    std::vector<std::string> found;
    CheckPassState(watch.before, after, &found);
    for (const std::string& what : found) Violation(what);
    CheckFrames(watch.before, after);
    CountEvents(watch.before, after);
    if (watch.hook) watch.hook(watch.before, after);
  }
  watch.before = after;
  watch.have_before = true;
  watch.pass = PassFrames{0, 0};
}

void OnFrame(const HeadlessFrame&, int) {
  if (!watch.running) return;
  uint32_t now = HeadlessNow();
  const bool unpaced = game_state == StateInstructions || game_state == StateCredits;
  if (unpaced && now - watch.last_present < REFRESH_MS) {
    HeadlessAdvance(watch.last_present + REFRESH_MS - now);
    now = HeadlessNow();
  }
  const uint32_t gap = now - watch.last_present;
  watch.totals.longest_frame_gap = std::max(watch.totals.longest_frame_gap, gap);
  if (gap > HANG_MS) Violation("no frame for " + std::to_string(gap) + " ms");
  watch.last_present = now;
  ++watch.totals.frames;
  ++watch.pass.count;
  watch.pass.last_present = now;
  ArmDeadline();
}

}  // namespace

void StartWatch(uint32_t end_ms) {
  watch = Watch{};
  watch.running = true;
  watch.end_ms = end_ms;
  watch.last_present = HeadlessNow();
  SetMessagePollObserver(OnPass);
  HeadlessOnFrame(OnFrame);
  ArmDeadline();
}

void StopWatch() {
  watch.running = false;
  SetMessagePollObserver(nullptr);
  HeadlessOnFrame(nullptr);
}

const WatchTotals& WatchFigures() { return watch.totals; }
void NoteViolation(const std::string& what) { Violation(what); }
void SetWatchPassHook(void (*hook)(const GameSnapshot&, const GameSnapshot&)) { watch.hook = hook; }

void SetWatchEnd(uint32_t end_ms) {
  watch.end_ms = end_ms;
  ArmDeadline();
}
