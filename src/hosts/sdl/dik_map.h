// Which DirectInput key code each physical key (SDL scancode) is: every key of a standard
// keyboard, with the keypad, the function keys and the navigation block; and how DirectInput
// numbers SDL's mouse buttons and a game controller's d-pad.
#pragma once

// The DirectInput key code of an SDL scancode; 0 for keys DirectInput has no code for.
int DikFromScancode(int scancode);
// DirectInput's number of an SDL mouse button (left 0, right 1, middle 2, fourth 3); -1 for others.
int MouseButtonFromSdl(int sdl_button);
// The hat angle of a d-pad with these directions held, in hundredths of a degree clockwise from
// up (diagonals between); -1 when centred or opposite directions cancel.
int PadAngle(bool up, bool down, bool left, bool right);
