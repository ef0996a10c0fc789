#include "bmp_test_files.h"

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

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> PixelData(const BmpSpec& spec) {
  if (!spec.encoded.empty()) return spec.encoded;
  const int rows = std::abs(spec.height);
  const size_t packed = static_cast<size_t>(spec.width) * (spec.bits / 8);
  const size_t stride = spec.pad_rows ? (packed + 3) & ~size_t{3} : packed;
  std::vector<uint8_t> data;
  for (int i = 0; i < rows; ++i) {
    const int row = spec.height > 0 ? rows - 1 - i : i;  // bottom-up files start with the last row
    const uint8_t* start = spec.pixels.data() + row * packed;
    data.insert(data.end(), start, start + packed);
    data.resize(data.size() + stride - packed, 0);
  }
  return data;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const BmpSpec& spec) {
  const int entries = spec.bits == 8 ? spec.palette_entries : 0;
  const std::vector<uint8_t> data = PixelData(spec);
  const uint32_t offset = 14 + spec.info_size + 4 * entries;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + static_cast<uint32_t>(data.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, spec.info_size);
  Put32(out, static_cast<uint32_t>(spec.width));
  Put32(out, static_cast<uint32_t>(spec.height));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(spec.bits));
  Put32(out, spec.compression);
  Put32(out, spec.size_image_zero ? 0 : static_cast<uint32_t>(data.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, entries > 0 && entries < 256 ? entries : 0);
  Put32(out, 0);
  out.resize(14 + spec.info_size, 0);
  for (int n = 0; n < entries; ++n) {
    out.push_back(TestBlue(n));
    out.push_back(TestGreen(n));
    out.push_back(TestRed(n));
    out.push_back(0);
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

void Poke32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Poke16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

int WriteBitmapSeeds(const std::string& folder) {
  std::vector<BmpSpec> specs;
  BmpSpec sheet;  // two bordered 5x3 cells side by side
  sheet.width = 13;
  sheet.height = 5;
  sheet.pixels = TestIndices(13, 5);
  specs.push_back(sheet);
  BmpSpec packed = sheet;
  packed.pad_rows = false;
  specs.push_back(packed);
  BmpSpec top_down = sheet;
  top_down.height = -5;
  top_down.size_image_zero = true;
  specs.push_back(top_down);
  BmpSpec short_table = sheet;
  short_table.palette_entries = 16;
  short_table.info_size = 124;
  specs.push_back(short_table);
  BmpSpec rgb16 = sheet;
  rgb16.bits = 16;
  rgb16.pixels = TestIndices(26, 5);
  specs.push_back(rgb16);
  BmpSpec rgb24 = sheet;
  rgb24.bits = 24;
  rgb24.pixels = TestIndices(39, 5);
  specs.push_back(rgb24);
  BmpSpec rle = sheet;
  rle.compression = 1;
  rle.encoded = {3, 9, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 2, 7, 0, 0, 13, 4, 0, 1};
  specs.push_back(rle);
  int written = 0;
  for (const BmpSpec& spec : specs)
    written += WriteBytes(folder + "/seed-" + std::to_string(written) + ".bmp", EncodeBmp(spec));
  return written;
}
