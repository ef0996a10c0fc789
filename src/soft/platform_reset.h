// Resetting the whole software platform between runs, above every part of it.
#pragma once

// Forgets every window, class, message, key and fault, the desktop's depth, the input devices
// and the sound objects, as at program start.
void SoftPlatformReset();
