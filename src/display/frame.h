/// \file
/// Frames: clearing, locking and presenting surfaces, pixel writes, the palette copy, and the
/// millisecond frame clock that paces frames and transition steps.
#pragma once

#include <cstdint>

#include "display/display.h"

/// The frame clock: when the current period started, in GetTickCount milliseconds.
struct FrameClock {
  uint32_t clock_start = 0;  ///< set by StartClock
};

/// The one frame clock.
extern FrameClock frame_clock;

/// How many times FlipPages tries a flip that fails (other than by a lost display) before it
/// gives up on this frame.
constexpr int FLIP_ATTEMPTS = 8;

/// Presents the back surface (page flip, or a blit into the window); 0 while a surface is locked,
/// and 0 for a frame that found the display lost (every surface is then restored for the next).
int FlipPages();
/// Locks the back surface and publishes back_buffer and back_pitch; returns back_buffer (null on failure).
uint8_t* LockBackSurface();
/// Unlocks the back surface; 0 if it was not locked.
int UnlockBackSurface();
/// Locks the primary surface and publishes primary_buffer and primary_pitch.
uint8_t* LockPrimarySurface();
/// Unlocks the primary surface; 0 if it was not locked.
int UnlockPrimarySurface();
/// Locks any surface; writes its pitch to pitch_out when given. Records nothing in the display.
uint8_t* LockSurface(LPDIRECTDRAWSURFACE7 surface, int32_t* pitch_out);
/// Unlocks any surface; 0 for a null surface.
int UnlockSurface(LPDIRECTDRAWSURFACE7 surface);
/// Returns when the display's vertical blank begins; always 1.
int WaitVerticalBlank();
/// buffer[y * pitch + x] = color; no bounds checks.
int PlotPixel8(int x, int y, uint8_t color, uint8_t* buffer, int pitch);
/// 16-bit unit y * (pitch >> 1) + x of buffer = color; no bounds checks.
int PlotPixel16(int x, int y, uint16_t color, uint8_t* buffer, int pitch);
/// Copies the library's 256-entry palette to `out`.
int GetPalette(PaletteEntry* out);
/// Makes 256 entries the current palette, in the library's copy and on the display.
int SetPalette(const PaletteEntry* entries);
/// Copies one entry (0..255) of the library's palette to `out`; 0 for an index outside the palette.
int GetPaletteEntry(int index, PaletteEntry* out);
/// Changes one palette entry (0..255) on the display and in the library's copy; 0 for other indices.
int SetPaletteEntry(int index, const PaletteEntry* entry);
/// The platform's millisecond tick count.
uint32_t GetClock();
/// Starts a clock period; returns its start.
uint32_t StartClock();
/// Waits, mostly asleep, until `ms` milliseconds have passed since StartClock; returns a fresh GetClock.
uint32_t WaitClock(uint32_t ms);
