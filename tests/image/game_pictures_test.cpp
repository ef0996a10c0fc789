// The game's 23 generated pictures load and cut as the game cuts them: every full-screen picture
// into the 640x480 backdrop, every sheet into its sprite's frames.
#include "../game_picture_list.h"
#include "display/frame.h"
#include "image/bitmap_image.h"
#include "image/sprite.h"
#include "replay.h"
#include "test_support.h"

#include <unistd.h>

namespace {

using game_pictures::FULL_SCREEN;
using game_pictures::Sheet;
using game_pictures::SHEETS;

class GamePicturesTest : public FreshMachineTest {
 protected:
  void TearDown() override {
    UnloadBitmapFile(&bitmap);
    FreshMachineTest::TearDown();
  }
  std::string Path(const char* name) const { return std::string(VORK_ASSET_DIR) + "/" + name; }
  uint8_t SheetAt(int x, int y) const { return bitmap.pixels[y * bitmap.info_header.biWidth + x]; }
  BitmapFile bitmap{};
};

TEST_F(GamePicturesTest, FullScreenPicturesBecomeTheBackdrop) {
  for (const char* name : FULL_SCREEN) {
    ASSERT_EQ(1, LoadBitmapFile(&bitmap, Path(name).c_str())) << name;
    EXPECT_EQ(640, bitmap.info_header.biWidth) << name;
    EXPECT_EQ(480, bitmap.info_header.biHeight) << name;
    EXPECT_EQ(8, bitmap.info_header.biBitCount) << name;
    BitmapImage image{};
    ASSERT_EQ(1, CreateBitmapImage(&image, 0, 0, 640, 480, 8));
    ASSERT_EQ(1, LoadBitmapImage(&image, &bitmap, 0, 0, 1)) << name;
    EXPECT_EQ(0, std::memcmp(image.pixels, bitmap.pixels, 640 * 480)) << name;
    DestroyBitmapImage(&image);
    UnloadBitmapFile(&bitmap);
  }
}

TEST_F(GamePicturesTest, SheetsCutIntoEveryFrame) {
  CreateTestWindow();
  ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
  for (const Sheet& sheet : SHEETS) {
    ASSERT_EQ(1, LoadBitmapFile(&bitmap, Path(sheet.name).c_str())) << sheet.name;
    Sprite sprite{};
    ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, sheet.cell_width, sheet.cell_height, sheet.cells, 17,
                              DDSCAPS_SYSTEMMEMORY, 0, 8));
    int drawn_pixels = 0;
    for (int i = 0; i < sheet.cells; ++i) {
      const int cell_x = i % sheet.columns, cell_y = i / sheet.columns;
      ASSERT_EQ(1, LoadSpriteFrame(&sprite, &bitmap, i, cell_x, cell_y, 0)) << sheet.name << " " << i;
      const int left = cell_x * (sheet.cell_width + 1) + 1, top = cell_y * (sheet.cell_height + 1) + 1;
      ASSERT_LE(left + sheet.cell_width, bitmap.info_header.biWidth) << sheet.name;
      ASSERT_LE(top + sheet.cell_height, bitmap.info_header.biHeight) << sheet.name;
      int32_t pitch = 0;
      const uint8_t* frame = LockSurface(sprite.frames[i], &pitch);
      ASSERT_NE(nullptr, frame);
      for (int y = 0; y < sheet.cell_height; ++y)
        for (int x = 0; x < sheet.cell_width; ++x) {
          ASSERT_EQ(SheetAt(left + x, top + y), frame[y * pitch + x]) << sheet.name << " " << i;
          drawn_pixels += frame[y * pitch + x] != 0;
        }
      UnlockSurface(sprite.frames[i]);
    }
    EXPECT_GT(drawn_pixels, 0) << sheet.name;
    DestroySprite(&sprite);
    UnloadBitmapFile(&bitmap);
  }
}

// The replay of the real game opens the title picture and its first drawn frame shows it, in the
// picture's own palette (frames 0 and 1 are the palette being set before anything is drawn).
TEST_F(GamePicturesTest, ReplayShowsTheTitlePicture) {
  ASSERT_EQ(1, LoadBitmapFile(&bitmap, Path("Intro1.BMP").c_str()));
  char here[4096];
  ASSERT_NE(nullptr, getcwd(here, sizeof here));
  ReplayOptions options;
  options.assets_dir = VORK_ASSET_DIR;
  options.out_dir = here;
  options.max_ms = 20;  // stops after the first drawn frame, the one kept in memory
  options.png = PngChoice::Last;
  std::string error;
  ASSERT_EQ(2, RunReplay(options, &error)) << error;
  ASSERT_EQ(0, chdir(here));
  EXPECT_NE(std::string::npos, ReadTextFile("log.txt").find("\n0 open Intro1.BMP ok\n"));
  ASSERT_EQ(3, HeadlessFrameCount());
  const HeadlessFrame& first_drawn = HeadlessFrames().back();
  ASSERT_EQ(640, first_drawn.width);
  for (int y = 0; y < 480; ++y)
    ASSERT_EQ(0, std::memcmp(&first_drawn.pixels[y * 640], &bitmap.pixels[y * 640], 640)) << y;
  for (int n = 0; n < 256; ++n) {
    EXPECT_EQ(bitmap.palette[n].peRed, first_drawn.palette[4 * n]) << n;
    EXPECT_EQ(bitmap.palette[n].peBlue, first_drawn.palette[4 * n + 2]) << n;
  }
  display = DisplayState{};
}

}  // namespace
