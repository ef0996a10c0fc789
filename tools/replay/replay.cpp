// The replay: WinMain on the headless host, observed through the host's hooks.
#include "replay.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "autopilot.h"

#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"
#include "soft/direct_sound.h"
#include "soft/soft_windows.h"
#include "sound/sound_table.h"

namespace {

struct KeyName {
  const char* name;
  int virtual_key;
};

constexpr KeyName KEY_NAMES[] = {{"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE}, {"RETURN", VK_RETURN},
                                 {"C", 'C'},            {"UP", VK_UP},       {"DOWN", VK_DOWN},
                                 {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT}};

int VirtualKeyNamed(const std::string& name) {
  for (const KeyName& key : KEY_NAMES)
    if (name == key.name) return key.virtual_key;
  return -1;
}

bool ParseTime(const std::string& word, uint32_t* time) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos || word.size() > 9) return false;
  *time = static_cast<uint32_t>(std::stoul(word));
  return true;
}

// The run's log file and what it has seen so far.
struct ReplayLog {
  FILE* file = nullptr;
  int32_t last_state = StateTitle;
};

ReplayLog replay_log;

void LogLine(const char* format, const std::string& text) {
  std::fprintf(replay_log.file, "%u %s%s\n", HeadlessNow(), format, text.c_str());
}

void NoteStateAfterPass() {
  if (game_state == replay_log.last_state) return;
  replay_log.last_state = game_state;
  LogLine("state ", std::to_string(game_state));
}

std::string FramePath(const std::string& out_dir, int number) {
  return out_dir + "/frame-" + std::to_string(number) + ".png";
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char here[4096];
  if (getcwd(here, sizeof here) == nullptr) return path;
  return std::string(here) + "/" + path;
}

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::stringstream buffer;
  buffer << file.rdbuf();
  *text = buffer.str();
  return true;
}

const char* USAGE =
    "usage: vork-replay --assets DIR --out DIR [--keys FILE] [--max-ms N] [--png all|last|none] [--wav FILE]\n"
    "                   [--autopilot win|wrong-letters|caught]";

void LogSoundEvent(IDirectSoundBuffer* buffer, SoundEvent event) {
  LogLine("", SoundEventText(buffer, static_cast<int>(event)));
}

void PutLe(std::string* bytes, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The autopilot's plans by name: mishaps it seeks, one letter each, before it plays to win.
bool AutopilotPlanNamed(const std::string& name, AutopilotPlan* plan) {
  if (name == "win") *plan = {"", 1};
  else if (name == "wrong-letters") *plan = {"WWWW", 1};
  else if (name == "caught") *plan = {"CCCC", 1};
  else return false;
  return true;
}

}  // namespace

bool ParseKeyScript(const std::string& text, std::vector<KeyEvent>* events, std::string* error) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::istringstream words(line);
    std::string time_word, action, key, extra;
    words >> time_word >> action >> key >> extra;
    if (time_word.empty() || time_word[0] == '#') continue;
    uint32_t time = 0;
    const std::string where = "line " + std::to_string(number) + ": ";
    if (!ParseTime(time_word, &time)) return *error = where + "bad time '" + time_word + "'", false;
    if (action == "close" && key.empty()) {
      events->push_back({time, -1, false});
      continue;
    }
    if ((action != "down" && action != "up") || !extra.empty())
      return *error = where + "expected '<ms> down KEY', '<ms> up KEY' or '<ms> close'", false;
    const int virtual_key = VirtualKeyNamed(key);
    if (virtual_key < 0)
      return *error = where + "unknown key '" + key + "' (ESCAPE SPACE RETURN C UP DOWN LEFT RIGHT)", false;
    events->push_back({time, virtual_key, action == "down"});
  }
  return true;
}

bool ParseReplayArguments(int argc, char** argv, ReplayOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return *error = std::string(USAGE), false;
    const std::string value = argv[++i];
    if (flag == "--assets") {
      options->assets_dir = value;
    } else if (flag == "--out") {
      options->out_dir = value;
    } else if (flag == "--keys") {
      options->keys_file = value;
    } else if (flag == "--max-ms") {
      if (!ParseTime(value, &options->max_ms)) return *error = "--max-ms takes a whole number of milliseconds", false;
    } else if (flag == "--wav") {
      options->wav_file = value;
    } else if (flag == "--png") {
      if (value == "all") options->png = PngChoice::All;
      else if (value == "last") options->png = PngChoice::Last;
      else if (value == "none") options->png = PngChoice::None;
      else return *error = "--png takes all, last or none", false;
    } else if (flag == "--autopilot") {
      AutopilotPlan plan;
      if (!AutopilotPlanNamed(value, &plan)) return *error = "--autopilot takes win, wrong-letters or caught", false;
      options->autopilot = value;
    } else {
      return *error = std::string(USAGE), false;
    }
  }
  if (options->assets_dir.empty() || options->out_dir.empty()) return *error = std::string(USAGE), false;
  return true;
}

std::string SoundEventText(const void* buffer, int event) {
  static const char* const names[] = {"play", "loop", "stop"};
  const char* file = "?";
  for (int id = 0; id < SOUND_SLOTS && buffer != nullptr; ++id)
    if (sound_table[id].buffer == buffer) file = SoundFileName(id);
  return std::string("sound ") + file + " " + names[event < 0 || event > 2 ? 2 : event];
}

bool WriteStereoWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string bytes = "RIFF";
  PutLe(&bytes, 36 + data_bytes, 4);
  bytes += "WAVEfmt ";
  PutLe(&bytes, 16, 4);
  PutLe(&bytes, 1, 2);  // PCM
  PutLe(&bytes, 2, 2);  // stereo
  PutLe(&bytes, static_cast<uint32_t>(rate), 4);
  PutLe(&bytes, static_cast<uint32_t>(rate) * 4, 4);
  PutLe(&bytes, 4, 2);
  PutLe(&bytes, 16, 2);
  bytes += "data";
  PutLe(&bytes, data_bytes, 4);
  for (int16_t sample : samples) PutLe(&bytes, static_cast<uint16_t>(sample), 2);
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

int RunReplay(const ReplayOptions& options, std::string* error) {
  std::vector<KeyEvent> events;
  if (!options.keys_file.empty()) {
    std::string text;
    if (!ReadWholeFile(options.keys_file, &text)) return *error = "cannot read " + options.keys_file, 1;
    if (!ParseKeyScript(text, &events, error)) return *error = options.keys_file + ": " + *error, 1;
  }
  const std::string out_dir = AbsolutePath(options.out_dir);
  const std::string wav_path = options.wav_file.empty() ? "" : AbsolutePath(options.wav_file);
  std::error_code made;
  std::filesystem::create_directories(out_dir, made);
  if (made) return *error = "cannot create " + out_dir + ": " + made.message(), 1;
  replay_log.file = std::fopen((out_dir + "/log.txt").c_str(), "w");
  if (replay_log.file == nullptr) return *error = "cannot write " + out_dir + "/log.txt: " + std::strerror(errno), 1;
  if (chdir(options.assets_dir.c_str()) != 0) {
    std::fclose(replay_log.file);
    return *error = "cannot enter " + options.assets_dir + ": " + std::strerror(errno), 1;
  }

  HeadlessStart(0);
  replay_log.last_state = game_state;
  for (const KeyEvent& event : events) {
    if (event.virtual_key < 0)
      HeadlessScheduleClose(event.time);
    else
      HeadlessScheduleKey(event.time, event.virtual_key, event.down);
  }
  HeadlessKeepFrames(options.png == PngChoice::None ? FrameKeeping::None : FrameKeeping::Last);
  HeadlessOnFrame([&](const HeadlessFrame& frame, int number) {
    LogLine("frame ", std::to_string(number));
    if (options.png == PngChoice::All) HeadlessSavePng(frame, FramePath(out_dir, number));
  });
  HeadlessOnFileOpen([](const std::string& path, bool ok) { LogLine("open ", path + (ok ? " ok" : " missing")); });
  SetMessagePollObserver(NoteStateAfterPass);
  SetSoundObserver(LogSoundEvent);
  HeadlessKeepAudio(!options.wav_file.empty());
  HeadlessSetDeadline(options.max_ms);
  AutopilotPlan plan;
  if (AutopilotPlanNamed(options.autopilot, &plan)) StartAutopilot(plan);

  int status = 0;
  try {
    const int exit_code = WinMain(reinterpret_cast<HINSTANCE>(&replay_log), nullptr, const_cast<char*>(""),
                                  SW_SHOWNORMAL);
    LogLine("quit ", std::to_string(exit_code));
  } catch (const HeadlessDeadline&) {
    LogLine("timeout", "");
    GameShutdown();  // the run was cut off inside the loop: release what start-up made
    status = 2;
  }
  if (options.png == PngChoice::Last && !HeadlessFrames().empty())
    HeadlessSavePng(HeadlessFrames().back(), FramePath(out_dir, HeadlessFrameCount() - 1));
  SetMessagePollObserver(nullptr);
  if (!options.autopilot.empty()) {
    StopAutopilot();
    std::ofstream(out_dir + "/keys.txt") << AutopilotKeyScript();
  }
  SetSoundObserver(nullptr);
  if (!wav_path.empty() && !WriteStereoWav(wav_path, HeadlessAudio(), HEADLESS_AUDIO_RATE)) {
    *error = "cannot write " + wav_path;
    status = 1;
  }
  std::fclose(replay_log.file);
  replay_log.file = nullptr;
  return status;
}
