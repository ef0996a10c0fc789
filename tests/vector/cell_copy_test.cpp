// One sheet cell copied into a whole surface.
#include "vector/cell_copy.h"

#include <vector>

#include "display/frame.h"
#include "test_support.h"

namespace {

constexpr int CELL_W = 5, CELL_H = 3, CELLS_ACROSS = 3, CELLS_DOWN = 2;
constexpr int SHEET_W = CELLS_ACROSS * (CELL_W + 1) + 1, SHEET_H = CELLS_DOWN * (CELL_H + 1) + 1;

class CellCopyTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
    for (int i = 0; i < SHEET_W * SHEET_H; ++i) pixels.push_back(static_cast<uint8_t>(i + 1));
    sheet = BitmapFile{};
    sheet.info_header.biWidth = SHEET_W;
    sheet.info_header.biHeight = SHEET_H;
    sheet.info_header.biBitCount = 8;
    sheet.info_header.biSizeImage = SHEET_W * SHEET_H;
    sheet.pixels = pixels.data();
    surface = CreateSurface(CELL_W, CELL_H, 0, 0);
    ASSERT_NE(surface, nullptr);
  }
  void TearDown() override {
    if (surface) surface->Release();
    FreshMachineTest::TearDown();
  }
  // The surface's pixels, row by row.
  std::vector<uint8_t> Cell() {
    int32_t pitch = 0;
    uint8_t* buffer = LockSurface(surface, &pitch);
    std::vector<uint8_t> out;
    for (int y = 0; y < CELL_H; ++y) out.insert(out.end(), buffer + y * pitch, buffer + y * pitch + CELL_W);
    UnlockSurface(surface);
    return out;
  }
  std::vector<uint8_t> pixels;
  BitmapFile sheet{};
  LPDIRECTDRAWSURFACE7 surface = nullptr;
};

TEST_F(CellCopyTest, CopiesTheCellInsideItsBorder) {
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 2, 1), 1);
  std::vector<uint8_t> expected;
  const int left = 2 * (CELL_W + 1) + 1, top = 1 * (CELL_H + 1) + 1;
  for (int y = 0; y < CELL_H; ++y)
    for (int x = 0; x < CELL_W; ++x) expected.push_back(pixels[(top + y) * SHEET_W + left + x]);
  EXPECT_EQ(Cell(), expected);
  EXPECT_EQ(Cell()[0], 109);  // pixel (13, 5) of the 19-wide sheet holds 5 x 19 + 13 + 1
}

TEST_F(CellCopyTest, RefusesCellsOutsideThePictureAndOtherFormats) {
  const std::vector<uint8_t> blank = Cell();
  for (auto [cx, cy] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {1 << 30, 0}})
    EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, cx, cy), 0) << cx << "," << cy;
  sheet.info_header.biSizeImage = SHEET_W * SHEET_H - 1;  // fewer pixels than the header says
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 0, 0), 0);
  sheet.info_header.biSizeImage = SHEET_W * SHEET_H;
  sheet.info_header.biBitCount = 16;
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 0, 0), 0);
  sheet.info_header.biBitCount = 8;
  EXPECT_EQ(CopyBitmapCellToSurface(nullptr, surface, 0, 0), 0);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, nullptr, 0, 0), 0);
  int32_t pitch;
  LockSurface(surface, &pitch);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 0, 0), 0);  // already locked
  UnlockSurface(surface);
  EXPECT_EQ(Cell(), blank);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 0, 0), 1);  // the refusals left it usable
  sheet.pixels = nullptr;
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet, surface, 0, 0), 0);
}

}  // namespace
