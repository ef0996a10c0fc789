// One sheet cell copied into a whole surface.
#include "vector/cell_copy.h"

#include <vector>

#include "display/frame.h"
#include "test_support.h"

namespace {

// A sheet of 5 x 3 cells, three across and two down, each with a one-pixel border on its left
// and top: 18 x 8 pixels, pixel i holding i + 1.
class CellCopyTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
    for (int i = 0; i < 18 * 8; ++i) pixels.push_back(static_cast<uint8_t>(i + 1));
    sheet.info_header.biWidth = 18;
    sheet.info_header.biHeight = 8;
    sheet.info_header.biBitCount = 8;
    sheet.info_header.biSizeImage = 18 * 8;
    sheet.pixels = pixels.data();
    surface = CreateSurface(5, 3, 0, 0);
    ASSERT_NE(nullptr, surface);
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
    for (int y = 0; y < 3; ++y) out.insert(out.end(), buffer + y * pitch, buffer + y * pitch + 5);
    UnlockSurface(surface);
    return out;
  }
  std::vector<uint8_t> pixels;
  BitmapFile sheet{};
  LPDIRECTDRAWSURFACE7 surface = nullptr;
};

TEST_F(CellCopyTest, CopiesTheCellInsideItsBorder) {
  const std::vector<uint8_t> blank = Cell();
  for (auto [cx, cy] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {1 << 30, 0}})
    EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, surface, cx, cy)) << cx << "," << cy;
  sheet.info_header.biSizeImage = 18 * 8 - 1;  // fewer pixels than the header says
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, surface, 0, 0));
  sheet.info_header.biSizeImage = 18 * 8;
  sheet.info_header.biBitCount = 16;
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, surface, 0, 0));
  sheet.info_header.biBitCount = 8;
  EXPECT_EQ(0, CopyBitmapCellToSurface(nullptr, surface, 0, 0));
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, nullptr, 0, 0));
  int32_t pitch;
  LockSurface(surface, &pitch);
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, surface, 0, 0));  // already locked
  UnlockSurface(surface);
  EXPECT_EQ(blank, Cell());
  // Cell (2, 1) starts at pixel (13, 5) and ends on the sheet's last column and row.
  ASSERT_EQ(1, CopyBitmapCellToSurface(&sheet, surface, 2, 1));
  const std::vector<uint8_t> expected = {104, 105, 106, 107, 108, 122, 123, 124, 125, 126, 140, 141, 142, 143, 144};
  EXPECT_EQ(expected, Cell());
  sheet.pixels = nullptr;
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet, surface, 0, 0));
}

}  // namespace
