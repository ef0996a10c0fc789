// Static images in memory.
#include "image/bitmap_image.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

int CreateBitmapImage(BitmapImage* image, int x, int y, int width, int height, int bits_per_pixel) {
  if (image == nullptr || width <= 0 || height <= 0 || (bits_per_pixel != 8 && bits_per_pixel != 16)) return 0;
  const int32_t size = width * height * (bits_per_pixel >> 3);
  image->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
  if (image->pixels == nullptr) return 0;
  image->state = 1;
  image->flags = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->size_bytes = size;
  image->bits_per_pixel = bits_per_pixel;
  return 1;
}

int DrawBitmapImage(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent) {
  if (image == nullptr || target == nullptr || !(image->flags & IMAGE_LOADED) || image->pixels == nullptr) return 0;
  uint8_t* dest = target + static_cast<ptrdiff_t>(target_pitch) * image->y + image->x;
  const uint8_t* source = image->pixels;
  for (int row = 0; row < image->height; ++row, dest += target_pitch, source += image->width) {
    if (!transparent) {
      std::memcpy(dest, source, static_cast<size_t>(image->width));
      continue;
    }
    for (int x = 0; x < image->width; ++x)
      if (source[x] != 0) dest[x] = source[x];
  }
  return 1;
}

int DestroyBitmapImage(BitmapImage* image) {
  if (image == nullptr || image->pixels == nullptr) return 0;
  std::free(image->pixels);
  std::memset(image, 0, sizeof *image);
  return 1;
}
