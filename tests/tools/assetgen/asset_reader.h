// Small readers for the generated files, written apart from the generator's writers so the
// tests check the files as a separate program would read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Path of a file in the folder the build generates the assets into.
std::string AssetPath(const std::string& name);
// Whole file as bytes; empty when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
// A fresh folder under /tmp for files a test writes; removed with its files by RemoveFolder.
std::string MakeScratchFolder();
// Removes a scratch folder and every file in it.
void RemoveFolder(const std::string& folder);

// An 8-bit .BMP as the game reads it: headers checked, rows turned top row first.
struct Bitmap {
  std::string problem;            // why the game could not read it; empty when it can
  int width = 0, height = 0;
  std::vector<uint32_t> palette;  // 256 colours as 0xRRGGBB
  std::vector<uint8_t> pixels;    // width * height indices, top row first
  int At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Reads an 8-bit BMP, checking every header field the game relies on.
Bitmap ReadBitmap(const std::string& name);

// A RIFF WAVE file's chunks as the game's loader walks them.
struct Wave {
  std::string problem;           // why it is not a whole RIFF WAVE file; empty when it is
  std::string first_chunk;       // identifier of the first sub-chunk
  std::vector<uint8_t> format;   // the "fmt " chunk's bytes
  std::vector<uint8_t> samples;  // the "data" chunk's bytes
};
// Reads a generated WAV file chunk by chunk.
Wave ReadWave(const std::string& name);
