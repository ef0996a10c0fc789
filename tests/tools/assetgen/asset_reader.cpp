#include "asset_reader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string AssetPath(const std::string& name) { return std::string(VORK_ASSET_DIR) + "/" + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string MakeScratchFolder() {
  char pattern[] = "/tmp/vork-assetgen-test-XXXXXX";
  return mkdtemp(pattern) != nullptr ? pattern : "";
}

void RemoveFolder(const std::string& folder) { std::filesystem::remove_all(folder); }

namespace {

uint32_t U16At(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | bytes[at + 1] << 8; }
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) { return U16At(bytes, at) | U16At(bytes, at + 2) << 16; }

constexpr size_t PIXELS_AT = 14 + 40 + 256 * 4;  // file and info headers, colour table

// Why the game could not take the file's headers; empty when it can.
std::string BitmapHeaderProblem(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < PIXELS_AT || bytes[0] != 'B' || bytes[1] != 'M') return "missing, short or no BM";
  if (U32At(bytes, 2) != bytes.size()) return "bfSize is not the file size";
  if (U32At(bytes, 10) != PIXELS_AT || U32At(bytes, 14) != 40) return "not a 40-byte header and a table";
  const int32_t width = static_cast<int32_t>(U32At(bytes, 18)), height = static_cast<int32_t>(U32At(bytes, 22));
  if (width <= 0 || height <= 0) return "size not positive (rows must be bottom-up)";
  if (U16At(bytes, 26) != 1 || U16At(bytes, 28) != 8 || U32At(bytes, 30) != 0) return "not 8 bits uncompressed";
  // The game takes the pixels as the last biSizeImage bytes: rows must need no padding.
  const size_t image_bytes = static_cast<size_t>(width) * height;
  if (U32At(bytes, 34) != image_bytes || bytes.size() != PIXELS_AT + image_bytes) return "padded or cut rows";
  return "";
}

}  // namespace

Bitmap ReadBitmap(const std::string& name) {
  Bitmap bitmap;
  const std::vector<uint8_t> bytes = ReadBytes(AssetPath(name));
  bitmap.problem = BitmapHeaderProblem(bytes);
  if (!bitmap.problem.empty()) return bitmap;
  bitmap.width = static_cast<int>(U32At(bytes, 18));
  bitmap.height = static_cast<int>(U32At(bytes, 22));
  for (int i = 0; i < 256; ++i) bitmap.palette.push_back(U32At(bytes, 54 + 4 * i) & 0xFFFFFF);
  for (int row = bitmap.height - 1; row >= 0; --row) {
    const auto from = bytes.begin() + PIXELS_AT + static_cast<size_t>(row) * bitmap.width;
    bitmap.pixels.insert(bitmap.pixels.end(), from, from + bitmap.width);
  }
  return bitmap;
}

Wave ReadWave(const std::string& name) {
  Wave wave;
  const std::vector<uint8_t> bytes = ReadBytes(AssetPath(name));
  if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
      std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE" || U32At(bytes, 4) != bytes.size() - 8) {
    wave.problem = "not a RIFF WAVE file of its stated size";
    return wave;
  }
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const size_t size = U32At(bytes, at + 4);
    if (at + 8 + size > bytes.size()) {
      wave.problem = "chunk " + id + " runs past the end";
      return wave;
    }
    if (wave.first_chunk.empty()) wave.first_chunk = id;
    std::vector<uint8_t> body(bytes.begin() + at + 8, bytes.begin() + at + 8 + size);
    if (id == "fmt ") wave.format = body;
    if (id == "data") wave.samples = body;
    at += 8 + size + (size & 1);  // chunks are padded to even lengths
  }
  if (wave.format.empty() || wave.samples.empty()) wave.problem = "no format or no data chunk";
  return wave;
}
