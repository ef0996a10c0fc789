// Keyboard snapshot. No keyboard device is opened yet, so every snapshot is empty and the game
// sees Escape, Space and Enter through the asynchronous key state alone.
#include "input/keyboard.h"

#include <cstring>

uint8_t KeyboardState[256];

int KeyboardRead() {
  std::memset(KeyboardState, 0, sizeof KeyboardState);
  return 0;
}
