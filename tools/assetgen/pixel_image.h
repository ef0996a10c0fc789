// Plain picture records shared by the drawing, quantising and writing stages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture in straight (not premultiplied) RGBA, 4 bytes a pixel, top row first.
struct RgbaImage {
  int width = 0;   // pixels per row
  int height = 0;  // rows
  std::vector<uint8_t> pixels;  // width * height * 4 bytes: red, green, blue, alpha
};

// A picture of palette indices, one byte a pixel, top row first.
struct IndexedImage {
  int width = 0;   // pixels per row
  int height = 0;  // rows
  std::vector<uint8_t> pixels;  // width * height palette indices
};

// One colour of the shared palette.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// Whether a picture is shown opaque (backdrop) or keyed on index 0 (sprite sheet).
enum class PictureKind { BACKDROP, SPRITE_SHEET };

// A picture the game loads, with the name it asks for.
struct NamedPicture {
  std::string file_name;  // exactly as the game opens it
  PictureKind kind = PictureKind::BACKDROP;
  RgbaImage image;        // transparent pixels (alpha below 128) become index 0
};

// Returns a width x height picture, every pixel transparent black.
RgbaImage MakeRgbaImage(int width, int height);

// Returns the address of pixel (x, y); the caller keeps x and y inside the picture.
inline uint8_t* PixelAt(RgbaImage& image, int x, int y) {
  return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
}

// Read-only twin of PixelAt.
inline const uint8_t* PixelAt(const RgbaImage& image, int x, int y) {
  return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
}
