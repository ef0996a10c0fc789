/// \file
/// The copy of one cell of an 8-bit picture sheet into a whole surface.
#pragma once

#include "ddraw.h"
#include "image/bitmap_file.h"

/// Copies cell (cell_x, cell_y) of a sheet of cells the surface's size, each framed by a one-pixel
/// border, into the whole surface; 1, or 0 (surface untouched) when the picture is not 8-bit, the
/// cell lies outside it, the surface is not 8-bit or cannot be locked.
int CopyBitmapCellToSurface(const BitmapFile* bitmap, LPDIRECTDRAWSURFACE7 surface, int cell_x, int cell_y);
