// The generated pictures and palette, read back as the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "../game_picture_list.h"
#include "asset_reader.h"

namespace {

using game_pictures::FULL_SCREEN;
using game_pictures::Sheet;
using game_pictures::SHEETS;

const int SHOWN_W = 58, SHOWN_H = 30;

int CellLeft(const Sheet& s, int k) { return (k % s.columns) * (s.cell_width + 1) + 1; }
int CellTop(const Sheet& s, int k) { return (k / s.columns) * (s.cell_height + 1) + 1; }

// Indices of cell k shrunk to 58 x 30 by nearest neighbour, sampling each block at `offset`.
std::vector<int> ShownCell(const Bitmap& b, const Sheet& s, int k, double offset) {
  std::vector<int> shown;
  for (int y = 0; y < SHOWN_H; ++y) {
    for (int x = 0; x < SHOWN_W; ++x) {
      const int sx = static_cast<int>((x + offset) * s.cell_width / SHOWN_W);
      const int sy = static_cast<int>((y + offset) * s.cell_height / SHOWN_H);
      shown.push_back(IndexAt(b, CellLeft(s, k) + sx, CellTop(s, k) + sy));
    }
  }
  return shown;
}

int DrawnPixelsInCell(const Bitmap& b, const Sheet& s, int k) {
  int drawn = 0;
  for (int y = 0; y < s.cell_height; ++y) {
    for (int x = 0; x < s.cell_width; ++x) drawn += IndexAt(b, CellLeft(s, k) + x, CellTop(s, k) + y) != 0;
  }
  return drawn;
}

bool InsideUsedCell(const Sheet& s, int x, int y) {
  for (int k = 0; k < s.cells; ++k) {
    const bool across = x >= CellLeft(s, k) && x < CellLeft(s, k) + s.cell_width;
    if (across && y >= CellTop(s, k) && y < CellTop(s, k) + s.cell_height) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> AllPictureNames() {
  std::vector<std::string> names(std::begin(FULL_SCREEN), std::end(FULL_SCREEN));
  for (const Sheet& s : SHEETS) names.push_back(s.name);
  return names;
}

TEST(PictureFiles, EveryPictureIsAn8BitBmpTheGameCanRead) {
  for (const std::string& name : AllPictureNames()) {
    const Bitmap b = ReadBitmap(AssetPath(name));
    EXPECT_TRUE(b.valid) << name << ": " << b.problem;
    EXPECT_EQ(b.width % 4, 0) << name << ": rows would need padding";
  }
}

TEST(PictureFiles, FullScreenPicturesAre640x480AndNotBlank) {
  for (const char* name : FULL_SCREEN) {
    const Bitmap b = ReadBitmap(AssetPath(name));
    ASSERT_TRUE(b.valid) << name << ": " << b.problem;
    EXPECT_EQ(b.width, 640) << name;
    EXPECT_EQ(b.height, 480) << name;
    std::array<bool, 256> used{};
    for (uint8_t index : b.pixels) used[index] = true;
    EXPECT_GE(std::count(used.begin(), used.end(), true), 24) << name << " uses too few colours to be a picture";
  }
}

TEST(PictureFiles, SheetsHoldTheirCellsWithNothingOutsideThem) {
  for (const Sheet& s : SHEETS) {
    const Bitmap b = ReadBitmap(AssetPath(s.name));
    ASSERT_TRUE(b.valid) << s.name << ": " << b.problem;
    EXPECT_GE(b.width, s.columns * (s.cell_width + 1) + 1) << s.name;
    EXPECT_LT(b.width, s.columns * (s.cell_width + 1) + 1 + 4) << s.name << ": more padding than needed";
    EXPECT_EQ(b.height, s.rows * (s.cell_height + 1) + 1) << s.name;
    for (int k = 0; k < s.cells; ++k) {
      EXPECT_GT(DrawnPixelsInCell(b, s, k), s.cell_width * s.cell_height / 20)
          << s.name << " cell " << k << " is empty";
    }
    int stray = 0;  // borders, padding and unused cells stay transparent
    for (int y = 0; y < b.height; ++y) {
      for (int x = 0; x < b.width; ++x) stray += !InsideUsedCell(s, x, y) && IndexAt(b, x, y) != 0;
    }
    EXPECT_EQ(stray, 0) << s.name;
  }
}

TEST(PictureFiles, ScaledSpritesShowTheSameWhicheverPixelTheBlitterSamples) {
  // Each sprite is drawn at 58 x 30 and enlarged in whole blocks, so a nearest-neighbour
  // shrink that takes the first or the middle pixel of each block shows the same picture.
  for (const Sheet& s : SHEETS) {
    if (!s.shown_scaled) continue;
    const Bitmap b = ReadBitmap(AssetPath(s.name));
    ASSERT_TRUE(b.valid) << s.name;
    for (int k = 0; k < s.cells; ++k) {
      EXPECT_EQ(ShownCell(b, s, k, 0.0), ShownCell(b, s, k, 0.5)) << s.name << " cell " << k;
    }
  }
}

TEST(PictureFiles, LetterTilesKeepToTheLeft28ShownPixels) {
  const Sheet& letters = SHEETS[3];
  const Bitmap b = ReadBitmap(AssetPath(letters.name));
  ASSERT_TRUE(b.valid);
  for (int k = 0; k < letters.cells; ++k) {
    const std::vector<int> shown = ShownCell(b, letters, k, 0.0);
    int right_of_tile = 0, tile = 0;
    for (int y = 0; y < SHOWN_H; ++y) {
      for (int x = 0; x < SHOWN_W; ++x) {
        (x < 28 ? tile : right_of_tile) += shown[y * SHOWN_W + x] != 0;
      }
    }
    EXPECT_EQ(right_of_tile, 0) << "tile " << k << " would cover the next letter of the word row";
    EXPECT_GT(tile, 28 * 30 * 3 / 4) << "tile " << k << " is not a solid tile";
  }
}

TEST(PictureFiles, SpareRobotsFitThe60PixelSpacingAndLookDifferentWhenUsedUp) {
  const Sheet& bots = SHEETS[4];
  const Bitmap b = ReadBitmap(AssetPath(bots.name));
  ASSERT_TRUE(b.valid);
  for (int k = 0; k < 2; ++k) {
    for (int y = 0; y < bots.cell_height; ++y) {
      for (int x = 60; x < bots.cell_width; ++x) {
        ASSERT_EQ(IndexAt(b, CellLeft(bots, k) + x, CellTop(bots, k) + y), 0)
            << "spare robot " << k << " reaches into its neighbour at x " << x;
      }
    }
  }
  EXPECT_NE(ShownCell(b, bots, 0, 0.0), ShownCell(b, bots, 1, 0.0));
}

TEST(PictureFiles, AnimationFramesDifferWhereTheGameSwitchesThem) {
  const Sheet& dozer = SHEETS[5];
  const Bitmap d = ReadBitmap(AssetPath(dozer.name));
  ASSERT_TRUE(d.valid);
  EXPECT_NE(ShownCell(d, dozer, 0, 0), ShownCell(d, dozer, 1, 0)) << "the bulldozer must turn round";
  const Sheet& robot = SHEETS[6];
  const Bitmap r = ReadBitmap(AssetPath(robot.name));
  ASSERT_TRUE(r.valid);
  const int walks[4][2] = {{0, 1}, {8, 9}, {4, 5}, {12, 13}};  // right, left, up, down
  for (const auto& walk : walks) {
    EXPECT_NE(ShownCell(r, robot, walk[0], 0), ShownCell(r, robot, walk[1], 0)) << "frame " << walk[0];
  }
  EXPECT_NE(ShownCell(r, robot, 0, 0), ShownCell(r, robot, 8, 0)) << "right and left look alike";
  EXPECT_NE(ShownCell(r, robot, 4, 0), ShownCell(r, robot, 12, 0)) << "up and down look alike";
}

TEST(PictureFiles, CrunchIsABurstWithTheSceneShowingAroundIt) {
  const Bitmap b = ReadBitmap(AssetPath("Crunch.bmp"));
  ASSERT_TRUE(b.valid);
  const int corners[][2] = {{1, 1}, {640, 1}, {1, 480}, {640, 480}};
  for (const auto& c : corners) EXPECT_EQ(IndexAt(b, c[0], c[1]), 0);
  EXPECT_NE(IndexAt(b, 1 + 320, 1 + 240), 0);
}

double Luminance(const Color& c) { return 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue; }

TEST(PictureFiles, PlayFieldsAreCalmAboveTheWordRow) {
  // Trees, tiles and robots are drawn over the ground: it must not compete with them.
  for (int scene = 1; scene <= 4; ++scene) {
    const std::string name = "scene" + std::to_string(scene) + ".BMP";
    const Bitmap b = ReadBitmap(AssetPath(name));
    ASSERT_TRUE(b.valid) << name;
    double sum = 0, sum_sq = 0;
    const int count = 640 * 420;
    for (int i = 0; i < count; ++i) {
      const double l = Luminance(b.palette[b.pixels[i]]);
      sum += l;
      sum_sq += l * l;
    }
    const double mean = sum / count;
    EXPECT_LT(std::sqrt(sum_sq / count - mean * mean), 12.0) << name << " ground is too busy";
    EXPECT_GT(mean, 100.0) << name << " ground is too dark for the sprites to read";
  }
}

TEST(PaletteFiles, EveryPictureAndThePaletteFileShareOnePaletteWithBlackFirst) {
  const PaletteText text = ReadPaletteText(AssetPath("PALDATA3.PAL"));
  ASSERT_TRUE(text.valid) << text.problem;
  ASSERT_EQ(text.entries.size(), 256u);
  std::array<Color, 256> from_file{};
  for (int i = 0; i < 256; ++i) {
    for (int c = 0; c < 4; ++c) ASSERT_TRUE(text.entries[i][c] >= 0 && text.entries[i][c] <= 255) << i;
    from_file[i] = Color{text.entries[i][0], text.entries[i][1], text.entries[i][2]};
  }
  EXPECT_EQ(from_file[0], (Color{0, 0, 0}));
  for (const std::string& name : AllPictureNames()) {
    const Bitmap b = ReadBitmap(AssetPath(name));
    ASSERT_TRUE(b.valid) << name;
    EXPECT_EQ(b.palette, from_file) << name << " does not use the shared palette";
  }
  const std::set<int> distinct = [&] {
    std::set<int> colors;
    for (const Color& c : from_file) colors.insert(c.red << 16 | c.green << 8 | c.blue);
    return colors;
  }();
  EXPECT_GT(distinct.size(), 128u) << "the shared palette wastes its entries";
}

}  // namespace
