#include "hosts/sdl/game_pause.h"

namespace {

// Starts or ends the paused span as the reasons now say.
void ApplyReasons(GamePause& pause, bool was_paused, uint32_t source_now) {
  const bool paused = GamePaused(pause);
  if (paused && !was_paused) pause.paused_since = source_now;
  if (!paused && was_paused) pause.paused_total += source_now - pause.paused_since;
}

}  // namespace

bool GamePaused(const GamePause& pause) { return !pause.disabled && pause.reasons != 0; }

uint32_t GameTime(const GamePause& pause, uint32_t source_now) {
  const uint32_t now = GamePaused(pause) ? pause.paused_since : source_now;
  return now - pause.paused_total;  // unsigned: right across the source's wrap
}

bool SetPauseReason(GamePause& pause, PauseReason reason, bool active, uint32_t source_now) {
  const bool was_paused = GamePaused(pause);
  if (active) {
    pause.reasons |= reason;
  } else {
    pause.reasons &= ~static_cast<unsigned>(reason);
  }
  ApplyReasons(pause, was_paused, source_now);
  return GamePaused(pause) != was_paused;
}

bool DisablePause(GamePause& pause, uint32_t source_now) {
  const bool was_paused = GamePaused(pause);
  pause.disabled = true;
  ApplyReasons(pause, was_paused, source_now);
  return was_paused;
}
