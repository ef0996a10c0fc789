// Turning the platform's frames into 32-bit ARGB pixels and placing them on a screen of any
// size. Pure functions, no display needed, so they are tested without one.
#pragma once

#include <cstdint>
#include <vector>

#include "soft/host.h"

// Entries in a frame palette, and bytes per entry (red, green, blue, flags).
constexpr int PALETTE_ENTRIES = 256;
constexpr int PALETTE_ENTRY_BYTES = 4;
constexpr int PALETTE_BYTES = PALETTE_ENTRIES * PALETTE_ENTRY_BYTES;

// A palette already turned into ARGB pixels, and the palette bytes it was built from.
struct PaletteLookup {
  uint32_t argb[PALETTE_ENTRIES];     // opaque ARGB for each palette index
  uint8_t source[PALETTE_BYTES];      // palette bytes the table was built from
  bool built;                         // false until the first build
};

// The frame last put on the screen, kept to recognise a frame that would change nothing there.
struct ShownFrame {
  std::vector<uint8_t> pixels;     // its rows without gaps
  int width;                       // pixels per row; 0 before the first frame
  int height;                      // rows
  int bits_per_pixel;              // 8, 15 or 16
  uint8_t palette[PALETTE_BYTES];  // its palette (8-bit frames only)
  int changed_first;               // the rows the last update changed: from this one
  int changed_count;               // this many (all of them after a new size, depth or palette)
};

// Where a frame goes on the output: the largest rectangle of the frame's shape, centred.
struct ScreenRect {
  int x;
  int y;
  int width;
  int height;
};

// Rebuilds `lookup` from `palette` (256 x red, green, blue, flags) unless it already holds
// exactly those bytes; returns whether it rebuilt. Palette-only changes are frequent (fades).
bool UpdatePaletteLookup(PaletteLookup& lookup, const uint8_t* palette);
// Converts one row of 8-bit palette indices to ARGB through `argb`.
void ConvertRow8(const uint8_t* indices, int width, const uint32_t* argb, uint32_t* out);
// Converts one row of 16-bit 5.6.5 pixels (native byte order) to opaque ARGB.
void ConvertRow565(const uint8_t* pixels, int width, uint32_t* out);
// Converts one row of 15-bit 5.5.5 pixels in 16-bit words (native byte order) to opaque ARGB.
void ConvertRow555(const uint8_t* pixels, int width, uint32_t* out);
// True for the pixel depths ConvertFrame handles: 8, 15 and 16 bits.
bool FrameDepthSupported(int bits_per_pixel);
// Converts a whole frame of 8 (palette), 15 (5.5.5) or 16 (5.6.5) bits per pixel into ARGB
// rows `out_pitch` bytes apart; false (and nothing written) for any other depth.
bool ConvertFrame(const HostFrame& frame, const uint32_t* argb, uint8_t* out, int out_pitch);
// Makes `shown` hold `frame`; false when it held the same picture already (same size, depth and
// pixels, and for 8-bit frames the same palette), that is when showing it again changes nothing.
// Records which rows changed.
bool UpdateShownFrame(ShownFrame& shown, const HostFrame& frame);
// Converts `frame` to ARGB and scales it (nearest pixel) into `box` of a 32-bit output whose rows
// are `out_pitch` bytes apart, only the output rows made from the `count` frame rows from `first`
// on; returns the part of the box it wrote. Each frame row is converted once into `row` and the
// output rows it makes are copies: a frame doubled costs a conversion and a copy. Writes nothing
// for unsupported depths or an empty box.
ScreenRect ScaleFrame(const HostFrame& frame, const uint32_t* argb, const ScreenRect& box, int first, int count,
                      uint8_t* out, int out_pitch, std::vector<uint32_t>& row);
// True when an OpenGL renderer name (GL_RENDERER) is a rasteriser that runs on the processor:
// drawing a scaled frame through it costs more than scaling it straight into the window's pixels.
bool IsSoftwareRasterizer(const char* gl_renderer);
// The letterbox for a frame_width x frame_height frame on an output_width x output_height
// screen: scaled as large as fits with its proportions kept, black bars on the other axis.
ScreenRect FitLetterbox(int output_width, int output_height, int frame_width, int frame_height);
