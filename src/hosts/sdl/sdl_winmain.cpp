// A generic main for programs written against the library: starts the SDL host, runs the
// program's WinMain on it with the command line, and shuts the host down.
#include <cstdio>
#include <string>

#include "hosts/sdl/sdl_host.h"
#include "soft/host.h"
#include "win32.h"

namespace {

// Stands in for the instance handle the real platform gives WinMain.
HINSTANCE__ instance_record;

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (!SdlHostStart(&error)) {
    std::fprintf(stderr, "%s: cannot open a window: %s\n", argc > 0 ? argv[0] : "program", error.c_str());
    return 1;
  }
  InstallHost(&sdl_host);
  std::string command_line = CommandLineOf(argc, argv);
  const int result = WinMain(&instance_record, nullptr, &command_line[0], SW_SHOWNORMAL);
  SdlHostStop();
  return result;
}
