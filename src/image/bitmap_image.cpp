// Static images in memory: created, cut out of picture files, drawn, scrolled and copied.
#include "image/bitmap_image.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "image/pixel_block.h"

namespace {

// Largest image buffer: its size must fit size_bytes.
constexpr int64_t MAX_IMAGE_BYTES = 0x7FFFFFFF;

int BytesPerPixel(const BitmapImage& image) { return image.bits_per_pixel >> 3; }

PixelBlock ImageBlock(const BitmapImage& image) {
  const int bytes = BytesPerPixel(image);
  return PixelBlock{image.pixels, image.width, image.height, int64_t{image.width} * bytes, bytes};
}

int LoadImageCut(BitmapImage* image, const BitmapFile* bitmap, int cell_x, int cell_y, int mode, int bits) {
  if (image == nullptr || image->pixels == nullptr || image->bits_per_pixel != bits) return 0;
  const PixelBlock source = BitmapBlock(bitmap, bits);
  if (source.pixels == nullptr) return 0;
  int64_t x, y;
  CellOrigin(cell_x, cell_y, image->width, image->height, mode, &x, &y);
  CopyClippedBlock(ImageBlock(*image), 0, 0, source, x, y, image->width, image->height);
  image->flags |= IMAGE_LOADED;
  return 1;
}

bool Drawable(const BitmapImage* image, const uint8_t* target, int bits) {
  return image != nullptr && target != nullptr && (image->flags & IMAGE_LOADED) && image->pixels != nullptr &&
         image->bits_per_pixel == bits;
}

template <typename Pixel>
void DrawRows(const BitmapImage& image, Pixel* dest, ptrdiff_t dest_stride, bool transparent) {
  const Pixel* source = reinterpret_cast<const Pixel*>(image.pixels);
  for (int row = 0; row < image.height; ++row, dest += dest_stride, source += image.width) {
    if (!transparent) {
      std::memcpy(dest, source, static_cast<size_t>(image.width) * sizeof(Pixel));
      continue;
    }
    for (int x = 0; x < image.width; ++x)
      if (source[x] != 0) dest[x] = source[x];
  }
}

}  // namespace

int CreateBitmapImage(BitmapImage* image, int x, int y, int width, int height, int bits_per_pixel) {
  if (image == nullptr || width <= 0 || height <= 0 || (bits_per_pixel != 8 && bits_per_pixel != 16)) return 0;
  const int64_t size = int64_t{width} * height * (bits_per_pixel >> 3);
  image->pixels = nullptr;
  image->flags &= ~IMAGE_LOADED;
  if (size > MAX_IMAGE_BYTES) return 0;
  image->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
  if (image->pixels == nullptr) return 0;
  image->state = 1;
  image->flags = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->size_bytes = static_cast<int32_t>(size);
  image->bits_per_pixel = bits_per_pixel;
  return 1;
}

int LoadBitmapImage(BitmapImage* image, const BitmapFile* bitmap, int cell_x, int cell_y, int mode) {
  return LoadImageCut(image, bitmap, cell_x, cell_y, mode, 8);
}

int LoadBitmapImageRgb16(BitmapImage* image, const BitmapFile* bitmap, int cell_x, int cell_y, int mode) {
  return LoadImageCut(image, bitmap, cell_x, cell_y, mode, 16);
}

int DrawBitmapImage(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent) {
  if (!Drawable(image, target, 8)) return 0;
  uint8_t* dest = target + static_cast<ptrdiff_t>(target_pitch) * image->y + image->x;
  DrawRows(*image, dest, target_pitch, transparent != 0);
  return 1;
}

int DrawBitmapImageRgb16(const BitmapImage* image, uint8_t* target, int target_pitch, int transparent) {
  if (!Drawable(image, target, 16)) return 0;
  const ptrdiff_t stride = target_pitch / 2;
  uint16_t* dest = reinterpret_cast<uint16_t*>(target) + stride * image->y + image->x;
  DrawRows(*image, dest, stride, transparent != 0);
  return 1;
}

int DestroyBitmapImage(BitmapImage* image) {
  if (image == nullptr || image->pixels == nullptr) return 0;
  std::free(image->pixels);
  std::memset(image, 0, sizeof *image);
  return 1;
}

// The columns that wrap round go through a temporary image; the rest of each row moves in place.
int ScrollBitmapImage(BitmapImage* image, int dx, int dy) {
  if (image == nullptr || image->pixels == nullptr || image->width <= 0 || (dx == 0 && dy == 0)) return 0;
  const int amount = dx % image->width;
  if (amount == 0) return 1;
  const int moved = amount > 0 ? amount : -amount;
  const int kept = image->width - moved;
  const int wrapped_from = amount > 0 ? kept : 0;  // the columns pushed off one edge
  BitmapImage wrapped{};
  if (!CreateBitmapImage(&wrapped, 0, 0, moved, image->height, image->bits_per_pixel)) return 0;
  CopyImageRect(&wrapped, 0, 0, image, wrapped_from, 0, moved, image->height);
  const int bytes = BytesPerPixel(*image);
  const size_t stride = static_cast<size_t>(image->width) * bytes;
  const size_t from = amount > 0 ? 0 : moved * bytes, to = amount > 0 ? moved * bytes : 0;
  for (int row = 0; row < image->height; ++row) {
    uint8_t* line = image->pixels + row * stride;
    std::memmove(line + to, line + from, static_cast<size_t>(kept) * bytes);
  }
  CopyImageRect(image, amount > 0 ? 0 : kept, 0, &wrapped, 0, 0, moved, image->height);
  DestroyBitmapImage(&wrapped);
  return 1;
}

int CopyImageRect(BitmapImage* dest, int dest_x, int dest_y, const BitmapImage* source, int src_x, int src_y,
                  int width, int height) {
  if (dest == nullptr || source == nullptr || dest->pixels == nullptr || source->pixels == nullptr ||
      dest->bits_per_pixel != source->bits_per_pixel)
    return 0;
  CopyClippedBlock(ImageBlock(*dest), dest_x, dest_y, ImageBlock(*source), src_x, src_y, width, height);
  return 1;
}
