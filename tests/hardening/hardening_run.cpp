#include "hardening_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "autopilot.h"
#include "game_watch.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "soft/direct_input.h"
#include "soft/direct_music.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "soft/files.h"
#include "soft/soft_windows.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// The run in progress, for the observers (plain function pointers among them).
struct RunWatch {
  GameScript script;
  bool jumped = false;
  bool escape_scheduled = false;
  uint32_t escape_time = 0;
};

RunWatch run;

// Before the first pass: sets up the scene the script starts in, the spare robots already
// spent from the left.
void JumpOnFirstPass() {
  if (run.jumped || run.script.jump_to_scene == 0) return;
  run.jumped = true;
  SetUpScene(run.script.jump_to_scene);
  game_state = run.script.jump_to_scene;
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    life_bot_present[i] = i >= SPARE_ROBOTS - run.script.spare_robots;
    SetSpriteAnimation(&life_bot_sprites[i], life_bot_present[i] ? 1 : 0);
    AnimateSprite(&life_bot_sprites[i]);
  }
}

void BeforeWatchedPass() {
  JumpOnFirstPass();
  if (run.script.pass_hook) run.script.pass_hook();
}

void ScheduleEscape(uint32_t time) {
  if (run.escape_scheduled) return;
  run.escape_scheduled = true;
  run.escape_time = time;
  HeadlessScheduleKey(time, VK_ESCAPE, true);
  if (run.script.autopilot) HeadlessScheduleAction(time, [] { StopAutopilot(); });
}

void Arrange(const GameScript& script) {
  run = RunWatch{};
  run.script = script;
  HeadlessKeepFrames(FrameKeeping::None);
  for (const ScriptedKey& key : script.keys) {
    if (key.virtual_key) HeadlessScheduleKey(key.time, key.virtual_key, key.down);
    else HeadlessScheduleInputKey(key.time, key.dik_code, key.down);
  }
  if (script.escape_at) ScheduleEscape(script.escape_at);
  HeadlessOnFileOpen([](const std::string& path, bool) {
    if (path == run.script.escape_after_file) ScheduleEscape(HeadlessNow() + run.script.escape_delay_ms);
  });
  if (script.watched) StartWatch(BeforeWatchedPass);
  else SetMessagePollObserver(JumpOnFirstPass);
  if (script.autopilot) StartAutopilot({script.autopilot_mishaps, script.autopilot_games});
  HeadlessSetDeadline(script.limit_ms);
}

// Runs WinMain; -1 when it ran into the time limit (the game is then shut down here). Standard
// error is left alone so that a sanitizer report reaches the test's output.
int RunWinMain() {
  int exit_code = -1;
  try {
    exit_code = WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
  } catch (const HeadlessDeadline&) {
    GameShutdown();
  }
  StopAutopilot();
  StopWatch();
  HeadlessOnFileOpen(nullptr);
  display = DisplayState{};
  return exit_code;
}

// Everything the program made is gone again.
std::string LeftBehind() {
  const std::pair<const char*, int> counts[] = {
      {"DirectDraw objects", SoftLiveObjectCount()}, {"DirectInput objects", SoftInputObjectCount()},
      {"DirectSound objects", SoftSoundObjectCount()}, {"music objects", SoftMusicObjectCount()},
      {"open files", SoftOpenFileCount()}};
  std::string left;
  for (const auto& [what, count] : counts)
    if (count) left += " " + std::to_string(count) + " " + what;
  return left.empty() ? "" : "left behind:" + left;
}

RunOutcome Judge(int exit_code) {
  const uint32_t now = HeadlessNow();
  if (exit_code < 0) return {RunEnd::Failed, "no end by " + std::to_string(now) + " ms"};
  const std::string left = LeftBehind();
  if (!left.empty()) return {RunEnd::Failed, left};
  if (HeadlessFrameCount() == 0 && (exit_code == 1 || PlatformCallCount(PlatformCall::DirectDrawCreate) == 0))
    return {RunEnd::AtStartUp, ""};
  if (exit_code != 0 || !quit_requested) return {RunEnd::Failed, "exit code " + std::to_string(exit_code)};
  const bool scripted_escape = run.script.autopilot_games == 1;  // else the autopilot presses it
  if (scripted_escape && (!run.escape_scheduled || now < run.escape_time))
    return {RunEnd::Failed, "ended before Escape"};
  if (scripted_escape && now > run.escape_time + run.script.escape_answer_ms)
    return {RunEnd::Failed, "Escape at " + std::to_string(run.escape_time) + " ms answered at " + std::to_string(now)};
  if (run.script.watched && !WatchFigures().violations.empty())
    return {RunEnd::Failed, WatchFigures().violations.front()};
  return {RunEnd::Quit, ""};
}

}  // namespace

RunOutcome RunGameInFolder(const std::string& folder, const GameScript& script, const std::function<void()>& before) {
  const fs::path home = fs::current_path();
  StartFreshMachine();
  if (chdir(folder.c_str()) != 0) return {RunEnd::Failed, "cannot enter " + folder};
  if (before) before();
  Arrange(script);
  RunOutcome outcome = Judge(RunWinMain());
  if (chdir(home.c_str()) != 0) outcome = {RunEnd::Failed, "cannot return to the test folder"};
  return outcome;
}

void CopyGameFiles(const std::string& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const std::string& name : GameDataFiles(VORK_ASSET_DIR))
    fs::copy_file(fs::path(VORK_ASSET_DIR) / name, fs::path(folder) / name);
}

bool FullHardeningRun() {
  const char* full = std::getenv("VORK_HARDENING_FULL");
  return full != nullptr && std::string(full) == "1";
}

std::vector<int> EvenSample(int count, int wanted) {
  std::vector<int> numbers;
  const int taken = std::min(count, std::max(wanted, 2));
  for (int64_t i = 0; i < taken; ++i)
    numbers.push_back(taken < 2 ? 1 : 1 + static_cast<int>(i * (count - 1) / (taken - 1)));
  return numbers;
}
