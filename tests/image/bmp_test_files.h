// Builds .BMP files byte by byte for the picture tests and the fuzz seeds, in every layout the
// reader meets: padded or packed rows, bottom-up or top-down, short colour tables, longer info
// headers, biSizeImage 0, run-length data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/bitmap_file.h"

// What to write; fields left out keep these defaults. Pixels are given top row first, width x
// bytes-per-pixel bytes a row (one byte per pixel, the palette index, for 1- and 4-bit files).
struct BmpSpec {
  int width = 4;
  int height = 2;                    // negative: stored top row first
  int bits = 8;                      // 1, 4, 8, 16, 24 or 32 (other values are written as given)
  uint32_t info_size = 40;           // 40, 108 / 124 for the longer headers, 12 for the core header
  int palette_entries = -1;          // colour table entries written (up to 8 bits); -1: 2 to the bits
  int clr_used = -1;                 // biClrUsed; -1: the entries written when fewer than 256, else 0
  bool pad_rows = true;              // rows padded to 4 bytes (biSizeImage then counts the padding)
  bool size_image_zero = false;      // write biSizeImage 0
  uint32_t compression = 0;          // biCompression
  std::vector<uint32_t> masks{};     // red, green, blue (alpha) masks: after a 40-byte header, or in a longer one
  std::vector<uint8_t> pixels{};     // top row first (empty: the TestIndex pattern); unused with `encoded`
  std::vector<uint8_t> encoded{};    // raw pixel data written as it is (run-length data)
  std::vector<uint8_t> trailing{};   // written after the pixel data (a colour profile, say)
};

// Colour table entry n of every test file: red n, green 255 - n, blue 3n.
uint8_t TestRed(int n);
uint8_t TestGreen(int n);
uint8_t TestBlue(int n);
// Pixel value (x, y) of the test pictures: a pattern that differs across rows and columns.
uint8_t TestIndex(int x, int y);
// width x height bytes of TestIndex, top row first.
std::vector<uint8_t> TestIndices(int width, int height);
// The picture's pixels as written: its own, or else the TestIndex pattern (within its bit depth).
std::vector<uint8_t> PicturePixels(const BmpSpec& spec);

// A sheet in memory as a load leaves one: byte b of pixel (x, y) holds TestIndex(x * bytes per
// pixel + b, y).
struct TestSheet {
  BitmapFile file{};
  std::vector<uint8_t> pixels;
  TestSheet(int width, int height, int bits) : pixels(TestIndices(width * bits / 8, height)) {
    file.info_header.biWidth = width;
    file.info_header.biHeight = height;
    file.info_header.biBitCount = static_cast<WORD>(bits);
    file.info_header.biSizeImage = static_cast<DWORD>(pixels.size());
    file.pixels = pixels.data();
  }
};

// The file's bytes.
std::vector<uint8_t> EncodeBmp(const BmpSpec& spec);
// Writes bytes to a file; true on success.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Offsets of header fields in a .BMP file, for tests that damage one.
constexpr size_t BF_OFF_BITS = 10;
constexpr size_t BI_SIZE = 14;
constexpr size_t BI_WIDTH = 18;
constexpr size_t BI_HEIGHT = 22;
constexpr size_t BI_BIT_COUNT = 28;
constexpr size_t BI_COMPRESSION = 30;
constexpr size_t BI_SIZE_IMAGE = 34;
constexpr size_t BI_CLR_USED = 46;
// Overwrites a little-endian field of `size` bytes in place.
void Poke(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size = 4);
// Seed files for the picture fuzz target, one per layout, written into `folder`; their count.
int WriteBitmapSeeds(const std::string& folder);
