#include "bmp_writer.h"

#include "byte_writer.h"

#include <cstdio>

namespace {

const int FILE_HEADER_BYTES = 14;
const int INFO_HEADER_BYTES = 40;
const int COLOR_TABLE_BYTES = 256 * 4;
const int PIXELS_PER_METRE = 2835;  // 72 dots per inch

}  // namespace

std::vector<uint8_t> EncodeBmp8(const IndexedImage& image, const Palette& palette) {
  if (image.width <= 0 || image.height <= 0 || image.width % 4 != 0) return {};
  const uint32_t pixel_bytes = static_cast<uint32_t>(image.width) * image.height;
  const uint32_t pixel_offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES + COLOR_TABLE_BYTES;
  std::vector<uint8_t> out;
  out.reserve(pixel_offset + pixel_bytes);
  // File header.
  out.push_back('B');
  out.push_back('M');
  PutU32(out, pixel_offset + pixel_bytes);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, pixel_offset);
  // Info header.
  PutU32(out, INFO_HEADER_BYTES);
  PutU32(out, static_cast<uint32_t>(image.width));
  PutU32(out, static_cast<uint32_t>(image.height));  // positive: bottom row first
  PutU16(out, 1);                                    // planes
  PutU16(out, 8);                                    // bits per pixel
  PutU32(out, 0);                                    // no compression
  PutU32(out, pixel_bytes);
  PutU32(out, PIXELS_PER_METRE);
  PutU32(out, PIXELS_PER_METRE);
  PutU32(out, 256);  // colours used
  PutU32(out, 0);    // all colours important
  for (const Rgb& color : palette) {
    out.push_back(color.blue);
    out.push_back(color.green);
    out.push_back(color.red);
    out.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
    out.insert(out.end(), row, row + image.width);
  }
  return out;
}
