/// \file
/// Static images: a rectangle of pixels in ordinary memory, cut from a BitmapFile and drawn by row
/// copies into a locked buffer.
#pragma once

#include <cstdint>

#include "image/bitmap_file.h"

/// Set in BitmapImage::flags once pixels have been loaded; drawing requires it.
constexpr int32_t IMAGE_LOADED = 0x80;

/// A picture in memory with the place it is drawn at.
struct BitmapImage {
  int32_t state;           ///< 1 once created
  int32_t flags;           ///< IMAGE_LOADED once pixels are in
  int32_t x;               ///< left edge in the target buffer
  int32_t y;               ///< top edge in the target buffer
  int32_t width;           ///< pixels per row
  int32_t height;          ///< rows
  int32_t size_bytes;      ///< width * height * bytes per pixel
  int32_t bits_per_pixel;  ///< 8, or 16 for the 16-bit operations
  uint8_t* pixels;         ///< owned: height rows of width pixels, top row first
};

/// Allocates a zeroed pixel buffer and sets every field; 0 when the buffer cannot be allocated
/// (then pixels is null and IMAGE_LOADED clear). An old buffer in the record is not released.
int CreateBitmapImage(BitmapImage* image, int x, int y, int width, int height, int bits_per_pixel);
/// Cuts the image's size out of an 8-bit bitmap: mode 0 cell (cell_x, cell_y) of a bordered sheet,
/// other modes from pixel (cell_x, cell_y). Copies only what lies inside the bitmap; 0 when the
/// bitmap holds no 8-bit pixels.
int LoadBitmapImage(BitmapImage* image, const BitmapFile* bitmap, int cell_x, int cell_y, int mode);
/// The 16-bit twin of LoadBitmapImage, for 16-bit images and bitmaps.
int LoadBitmapImageRgb16(BitmapImage* image, const BitmapFile* bitmap, int cell_x, int cell_y, int mode);
/// Copies an 8-bit image into `target` (rows target_pitch bytes apart) at (x, y); transparent skips 0.
int DrawBitmapImage(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent);
/// Copies a 16-bit image into a 16-bit target (pitch in bytes) at (x, y); transparent skips 0.
int DrawBitmapImageRgb16(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent);
/// Frees the pixel buffer and zeroes the record; 0 when there is nothing to free.
int DestroyBitmapImage(BitmapImage* image);
/// Rotates the image's columns by dx (right when positive) with wrap-around; dy has no effect.
/// 1 when dx or dy is nonzero and the image has pixels.
int ScrollBitmapImage(BitmapImage* image, int dx, int dy);
/// Copies a width x height block between two images of the same depth, only the part inside both.
int CopyImageRect(BitmapImage* dest, int dest_x, int dest_y, const BitmapImage* source, int src_x, int src_y,
                  int width, int height);
