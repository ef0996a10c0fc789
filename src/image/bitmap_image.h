// Static images: a rectangle of pixels in ordinary memory, drawn by row copies into a locked buffer.
#pragma once

#include <cstdint>

// Set in BitmapImage::flags once pixels have been loaded; drawing requires it.
constexpr int32_t IMAGE_LOADED = 0x80;

// A picture in memory with the place it is drawn at.
struct BitmapImage {
  int32_t state;           // 1 once created
  int32_t flags;           // IMAGE_LOADED once pixels are in
  int32_t x;               // left edge in the target buffer
  int32_t y;               // top edge in the target buffer
  int32_t width;           // pixels per row
  int32_t height;          // rows
  int32_t size_bytes;      // width * height * bytes per pixel
  int32_t bits_per_pixel;  // 8, or 16 for the 16-bit operations
  uint8_t* pixels;         // owned: height rows of width pixels, top row first
};

// Allocates a zeroed pixel buffer and sets every field; 0 when the buffer cannot be allocated.
int CreateBitmapImage(BitmapImage* image, int x, int y, int width, int height, int bits_per_pixel);
// Copies an 8-bit image into `target` (rows target_pitch bytes apart) at (x, y); transparent skips 0.
int DrawBitmapImage(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent);
// Frees the pixel buffer and zeroes the record; 0 when there is nothing to free.
int DestroyBitmapImage(BitmapImage* image);
