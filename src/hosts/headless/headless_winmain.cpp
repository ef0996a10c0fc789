// A main for running a program written against the library on the headless host: keys from
// the command line, a virtual clock, and a report of what the program showed and played.
//   program [--keys "<ms> down|up KEY; ..."] [--max-ms N] [--png FILE]
// KEY is ESCAPE, SPACE, RETURN, UP, DOWN, LEFT or RIGHT. At the end it
// prints "exit", "time", "frames", "last-frame" (the centre pixel's red green blue) and "sound"
// (whether anything audible was mixed), one per line. Exit status: WinMain's, 2 when the run
// reached --max-ms (default 60000), 64 for a bad command line.
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "hosts/common/frame_convert.h"
#include "hosts/headless/headless_host.h"
#include "win32.h"

namespace {

constexpr int BAD_USAGE = 64;
constexpr int STILL_RUNNING = 2;

// Stands in for the instance handle the real platform gives WinMain.
HINSTANCE__ instance_record;

struct HeadlessRun {
  std::string keys;
  uint32_t max_ms = 60000;
  std::string png;
};

// The virtual-key code of a key name; -1 for an unknown name.
int VirtualKeyNamed(const std::string& name) {
  static const struct { const char* name; int code; } named[] = {
      {"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE}, {"RETURN", VK_RETURN}, {"UP", VK_UP},
      {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT}};
  for (const auto& key : named)
    if (name == key.name) return key.code;
  return -1;
}

// Schedules "<ms> down|up KEY" events separated by ';' or new lines; false on a bad event.
bool ScheduleKeys(const std::string& script) {
  std::string event, flat = script;
  for (char& c : flat)
    if (c == '\n') c = ';';
  std::istringstream events(flat);
  while (std::getline(events, event, ';')) {
    std::istringstream words(event);
    unsigned long time = 0;
    std::string action, key, extra;
    if (!(words >> time)) {
      if (event.find_first_not_of(" \t\r\n") == std::string::npos) continue;
      return false;
    }
    words >> action >> key >> extra;
    const int code = VirtualKeyNamed(key);
    if ((action != "down" && action != "up") || code < 0 || !extra.empty()) return false;
    HeadlessScheduleKey(static_cast<uint32_t>(time), code, action == "down");
  }
  return true;
}

// Reads --keys, --max-ms and --png, each with a value; false for anything else.
bool ParseArguments(int argc, char** argv, HeadlessRun* run) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--keys")
      run->keys = value;
    else if (flag == "--max-ms" && value.find_first_not_of("0123456789") == std::string::npos && value.size() < 10)
      run->max_ms = static_cast<uint32_t>(std::stoul(value));
    else if (flag == "--png")
      run->png = value;
    else
      return false;
  }
  return argc % 2 == 1;
}

// The red, green and blue of the frame's centre pixel.
void CentreColour(const HeadlessFrame& frame, int rgb[3]) {
  const size_t centre = static_cast<size_t>(frame.height / 2) * frame.width + frame.width / 2;
  uint32_t argb = 0;
  if (frame.bits_per_pixel == 8) {
    const uint8_t* entry = &frame.palette[frame.pixels[centre] * 4];
    argb = entry[0] << 16 | entry[1] << 8 | entry[2];
  } else if (frame.bits_per_pixel == 15) {
    ConvertRow555(&frame.pixels[centre * 2], 1, &argb);
  } else {
    ConvertRow565(&frame.pixels[centre * 2], 1, &argb);
  }
  for (int c = 0; c < 3; ++c) rgb[c] = argb >> (16 - 8 * c) & 0xFF;
}

bool AnythingAudible() {
  for (int16_t sample : HeadlessAudio())
    if (sample != 0) return true;
  return false;
}

void Report(int status, const HeadlessRun& run) {
  std::printf("exit %d\ntime %u\nframes %d\n", status, HeadlessNow(), HeadlessFrameCount());
  if (!HeadlessFrames().empty()) {
    int rgb[3];
    CentreColour(HeadlessFrames().back(), rgb);
    std::printf("last-frame %d %d %d\n", rgb[0], rgb[1], rgb[2]);
    if (!run.png.empty() && !HeadlessSavePng(HeadlessFrames().back(), run.png))
      std::fprintf(stderr, "cannot write %s\n", run.png.c_str());
  }
  std::printf("sound %s\n", AnythingAudible() ? "yes" : "no");
}

}  // namespace

int main(int argc, char** argv) {
  HeadlessRun run;
  HeadlessStart(0);
  if (!ParseArguments(argc, argv, &run) || !ScheduleKeys(run.keys)) {
    std::fprintf(stderr, "usage: %s [--keys \"<ms> down|up KEY; ...\"] [--max-ms N] [--png FILE]\n", argv[0]);
    return BAD_USAGE;
  }
  HeadlessKeepFrames(FrameKeeping::Last);
  HeadlessKeepAudio(true);
  HeadlessSetDeadline(run.max_ms);
  int status = STILL_RUNNING;
  try {
    char command_line[] = "";
    status = WinMain(&instance_record, nullptr, command_line, SW_SHOWNORMAL);
  } catch (const HeadlessDeadline&) {
    status = STILL_RUNNING;
  }
  Report(status, run);
  return status;
}
