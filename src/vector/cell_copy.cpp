// One sheet cell copied row by row into a locked surface.
#include "vector/cell_copy.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// True when the w x h cell starting at (left, top) lies inside the picture's pixels.
bool CellInside(const BitmapFile& bitmap, int64_t left, int64_t top, int64_t w, int64_t h) {
  const int64_t width = bitmap.info_header.biWidth, height = bitmap.info_header.biHeight;
  return left >= 0 && top >= 0 && left + w <= width && top + h <= height &&
         static_cast<uint64_t>(width * height) <= bitmap.info_header.biSizeImage;
}

}  // namespace

int CopyBitmapCellToSurface(const BitmapFile* bitmap, LPDIRECTDRAWSURFACE7 surface, int cell_x, int cell_y) {
  if (!bitmap || !bitmap->pixels || !surface || bitmap->info_header.biBitCount != 8) return 0;
  DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return 0;
  const int64_t w = desc.dwWidth, h = desc.dwHeight;
  const int64_t left = static_cast<int64_t>(cell_x) * (w + 1) + 1;
  const int64_t top = static_cast<int64_t>(cell_y) * (h + 1) + 1;
  if (desc.ddpfPixelFormat.dwRGBBitCount != 8 || !CellInside(*bitmap, left, top, w, h)) {
    surface->Unlock(nullptr);
    return 0;
  }
  const int64_t source_pitch = bitmap->info_header.biWidth;
  auto* dest = static_cast<uint8_t*>(desc.lpSurface);
  for (int64_t row = 0; row < h; ++row)
    std::memcpy(dest + row * desc.lPitch, bitmap->pixels + (top + row) * source_pitch + left, static_cast<size_t>(w));
  surface->Unlock(nullptr);
  return 1;
}
