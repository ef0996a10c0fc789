#include "monkey.h"

#include <unistd.h>

#include <algorithm>
#include <random>

#include "dinput.h"
#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "soft/direct_input.h"
#include "soft/direct_sound.h"
#include "soft/files.h"
#include "test_support.h"

namespace {

// A key the monkey may press, and how often it picks it against the others.
struct MonkeyKeyChoice {
  int virtual_key;
  int dik_code;
  int weight;
};

// Every key the game reads (the arrows most, as a child would), and others it does not read,
// two of them with a DirectInput code only.
constexpr MonkeyKeyChoice KEY_CHOICES[] = {
    {VK_UP, 0, 10},     {VK_DOWN, 0, 10},    {VK_LEFT, 0, 10},   {VK_RIGHT, 0, 10},  {VK_SPACE, 0, 3},
    {VK_RETURN, 0, 2},  {'C', 0, 2},         {'A', 0, 1},        {'Z', 0, 1},        {'7', 0, 1},
    {VK_TAB, 0, 1},     {VK_SHIFT, 0, 1},    {VK_CONTROL, 0, 1}, {VK_BACK, 0, 1},    {0, DIK_F1, 1},
    {0, DIK_NUMPAD5, 1}};

const MonkeyKeyChoice& PickKey(std::mt19937_64& random) {
  int total = 0;
  for (const MonkeyKeyChoice& key : KEY_CHOICES) total += key.weight;
  int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
  for (const MonkeyKeyChoice& key : KEY_CHOICES) {
    if (pick < key.weight) return key;
    pick -= key.weight;
  }
  return KEY_CHOICES[0];
}

// A tap shorter than a frame, an ordinary press, or a long hold.
uint32_t HoldMs(std::mt19937_64& random) {
  const int kind = std::uniform_int_distribution<int>(0, 99)(random);
  if (kind < 40) return std::uniform_int_distribution<uint32_t>(1, 29)(random);
  if (kind < 85) return std::uniform_int_distribution<uint32_t>(30, 800)(random);
  return std::uniform_int_distribution<uint32_t>(800, 4000)(random);
}

void Schedule(const MonkeyKey& key) {
  if (key.virtual_key != 0)
    HeadlessScheduleKey(key.time, key.virtual_key, key.down);
  else
    HeadlessScheduleInputKey(key.time, key.dik_code, key.down);
}

std::string CurrentFolder() {
  char here[4096];
  return getcwd(here, sizeof here) ? std::string(here) : std::string(".");
}

}  // namespace

std::vector<MonkeyKey> MonkeyKeys(const MonkeyGame& game) {
  std::mt19937_64 random(game.seed);
  std::vector<MonkeyKey> keys;
  for (uint32_t time = std::uniform_int_distribution<uint32_t>(1, 400)(random); time < game.escape_at_ms;
       time += std::uniform_int_distribution<uint32_t>(5, 400)(random)) {
    const MonkeyKeyChoice& key = PickKey(random);
    keys.push_back({time, key.virtual_key, key.dik_code, true});
    keys.push_back({std::min(time + HoldMs(random), game.escape_at_ms - 1), key.virtual_key, key.dik_code, false});
  }
  keys.push_back({game.escape_at_ms, VK_ESCAPE, 0, true});
  std::stable_sort(keys.begin(), keys.end(), [](const MonkeyKey& a, const MonkeyKey& b) { return a.time < b.time; });
  return keys;
}

void CheckNothingLeft() {
  if (SoftLiveObjectCount() != 0) NoteViolation(std::to_string(SoftLiveObjectCount()) + " DirectDraw objects left");
  if (SoftSoundObjectCount() != 0) NoteViolation(std::to_string(SoftSoundObjectCount()) + " DirectSound objects left");
  if (SoftInputObjectCount() != 0) NoteViolation(std::to_string(SoftInputObjectCount()) + " DirectInput objects left");
  if (SoftOpenFileCount() != 0) NoteViolation(std::to_string(SoftOpenFileCount()) + " files left open");
}

RunOutcome RunMonkeyGame(const MonkeyGame& game, const std::string& assets_dir) {
  const std::string home = CurrentFolder();
  StartFreshMachine();
  const std::string test_dir = CurrentFolder();
  RunOutcome outcome{-1, 0, {}};
  if (chdir(assets_dir.c_str()) != 0) {
    outcome.totals.violations.push_back("cannot enter " + assets_dir);
    return outcome;
  }
  HeadlessKeepFrames(FrameKeeping::None);
  for (const MonkeyKey& key : MonkeyKeys(game)) Schedule(key);
  StartWatch(game.escape_at_ms + HANG_MS);
  try {
    outcome.exit_code = WinMain(reinterpret_cast<HINSTANCE>(&outcome), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    StopWatch();
    if (HeadlessNow() > game.escape_at_ms + HANG_MS) NoteViolation("quit later than " + std::to_string(HANG_MS) + " ms after Escape");
  } catch (const HeadlessDeadline& stop) {
    StopWatch();
    NoteViolation(stop.time >= game.escape_at_ms + HANG_MS ? "still running " + std::to_string(HANG_MS) + " ms after Escape"
                                                           : "no frame for " + std::to_string(HANG_MS) + " ms: a hang");
    GameShutdown();
  }
  CheckNothingLeft();
  outcome.end_ms = HeadlessNow();
  outcome.totals = WatchFigures();
  if (chdir(test_dir.c_str()) != 0 && chdir(home.c_str()) != 0) outcome.totals.violations.push_back("cannot come back");
  return outcome;
}
