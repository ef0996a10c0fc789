#include "hosts/common/frame_convert.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr uint32_t OPAQUE = 0xFF000000u;

uint32_t PackArgb(uint32_t red, uint32_t green, uint32_t blue) {
  return OPAQUE | (red << 16) | (green << 8) | blue;
}

// Widens a 5- or 6-bit channel to 8 bits, repeating its top bits into the low ones so that
// full intensity stays full (31 -> 255, not 248).
uint32_t Widen5(uint32_t value) { return (value << 3) | (value >> 2); }
uint32_t Widen6(uint32_t value) { return (value << 2) | (value >> 4); }

uint32_t ArgbFrom565(uint16_t pixel) {
  return PackArgb(Widen5((pixel >> 11) & 0x1F), Widen6((pixel >> 5) & 0x3F), Widen5(pixel & 0x1F));
}

uint32_t ArgbFrom555(uint16_t pixel) {
  return PackArgb(Widen5((pixel >> 10) & 0x1F), Widen5((pixel >> 5) & 0x1F), Widen5(pixel & 0x1F));
}

// Converts a row of 16-bit words with `widen`; rows need not be 2-byte aligned.
template <uint32_t (*widen)(uint16_t)>
void ConvertRowOfWords(const uint8_t* pixels, int width, uint32_t* out) {
  for (int x = 0; x < width; ++x) {
    uint16_t pixel;
    std::memcpy(&pixel, pixels + x * 2, sizeof pixel);
    out[x] = widen(pixel);
  }
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

// Shift that brings byte i of eight bytes read as one 64-bit word to the bottom.
constexpr int ByteShift(int i) { return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? 8 * i : 56 - 8 * i; }

// Eight indices are read at once: the stores to `out` could otherwise alias them, and the
// compiler would read each index byte again after every store.
void ConvertRow8(const uint8_t* indices, int width, const uint32_t* argb, uint32_t* out) {
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    uint64_t eight;
    std::memcpy(&eight, indices + x, sizeof eight);
    for (int i = 0; i < 8; ++i) out[x + i] = argb[(eight >> ByteShift(i)) & 0xFF];
  }
  for (; x < width; ++x) out[x] = argb[indices[x]];
}

void ConvertRow565(const uint8_t* pixels, int width, uint32_t* out) {
  ConvertRowOfWords<ArgbFrom565>(pixels, width, out);
}

void ConvertRow555(const uint8_t* pixels, int width, uint32_t* out) {
  ConvertRowOfWords<ArgbFrom555>(pixels, width, out);
}

bool FrameDepthSupported(int bits_per_pixel) {
  return bits_per_pixel == 8 || bits_per_pixel == 15 || bits_per_pixel == 16;
}

namespace {

// Converts one frame row to ARGB in `out`, by the frame's depth.
void ConvertRow(const HostFrame& frame, const uint8_t* row, const uint32_t* argb, uint32_t* out) {
  if (frame.bits_per_pixel == 8)
    ConvertRow8(row, frame.width, argb, out);
  else if (frame.bits_per_pixel == 16)
    ConvertRow565(row, frame.width, out);
  else
    ConvertRow555(row, frame.width, out);
}

// Widens a converted row of `source_width` pixels to `width` by repeating pixels (nearest): the
// source pixel of output x is x * source_width / width, stepped without a division.
void StretchRow(const uint32_t* source, int source_width, uint32_t* out, int width) {
  if (width == 2 * source_width) {  // the usual case, a 640-pixel frame on a 1280-pixel screen
    for (int x = 0; x < source_width; ++x) out[2 * x] = out[2 * x + 1] = source[x];
    return;
  }
  int source_x = 0;
  int remainder = 0;
  for (int x = 0; x < width; ++x) {
    out[x] = source[source_x];
    remainder += source_width;
    while (remainder >= width) {
      remainder -= width;
      ++source_x;
    }
  }
}

}  // namespace

bool ConvertFrame(const HostFrame& frame, const uint32_t* argb, uint8_t* out, int out_pitch) {
  if (!FrameDepthSupported(frame.bits_per_pixel)) return false;
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* row = frame.pixels + static_cast<long>(y) * frame.pitch;
    ConvertRow(frame, row, argb, reinterpret_cast<uint32_t*>(out + static_cast<long>(y) * out_pitch));
  }
  return true;
}

ScreenRect ScaleFrame(const HostFrame& frame, const uint32_t* argb, const ScreenRect& box, int first, int count,
                      uint8_t* out, int out_pitch, std::vector<uint32_t>& row) {
  ScreenRect written{box.x, box.y, box.width, 0};
  if (!FrameDepthSupported(frame.bits_per_pixel) || box.width <= 0 || box.height <= 0) return written;
  row.resize(static_cast<size_t>(frame.width));
  const size_t out_row_bytes = static_cast<size_t>(box.width) * sizeof(uint32_t);
  const uint32_t* made = nullptr;  // the last output row made, to copy while the source row repeats
  int made_from = -1;
  for (int y = 0; y < box.height; ++y) {
    const int source_y = static_cast<int>(static_cast<int64_t>(y) * frame.height / box.height);
    if (source_y < first || source_y >= first + count) continue;
    if (written.height == 0) written.y = box.y + y;
    written.height = box.y + y + 1 - written.y;
    uint32_t* out_row = reinterpret_cast<uint32_t*>(out + static_cast<long>(box.y + y) * out_pitch) + box.x;
    if (source_y == made_from) {
      std::memcpy(out_row, made, out_row_bytes);
      continue;
    }
    ConvertRow(frame, frame.pixels + static_cast<long>(source_y) * frame.pitch, argb, row.data());
    StretchRow(row.data(), frame.width, out_row, box.width);
    made = out_row;
    made_from = source_y;
  }
  return written;
}

bool IsSoftwareRasterizer(const char* gl_renderer) {
  if (gl_renderer == nullptr) return false;
  for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
    if (std::strstr(gl_renderer, name) != nullptr) return true;
  return false;
}

namespace {

size_t RowBytes(const HostFrame& frame) {
  return static_cast<size_t>(frame.width) * (frame.bits_per_pixel == 8 ? 1 : 2);
}

bool SameShape(const ShownFrame& shown, const HostFrame& frame) {
  return shown.width == frame.width && shown.height == frame.height && shown.bits_per_pixel == frame.bits_per_pixel;
}

// Copies the frame's rows that differ into `shown` and records their span; false when every row
// was the same.
bool CopyChangedRows(ShownFrame& shown, const HostFrame& frame) {
  const size_t row_bytes = RowBytes(frame);
  shown.changed_first = 0;
  shown.changed_count = 0;
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* row = frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch;
    uint8_t* kept = shown.pixels.data() + row_bytes * y;
    if (std::memcmp(kept, row, row_bytes) == 0) continue;
    std::memcpy(kept, row, row_bytes);
    if (shown.changed_count == 0) shown.changed_first = y;
    shown.changed_count = y + 1 - shown.changed_first;
  }
  return shown.changed_count > 0;
}

}  // namespace

bool UpdateShownFrame(ShownFrame& shown, const HostFrame& frame) {
  bool changed = !SameShape(shown, frame);
  if (changed) {
    shown.width = frame.width;
    shown.height = frame.height;
    shown.bits_per_pixel = frame.bits_per_pixel;
    shown.pixels.resize(RowBytes(frame) * frame.height);
  }
  if (frame.bits_per_pixel == 8 && frame.palette &&
      std::memcmp(shown.palette, frame.palette, PALETTE_BYTES) != 0) {
    std::memcpy(shown.palette, frame.palette, PALETTE_BYTES);
    changed = true;
  }
  if (!CopyChangedRows(shown, frame) && !changed) return false;
  if (changed) {
    shown.changed_first = 0;
    shown.changed_count = frame.height;
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
