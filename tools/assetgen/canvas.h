// Cairo drawing surfaces, fonts and the small shape helpers every picture uses.
#pragma once

#include <cairo.h>
#include <cstdint>

#include "pixel_image.h"

// A cairo drawing context over an ARGB image surface.
struct Canvas {
  cairo_surface_t* surface = nullptr;  // owned image surface
  cairo_t* cr = nullptr;               // owned context drawing into it
  int width = 0;
  int height = 0;
};

// Text faces loaded from the DejaVu font files.
enum class FontStyle { SANS, SANS_BOLD };

// Loads the fonts; returns false (and prints why) when a font file cannot be read.
bool LoadFonts();
// Releases the fonts and cairo's caches; call once after the last drawing.
void ReleaseFonts();

// Opens a transparent width x height canvas.
Canvas OpenCanvas(int width, int height);
// Converts the canvas to straight RGBA and releases it.
RgbaImage CloseCanvas(Canvas& canvas);

// Sets the source colour from 0xRRGGBB.
void SetColor(cairo_t* cr, uint32_t rgb);
// Sets the source colour from 0xRRGGBB with an opacity of 0..1.
void SetColorAlpha(cairo_t* cr, uint32_t rgb, double alpha);
// Adds a rectangle with rounded corners to the path.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
// Adds an ellipse centred on (cx, cy) to the path.
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// Fills the current path with fill_rgb and strokes it with line_rgb at line_width (0: no line).
void FillAndStroke(cairo_t* cr, uint32_t fill_rgb, uint32_t line_rgb, double line_width);
// A rounded stick of length x thickness centred on (x, y), turned by `angle`, filled and outlined.
void DrawStick(cairo_t* cr, double x, double y, double angle, double length, double thickness, double radius,
               uint32_t fill_rgb, uint32_t line_rgb, double line_width);

// Where DrawText places its text relative to x.
enum class TextAlign { LEFT, CENTER };

// Draws text with its baseline at y; an outline_width of 0 draws no outline.
void DrawText(cairo_t* cr, const char* text, double x, double y, double size, FontStyle style,
              TextAlign align, uint32_t fill_rgb, uint32_t outline_rgb = 0,
              double outline_width = 0);
// Returns the advance width of text at the given size.
double TextWidth(cairo_t* cr, const char* text, double size, FontStyle style);

// Deterministic pseudo-random numbers for scattering details: a fixed seed, never the clock.
struct ArtRandom {
  uint32_t state = 0x9E3779B9u;  // any nonzero seed
};

// Next number in [0, 1).
double NextRandom(ArtRandom& random);
