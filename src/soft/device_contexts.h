// Device contexts on surfaces: DirectDraw opens and closes them on a surface's memory, and the
// text output of every build, with or without a font library, draws through them (the table of
// open contexts, what each draws into, its text colour and background mode).
#pragma once

#include <cstdint>

#include "win32.h"

// What a device context on a surface draws into: the surface's memory while the context is out.
struct SoftDrawTarget {
  uint8_t* pixels;               // first byte of the top row
  int width;                     // pixels per row
  int height;                    // rows
  int pitch;                     // bytes from one row to the next
  int bits_per_pixel;            // 8 (palette indices), 15 (5.5.5) or 16 (5.6.5)
  const PALETTEENTRY* palette;   // 256 entries colours are matched against on 8-bit surfaces, or null
};

// Opens a device context on a surface's memory; null when every context is in use.
HDC SoftOpenSurfaceDC(const SoftDrawTarget& target);
// Closes a context opened by SoftOpenSurfaceDC; false when `dc` is not an open one.
bool SoftCloseSurfaceDC(HDC dc);

// A device context: where it draws and how.
struct SoftDeviceContext {
  HDC__ handle;  // first, so the handle's address is the context's
  bool open = false;
  SoftDrawTarget target{};
  COLORREF text_color = 0;
  int background_mode = OPAQUE;
};

// The open context whose handle is `dc`, or null.
SoftDeviceContext* SoftContextOf(HDC dc);
