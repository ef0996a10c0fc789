#include "sdl/frame_convert.h"

#include <cstring>

namespace {

constexpr uint32_t OPAQUE = 0xFF000000u;

uint32_t PackArgb(uint32_t red, uint32_t green, uint32_t blue) {
  return OPAQUE | (red << 16) | (green << 8) | blue;
}

// Widens a 5.6.5 pixel to 8 bits per channel, repeating the top bits into the low ones so
// that full intensity stays full (31 -> 255, not 248).
uint32_t ArgbFrom565(uint16_t pixel) {
  uint32_t red = (pixel >> 11) & 0x1F;
  uint32_t green = (pixel >> 5) & 0x3F;
  uint32_t blue = pixel & 0x1F;
  return PackArgb((red << 3) | (red >> 2), (green << 2) | (green >> 4), (blue << 3) | (blue >> 2));
}

}  // namespace

bool UpdatePaletteLookup(PaletteLookup& lookup, const uint8_t* palette) {
  if (lookup.built && std::memcmp(lookup.source, palette, PALETTE_BYTES) == 0) return false;
  for (int i = 0; i < PALETTE_ENTRIES; ++i) {
    const uint8_t* entry = palette + i * PALETTE_ENTRY_BYTES;
    lookup.argb[i] = PackArgb(entry[0], entry[1], entry[2]);
  }
  std::memcpy(lookup.source, palette, PALETTE_BYTES);
  lookup.built = true;
  return true;
}

void ConvertRow8(const uint8_t* indices, int width, const uint32_t* argb, uint32_t* out) {
  for (int x = 0; x < width; ++x) out[x] = argb[indices[x]];
}

void ConvertRow16(const uint8_t* pixels, int width, uint32_t* out) {
  for (int x = 0; x < width; ++x) {
    uint16_t pixel;
    std::memcpy(&pixel, pixels + x * 2, sizeof pixel);  // rows need not be 2-byte aligned
    out[x] = ArgbFrom565(pixel);
  }
}

bool ConvertFrame(const HostFrame& frame, const uint32_t* argb, uint8_t* out, int out_pitch) {
  if (frame.bits_per_pixel != 8 && frame.bits_per_pixel != 16) return false;
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* row = frame.pixels + static_cast<long>(y) * frame.pitch;
    uint32_t* out_row = reinterpret_cast<uint32_t*>(out + static_cast<long>(y) * out_pitch);
    if (frame.bits_per_pixel == 8)
      ConvertRow8(row, frame.width, argb, out_row);
    else
      ConvertRow16(row, frame.width, out_row);
  }
  return true;
}

ScreenRect FitLetterbox(int output_width, int output_height, int frame_width, int frame_height) {
  if (output_width <= 0 || output_height <= 0 || frame_width <= 0 || frame_height <= 0)
    return ScreenRect{0, 0, 0, 0};
  // Compare the two aspect ratios by cross-multiplying, in 64 bits so large screens cannot
  // overflow.
  int64_t wide = static_cast<int64_t>(output_width) * frame_height;
  int64_t tall = static_cast<int64_t>(output_height) * frame_width;
  int width = output_width;
  int height = output_height;
  if (wide > tall)
    width = static_cast<int>(tall / frame_height);  // bars left and right
  else
    height = static_cast<int>(wide / frame_width);  // bars top and bottom
  return ScreenRect{(output_width - width) / 2, (output_height - height) / 2, width, height};
}
