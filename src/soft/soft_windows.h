// Controls of the software windows and message queue for hosts and tests: resetting them, the
// window the host shows, key state, and a hook between main-loop passes.
#pragma once

#include "win32.h"

// Forgets every window, class, message and key, as at program start.
void SoftWindowsReset();
// The window the host shows (the first one created), or null.
HWND SoftHostWindow();
// Current state of a key by virtual-key code, as the host last reported it.
bool SoftKeyDown(int virtual_key);
// Calls `observer` at the start of every PeekMessageA, that is between two main-loop passes.
void SetMessagePollObserver(void (*observer)());
// Moves a window to cover `rect`, as DirectDraw does with the exclusive window on a mode change.
void SoftPlaceWindow(HWND window, const RECT& rect);
