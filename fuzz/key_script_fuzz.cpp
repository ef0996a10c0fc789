// Feeds arbitrary text to vork-replay's key script parser.
#include <cstdint>
#include <string>
#include <vector>

#include "replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<KeyEvent> events;
  std::string error;
  ParseKeyScript(std::string(reinterpret_cast<const char*>(data), size), &events, &error);
  return 0;
}
