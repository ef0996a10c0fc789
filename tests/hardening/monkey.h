// The monkey: a seeded stream of random key presses and releases for one game (every key the
// game reads, and others), Escape held only at the end; and a runner that plays a whole program
// run under the game watch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_watch.h"

// One monkey game.
struct MonkeyGame {
  uint64_t seed;          // the random stream
  uint32_t escape_at_ms;  // random keys until then; then Escape is pressed and held
};

// A key change the monkey schedules.
struct MonkeyKey {
  uint32_t time;
  int virtual_key;  // 0 for a key with a DirectInput code only
  int dik_code;     // used when virtual_key is 0
  bool down;
};

// The monkey's keys for a game, in time order: random keys (arrows most often) held for a tap,
// a while or long, never Escape before escape_at_ms; then Escape down.
std::vector<MonkeyKey> MonkeyKeys(const MonkeyGame& game);

// What one watched program run came to.
struct RunOutcome {
  int exit_code;      // WinMain's result; -1 when the run was stopped
  uint32_t end_ms;    // virtual time at the end
  WatchTotals totals;  // the watch's figures and violations
};

// Runs the game from a fresh headless machine in `assets_dir` with the monkey's keys, watched,
// stopping it at escape_at_ms + HANG_MS at the latest; checks that it quits within HANG_MS of
// Escape and releases every platform object. Comes back to the folder it was called in.
RunOutcome RunMonkeyGame(const MonkeyGame& game, const std::string& assets_dir);
// Checks after WinMain returned: every platform object released, no file left open.
void CheckNothingLeft();
