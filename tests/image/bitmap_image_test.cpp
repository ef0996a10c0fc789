// Static images: cuts out of sheets (cells, absolute, clipped), opaque and transparent drawing,
// scrolling and block copies.
#include <cstdlib>

#include "bmp_test_files.h"
#include "image/bitmap_image.h"
#include "test_support.h"

namespace {

class BitmapImageTest : public FreshMachineTest {
 protected:
  void TearDown() override {
    DestroyBitmapImage(&image);
    FreshMachineTest::TearDown();
  }
  // The image's bytes, top row first.
  std::vector<uint8_t> Pixels() const { return std::vector<uint8_t>(image.pixels, image.pixels + image.size_bytes); }
  // A 5 x 2 8-bit image with rows "0 1 2 3 4" and "5 6 7 8 9".
  void CreateCounting(BitmapImage* counting) {
    ASSERT_EQ(1, CreateBitmapImage(counting, 0, 0, 5, 2, 8));
    for (int i = 0; i < 10; ++i) counting->pixels[i] = static_cast<uint8_t>(i);
  }
  BitmapImage image{};
};

TEST_F(BitmapImageTest, CreateMakesAZeroedBufferOrLeavesTheImageUnloaded) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 3, 4, 10, 6, 16));
  EXPECT_EQ(std::vector<uint8_t>(120, 0), std::vector<uint8_t>(image.pixels, image.pixels + 120));
  image.flags |= IMAGE_LOADED;
  uint8_t* const old = image.pixels;
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 65536, 65536, 8));  // 4 GiB: refused
  EXPECT_EQ(nullptr, image.pixels);
  EXPECT_EQ(0, image.flags & IMAGE_LOADED);
  std::free(old);
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 0, 4, 8));
  EXPECT_EQ(0, CreateBitmapImage(&image, 0, 0, 4, 4, 24));
  EXPECT_EQ(0, CreateBitmapImage(nullptr, 0, 0, 4, 4, 8));
  EXPECT_EQ(1, CreateBitmapImage(&image, 5, 6, 7, 8, 8));
  EXPECT_EQ(1, DestroyBitmapImage(&image));
  const BitmapImage zero{};
  EXPECT_EQ(0, std::memcmp(&zero, &image, sizeof image));
  EXPECT_EQ(0, DestroyBitmapImage(&image));
  EXPECT_EQ(0, DestroyBitmapImage(nullptr));
}

// Each cut fills the image from sheet pixel (left, top) on; what lies outside the sheet stays
// as it was (0xEE). A sheet without pixels, or of another depth, is not read.
TEST_F(BitmapImageTest, CutsCopyWhatLiesInsideTheSheet) {
  const struct {
    int sheet_width, sheet_height, bits, width, height, cell_x, cell_y, mode, result, left, top;
  } cuts[] = {
      {235, 184, 8, 116, 60, 1, 0, 0, 1, 118, 1},  // cells with one-pixel borders
      {235, 184, 8, 116, 60, 5, 9, 2, 1, 5, 9},  // any mode but 0 cuts at a pixel
      {20, 10, 8, 8, 4, 2, 1, 0, 1, 19, 6},
      {20, 10, 8, 8, 4, -3, -2, 1, 1, -3, -2},
      {20, 10, 8, 8, 4, 10, 8, 1, 1, 10, 8},
      {20, 10, 8, 8, 4, 1 << 30, 1 << 30, 0, 1, 1 << 30, 1 << 30},
      {11, 4, 16, 4, 2, 1, 0, 0, 1, 6, 1},
      {8, 8, 16, 4, 4, 0, 0, 1, 0, 0, 0},  // an 8-bit image, a 16-bit sheet
      {8, 8, 8, 4, 4, 0, 0, 1, 0, 0, 0},  // no pixels
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut.left << "," << cut.top);
    TestSheet sheet(cut.sheet_width, cut.sheet_height, cut.bits);
    if (cut.bits == 8 && cut.result == 0) sheet.file.pixels = nullptr;
    const int bytes = cut.result ? cut.bits / 8 : 1;
    ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, cut.width, cut.height, 8 * bytes));
    std::memset(image.pixels, 0xEE, image.size_bytes);
    const auto load = bytes == 2 ? LoadBitmapImageRgb16 : LoadBitmapImage;
    ASSERT_EQ(cut.result, load(&image, &sheet.file, cut.cell_x, cut.cell_y, cut.mode));
    EXPECT_EQ(cut.result ? IMAGE_LOADED : 0, image.flags & IMAGE_LOADED);
    for (int y = 0; y < cut.height; ++y)
      for (int x = 0; x < cut.width * bytes; ++x) {
        const int64_t sx = int64_t{cut.left} + x / bytes, sy = int64_t{cut.top} + y;
        const bool inside = cut.result && sx >= 0 && sx < cut.sheet_width && sy >= 0 && sy < cut.sheet_height;
        const int expected = inside ? TestIndex(int(sx) * bytes + x % bytes, int(sy)) : 0xEE;
        ASSERT_EQ(expected, image.pixels[y * cut.width * bytes + x]) << x << "," << y;
      }
    DestroyBitmapImage(&image);
  }
  const TestSheet sheet(4, 4, 8);
  EXPECT_EQ(0, LoadBitmapImage(nullptr, &sheet.file, 0, 0, 1));
  EXPECT_EQ(0, LoadBitmapImage(&image, nullptr, 0, 0, 1));
}

TEST_F(BitmapImageTest, DrawingIsOpaqueOrSkipsZero) {
  ASSERT_EQ(1, CreateBitmapImage(&image, 1, 2, 3, 2, 8));
  const uint8_t picture[6] = {0, 4, 0, 5, 0, 6};
  std::copy(picture, picture + 6, image.pixels);
  std::vector<uint8_t> target(6 * 5, 9);
  EXPECT_EQ(0, DrawBitmapImage(&image, target.data(), 6, 0));  // created, not loaded
  EXPECT_EQ(std::vector<uint8_t>(30, 9), target);
  image.flags |= IMAGE_LOADED;
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), 6, 1));
  const std::vector<uint8_t> keyed = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 4, 9, 9, 9,
                                      9, 5, 9, 6, 9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(keyed, target);
  ASSERT_EQ(1, DrawBitmapImage(&image, target.data(), 6, 0));
  const std::vector<uint8_t> opaque = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0, 4, 0, 9, 9,
                                       9, 5, 0, 6, 9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(opaque, target);
  EXPECT_EQ(0, DrawBitmapImageRgb16(&image, target.data(), 6, 0));  // an 8-bit image

  BitmapImage wide{};
  ASSERT_EQ(1, CreateBitmapImage(&wide, 1, 1, 2, 2, 16));
  wide.flags |= IMAGE_LOADED;
  const uint16_t wide_picture[4] = {0x1234, 0, 0, 0xABCD};
  std::memcpy(wide.pixels, wide_picture, sizeof wide_picture);
  std::vector<uint16_t> units(4 * 3, 7);
  // An odd pitch of 9 bytes is taken as 8: four pixels a row.
  ASSERT_EQ(1, DrawBitmapImageRgb16(&wide, reinterpret_cast<uint8_t*>(units.data()), 9, 1));
  EXPECT_EQ((std::vector<uint16_t>{7, 7, 7, 7, 7, 0x1234, 7, 7, 7, 7, 0xABCD, 7}), units);
  DestroyBitmapImage(&wide);
}

TEST_F(BitmapImageTest, ScrollingRotatesColumns) {
  const struct {
    int dx, dy, result;
    std::vector<uint8_t> pixels;  // two rows
  } cases[] = {
      {2, 0, 1, {3, 4, 0, 1, 2, 8, 9, 5, 6, 7}},
      {-12, 0, 1, {2, 3, 4, 0, 1, 7, 8, 9, 5, 6}},  // -12 mod 5 = -2
      {10, 0, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},   // whole turns
      {0, 0, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dx);
    CreateCounting(&image);
    EXPECT_EQ(c.result, ScrollBitmapImage(&image, c.dx, c.dy));
    EXPECT_EQ(c.pixels, Pixels());
    DestroyBitmapImage(&image);
  }
  BitmapImage empty{};
  EXPECT_EQ(0, ScrollBitmapImage(&empty, 3, 0));  // no width: nothing to divide by
  EXPECT_EQ(0, ScrollBitmapImage(nullptr, 3, 0));
}

TEST_F(BitmapImageTest, CopyRectClipsAndRefusesMixedDepths) {
  BitmapImage source{};
  CreateCounting(&source);
  ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 3, 8));
  ASSERT_EQ(1, CopyImageRect(&image, 2, 1, &source, 1, 0, 4, 2));  // only 2 x 2 fit
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 6, 7}), Pixels());
  ASSERT_EQ(1, CopyImageRect(&image, -1, -1, &source, 0, 0, 3, 3));  // into the top row
  ASSERT_EQ(1, CopyImageRect(&image, 0, 2, &source, 0, 0, 4, 2));    // one row fits above the bottom
  EXPECT_EQ((std::vector<uint8_t>{6, 7, 0, 0, 0, 0, 1, 2, 0, 1, 2, 3}), Pixels());
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
    std::vector<uint8_t> pixels;
  } cases[] = {{0, 1, 0, 0, {1, 2, 3, 4, 1, 2, 3, 4, 2, 3, 4, 5, 3, 4, 5, 6}},   // down one
               {0, 0, 0, 1, {2, 3, 4, 5, 3, 4, 5, 6, 4, 5, 6, 7, 4, 5, 6, 7}},   // up one
               {1, 0, 0, 0, {1, 1, 2, 3, 2, 2, 3, 4, 3, 3, 4, 5, 4, 4, 5, 6}}};  // right one
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dest_x << c.dest_y << c.src_x << c.src_y);
    ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 4, 4, 8));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) image.pixels[y * 4 + x] = static_cast<uint8_t>(1 + x + y);
    ASSERT_EQ(1, CopyImageRect(&image, c.dest_x, c.dest_y, &image, c.src_x, c.src_y, 4, 4));
    EXPECT_EQ(c.pixels, Pixels());
    DestroyBitmapImage(&image);
  }
}

}  // namespace
