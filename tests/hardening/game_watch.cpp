#include "game_watch.h"

#include "gameplay/game_world.h"
#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"
#include "soft/soft_windows.h"

namespace {

// The unpaced screens (instructions, credits) are shown as on a 60 Hz display.
constexpr uint32_t REFRESH_MS = 16;
constexpr size_t VIOLATIONS_KEPT = 20;

struct Watch {
  int32_t state_before = -1;  // the state after the pass before (-1: no pass yet)
  uint8_t title_before = 0;   // and show_title then
  uint32_t last_present = 0;
  void (*hook)() = nullptr;
  WatchTotals totals;
};

Watch watch;

void Violation(const std::string& what) {
  if (watch.totals.violations.size() < VIOLATIONS_KEPT)
    watch.totals.violations.push_back(std::to_string(HeadlessNow()) + " ms: " + what);
}

// Scene 1 set up from the title begins a new game: every spare robot is back.
void CheckNewGame() {
  const bool new_game = watch.state_before == StateTitle && !watch.title_before && game_state == StateScene1;
  if (new_game && !(life_bot_present[0] && life_bot_present[1] && life_bot_present[2]))
    Violation("scene 1's set-up left a spare robot spent");
}

void OnPass() {
  if (watch.hook) watch.hook();
  if (game_state < StateTitle || game_state > StateCredits) {
    Violation("game_state " + std::to_string(game_state));
  } else if (watch.state_before >= 0) {
    CheckNewGame();
    ++watch.totals.passes;
    watch.totals.states_seen |= 1u << game_state;
  }
  watch.state_before = game_state;
  watch.title_before = show_title;
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
