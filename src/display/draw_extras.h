/// \file
/// The display library's drawing extras: clipped lines into a locked buffer, a colour-filled
/// rectangle, palette rotation and blinking palette entries, and text through a device context.
#pragma once

#include <cstdint>

#include "display/display.h"

/// One blinking palette entry: seven 32-bit fields, a slot of the blink table.
struct PaletteBlinker {
  int32_t entry_index;   ///< palette entry 0..255 that blinks
  int32_t first_color;   ///< a PaletteEntry held in 32 bits (red, green, blue, flags in memory order)
  int32_t second_color;  ///< likewise
  int32_t first_hold;    ///< runs that first_color stays
  int32_t second_hold;   ///< runs that second_color stays
  int32_t tick_count;    ///< runs since the last change
  int32_t phase;         ///< 0 free slot, 1 showing first_color, -1 showing second_color
};

/// Number of slots in the blink table.
constexpr int BLINK_SLOTS = 256;

/// The process-wide blink table, cleared on the first call of PaletteBlink.
struct BlinkTable {
  PaletteBlinker slots[BLINK_SLOTS];  ///< lowest free slot is taken first
  int cleared;                        ///< nonzero once the first call has cleared the slots
};

/// The one blink table.
extern BlinkTable blink_table;

/// Commands of PaletteBlink.
enum PaletteBlinkCommand { BLINK_ADD = 0, BLINK_REMOVE = 1, BLINK_CHANGE = 2, BLINK_RUN = 3 };

/// Region code bits of a point against the clip rectangle.
enum ClipCode { CLIP_LEFT = 1, CLIP_RIGHT = 2, CLIP_BELOW = 4, CLIP_ABOVE = 8 };

/// Region code of (x, y) against the display's clip rectangle; 0 inside.
int ClipCodeOf(int x, int y);
/// Clips the segment to the display's clip rectangle; 1 with the clipped ends stored, 0 (ends
/// unchanged) when nothing of it is visible.
int ClipLine(int* x1, int* y1, int* x2, int* y2);
/// Line of 8-bit pixels from (x1, y1) to (x2, y2), both ends drawn; no clipping. Returns 1.
int DrawLine8(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch);
/// The same with 16-bit pixels (a row holds pitch >> 1 units). Returns 1.
int DrawLine16(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch);
/// Line of 8-bit pixels clipped to the display's clip rectangle; 1 also when nothing is visible.
int DrawClippedLine8(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch);
/// Line of 16-bit pixels clipped to the display's clip rectangle; always 1.
int DrawClippedLine16(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch);
/// Colour-fills left..right x top..bottom (right, bottom exclusive) of an unlocked surface with
/// the full 32-bit colour; 1, or 0 for a null surface.
int FillRect(int left, int top, int right, int bottom, uint32_t color, LPDIRECTDRAWSURFACE7 surface);
/// Moves the colours of entries first..last up one entry, the last wrapping to first; 0 when the
/// range is out of 0..255, reversed, or there is no palette.
int RotatePaletteRange(int first, int last);
/// The blink table: add (slot number), remove, change (slot) or run (1); -1 on a free or bad slot,
/// a bad blinker, or a full table.
int PaletteBlink(int command, const PaletteBlinker* blinker, int slot);
/// Writes text at (x, y) on an unlocked surface in a platform colour (red low byte); 1, or 0 when
/// the surface gives no device context or the text cannot be drawn.
int DrawTextRGB(const char* text, int x, int y, uint32_t color, LPDIRECTDRAWSURFACE7 surface);
/// The same in the colour of the library's palette entry `index`; 0 for an index outside 0..255.
int DrawTextIndexed(const char* text, int x, int y, int index, LPDIRECTDRAWSURFACE7 surface);
