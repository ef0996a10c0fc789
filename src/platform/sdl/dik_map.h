// Which DirectInput key code each physical key (SDL scancode) is: every key of a standard
// keyboard, with the keypad, the function keys and the navigation block.
#pragma once

// The DirectInput key code of an SDL scancode; 0 for keys DirectInput has no code for.
int DikFromScancode(int scancode);
