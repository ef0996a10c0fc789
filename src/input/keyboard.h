/// \file
/// DirectInput and the keyboard snapshot: one byte per DirectInput key code, nonzero while the
/// key was down at the last read (or went down and up since the read before).
#pragma once

#include <cstdint>

#include "dinput.h"

/// The DirectInput object, made by InputInit; null before and when it failed.
extern LPDIRECTINPUT8 input_object;
/// The system keyboard, made and acquired by KeyboardInit; null before and when creation failed.
extern LPDIRECTINPUTDEVICE8 keyboard_device;
/// The last snapshot taken by KeyboardRead.
extern uint8_t KeyboardState[256];

/// Creates the DirectInput object for app_instance; 1 on success.
int InputInit();
/// Creates, configures and acquires the keyboard; 1 when every step succeeded.
int KeyboardInit();
/// Takes a new snapshot of the keyboard; 0 (and an all-zero snapshot) when it cannot be read.
int KeyboardRead();
/// Forgets the keys tapped since the last read, but Escape: called as a sequence that held the game
/// ends, so that keys pressed while nothing read them do not act on the screen after it.
void KeyboardForgetTaps();
/// Unacquires and releases the keyboard, and clears keyboard_device.
int KeyboardShutdown();
/// Releases the DirectInput object, and clears input_object.
int InputShutdown();
