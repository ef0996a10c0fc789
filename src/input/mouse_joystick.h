/// \file
/// The mouse and the first game controller, read the same way as the keyboard: a device made
/// and acquired once, then an immediate snapshot per read. The game itself reads neither.
#pragma once

#include <cstdint>

#include "dinput.h"

/// The system mouse, made by MouseInit.
extern LPDIRECTINPUTDEVICE8 mouse_device;
/// The last mouse snapshot: movement since the read before, and 4 buttons.
extern DIMOUSESTATE MouseState;
/// The first attached game controller, made by JoystickInit.
extern LPDIRECTINPUTDEVICE8 joystick_device;
/// 1 once JoystickInit has finished all its steps.
extern int joystick_found;
/// Instance identifier and product name of the controller JoystickEnumCallback took.
extern GUID joystick_guid;
/// The product name of that controller, zero-terminated.
extern char joystick_name[80];
/// The last joystick snapshot.
extern DIJOYSTATE JoystickState;

/// Creates, configures and acquires the mouse; 1 when every step succeeded.
int MouseInit();
/// Takes a new mouse snapshot; 0 (all zero) without a mouse, 0 when the read fails.
int MouseRead();
/// Unacquires and releases the mouse, and clears mouse_device.
int MouseShutdown();
/// Finds the first game controller and sets it up with the given x and y ranges and a dead zone
/// in percent; 1 when it is ready.
int JoystickInit(int min_x, int max_x, int min_y, int max_y, int dead_zone);
/// Enumeration callback: keeps the first controller's identifier and name, and stops.
BOOL CALLBACK JoystickEnumCallback(LPCDIDEVICEINSTANCEA instance, LPVOID context);
/// Polls the controller and takes a new snapshot; 1 on success.
int JoystickRead();
/// Unacquires and releases the controller, and clears joystick_device; later reads give 0.
int JoystickShutdown();
