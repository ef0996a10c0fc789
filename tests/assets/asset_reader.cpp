#include "asset_reader.h"

#include <cstdio>
#include <sstream>

std::string AssetDir() { return VORK_ASSET_DIR; }

std::string AssetPath(const std::string& name) { return AssetDir() + "/" + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(file);
  return bytes;
}

uint32_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  return U16At(bytes, offset) | (U16At(bytes, offset + 2) << 16);
}

namespace {

Bitmap Invalid(Bitmap bitmap, const std::string& problem) {
  bitmap.valid = false;
  bitmap.problem = problem;
  return bitmap;
}

const size_t HEADERS = 14 + 40;
const size_t TABLE = 256 * 4;

}  // namespace

Bitmap ReadBitmap(const std::string& path) {
  Bitmap bitmap;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  if (bytes.size() < HEADERS + TABLE) return Invalid(bitmap, "missing or too short");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Invalid(bitmap, "no BM signature");
  if (U32At(bytes, 2) != bytes.size()) return Invalid(bitmap, "bfSize is not the file size");
  if (U32At(bytes, 10) != HEADERS + TABLE) return Invalid(bitmap, "pixels do not follow the colour table");
  if (U32At(bytes, 14) != 40) return Invalid(bitmap, "info header is not 40 bytes");
  bitmap.width = static_cast<int>(U32At(bytes, 18));
  bitmap.height = static_cast<int>(U32At(bytes, 22));
  if (bitmap.width <= 0 || bitmap.height <= 0) return Invalid(bitmap, "size not positive (rows must be bottom-up)");
  if (U16At(bytes, 26) != 1 || U16At(bytes, 28) != 8) return Invalid(bitmap, "not one plane of 8 bits");
  if (U32At(bytes, 30) != 0) return Invalid(bitmap, "compressed");
  const size_t image_bytes = U32At(bytes, 34);
  if (image_bytes != static_cast<size_t>(bitmap.width) * bitmap.height) {
    return Invalid(bitmap, "biSizeImage is not width x height: rows padded or field empty");
  }
  // The game takes the pixels as the last biSizeImage bytes of the file.
  if (bytes.size() != HEADERS + TABLE + image_bytes) return Invalid(bitmap, "extra or missing bytes");
  for (int i = 0; i < 256; ++i) {
    const size_t at = HEADERS + 4 * i;
    bitmap.palette[i] = Color{bytes[at + 2], bytes[at + 1], bytes[at]};
  }
  bitmap.pixels.resize(image_bytes);
  for (int row = 0; row < bitmap.height; ++row) {
    const size_t from = HEADERS + TABLE + static_cast<size_t>(bitmap.height - 1 - row) * bitmap.width;
    std::copy(bytes.begin() + from, bytes.begin() + from + bitmap.width,
              bitmap.pixels.begin() + static_cast<size_t>(row) * bitmap.width);
  }
  bitmap.valid = true;
  return bitmap;
}

Wave ReadWave(const std::string& path) {
  Wave wave;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  auto fail = [&wave](const std::string& problem) {
    wave.problem = problem;
    return wave;
  };
  if (bytes.size() < 12) return fail("missing or too short");
  if (std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
      std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
    return fail("not RIFF WAVE");
  }
  if (U32At(bytes, 4) != bytes.size() - 8) return fail("RIFF size is not the file size");
  bool have_format = false, have_data = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const uint32_t size = U32At(bytes, at + 4);
    if (at + 8 + size > bytes.size()) return fail("chunk " + id + " runs past the end");
    if (wave.first_chunk.empty()) wave.first_chunk = id;
    if (id == "fmt " && size >= 16) {
      have_format = true;
      wave.format_bytes = size;
      wave.format_tag = U16At(bytes, at + 8);
      wave.channels = U16At(bytes, at + 10);
      wave.rate = U32At(bytes, at + 12);
      wave.bytes_per_second = U32At(bytes, at + 16);
      wave.block_align = U16At(bytes, at + 20);
      wave.bits = U16At(bytes, at + 22);
      wave.extra_bytes = size >= 18 ? U16At(bytes, at + 24) : 0;
    } else if (id == "data") {
      have_data = true;
      wave.samples.assign(bytes.begin() + at + 8, bytes.begin() + at + 8 + size);
    }
    at += 8 + size + (size & 1);  // chunks are padded to even lengths
  }
  if (!have_format || !have_data) return fail("no format or no data chunk");
  wave.valid = true;
  return wave;
}

PaletteText ReadPaletteText(const std::string& path) {
  PaletteText palette;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  const std::string text(bytes.begin(), bytes.end());
  if (text.empty() || text[0] != '\n') {
    palette.problem = "does not start with an empty line";
    return palette;
  }
  if (text.back() == '\n') {
    palette.problem = "line end after the last entry";
    return palette;
  }
  std::istringstream lines(text.substr(1));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::array<int, 4> entry{};
    std::string rest;
    if (!(fields >> entry[0] >> entry[1] >> entry[2] >> entry[3]) || (fields >> rest)) {
      palette.problem = "line is not four numbers: " + line;
      return palette;
    }
    palette.entries.push_back(entry);
  }
  palette.valid = true;
  return palette;
}
