// vork-demo: on the screen through SDL until Escape, or headless for a number of frames:
//   vork-demo
//   vork-demo --headless OUT [--frames N] [--png-every K]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo.h"
#include "soft/host.h"
#include "hosts/sdl/sdl_host.h"

namespace {

const char* USAGE = "usage: vork-demo [--headless OUT [--frames N] [--png-every K]]";

HINSTANCE__ instance_record;

// A whole number from 1 to 1000000, or 0.
int Count(const std::string& text) {
  if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int value = std::atoi(text.c_str());
  return value <= 1000000 ? value : 0;
}

int RunOnScreen() {
  std::string error;
  if (!SdlHostStart(&error)) {
    std::fprintf(stderr, "vork-demo: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  InstallHost(&sdl_host);
  const int result = DemoMain(&instance_record, DemoOptions{});
  SdlHostStop();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return RunOnScreen();
  std::string out_dir;
  int frames = 120, png_every = 30;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--headless") out_dir = value;
    else if (flag == "--frames") frames = Count(value);
    else if (flag == "--png-every") png_every = Count(value);
    else frames = 0;
  }
  if (out_dir.empty() || frames == 0 || png_every == 0 || argc % 2 == 0) {
    std::fprintf(stderr, "%s\n", USAGE);
    return 1;
  }
  const int result = RunDemoHeadless(out_dir, frames, png_every);
  if (result != 0) std::fprintf(stderr, "vork-demo: could not write the pictures into %s\n", out_dir.c_str());
  return result;
}
