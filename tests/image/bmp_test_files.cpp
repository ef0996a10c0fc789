#include "bmp_test_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

uint8_t TestRed(int n) { return static_cast<uint8_t>(n); }
uint8_t TestGreen(int n) { return static_cast<uint8_t>(255 - n); }
uint8_t TestBlue(int n) { return static_cast<uint8_t>(3 * n); }
uint8_t TestIndex(int x, int y) { return static_cast<uint8_t>(x * 7 + y * 31 + 1); }

std::vector<uint8_t> TestIndices(int width, int height) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(TestIndex(x, y));
  return pixels;
}

std::vector<uint8_t> PicturePixels(const BmpSpec& spec) {
  if (!spec.pixels.empty()) return spec.pixels;
  std::vector<uint8_t> pixels = TestIndices(spec.width * std::max(spec.bits / 8, 1), std::abs(spec.height));
  if (spec.bits < 8)
    for (uint8_t& index : pixels) index = static_cast<uint8_t>(index % (1 << spec.bits));
  return pixels;
}

namespace {

// Appends a little-endian field of `bytes` bytes.
void Put(std::vector<uint8_t>& out, uint32_t value, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One row as the file holds it: pixels below 8 bits packed from the high bits of each byte.
std::vector<uint8_t> StoredRow(const BmpSpec& spec, const std::vector<uint8_t>& pixels, int row) {
  if (spec.bits >= 8) {
    const size_t bytes = static_cast<size_t>(spec.width) * (spec.bits / 8);
    const uint8_t* start = pixels.data() + row * bytes;
    return std::vector<uint8_t>(start, start + bytes);
  }
  std::vector<uint8_t> out((static_cast<size_t>(spec.width) * spec.bits + 7) / 8, 0);
  for (int x = 0; x < spec.width; ++x) {
    const int bit = x * spec.bits;
    out[bit / 8] |= static_cast<uint8_t>(pixels[row * spec.width + x] << (8 - spec.bits - bit % 8));
  }
  return out;
}

std::vector<uint8_t> PixelData(const BmpSpec& spec) {
  if (!spec.encoded.empty()) return spec.encoded;
  const int rows = std::abs(spec.height);
  const std::vector<uint8_t> pixels = PicturePixels(spec);
  std::vector<uint8_t> data;
  for (int i = 0; i < rows; ++i) {
    const std::vector<uint8_t> row = StoredRow(spec, pixels, spec.height > 0 ? rows - 1 - i : i);  // bottom-up: last row first
    data.insert(data.end(), row.begin(), row.end());
    if (spec.pad_rows) data.resize((data.size() + 3) & ~size_t{3}, 0);
  }
  return data;
}

// The 12-byte core header: size, then width, height, planes and bit count in 16 bits each.
void PutCoreHeader(std::vector<uint8_t>& out, const BmpSpec& spec) {
  Put(out, 12);
  for (int field : {spec.width, spec.height, 1, spec.bits}) Put(out, static_cast<uint16_t>(field), 2);
}

void PutInfoHeader(std::vector<uint8_t>& out, const BmpSpec& spec, size_t data_bytes, int entries) {
  Put(out, spec.info_size);
  Put(out, static_cast<uint32_t>(spec.width));
  Put(out, static_cast<uint32_t>(spec.height));
  Put(out, 1, 2);
  Put(out, static_cast<uint16_t>(spec.bits), 2);
  const uint32_t size_image = spec.size_image_zero ? 0 : static_cast<uint32_t>(data_bytes);
  const uint32_t clr_used = spec.clr_used >= 0 ? spec.clr_used : entries > 0 && entries < 256 ? entries : 0;
  for (uint32_t field : {spec.compression, size_image, 2835u, 2835u, clr_used, 0u}) Put(out, field);
  for (uint32_t mask : spec.masks) Put(out, mask);  // inside a longer header, after a 40-byte one
  if (out.size() < 14 + spec.info_size) out.resize(14 + spec.info_size, 0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const BmpSpec& spec) {
  const bool core = spec.info_size == 12;
  const int entries = spec.bits > 8 ? 0 : spec.palette_entries >= 0 ? spec.palette_entries : 1 << spec.bits;
  const std::vector<uint8_t> data = PixelData(spec);
  const size_t outside_masks = spec.info_size == 40 ? 4 * spec.masks.size() : 0;
  const uint32_t offset = static_cast<uint32_t>(14 + spec.info_size + outside_masks + (core ? 3 : 4) * entries);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, offset + static_cast<uint32_t>(data.size() + spec.trailing.size()));
  Put(out, 0);
  Put(out, offset);
  if (core)
    PutCoreHeader(out, spec);
  else
    PutInfoHeader(out, spec, data.size(), entries);
  for (int n = 0; n < entries; ++n) {
    out.insert(out.end(), {TestBlue(n), TestGreen(n), TestRed(n)});
    if (!core) out.push_back(0);
  }
  out.insert(out.end(), data.begin(), data.end());
  out.insert(out.end(), spec.trailing.begin(), spec.trailing.end());
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

void Poke(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

int WriteBitmapSeeds(const std::string& folder) {
  const std::vector<uint8_t> rle8 = {3, 9, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 2, 7, 0, 0, 13, 4, 0, 1};
  const std::vector<uint8_t> rle4 = {3, 0x9A, 0, 3, 0x12, 0x30, 0, 0, 0, 2, 1, 1, 2, 0x77, 0, 0, 13, 0x45, 0, 1};
  const std::vector<uint8_t> profile(64, 0x5A);
  // A 13x5 sheet of two bordered 5x3 cells in each layout the reader meets. Fields: width, height,
  // bits, info size, entries, biClrUsed, padded, biSizeImage 0, compression, masks, pixels, data, trailing.
  const BmpSpec seeds[] = {
      {13, 5, 8, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 8, 40, -1, -1, false, false, 0, {}, {}, {}, {}},
      {13, -5, 8, 40, -1, -1, true, true, 0, {}, {}, {}, {}},
      {13, 5, 8, 124, 16, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 16, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 24, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 8, 40, -1, -1, true, false, 1, {}, {}, rle8, {}},
      {13, 5, 8, 124, 256, -1, true, false, 0, {}, {}, {}, profile},  // a V5 file with a colour profile
      {13, 5, 1, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 4, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 4, 40, -1, -1, true, false, 2, {}, {}, rle4, {}},
      {13, 5, 32, 40, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 32, 40, -1, -1, true, false, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}, {}, {}, {}},
      {13, 5, 32, 124, -1, -1, true, false, 3, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, {}, {}, {}},
      {13, 5, 8, 12, -1, -1, true, false, 0, {}, {}, {}, {}},
      {13, 5, 24, 12, -1, -1, true, false, 0, {}, {}, {}, {}},
  };
  int written = 0;
  for (const BmpSpec& seed : seeds)
    written += WriteBytes(folder + "/seed-" + std::to_string(written) + ".bmp", EncodeBmp(seed));
  return written;
}
