// The generated pictures and palette, read back as the game reads them, and the generator's runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../game_picture_list.h"
#include "asset_reader.h"

namespace {

using game_pictures::FULL_SCREEN;
using game_pictures::Sheet;
using game_pictures::SHEETS;

const int SHOWN_W = 58, SHOWN_H = 30;

int CellLeft(const Sheet& s, int k) { return (k % s.columns) * (s.cell_width + 1) + 1; }
int CellTop(const Sheet& s, int k) { return (k / s.columns) * (s.cell_height + 1) + 1; }

// Indices of cell k shrunk to 58 x 30 by nearest neighbour, sampling each block at `offset`.
std::vector<int> ShownCell(const Bitmap& b, const Sheet& s, int k, double offset = 0) {
  std::vector<int> shown;
  for (int y = 0; y < SHOWN_H; ++y) {
    for (int x = 0; x < SHOWN_W; ++x) {
      const int sx = static_cast<int>((x + offset) * s.cell_width / SHOWN_W);
      const int sy = static_cast<int>((y + offset) * s.cell_height / SHOWN_H);
      shown.push_back(b.At(CellLeft(s, k) + sx, CellTop(s, k) + sy));
    }
  }
  return shown;
}

// The used cell holding (x, y), or -1 for borders, padding and unused cells.
int CellAt(const Sheet& s, int x, int y) {
  const int column = (x - 1) / (s.cell_width + 1), row = (y - 1) / (s.cell_height + 1);
  const bool inside = x >= 1 && y >= 1 && (x - 1) % (s.cell_width + 1) < s.cell_width &&
                      (y - 1) % (s.cell_height + 1) < s.cell_height;
  const int k = row * s.columns + column;
  return inside && column < s.columns && k < s.cells ? k : -1;
}

TEST(PictureFiles, EveryPictureIsAn8BitBmpOnThePaletteFilesColoursWithBlackFirst) {
  // The palette file: an empty line, then 256 lines of red, green, blue and flags, no line end.
  const std::vector<uint8_t> bytes = ReadBytes(AssetPath("PALDATA3.PAL"));
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.front(), '\n');
  EXPECT_NE(bytes.back(), '\n');
  std::istringstream text(std::string(bytes.begin(), bytes.end()));
  std::vector<uint32_t> palette;
  for (int red, green, blue, flags; text >> red >> green >> blue >> flags;) {
    EXPECT_TRUE(std::max({red, green, blue}) <= 255 && std::min({red, green, blue}) >= 0 && flags == 0);
    palette.push_back(red << 16 | green << 8 | blue);
  }
  EXPECT_TRUE(text.eof()) << "the palette file holds something other than numbers";
  ASSERT_EQ(palette.size(), 256u);
  EXPECT_EQ(palette[0], 0u);
  EXPECT_GT(std::set<uint32_t>(palette.begin(), palette.end()).size(), 128u) << "wasted entries";
  for (const Sheet& s : SHEETS) EXPECT_EQ(ReadBitmap(s.name).palette, palette) << s.name;
  for (const char* name : FULL_SCREEN) {
    const Bitmap b = ReadBitmap(name);
    EXPECT_EQ(b.problem, "") << name;
    EXPECT_EQ(b.palette, palette) << name << " does not use the shared palette";
    EXPECT_EQ(std::make_pair(b.width, b.height), std::make_pair(640, 480)) << name;
    EXPECT_GE(std::set<uint8_t>(b.pixels.begin(), b.pixels.end()).size(), 24u) << name << " looks blank";
    if (std::string(name).rfind("scene", 0) != 0 || !b.problem.empty()) continue;
    // Trees, tiles and robots are drawn over a play field's ground: above the word row it must
    // be calm and light, not compete with them.
    double sum = 0, sum_sq = 0;
    const int count = 640 * 420;
    for (int i = 0; i < count; ++i) {
      const uint32_t c = b.palette[b.pixels[i]];
      const double l = 0.299 * (c >> 16) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF);
      sum += l;
      sum_sq += l * l;
    }
    EXPECT_LT(std::sqrt(sum_sq / count - sum / count * sum / count), 12.0) << name << " ground is too busy";
    EXPECT_GT(sum / count, 100.0) << name << " ground is too dark for the sprites to read";
  }
}

// Each sheet holds its cells, drawn, with nothing outside them; a scaled sprite is drawn at
// 58 x 30 and enlarged in whole blocks, so the blitter may sample any pixel of a block.
TEST(PictureFiles, SheetsHoldTheirCellsAndNothingElse) {
  for (const Sheet& s : SHEETS) {
    SCOPED_TRACE(s.name);
    const Bitmap b = ReadBitmap(s.name);
    ASSERT_EQ(b.problem, "");  // which also means rows need no padding
    EXPECT_GE(b.width, s.columns * (s.cell_width + 1) + 1);
    EXPECT_LT(b.width, s.columns * (s.cell_width + 1) + 1 + 4) << "more padding than needed";
    EXPECT_EQ(b.height, s.rows * (s.cell_height + 1) + 1);
    std::vector<int> drawn(s.cells + 1);  // per cell, and outside them all at the end
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x) drawn[CellAt(s, x, y) < 0 ? s.cells : CellAt(s, x, y)] += b.At(x, y) != 0;
    EXPECT_EQ(drawn.back(), 0) << "drawn outside the cells";
    for (int k = 0; k < s.cells; ++k) {
      EXPECT_GT(drawn[k], s.cell_width * s.cell_height / 20) << "cell " << k << " is empty";
      if (!s.shown_scaled) continue;
      EXPECT_EQ(ShownCell(b, s, k, 0.0), ShownCell(b, s, k, 0.5)) << "cell " << k;
    }
  }
}

TEST(PictureFiles, SpritesFitWhereTheGameShowsThemAndFramesDiffer) {
  const Bitmap letters = ReadBitmap(SHEETS[3].name);
  for (int k = 0; k < SHEETS[3].cells; ++k) {  // a tile keeps to its 28 shown pixels of the word row
    const std::vector<int> shown = ShownCell(letters, SHEETS[3], k);
    int tile = 0, right_of_tile = 0;
    for (size_t i = 0; i < shown.size(); ++i) (i % SHOWN_W < 28 ? tile : right_of_tile) += shown[i] != 0;
    EXPECT_EQ(right_of_tile, 0) << "tile " << k << " would cover the next letter";
    EXPECT_GT(tile, 28 * 30 * 3 / 4) << "tile " << k << " is not a solid tile";
  }
  const Bitmap spare = ReadBitmap(SHEETS[4].name);  // spare robots stand 60 pixels apart
  for (int k = 0; k < 2; ++k)
    for (int y = 0; y < SHEETS[4].cell_height; ++y)
      for (int x = 60; x < SHEETS[4].cell_width; ++x) ASSERT_EQ(spare.At(CellLeft(SHEETS[4], k) + x, 1 + y), 0) << k;
  // A used-up robot, the bulldozer turned round, the robot walking right, left, up and down in
  // two steps each: each pair of cells differs.
  const int differ[][3] = {{4, 0, 1}, {5, 0, 1}, {6, 0, 1}, {6, 8, 9}, {6, 4, 5}, {6, 12, 13}, {6, 0, 8}, {6, 4, 12}};
  for (const auto& [sheet, one, other] : differ) {
    const Bitmap b = ReadBitmap(SHEETS[sheet].name);
    EXPECT_NE(ShownCell(b, SHEETS[sheet], one), ShownCell(b, SHEETS[sheet], other)) << sheet << ": " << one << " " << other;
  }
  const Bitmap crunch = ReadBitmap("Crunch.bmp");  // a burst with the scene showing around it
  for (const auto& [x, y] : {std::pair{1, 1}, {640, 1}, {1, 480}, {640, 480}}) EXPECT_EQ(crunch.At(x, y), 0);
  EXPECT_NE(crunch.At(1 + 320, 1 + 240), 0);
}

int RunGenerator(const std::string& arguments) {
  return std::system(("'" VORK_ASSETGEN "' " + arguments + " >/dev/null 2>&1").c_str());
}

TEST(Generator, MakesTheSameFilesOnEveryRun) {
  const std::string folder = MakeScratchFolder();
  ASSERT_EQ(RunGenerator("'" + folder + "'"), 0);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(ReadBytes(entry.path().string()) == ReadBytes(AssetPath(name))) << name << " differs between runs";
    ++files;
  }
  EXPECT_EQ(files, 23 + 18 + 1 + 1) << "23 pictures, 18 sounds, the palette and the tune";
  RemoveFolder(folder);
  EXPECT_NE(RunGenerator("/nonexistent/vork-assets"), 0) << "a missing folder is an error";
}

}  // namespace
