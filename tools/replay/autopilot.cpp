// The autopilot: after each presented frame it looks at the game's globals and sets the keys
// for the next frame. Walking is planned on a grid of robot positions 6 pixels apart, by a
// breadth-first search that keeps a margin from the trees, the tiles to avoid and the bulldozer.
#include "autopilot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "gameplay/game_world.h"
#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"

namespace {

// The planning grid: robot positions (column * CELL, row * CELL) within the robot's bounds.
constexpr int CELL = 6;
constexpr int COLUMNS = 590 / CELL;  // x up to 582, below the right bound 590
constexpr int ROWS = 390 / CELL;     // y up to 384, below the bottom bound 390
// Two objects touch when they are less than this far apart on both axes.
constexpr int TOUCH_X = 44;
constexpr int TOUCH_Y = 24;
// Margins kept from trees (more than one step, so the robot never bumps) and hazard tiles.
constexpr int TREE_MARGIN = 2;
constexpr int HAZARD_MARGIN = 4;
// Room from the bulldozer: cells nearer than the berth are entered only on the way out (each
// step farther than the last), never nearer than the least; with no way to the letter the
// robot heads for a cell at least the escape distance away.
constexpr int DOZER_BERTH = 40;
constexpr int DOZER_LEAST = 4;
constexpr int DOZER_ESCAPE = 100;
// A goal cell touches the target with this much to spare on each axis.
constexpr int GOAL_SLACK = 3;
// The path cell the robot heads for: a few cells ahead, so that it walks smoothly.
constexpr int LOOK_AHEAD = 3;
// Closer than this (half a step) on an axis counts as there.
constexpr float CLOSE_ENOUGH = 0.6f;

// An object's position and how much room the robot keeps from it.
struct Box {
  int x;
  int y;
  int margin;
};

bool Near(int x, int y, const Box& box) {
  return std::abs(box.x - x) < TOUCH_X + box.margin && std::abs(box.y - y) < TOUCH_Y + box.margin;
}

// How far a robot position is from being caught by the bulldozer, in pixels (below 0: caught).
int Room(int column, int row, int dozer_x, int dozer_y) {
  return std::max(std::abs(column * CELL - dozer_x) - TOUCH_X, std::abs(row * CELL - dozer_y) - TOUCH_Y);
}

// The bulldozer's position in whole pixels.
struct Dozer {
  int x;
  int y;
};

// The search's working memory, reused every frame.
struct Planner {
  std::array<uint8_t, COLUMNS * ROWS> blocked;
  std::array<int, COLUMNS * ROWS> came_from;
  std::array<int, COLUMNS * ROWS> queue;
};

Planner planner;

int Clamp(int value, int low, int high) { return std::max(low, std::min(high, value)); }

// Blocks every cell from which the robot would come within the box's margin.
void MarkBox(const Box& box) {
  const int reach_x = TOUCH_X + box.margin - 1, reach_y = TOUCH_Y + box.margin - 1;
  const int first_column = Clamp((box.x - reach_x + CELL - 1) / CELL, 0, COLUMNS);
  const int last_column = Clamp((box.x + reach_x) / CELL, -1, COLUMNS - 1);
  const int first_row = Clamp((box.y - reach_y + CELL - 1) / CELL, 0, ROWS);
  const int last_row = Clamp((box.y + reach_y) / CELL, -1, ROWS - 1);
  for (int row = first_row; row <= last_row; ++row)
    for (int column = first_column; column <= last_column; ++column)
      if (Near(column * CELL, row * CELL, box)) planner.blocked[row * COLUMNS + column] = 1;
}

void MarkObstacles(const int* hazard_xy, int hazard_count) {
  planner.blocked.fill(0);
  for (const Sprite& tree : tree_sprites) MarkBox({static_cast<int>(tree.x), static_cast<int>(tree.y), TREE_MARGIN});
  for (int i = 0; i < hazard_count; ++i) MarkBox({hazard_xy[2 * i], hazard_xy[2 * i + 1], HAZARD_MARGIN});
}

int CellOf(float x, float y) {
  return Clamp(static_cast<int>(std::lround(y / CELL)), 0, ROWS - 1) * COLUMNS +
         Clamp(static_cast<int>(std::lround(x / CELL)), 0, COLUMNS - 1);
}

// What a search looks for: a cell touching the target, or (escape) a cell far from the bulldozer.
struct Goal {
  Box target;
  bool escape;
  bool Met(int column, int row, const Dozer& dozer) const {
    return escape ? Room(column, row, dozer.x, dozer.y) >= DOZER_ESCAPE : Near(column * CELL, row * CELL, target);
  }
};

// The cell LOOK_AHEAD steps along the path that ends at `cell`.
int WaypointOnPathTo(int cell) {
  int length = 0;
  for (int at = cell; at != -1; at = planner.came_from[at]) ++length;
  int waypoint = cell;
  for (int back = std::max(0, length - 1 - LOOK_AHEAD); back > 0; --back) waypoint = planner.came_from[waypoint];
  return waypoint;
}

bool Open(int column, int row, int from_room, const Dozer& dozer) {
  if (column < 0 || row < 0 || column >= COLUMNS || row >= ROWS) return false;
  const int cell = row * COLUMNS + column;
  if (planner.blocked[cell] || planner.came_from[cell] != -2) return false;
  const int room = Room(column, row, dozer.x, dozer.y);
  return room >= DOZER_BERTH || (room > from_room && room >= DOZER_LEAST);
}

// Breadth-first search from `start` over cells clear of obstacles, keeping room from the
// bulldozer, eight ways (a diagonal step only where both straight neighbours are clear, so no
// corner is cut); returns the cell to head for, or -1 when no cell meets the goal.
int Search(int start, const Goal& goal, const Dozer& dozer) {
  planner.came_from.fill(-2);
  int head = 0, tail = 0;
  planner.queue[tail++] = start;
  planner.came_from[start] = -1;
  while (head < tail) {
    const int cell = planner.queue[head++];
    const int column = cell % COLUMNS, row = cell / COLUMNS;
    if (goal.Met(column, row, dozer)) return WaypointOnPathTo(cell);
    const int room = Room(column, row, dozer.x, dozer.y);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx == 0 && dy == 0) || !Open(column + dx, row + dy, room, dozer)) continue;
        if (dx != 0 && dy != 0 &&
            (planner.blocked[row * COLUMNS + column + dx] || planner.blocked[(row + dy) * COLUMNS + column]))
          continue;
        const int next = (row + dy) * COLUMNS + column + dx;
        planner.came_from[next] = cell;
        planner.queue[tail++] = next;
      }
  }
  return -1;
}

int KeysTowards(float x, float y, int cell) {
  const float to_x = static_cast<float>(cell % COLUMNS * CELL), to_y = static_cast<float>(cell / COLUMNS * CELL);
  int keys = 0;
  if (to_x > x + CLOSE_ENOUGH) keys |= AUTOPILOT_RIGHT;
  if (to_x < x - CLOSE_ENOUGH) keys |= AUTOPILOT_LEFT;
  if (to_y > y + CLOSE_ENOUGH) keys |= AUTOPILOT_DOWN;
  if (to_y < y - CLOSE_ENOUGH) keys |= AUTOPILOT_UP;
  return keys;
}

// With no way anywhere, step straight away from the bulldozer.
int KeysAway(float x, float y, float dozer_x, float dozer_y) {
  int keys = dozer_x > x ? AUTOPILOT_LEFT : AUTOPILOT_RIGHT;
  keys |= dozer_y > y ? AUTOPILOT_UP : AUTOPILOT_DOWN;
  return keys;
}

}  // namespace

int SteerRobot(float x, float y, int target_x, int target_y, const int* hazard_xy, int hazard_count,
               float dozer_x, float dozer_y) {
  MarkObstacles(hazard_xy, hazard_count);
  const int start = CellOf(x, y);
  const Dozer dozer{static_cast<int>(dozer_x), static_cast<int>(dozer_y)};
  int waypoint = Search(start, Goal{{target_x, target_y, -GOAL_SLACK}, false}, dozer);
  if (waypoint < 0) waypoint = Search(start, Goal{{0, 0, 0}, true}, dozer);
  return waypoint < 0 ? KeysAway(x, y, dozer_x, dozer_y) : KeysTowards(x, y, waypoint);
}

namespace {

// The keys the autopilot uses, with their steering bits (0 for the end-screen keys).
struct PilotKey {
  int virtual_key;
  int steer_bit;
  const char* name;
};

constexpr PilotKey PILOT_KEYS[] = {{VK_RIGHT, AUTOPILOT_RIGHT, "RIGHT"}, {VK_LEFT, AUTOPILOT_LEFT, "LEFT"},
                                   {VK_UP, AUTOPILOT_UP, "UP"},          {VK_DOWN, AUTOPILOT_DOWN, "DOWN"},
                                   {VK_SPACE, 0, "SPACE"},               {VK_ESCAPE, 0, "ESCAPE"}};
constexpr int SPACE_BIT = 16;
constexpr int ESCAPE_BIT = 32;

int KeyBit(const PilotKey& key) {
  if (key.virtual_key == VK_SPACE) return SPACE_BIT;
  if (key.virtual_key == VK_ESCAPE) return ESCAPE_BIT;
  return key.steer_bit;
}

// What the autopilot remembers between frames.
struct Pilot {
  bool running = false;
  AutopilotPlan plan;
  int frames_seen = 0;
  int held = 0;             // key bits held now
  int mishaps = 0;          // mishaps counted so far, over all games
  int spent_before = 0;     // spare robots spent (plus a lost game) at the last frame
  int games_ended = 0;      // end screens reached
  bool on_end_screen = false;
  int end_screen_frames = 0;  // frames seen on the current end screen
  int progress = -1;          // the state, tries spent and letters placed at the last frame
  int frames_stuck = 0;       // frames since any of them changed
  bool waiting_to_be_caught = false;  // stuck: standing still until the bulldozer comes
  int forced_mishaps = 0;     // catches it waited for because it was stuck (not in the plan)
  std::vector<AutopilotKeyChange> log;
};

Pilot pilot;

int SpentTries() {
  int spent = game_over_shown ? 1 : 0;
  for (uint8_t present : life_bot_present) spent += present ? 0 : 1;
  return spent;
}

void CountMishaps() {
  const int spent = SpentTries();
  if (spent > pilot.spent_before) {
    pilot.mishaps += spent - pilot.spent_before;
    if (pilot.waiting_to_be_caught) ++pilot.forced_mishaps;
    pilot.waiting_to_be_caught = false;
  }
  pilot.spent_before = spent;
}

// Play frames without a letter placed, a try spent or a hand-over: the bulldozer keeps
// standing between the robot and its letter while the robot keeps its berth, and the chase
// goes round for ever. The robot then stands still: caught, both start again from their own
// places, and the game goes on (or ends, when no try was left).
constexpr int STUCK_FRAMES = 2000;

void FollowProgress() {
  int progress = game_state * 100 + SpentTries() * 10;
  for (uint8_t found : letter_found) progress += found;
  if (progress != pilot.progress) pilot.frames_stuck = 0;
  pilot.progress = progress;
  if (++pilot.frames_stuck > STUCK_FRAMES) pilot.waiting_to_be_caught = true;
}

bool TileInField(int tile) { return (letter_sprites[tile].flags & SPRITE_VISIBLE) && letter_sprites[tile].y < WORD_ROW_Y; }

// The next tile of the word: the first letter not yet placed, or the last.
int NextWordTile(const SceneSpec& spec) {
  for (int j = 0; j < spec.word_length - 1; ++j)
    if (!letter_found[j]) return spec.word[j];
  return spec.word[spec.word_length - 1];
}

int FirstWrongTileInField(const SceneSpec& spec) {
  for (int i = 0; i < spec.wrong_count; ++i)
    if (TileInField(spec.wrong[i])) return spec.wrong[i];
  return -1;
}

int PlayKeys(int scene) {
  const SceneSpec& spec = scene_table[scene - 1];
  const int planned = pilot.mishaps - pilot.forced_mishaps;
  const char mode = planned < static_cast<int>(pilot.plan.mishaps.size()) ? pilot.plan.mishaps[planned] : 'P';
  if (mode == 'C' || pilot.waiting_to_be_caught) return 0;
  int target = mode == 'W' ? FirstWrongTileInField(spec) : -1;
  int hazards[2 * MAX_WRONG];
  int hazard_count = 0;
  if (target < 0) {
    target = NextWordTile(spec);
    for (int i = 0; i < spec.wrong_count; ++i) {
      const Sprite& tile = letter_sprites[spec.wrong[i]];
      if (!TileInField(spec.wrong[i])) continue;
      hazards[2 * hazard_count] = static_cast<int>(tile.x);
      hazards[2 * hazard_count + 1] = static_cast<int>(tile.y);
      ++hazard_count;
    }
  }
  const Sprite& tile = letter_sprites[target];
  return SteerRobot(robot_sprite.x, robot_sprite.y, static_cast<int>(tile.x), static_cast<int>(tile.y), hazards,
                    hazard_count, dozer_sprite.x, dozer_sprite.y);
}

// On an end screen: Space for another game while games remain, Escape after the last. Pressed
// for one frame, released the next, from the screen's own first frame on (the first frame seen
// can be the end picture's palette, still inside the play frame that lost the game).
int EndScreenKeys() {
  if (!pilot.on_end_screen) {
    pilot.on_end_screen = true;
    pilot.end_screen_frames = 0;
    ++pilot.games_ended;
  }
  if (++pilot.end_screen_frames < 2 || (pilot.held & (SPACE_BIT | ESCAPE_BIT))) return 0;
  return pilot.games_ended < pilot.plan.games ? SPACE_BIT : ESCAPE_BIT;
}

int WantedKeys() {
  const bool end_screen = game_state == StateCredits || (game_state == StateGameEnd && game_over_shown);
  if (!end_screen) pilot.on_end_screen = false;
  if (end_screen) return EndScreenKeys();
  if (game_state == StateTitle && show_title) return (pilot.held & SPACE_BIT) ? 0 : SPACE_BIT;
  if (game_state >= StateScene1 && game_state <= StateScene4 && !scene_intro_pending[game_state - 1])
    return PlayKeys(game_state);
  return 0;
}

void SetKeys(int wanted) {
  for (const PilotKey& key : PILOT_KEYS) {
    const int bit = KeyBit(key);
    const bool down = (wanted & bit) != 0;
    if (down == ((pilot.held & bit) != 0)) continue;
    // Scheduled a millisecond on, as a key script would be, so that a replay of the logged keys
    // meets the same keyboard reads.
    const uint32_t time = HeadlessNow() + 1;
    HeadlessScheduleKey(time, key.virtual_key, down);
    pilot.log.push_back({time, key.virtual_key, down});
  }
  pilot.held = wanted;
}

void OnPump(uint32_t) {
  if (!pilot.running || HeadlessFrameCount() == pilot.frames_seen) return;
  pilot.frames_seen = HeadlessFrameCount();
  CountMishaps();
  FollowProgress();
  SetKeys(WantedKeys());
}

}  // namespace

void StartAutopilot(const AutopilotPlan& plan) {
  pilot = Pilot{};
  pilot.running = true;
  pilot.plan = plan;
  pilot.frames_seen = HeadlessFrameCount();
  HeadlessSetAutopilot(OnPump);
}

void StopAutopilot() {
  if (pilot.running) SetKeys(0);
  pilot.running = false;
  HeadlessSetAutopilot(nullptr);
}

const std::vector<AutopilotKeyChange>& AutopilotKeyLog() { return pilot.log; }

std::string AutopilotKeyScript() {
  std::string script = "# keys pressed by the autopilot\n";
  for (const AutopilotKeyChange& change : pilot.log)
    for (const PilotKey& key : PILOT_KEYS)
      if (key.virtual_key == change.virtual_key)
        script += std::to_string(change.time) + (change.down ? " down " : " up ") + key.name + "\n";
  return script;
}
