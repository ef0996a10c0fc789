// One whole game on the headless host, from start-up to Escape, judged by the bar every
// hardening run must pass: it ends through the quit message soon after Escape (or at start-up in
// the ways the program means to), it never runs into the time limit, and it leaves no DirectDraw,
// DirectInput, DirectSound, music object or open file behind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A key held down or let go at a virtual time.
struct ScriptedKey {
  uint32_t time;    // virtual milliseconds
  int virtual_key;  // VK_ code, or 0 for a key with a DirectInput code only
  bool down;        // pressed (true) or released
  int dik_code = 0;  // used when virtual_key is 0
};

// How a run is driven.
struct GameScript {
  std::vector<ScriptedKey> keys;     // keys besides Escape
  uint32_t escape_at = 0;            // Escape goes down here and stays down (0: see below)
  std::string escape_after_file;     // or this long after this file is first opened
  uint32_t escape_delay_ms = 1000;   //   (the autopilot stops then)
  int jump_to_scene = 0;             // the first pass sets up this scene instead of the title
  int spare_robots = 3;              // spare robots left after the jump
  bool autopilot = false;            // the autopilot plays, with these mishaps:
  std::string autopilot_mishaps;     //   'W' wrong letter, 'C' caught
  int autopilot_games = 1;           //   games it plays; it presses Escape after the last
  bool watched = false;              // every pass is checked by the game watch,
  void (*pass_hook)() = nullptr;     //   which calls this first (the soak follows its games)
  uint32_t escape_answer_ms = 5000;  // the game must end this soon after Escape goes down
  uint32_t limit_ms = 240000;        // no end by then is a hang
};

// How a run ended.
enum class RunEnd {
  Quit,       // through the quit message after Escape
  AtStartUp,  // no window (returned 0) or no display (returned 1), before drawing a frame
  Failed,     // anything else (see the problem)
};

// What a run showed.
struct RunOutcome {
  RunEnd end;
  std::string problem;  // why it failed the bar; empty when it passed
};

// Runs the game in `folder` on a fresh machine; `before` runs once the machine is fresh, to
// inject faults. Comes back to the folder it was called in.
RunOutcome RunGameInFolder(const std::string& folder, const GameScript& script,
                           const std::function<void()>& before = nullptr);

// Makes `folder` afresh holding a copy of every game data file.
void CopyGameFiles(const std::string& folder);

// Whether every case is asked for (VORK_HARDENING_FULL=1) rather than the default sample.
bool FullHardeningRun();
// `wanted` numbers spread evenly over 1..count, first and last included; all when there are no more.
std::vector<int> EvenSample(int count, int wanted);
