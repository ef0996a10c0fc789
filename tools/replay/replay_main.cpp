// vork-replay: runs the game headless from a key script; see replay.h.
#include <cstdio>

#include "replay.h"

int main(int argc, char** argv) {
  ReplayOptions options;
  std::string error;
  if (!ParseReplayArguments(argc, argv, &options, &error)) {
    std::fprintf(stderr, "vork-replay: %s\n", error.c_str());
    return 1;
  }
  const int status = RunReplay(options, &error);
  if (status == 1) std::fprintf(stderr, "vork-replay: %s\n", error.c_str());
  if (status == 2) std::fprintf(stderr, "vork-replay: stopped at --max-ms %u before the game quit\n", options.max_ms);
  return status;
}
