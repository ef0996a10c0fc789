// The keyboard snapshot: one byte per DirectInput key code, nonzero while the key was down.
#pragma once

#include <cstdint>

#include "dinput.h"

// The last snapshot taken by KeyboardRead.
extern uint8_t KeyboardState[256];

// Takes a new snapshot of the keyboard; 0 while no keyboard device is available.
int KeyboardRead();
