// Turning small drawn sprites into the cells and sheets the game cuts its frames from.
#pragma once

#include <vector>

#include "pixel_image.h"

// Size of a sheet's cells and how many columns and rows of them it holds.
struct SheetLayout {
  int cell_width = 0;
  int cell_height = 0;
  int columns = 1;
  int rows = 1;
};

// Makes every pixel either fully opaque or fully transparent (transparent below alpha 128),
// since a sprite pixel is either drawn or keyed out.
RgbaImage ThresholdAlpha(const RgbaImage& image);

// Enlarges a picture drawn at its shown size to a cell of cell_width x cell_height by
// repeating pixels, so a nearest-neighbour shrink back to the shown size returns the
// drawing exactly whether the shrink samples the first or the middle pixel of each block.
RgbaImage EnlargeToCell(const RgbaImage& shown, int cell_width, int cell_height);

// Shrinks (or grows) by nearest neighbour, sampling each source block at fraction
// sample_offset (0: first pixel, 0.5: middle) the way a blitter does.
RgbaImage ResizeNearest(const RgbaImage& source, int width, int height, double sample_offset);

// Width in pixels of a sheet with this layout, including borders, rounded up to 4.
int SheetWidth(const SheetLayout& layout);
// Height in pixels of a sheet with this layout, including borders.
int SheetHeight(const SheetLayout& layout);

// Places cell k at column k mod columns, row k div columns inside one-pixel borders;
// borders, missing cells and padding stay transparent. Cells must be of the layout's size.
RgbaImage AssembleSheet(const SheetLayout& layout, const std::vector<RgbaImage>& cells);
