// Which physical keys are down, so that each virtual key is reported down once when its first
// key goes down and up once when its last key comes up (left and right Shift share VK_SHIFT),
// and so that every held key can be released when the window loses the keyboard.
#pragma once

#include <cstdint>

// Physical key numbers run from 0 to this, exclusive (the SDL host uses scancodes).
constexpr int PHYSICAL_KEY_COUNT = 512;
// Virtual-key codes run from 0 to this, exclusive.
constexpr int VIRTUAL_KEY_COUNT = 256;

// Receives each change of a virtual key.
typedef void (*KeyReport)(int virtual_key, bool down);

// The held keys. Zero-initialise it: nothing down.
struct KeyTracker {
  int16_t virtual_of[PHYSICAL_KEY_COUNT];   // virtual key a held physical key reported, 0 if up
  uint16_t holders[VIRTUAL_KEY_COUNT];      // physical keys currently holding each virtual key
};

// Physical key `physical` went down meaning `virtual_key`; reports the virtual key down if no
// other physical key held it. Auto-repeat (already down) and out-of-range keys report nothing.
void TrackKeyDown(KeyTracker& tracker, int physical, int virtual_key, KeyReport report);
// Physical key `physical` came up; reports its virtual key up when no other key holds it.
// A key-up for a key not down (it was already released on focus loss) reports nothing.
void TrackKeyUp(KeyTracker& tracker, int physical, KeyReport report);
// Releases every held key, reporting each held virtual key up once.
void ReleaseAllKeys(KeyTracker& tracker, KeyReport report);
