// .BMP pictures read whole into memory: headers, 256-entry palette and pixel rows, top row first.
#pragma once

#include <cstdint>

#include "display/display.h"
#include "image/rgb16.h"
#include "win32.h"

// Entries in a BitmapFile's palette.
constexpr int BITMAP_PALETTE_SIZE = 256;
// The bytes "BM" that start every .BMP file, read as a little-endian WORD.
constexpr WORD BITMAP_FILE_TYPE = 0x4D42;

// A picture file in memory. After a load the info header describes the pixels held: biHeight is
// the positive row count, biBitCount 8 or 16 (24-bit files become 16-bit pixels), biSizeImage
// the bytes in `pixels`.
struct BitmapFile {
  BITMAPFILEHEADER file_header;               // as read from the file
  BITMAPINFOHEADER info_header;               // as read, sizes describing `pixels`
  PaletteEntry palette[BITMAP_PALETTE_SIZE];  // 8-bit files only: red, green, blue, PC_NOCOLLAPSE
  uint8_t* pixels;                            // owned; height rows of width pixels, top row first
};

// Reads a .BMP file (8-bit, also RLE8; 16-bit; 24-bit made 16-bit for the display's pixel format).
// 1 on success; 0 on any failure, with the file closed and the record as it was.
int LoadBitmapFile(BitmapFile* bitmap, const char* file_name);
// Releases the pixels if there are any; headers and palette stay. Always 1.
int UnloadBitmapFile(BitmapFile* bitmap);
// Reverses the order of `rows` rows of `row_bytes` bytes in place; 0 for a null image or bad sizes.
int FlipBitmapRows(uint8_t* image, int row_bytes, int rows);
