// Static images: cuts out of sheets (cells, absolute, clipped), opaque and transparent drawing
// into wider rows, scrolling, block copies, and the backdrop made from a picture file.
#include <cstdlib>

#include "bmp_test_files.h"
#include "display/frame.h"
#include "image/bitmap_image.h"
#include "shell/game_shell.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

// A sheet in memory: pixel (x, y) holds SheetValue(x, y).
struct TestSheet {
  BitmapFile file{};
  std::vector<uint8_t> pixels;
  TestSheet(int width, int height, int bits = 8) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int byte = 0; byte < bits / 8; ++byte) pixels.push_back(Value(x, y) + byte);
    file.info_header.biWidth = width;
    file.info_header.biHeight = height;
    file.info_header.biBitCount = static_cast<WORD>(bits);
    file.pixels = pixels.data();
  }
  static uint8_t Value(int x, int y) { return static_cast<uint8_t>(x * 3 + y * 17 + 1); }
};

class BitmapImageTest : public FreshMachineTest {
 protected:
  void TearDown() override {
    DestroyBitmapImage(&image);
    FreshMachineTest::TearDown();
  }
  uint8_t At(int x, int y) const { return image.pixels[y * image.width + x]; }
  BitmapImage image{};
};

TEST_F(BitmapImageTest, CreateSetsEveryField) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 3, 4, 10, 6, 16));
  EXPECT_EQ(1, image.state);
  EXPECT_EQ(0, image.flags);
  EXPECT_EQ(3, image.x);
  EXPECT_EQ(4, image.y);
  EXPECT_EQ(10, image.width);
  EXPECT_EQ(6, image.height);
  EXPECT_EQ(120, image.size_bytes);
  EXPECT_EQ(16, image.bits_per_pixel);
  for (int i = 0; i < 120; ++i) ASSERT_EQ(0, image.pixels[i]);
}

TEST_F(BitmapImageTest, FailedCreateOverALiveImageLeavesItUnloaded) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 4, 8));
  image.flags |= IMAGE_LOADED;
  uint8_t* const old = image.pixels;
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 65536, 65536, 8));  // 4 GiB: refused
  EXPECT_EQ(nullptr, image.pixels);
  EXPECT_EQ(0, image.flags & IMAGE_LOADED);
  uint8_t target[16] = {};
  EXPECT_EQ(0, DrawBitmapImage(&image, target, 4, 0));
  std::free(old);
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 0, 4, 8));
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 4, 4, 24));
  EXPECT_EQ(0, CreateBitmapImage(nullptr, 0, 0, 4, 4, 8));
}

TEST_F(BitmapImageTest, CellsAndAbsolutePositions) {
  const TestSheet sheet(2 * 117 + 1, 3 * 61 + 1);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 116, 60, 8));
  const struct {
    int cell_x, cell_y, mode, left, top;
  } cuts[] = {{1, 0, 0, 118, 1}, {0, 2, 0, 1, 123}, {0, 0, 1, 0, 0}, {5, 9, 2, 5, 9}};
  for (const auto& cut : cuts) {
    ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, cut.cell_x, cut.cell_y, cut.mode));
    EXPECT_EQ(IMAGE_LOADED, image.flags & IMAGE_LOADED);
    for (int y : {0, 59})
      for (int x : {0, 1, 115}) EXPECT_EQ(TestSheet::Value(cut.left + x, cut.top + y), At(x, y)) << cut.left;
  }
}

TEST_F(BitmapImageTest, CutsReachingOutsideCopyOnlyWhatIsInside) {
  const TestSheet small(320, 200);  // a small picture given as the backdrop
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 640, 480, 8));
  ASSERT_EQ(1, LoadBitmapImage(&image, &small.file, 0, 0, 1));
  EXPECT_EQ(TestSheet::Value(319, 199), At(319, 199));
  EXPECT_EQ(0, At(320, 0));
  EXPECT_EQ(0, At(0, 200));
  EXPECT_EQ(0, At(639, 479));

  const TestSheet sheet(20, 10);
  DestroyBitmapImage(&image);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 8, 4, 8));
  ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, 2, 1, 0));  // starts at (19, 6): one column, four rows
  EXPECT_EQ(TestSheet::Value(19, 6), At(0, 0));
  EXPECT_EQ(TestSheet::Value(19, 9), At(0, 3));
  EXPECT_EQ(0, At(1, 0));
  ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, -3, -2, 1));  // hangs over the top-left corner
  EXPECT_EQ(TestSheet::Value(0, 0), At(3, 2));
  EXPECT_EQ(TestSheet::Value(4, 1), At(7, 3));
  EXPECT_EQ(TestSheet::Value(19, 6), At(0, 0));  // outside the sheet: left as it was
  ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, 1 << 30, 1 << 30, 0));  // far away: nothing
  EXPECT_EQ(TestSheet::Value(0, 0), At(3, 2));
  ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, 10, 8, 1));  // the sheet's last two rows
  EXPECT_EQ(TestSheet::Value(10, 9), At(0, 1));
  EXPECT_EQ(TestSheet::Value(0, 0), At(3, 2));  // rows below the sheet: left as they were
}

TEST_F(BitmapImageTest, ASheetWithoutPixelsOrOfAnotherDepthIsNotRead) {
  TestSheet sheet(8, 8);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 4, 8));
  sheet.file.pixels = nullptr;
  EXPECT_EQ(0, LoadBitmapImage(&image, &sheet.file, 0, 0, 1));
  EXPECT_EQ(0, image.flags & IMAGE_LOADED);
  EXPECT_EQ(0, At(3, 3));
  const TestSheet wide(8, 8, 16);
  EXPECT_EQ(0, LoadBitmapImage(&image, &wide.file, 0, 0, 1));
  EXPECT_EQ(0, LoadBitmapImageRgb16(&image, &wide.file, 0, 0, 1));  // an 8-bit image
  EXPECT_EQ(0, LoadBitmapImage(nullptr, &wide.file, 0, 0, 1));
  EXPECT_EQ(0, LoadBitmapImage(&image, nullptr, 0, 0, 1));
}

TEST_F(BitmapImageTest, SixteenBitCut) {
  const TestSheet sheet(2 * 5 + 1, 4, 16);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 2, 16));
  ASSERT_EQ(1, LoadBitmapImageRgb16(&image, &sheet.file, 1, 0, 0));  // cell (1, 0) at pixel (6, 1)
  const uint16_t* pixels = reinterpret_cast<const uint16_t*>(image.pixels);
  EXPECT_EQ(TestSheet::Value(6, 1) | (TestSheet::Value(6, 1) + 1) << 8, pixels[0]);
  EXPECT_EQ(TestSheet::Value(9, 2) | (TestSheet::Value(9, 2) + 1) << 8, pixels[7]);
}

TEST_F(BitmapImageTest, DrawingIntoAWiderTarget) {
  const TestSheet sheet(640, 480);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 640, 480, 8));
  uint8_t target_row[1] = {};
  EXPECT_EQ(0, DrawBitmapImage(&image, target_row, 640, 0));  // created, not loaded
  ASSERT_EQ(1, LoadBitmapImage(&image, &sheet.file, 0, 0, 1));
  const int pitch = 700;
  std::vector<uint8_t> target(pitch * 480, 0xEE);
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), pitch, 0));
  for (int y : {0, 1, 479}) {
    EXPECT_EQ(TestSheet::Value(0, y), target[y * pitch]);
    EXPECT_EQ(TestSheet::Value(639, y), target[y * pitch + 639]);
    EXPECT_EQ(0xEE, target[y * pitch + 640]);
    EXPECT_EQ(0xEE, target[y * pitch + 699]);
  }
}

TEST_F(BitmapImageTest, TransparentDrawingSkipsZero) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 1, 2, 3, 2, 8));
  image.flags |= IMAGE_LOADED;
  std::vector<uint8_t> target(6 * 5, 9);
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), 6, 1));  // all zero: nothing changes
  EXPECT_EQ(std::vector<uint8_t>(30, 9), target);
  const uint8_t picture[6] = {0, 4, 0, 5, 0, 6};
  std::copy(picture, picture + 6, image.pixels);
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), 6, 1));
  const std::vector<uint8_t> keyed = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 4, 9, 9, 9,
                                      9, 5, 9, 6, 9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(keyed, target);
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), 6, 0));
  const std::vector<uint8_t> opaque = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0, 4, 0, 9, 9,
                                       9, 5, 0, 6, 9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(opaque, target);
}

TEST_F(BitmapImageTest, SixteenBitDrawing) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 1, 1, 2, 2, 16));
  image.flags |= IMAGE_LOADED;
  const uint16_t picture[4] = {0x1234, 0, 0, 0xABCD};
  std::memcpy(image.pixels, picture, sizeof picture);
  std::vector<uint16_t> target(4 * 3, 7);
  // An odd pitch of 9 bytes is taken as 8: four pixels a row.
  ASSERT_EQ(1, DrawBitmapImageRgb16(&image, reinterpret_cast<uint8_t*>(target.data()), 9, 1));
  EXPECT_EQ((std::vector<uint16_t>{7, 7, 7, 7, 7, 0x1234, 7, 7, 7, 7, 0xABCD, 7}), target);
  ASSERT_EQ(1, DrawBitmapImageRgb16(&image, reinterpret_cast<uint8_t*>(target.data()), 8, 0));
  EXPECT_EQ((std::vector<uint16_t>{7, 7, 7, 7, 7, 0x1234, 0, 7, 7, 0, 0xABCD, 7}), target);
  EXPECT_EQ(0, DrawBitmapImage(&image, reinterpret_cast<uint8_t*>(target.data()), 8, 0));
}

// Rows "0 1 2 3 4" and "5 6 7 8 9".
void FillColumns(BitmapImage* image) {
  for (int i = 0; i < 10; ++i) image->pixels[i] = static_cast<uint8_t>(i);
}

std::vector<uint8_t> Row(const BitmapImage& image, int row) {
  return std::vector<uint8_t>(image.pixels + row * image.width, image.pixels + (row + 1) * image.width);
}

TEST_F(BitmapImageTest, ScrollingRotatesColumns) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 5, 2, 8));
  FillColumns(&image);
  ASSERT_EQ(1, ScrollBitmapImage(&image, 2, 0));
  EXPECT_EQ((std::vector<uint8_t>{3, 4, 0, 1, 2}), Row(image, 0));
  EXPECT_EQ((std::vector<uint8_t>{8, 9, 5, 6, 7}), Row(image, 1));
  FillColumns(&image);
  ASSERT_EQ(1, ScrollBitmapImage(&image, -1, 0));
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 0}), Row(image, 0));
  EXPECT_EQ((std::vector<uint8_t>{6, 7, 8, 9, 5}), Row(image, 1));
  FillColumns(&image);
  ASSERT_EQ(1, ScrollBitmapImage(&image, -12, 0));  // -12 mod 5 = -2
  EXPECT_EQ((std::vector<uint8_t>{2, 3, 4, 0, 1}), Row(image, 0));
  FillColumns(&image);
  EXPECT_EQ(1, ScrollBitmapImage(&image, 10, 0));  // whole turns
  EXPECT_EQ(1, ScrollBitmapImage(&image, 0, 3));   // dy has no effect
  EXPECT_EQ((std::vector<uint8_t>{0, 1, 2, 3, 4}), Row(image, 0));
  EXPECT_EQ(0, ScrollBitmapImage(&image, 0, 0));
  BitmapImage narrow{};
  ASSERT_EQ(1, CreateBitmapImage(&narrow, 0, 0, 1, 2, 8));
  EXPECT_EQ(1, ScrollBitmapImage(&narrow, 3, 0));  // one column turns onto itself
  DestroyBitmapImage(&narrow);
  BitmapImage empty{};
  EXPECT_EQ(0, ScrollBitmapImage(&empty, 3, 0));  // no width: nothing to divide by
  EXPECT_EQ(0, ScrollBitmapImage(nullptr, 3, 0));
}

TEST_F(BitmapImageTest, ScrollingSixteenBit) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 3, 1, 16));
  const uint16_t row[3] = {0x0102, 0x0304, 0x0506};
  std::memcpy(image.pixels, row, sizeof row);
  ASSERT_EQ(1, ScrollBitmapImage(&image, 1, 0));
  const uint16_t* pixels = reinterpret_cast<const uint16_t*>(image.pixels);
  EXPECT_EQ(0x0506, pixels[0]);
  EXPECT_EQ(0x0102, pixels[1]);
  EXPECT_EQ(0x0304, pixels[2]);
}

TEST_F(BitmapImageTest, CopyRectClipsAndRefusesMixedDepths) {
  BitmapImage source{};
  ASSERT_EQ(1, CreateBitmapImage(&source, 0, 0, 5, 2, 8));
  FillColumns(&source);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 3, 8));
  ASSERT_EQ(1, CopyImageRect(&image, 2, 1, &source, 1, 0, 4, 2));  // only 2 x 2 fit
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0}), Row(image, 0));
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 1, 2}), Row(image, 1));
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 6, 7}), Row(image, 2));
  ASSERT_EQ(1, CopyImageRect(&image, -1, -1, &source, 0, 0, 3, 3));
  EXPECT_EQ((std::vector<uint8_t>{6, 7, 0, 0}), Row(image, 0));
  ASSERT_EQ(1, CopyImageRect(&image, 0, 2, &source, 0, 0, 4, 2));  // one row fits above the bottom
  EXPECT_EQ((std::vector<uint8_t>{0, 1, 2, 3}), Row(image, 2));
  BitmapImage wide{};
  ASSERT_EQ(1, CreateBitmapImage(&wide, 0, 0, 4, 3, 16));
  EXPECT_EQ(0, CopyImageRect(&wide, 0, 0, &source, 0, 0, 2, 2));
  EXPECT_EQ(0, CopyImageRect(&image, 0, 0, nullptr, 0, 0, 2, 2));
  EXPECT_EQ(0, CopyImageRect(nullptr, 0, 0, &source, 0, 0, 2, 2));
  DestroyBitmapImage(&wide);
  DestroyBitmapImage(&source);
}

// A block moved within one image lands as it was, whichever way the rectangles overlap.
TEST_F(BitmapImageTest, CopyRectWithinOneImage) {
  const struct {
    int dest_x, dest_y, src_x, src_y;
    std::vector<uint8_t> column0, row0;
  } cases[] = {{0, 1, 0, 0, {1, 1, 2, 3}, {1, 2, 3, 4}},   // down one
               {0, 0, 0, 1, {2, 3, 4, 4}, {2, 3, 4, 5}},   // up one
               {1, 0, 0, 0, {1, 2, 3, 4}, {1, 1, 2, 3}},   // right one
               {0, 0, 1, 1, {3, 4, 5, 4}, {3, 4, 5, 4}}};  // up and left
  for (const auto& c : cases) {
    ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 4, 8));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) image.pixels[y * 4 + x] = static_cast<uint8_t>(1 + x + y);
    ASSERT_EQ(1, CopyImageRect(&image, c.dest_x, c.dest_y, &image, c.src_x, c.src_y, 4, 4));
    EXPECT_EQ(c.row0, Row(image, 0)) << c.dest_x << c.dest_y << c.src_x << c.src_y;
    EXPECT_EQ(c.column0, (std::vector<uint8_t>{At(0, 0), At(0, 1), At(0, 2), At(0, 3)}))
        << c.dest_x << c.dest_y << c.src_x << c.src_y;
    DestroyBitmapImage(&image);
  }
}

TEST_F(BitmapImageTest, DestroyZeroesTheRecord) {
  EXPECT_EQ(0, DestroyBitmapImage(&image));
  EXPECT_EQ(0, DestroyBitmapImage(nullptr));
  ASSERT_EQ(1, CreateBitmapImage(&image, 5, 6, 7, 8, 8));
  EXPECT_EQ(1, DestroyBitmapImage(&image));
  const BitmapImage zero{};
  EXPECT_EQ(0, std::memcmp(&zero, &image, sizeof image));
}

class BackdropTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
  }
};

TEST_F(BackdropTest, APictureBecomesTheBackdropAndThePalette) {
  BmpSpec spec;
  spec.width = 320;
  spec.height = 200;
  spec.pixels = TestIndices(320, 200);
  ASSERT_TRUE(WriteBytes("Small.BMP", EncodeBmp(spec)));
  LoadBackdrop("Small.BMP");
  EXPECT_EQ(640, backdrop.width);
  EXPECT_EQ(480, backdrop.height);
  EXPECT_EQ(TestIndex(319, 199), backdrop.pixels[199 * 640 + 319]);
  EXPECT_EQ(0, backdrop.pixels[199 * 640 + 320]);
  EXPECT_EQ(0, backdrop.pixels[479 * 640 + 639]);
  EXPECT_EQ(TestRed(77), display.palette_entries[77].peRed);
  EXPECT_EQ(TestGreen(77), display.palette_entries[77].peGreen);
  EXPECT_EQ(TestBlue(77), display.palette_entries[77].peBlue);
  EXPECT_EQ(nullptr, work_bitmap.pixels);
  const int blits = PlatformCallCount(PlatformCall::Blt);
  DrawBackdrop();  // the backdrop covers the screen: no colour-0 fill first
  EXPECT_EQ(blits, PlatformCallCount(PlatformCall::Blt));
  uint8_t* back = LockBackSurface();
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(TestIndex(5, 7), back[7 * display.back_pitch + 5]);
  UnlockBackSurface();

  FillSurface(display.back_surface, 0xEE, nullptr);
  InjectFault(PlatformCall::Lock, 1);  // the copy cannot be made: the frame is colour 0 still
  DrawBackdrop();
  back = LockBackSurface();
  EXPECT_EQ(0, back[7 * display.back_pitch + 5]);
  UnlockBackSurface();

  LoadBackdrop("Missing.BMP");  // a blank backdrop, drawn as colour 0
  ASSERT_NE(nullptr, backdrop.pixels);
  EXPECT_EQ(0, backdrop.pixels[199 * 640 + 319]);
  const int blits_before_fill = PlatformCallCount(PlatformCall::Blt);
  DrawBackdrop();
  EXPECT_EQ(blits_before_fill + 1, PlatformCallCount(PlatformCall::Blt));
  back = LockBackSurface();
  EXPECT_EQ(0, back[7 * display.back_pitch + 5]);
  UnlockBackSurface();
}

// In the game's 8-bit mode a truecolour picture shows through the palette that is set, which
// stays as it was, so the sprites keep their colours.
TEST_F(BackdropTest, ATruecolourPictureKeepsTheGamesPalette) {
  PaletteEntry game_palette[256];
  for (int n = 0; n < 256; ++n) game_palette[n] = PaletteEntry{TestRed(n), TestGreen(n), TestBlue(n), PC_NOCOLLAPSE};
  SetPalette(game_palette);
  BmpSpec spec;
  spec.width = 320;
  spec.height = 200;
  spec.bits = 24;
  for (uint8_t index : TestIndices(320, 200))
    spec.pixels.insert(spec.pixels.end(), {TestBlue(index), TestGreen(index), TestRed(index)});
  ASSERT_TRUE(WriteBytes("True.BMP", EncodeBmp(spec)));
  LoadBackdrop("True.BMP");
  EXPECT_EQ(TestIndex(0, 0), backdrop.pixels[0]);
  EXPECT_EQ(TestIndex(319, 199), backdrop.pixels[199 * 640 + 319]);
  EXPECT_EQ(0, std::memcmp(game_palette, display.palette_entries, sizeof game_palette));
}

}  // namespace
