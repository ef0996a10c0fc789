// Watches a whole game on the headless host and checks, after every pass of the main loop, what
// must always hold: the state is one of the eight, the robot stays within its bounds, spare
// robots go in order and come back only with scene 1's set-up, every word tile is in the field
// or in the word row, paced passes present one frame each at the frame rhythm, and no stretch
// of virtual time goes by without a frame. Used by the monkey test and by the soak.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/game_world.h"
#include "shell/game_shell.h"

// The longest stretch of virtual time a running game may go without presenting a frame.
constexpr uint32_t HANG_MS = 30000;
// Milliseconds from one frame to the next of a paced screen or play frame on the headless clock
// (one millisecond a reading): the frame period, the frame wait's closing reading and the
// reading that starts the next frame.
constexpr uint32_t PACED_FRAME_INTERVAL_MS = FRAME_MS + 2;
// The unpaced screens (instructions, credits) are shown as on a 60 Hz display: a frame waits for
// the next refresh, this long after the one before.
constexpr uint32_t REFRESH_MS = 16;

// What the checks read of the game between two passes.
struct GameSnapshot {
  int32_t game_state;
  uint8_t show_title;
  uint8_t prompt_pending;
  uint8_t intro_pending[SCENE_COUNT];
  uint8_t game_over_shown;
  uint8_t quit_requested;
  uint8_t spares[SPARE_ROBOTS];
  uint8_t letters_found[MAX_WORD - 1];
  float robot_x;
  float robot_y;
  float tile_x[LETTER_TILES];
  float tile_y[LETTER_TILES];
  bool tile_visible[LETTER_TILES];
};

// The game's globals as they are now.
GameSnapshot TakeSnapshot();

// The frames one pass presented.
struct PassFrames {
  int count;              // frames presented during the pass
  uint32_t last_present;  // virtual time of the last of them
};

// Adds to `violations` what the pass from `before` to `after` broke (state, robot, spares,
// tiles); pure, for tests.
void CheckPassState(const GameSnapshot& before, const GameSnapshot& after, std::vector<std::string>* violations);
// True when a pass changed nothing the checks follow: no hand-over, mishap, letter or prompt,
// so it cannot have blocked.
bool PlainPass(const GameSnapshot& before, const GameSnapshot& after);
// True when the pass that starts from `before` is a paced one (title, scene intro, play, game over).
bool PacedPass(const GameSnapshot& before);
// Milliseconds between the frames of two such passes in a row: PACED_FRAME_INTERVAL_MS, and
// one more in the intros of scenes 2 to 4, whose pass polls the call's status once (a reading).
uint32_t PacedFrameInterval(const GameSnapshot& before);

// Figures of everything watched since StartWatch.
struct WatchTotals {
  long passes = 0;                  // main-loop passes checked
  long frames = 0;                  // frames presented
  long rhythm_checks = 0;           // frame intervals of plain paced passes checked
  long spares_spent = 0;            // spare robots spent
  long games_lost = 0;              // game-over screens reached
  long games_won = 0;               // winning sequences reached
  uint32_t longest_frame_gap = 0;   // longest virtual stretch without a frame, ms
  uint32_t states_seen = 0;         // bit n set: game_state n was seen
  std::vector<std::string> violations;  // what broke, with the virtual time (the first 50)
};

// Starts watching the game on the headless host (a pass observer and a frame observer), and
// stops the run with HeadlessDeadline at `end_ms` or when no frame came for HANG_MS.
void StartWatch(uint32_t end_ms);
// Stops watching and clears the observers.
void StopWatch();
// The figures so far.
const WatchTotals& WatchFigures();
// Records a violation found outside the pass checks (a run that did not end, a leak).
void NoteViolation(const std::string& what);
// Called after every checked pass with the game before and after it (null: none); the soak
// uses it to follow the games.
void SetWatchPassHook(void (*hook)(const GameSnapshot& before, const GameSnapshot& after));
// Moves the end of the run (HeadlessDeadline at `end_ms`) while watching.
void SetWatchEnd(uint32_t end_ms);
