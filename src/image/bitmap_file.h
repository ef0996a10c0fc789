/// \file
/// .BMP pictures read whole into memory: headers, 256-entry palette and pixel rows, top row first.
#pragma once

#include <cstdint>

#include "display/display.h"
#include "display/rgb16.h"
#include "win32.h"

/// Entries in a BitmapFile's palette.
constexpr int BITMAP_PALETTE_SIZE = 256;
/// The bytes "BM" that start every .BMP file, read as a little-endian WORD.
constexpr WORD BITMAP_FILE_TYPE = 0x4D42;

/// A picture file in memory. After a load the info header describes the pixels held: biHeight is
/// the positive row count, biBitCount 8 or 16, biCompression BI_RGB (BI_BITFIELDS stays on 16-bit
/// pixels kept as they are), biSizeImage the bytes in `pixels`.
struct BitmapFile {
  BITMAPFILEHEADER file_header;               ///< as read from the file
  BITMAPINFOHEADER info_header;               ///< as read, sizes describing `pixels`
  PaletteEntry palette[BITMAP_PALETTE_SIZE];  ///< 8-bit pixels only: red, green, blue, PC_NOCOLLAPSE
  uint8_t* pixels;                            ///< owned; height rows of width pixels, top row first
};

/// Reads a .BMP file with the 40-byte or a longer info header, or the 12-byte core header:
/// 1-, 4- and 8-bit files (RLE4, RLE8 too) become one palette index a pixel with their colour
/// table; 16-bit pixels stay as they are; 24- and 32-bit ones (bit fields too) become 16-bit
/// pixels for the display's pixel format, or in a palettised mode indexes into the palette that
/// is set, dithered, with that palette in the record. 1 on success; 0 on any failure, with the
/// file closed and the record as it was.
int LoadBitmapFile(BitmapFile* bitmap, const char* file_name);
/// Releases the pixels if there are any; headers and palette stay. Always 1.
int UnloadBitmapFile(BitmapFile* bitmap);
/// Reverses the order of `rows` rows of `row_bytes` bytes in place; 0 for a null image or bad sizes.
int FlipBitmapRows(uint8_t* image, int row_bytes, int rows);
