// Which keys a browser key event means to the game: virtual-key codes from the event's `code`
// (the key's position) and `key` (what it types), DirectInput key codes from the position, and a
// number for each physical key. Pure
// functions, so they are tested natively.
#pragma once

// Physical key numbers run from 1 to this, exclusive; 0 means a key the host does not track.
constexpr int WEB_PHYSICAL_KEY_LIMIT = 128;

// The DirectInput key code of a KeyboardEvent.code; 0 for keys the host does not track.
int WebInputKey(const char* code);
// The physical key number of a KeyboardEvent.code ("KeyA", "ArrowLeft", "Space"); 0 if unknown.
int WebPhysicalKey(const char* code);
// The virtual-key code for a key event: a Latin letter or digit by what the key types in the
// current layout, everything else (and letters of other scripts) by the key's position; 0 if
// the game has no use for the key.
int WebVirtualKey(const char* code, const char* key);
