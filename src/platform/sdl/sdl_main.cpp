// The program's entry on a real machine: start the SDL host and run the game's WinMain on it.
#include <cstdio>
#include <string>

#include "host.h"
#include "sdl/sdl_host.h"
#include "win32.h"

namespace {

// Stands in for the instance handle the real platform gives WinMain; the game only passes it on.
HINSTANCE__ instance_record;

// The arguments after the program name, joined by spaces, as a command line.
std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (!SdlHostStart(&error)) {
    std::fprintf(stderr, "vork: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  InstallHost(&sdl_host);
  std::string command_line = JoinArguments(argc, argv);
  int result = WinMain(&instance_record, nullptr, &command_line[0], SW_SHOWNORMAL);
  SdlHostStop();
  return result;
}
