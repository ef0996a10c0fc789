// One sheet cell copied into a whole surface.
#include "vector/cell_copy.h"

#include <vector>

#include "bmp_test_files.h"
#include "display/frame.h"
#include "test_support.h"

namespace {

// A sheet of 5 x 3 cells, three across and two down, each with a one-pixel border on its left
// and top: 18 x 8 pixels.
class CellCopyTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
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
  TestSheet sheet{18, 8, 8};
  LPDIRECTDRAWSURFACE7 surface = nullptr;
};

TEST_F(CellCopyTest, CopiesTheCellInsideItsBorder) {
  const std::vector<uint8_t> blank = Cell();
  for (auto [cx, cy] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {1 << 30, 0}})
    EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, surface, cx, cy)) << cx << "," << cy;
  sheet.file.info_header.biSizeImage = 18 * 8 - 1;  // fewer pixels than the header says
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, surface, 0, 0));
  sheet.file.info_header.biSizeImage = 18 * 8;
  sheet.file.info_header.biBitCount = 16;
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, surface, 0, 0));
  sheet.file.info_header.biBitCount = 8;
  EXPECT_EQ(0, CopyBitmapCellToSurface(nullptr, surface, 0, 0));
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, nullptr, 0, 0));
  int32_t pitch;
  LockSurface(surface, &pitch);
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, surface, 0, 0));  // already locked
  UnlockSurface(surface);
  EXPECT_EQ(blank, Cell());
  // Cell (2, 1) starts at pixel (13, 5) and ends on the sheet's last column and row.
  ASSERT_EQ(1, CopyBitmapCellToSurface(&sheet.file, surface, 2, 1));
  std::vector<uint8_t> expected;
  for (int y = 5; y < 8; ++y)
    for (int x = 13; x < 18; ++x) expected.push_back(TestIndex(x, y));
  EXPECT_EQ(expected, Cell());
  sheet.file.pixels = nullptr;
  EXPECT_EQ(0, CopyBitmapCellToSurface(&sheet.file, surface, 0, 0));
}

}  // namespace
