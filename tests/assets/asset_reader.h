// Small readers for the generated files, written apart from the generator's writers so
// the tests check the files as a separate program would read them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Folder the build generates the assets into.
std::string AssetDir();
// Path of a file in the assets folder.
std::string AssetPath(const std::string& name);
// Whole file as bytes; empty when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
// Little-endian unsigned values at an offset.
uint32_t U16At(const std::vector<uint8_t>& bytes, size_t offset);
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset);

// One palette colour as the tests compare it.
struct Color {
  int red = 0, green = 0, blue = 0;
  bool operator==(const Color& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// An 8-bit .BMP as the game reads it: headers checked, rows turned top row first.
struct Bitmap {
  bool valid = false;
  std::string problem;            // why it is not valid
  int width = 0, height = 0;
  std::array<Color, 256> palette{};
  std::vector<uint8_t> pixels;    // width * height indices, top row first
};

// Reads an 8-bit BMP, checking every header field the game relies on.
Bitmap ReadBitmap(const std::string& path);
// Index at (x, y).
inline int IndexAt(const Bitmap& bitmap, int x, int y) { return bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x]; }

// A PCM WAV with its format chunk and data.
struct Wave {
  bool valid = false;
  std::string problem;           // why it is not valid
  std::string first_chunk;       // identifier of the first sub-chunk
  uint32_t format_bytes = 0;     // size of the "fmt " chunk
  uint32_t format_tag = 0, channels = 0, rate = 0, bytes_per_second = 0;
  uint32_t block_align = 0, bits = 0, extra_bytes = 0;
  std::vector<uint8_t> samples;  // the "data" chunk
};

// Reads a RIFF WAVE file chunk by chunk.
Wave ReadWave(const std::string& path);

// Reads a palette text file: entries of four numbers; `valid` false if the text is off.
struct PaletteText {
  bool valid = false;
  std::string problem;
  std::vector<std::array<int, 4>> entries;
};
PaletteText ReadPaletteText(const std::string& path);
