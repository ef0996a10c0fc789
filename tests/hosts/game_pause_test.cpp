#include "hosts/sdl/game_pause.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// One step of a desktop's life: at source time `at`, a reason for the pause comes or goes (or,
// with no reason, the game closes), then the game's clock is read.
struct Step {
  uint32_t at;
  unsigned reason;  // a PauseReason, or 0 for the close
  bool active;
  bool expect_change;  // the game paused or resumed at this step
  uint32_t expect_game_time;
};

TEST(GamePauseTest, GameTimeStandsStillWhilePausedAndGoesOnFromThere) {
  const std::pair<const char*, std::vector<Step>> cases[] = {
      // Minimised in play for ten seconds: the game goes on from the moment it was minimised.
      {"minimised ten seconds",
       {{1000, PAUSE_HIDDEN, true, true, 1000}, {11000, PAUSE_HIDDEN, false, true, 1000},
        {11500, PAUSE_HIDDEN, true, true, 1500}, {12500, PAUSE_HIDDEN, false, true, 1500}}},
      // Hidden, then the keyboard lost too; shown again while still without the keyboard: the
      // game stands until both are back, and a reason set twice changes nothing.
      {"overlapping reasons",
       {{100, PAUSE_HIDDEN, true, true, 100}, {200, PAUSE_UNFOCUSED, true, false, 100},
        {250, PAUSE_UNFOCUSED, true, false, 100}, {300, PAUSE_HIDDEN, false, false, 100},
        {400, PAUSE_UNFOCUSED, false, true, 100}, {500, PAUSE_UNFOCUSED, false, false, 200}}},
      // The source's millisecond count wraps at 2^32 during a pause and during play.
      {"across the wrap",
       {{0xFFFFFF00u, PAUSE_UNFOCUSED, true, true, 0xFFFFFF00u}, {0x100, PAUSE_UNFOCUSED, false, true, 0xFFFFFF00u},
        {0x300, PAUSE_HIDDEN, true, true, 0x100}}},
      // Closed while minimised: the game runs on to its end, whatever the window does next.
      {"close ends the pause for good",
       {{1000, PAUSE_HIDDEN, true, true, 1000}, {3000, 0, true, true, 1000},
        {3500, PAUSE_UNFOCUSED, true, false, 1500}, {4000, PAUSE_HIDDEN, false, false, 2000}}},
  };
  for (const auto& [name, steps] : cases) {
    GamePause pause{};
    for (const Step& step : steps) {
      SCOPED_TRACE(testing::Message() << name << " at " << step.at);
      const PauseReason reason = static_cast<PauseReason>(step.reason);
      const bool changed = step.reason == 0 ? DisablePause(pause, step.at)
                                            : SetPauseReason(pause, reason, step.active, step.at);
      EXPECT_EQ(changed, step.expect_change);
      EXPECT_EQ(GameTime(pause, step.at), step.expect_game_time);
      // Read later, before the next step: the same frozen time, or the time running on.
      EXPECT_EQ(GameTime(pause, step.at + 7), step.expect_game_time + (GamePaused(pause) ? 0 : 7));
    }
  }
}

}  // namespace
