// A player for the headless host: it reads the game's globals after every presented frame and
// holds arrow keys for whole frames as a child would, walking the robot to the next letter around
// the trees and away from the bulldozer, or losing on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the autopilot is to do in a run.
struct AutopilotPlan {
  // One letter per mishap, in order: 'W' walks to a wrong tile, 'C' stands still until the
  // bulldozer arrives. Once they are spent (or a scene has no wrong tile left) it plays to win.
  std::string mishaps;
  // Games to play: on an end screen (credits or game over) it presses Space while games remain,
  // and Escape after the last.
  int games = 1;
};

// A key the autopilot pressed or released, at a virtual time.
struct AutopilotKeyChange {
  uint32_t time;
  int virtual_key;
  bool down;
};

// Makes the autopilot the headless host's player from the next frame on.
void StartAutopilot(const AutopilotPlan& plan);
// Releases its keys and stops it.
void StopAutopilot();
// Every key change made since StartAutopilot, in order.
const std::vector<AutopilotKeyChange>& AutopilotKeyLog();
// The key changes as a key script for vork-replay ("<ms> down KEY" lines).
std::string AutopilotKeyScript();

// Keys (virtual-key codes) to hold for the next frame to walk from the robot at (x, y) towards
// touching the tile at `target`, keeping off the trees, the `hazard_count` hazard tiles and the
// bulldozer at (dozer_x, dozer_y). Exposed for tests; the mask bits are AUTOPILOT_* below.
int SteerRobot(float x, float y, int target_x, int target_y, const int* hazard_xy, int hazard_count,
               float dozer_x, float dozer_y);
constexpr int AUTOPILOT_RIGHT = 1;
constexpr int AUTOPILOT_LEFT = 2;
constexpr int AUTOPILOT_UP = 4;
constexpr int AUTOPILOT_DOWN = 8;
