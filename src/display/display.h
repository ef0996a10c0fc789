/// \file
/// The display: the DirectDraw object, the primary surface with its back buffer, the palette and
/// the clippers, all in one global record, with start-up, shut-down and the palette file.
#pragma once

#include <cstdint>

#include "ddraw.h"

/// One palette colour: red, green, blue, flags (PC_*), four bytes.
using PaletteEntry = PALETTEENTRY;
/// A rectangle in pixels; right and bottom lie one past the last pixel.
using ClipRect = RECT;

/// Everything the display owns; the rest of the library and the game read it directly.
struct DisplayState {
  LPDIRECTDRAW7 direct_draw = nullptr;           ///< the DirectDraw object
  LPDIRECTDRAWSURFACE7 primary_surface = nullptr;  ///< the visible surface
  LPDIRECTDRAWSURFACE7 back_surface = nullptr;   ///< where every frame is drawn
  LPDIRECTDRAWPALETTE palette_object = nullptr;  ///< the primary's palette (8-bit modes only)
  LPDIRECTDRAWCLIPPER back_clipper = nullptr;    ///< clipper on back_surface: the whole screen
  LPDIRECTDRAWCLIPPER window_clipper = nullptr;  ///< windowed mode: clips the primary to the window
  uint8_t* primary_buffer = nullptr;             ///< primary's memory while locked, else null
  int32_t primary_pitch = 0;                     ///< bytes per row of the locked primary
  uint8_t* back_buffer = nullptr;                ///< back surface's memory while locked, else null
  int32_t back_pitch = 0;                        ///< bytes per row of the locked back surface
  int32_t screen_width = 640;                    ///< display width in pixels
  int32_t screen_height = 480;                   ///< display height in pixels
  int32_t bits_per_pixel = 8;                    ///< colour depth asked of DisplayInit
  int32_t pixel_format = 16;                     ///< RGB bit count the primary reports
  int32_t windowed = 0;                          ///< nonzero: drawn into the window, no flipping
  int32_t window_offset_x = 0;                   ///< added to the window's left when presenting
  int32_t window_offset_y = 0;                   ///< added to the window's top when presenting
  int32_t clip_min_x = 0;                        ///< first drawable column for line drawing
  int32_t clip_min_y = 0;                        ///< first drawable row
  int32_t clip_max_x = 639;                      ///< last drawable column, inclusive
  int32_t clip_max_y = 479;                      ///< last drawable row, inclusive
  PaletteEntry palette_entries[256] = {};        ///< the library's copy of the current palette
  int (*pack_rgb16)(int red, int green, int blue) = nullptr;  ///< packs a 16-bit pixel
  DDSURFACEDESC2 surface_desc = {};              ///< scratch description for init and locks
};

/// The one display record.
extern DisplayState display;
/// The program's one window, which the display, keyboard and sound take over; set by the program.
extern HWND main_window;
/// The instance handle the program was started with; set by the program.
extern HINSTANCE app_instance;

/// Number of palette entries.
constexpr int PALETTE_SIZE = 256;
/// The palette file the display reads at start-up.
constexpr const char* PALETTE_FILE = "PALDATA3.PAL";

/// Opens the display at the given size and depth, full screen (windowed 0) or in main_window; 1 on success.
int DisplayInit(int width, int height, int bits_per_pixel, int windowed);
/// Releases whatever the display holds, in reverse order of creation; always 1.
int DisplayShutdown();
/// An off-screen surface with `caps` added and a source colour key of `color_key`; null on failure.
LPDIRECTDRAWSURFACE7 CreateSurface(int width, int height, uint32_t caps, uint16_t color_key);
/// Colour-fills `rect` of the surface (all of it when null) with the low 16 bits of `color`; always 1.
int FillSurface(LPDIRECTDRAWSURFACE7 surface, uint32_t color, const ClipRect* rect);
/// A clipper holding `count` rectangles, attached to `surface`; null on failure. The caller owns it.
LPDIRECTDRAWCLIPPER AttachClipper(LPDIRECTDRAWSURFACE7 surface, int count, const ClipRect* rects);
/// Reads a palette text file into 256 entries; entries it does not supply keep their values. 0: no file.
int LoadPaletteFile(const char* path, PaletteEntry* entries);
/// Writes 256 entries as a palette text file; 0 when the file cannot be created.
int SavePaletteFile(const char* path, const PaletteEntry* entries);
