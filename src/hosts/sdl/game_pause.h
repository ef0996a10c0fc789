// The game's pause on a desktop: while the window is hidden, minimised or without the keyboard,
// the clock the game reads stands still; when the window comes back the game goes on from the
// same moment. Kept free of SDL so that it runs on any time source, a test's included.
#pragma once

#include <cstdint>

// Why the game is paused; any of them set pauses it.
enum PauseReason : unsigned {
  PAUSE_HIDDEN = 1u,      // the window is minimised or hidden
  PAUSE_UNFOCUSED = 2u,   // another window has the keyboard
  PAUSE_GRABBED = 4u,     // another program grabbed the keyboard (a screen locker)
};

// The game's pause and its clock. Zero-initialise it: running, no time lost.
struct GamePause {
  unsigned reasons;        // PauseReason bits now in force
  bool disabled;           // pausing is off for good (the game is closing)
  uint32_t paused_total;   // source milliseconds spent paused so far, wrapping
  uint32_t paused_since;   // source time the current pause began
};

// True while the game's time stands still.
bool GamePaused(const GamePause& pause);
// The game's clock: the source's time `source_now` less every paused span, frozen while paused.
uint32_t GameTime(const GamePause& pause, uint32_t source_now);
// Sets or clears one reason at source time `source_now`; true when the game thereby paused or resumed.
bool SetPauseReason(GamePause& pause, PauseReason reason, bool active, uint32_t source_now);
// Resumes the game and keeps it running whatever happens later; true if it was paused.
bool DisablePause(GamePause& pause, uint32_t source_now);
