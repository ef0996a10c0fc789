// Watches a whole game on the headless host and checks, after every pass of the main loop, what
// must always hold: the state is one of the eight, the robot stays within its bounds, spare
// robots go from the left and come back only with scene 1's set-up, every word tile is in the
// field or in its place in the word row. The unpaced screens are shown as on a 60 Hz display.
// Used by the hardening driver (hardening_run.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the watch saw since StartWatch.
struct WatchTotals {
  long passes = 0;                      // main-loop passes checked
  uint32_t states_seen = 0;             // bit n set: game_state n was seen
  std::vector<std::string> violations;  // what broke, with the virtual time (the first 20)
};

// Starts watching: a pass observer (calling `hook` first, when given) and a frame observer.
void StartWatch(void (*hook)());
// Stops watching and clears the observers.
void StopWatch();
// The figures so far.
const WatchTotals& WatchFigures();
