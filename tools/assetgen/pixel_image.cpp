#include "pixel_image.h"

RgbaImage MakeRgbaImage(int width, int height) {
  RgbaImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  return image;
}
