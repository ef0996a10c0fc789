// The game's generated pictures load and cut as the game cuts them: every full-screen picture
// is a 640x480 8-bit picture, every sheet cuts into its sprite's frames cell by cell.
#include "../game_picture_list.h"
#include "display/frame.h"
#include "image/sprite.h"
#include "test_support.h"

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
  int Load(const char* name) { return LoadBitmapFile(&bitmap, (std::string(VORK_ASSET_DIR) + "/" + name).c_str()); }
  BitmapFile bitmap{};
};

TEST_F(GamePicturesTest, PicturesLoadAndSheetsCutIntoEveryFrame) {
  for (const char* name : FULL_SCREEN) {
    ASSERT_EQ(1, Load(name)) << name;
    EXPECT_EQ(640, bitmap.info_header.biWidth) << name;
    EXPECT_EQ(480, bitmap.info_header.biHeight) << name;
    EXPECT_EQ(8, bitmap.info_header.biBitCount) << name;
  }
  CreateTestWindow();
  ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
  for (const Sheet& sheet : SHEETS) {
    SCOPED_TRACE(sheet.name);
    ASSERT_EQ(1, Load(sheet.name));
    Sprite sprite{};
    ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, sheet.cell_width, sheet.cell_height, sheet.cells, 17,
                              DDSCAPS_SYSTEMMEMORY, 0, 8));
    int drawn_pixels = 0;
    for (int i = 0; i < sheet.cells; ++i) {
      const int cell_x = i % sheet.columns, cell_y = i / sheet.columns;
      ASSERT_EQ(1, LoadSpriteFrame(&sprite, &bitmap, i, cell_x, cell_y, 0)) << i;
      const int left = cell_x * (sheet.cell_width + 1) + 1, top = cell_y * (sheet.cell_height + 1) + 1;
      ASSERT_LE(left + sheet.cell_width, bitmap.info_header.biWidth);
      ASSERT_LE(top + sheet.cell_height, bitmap.info_header.biHeight);
      int32_t pitch = 0;
      const uint8_t* frame = LockSurface(sprite.frames[i], &pitch);
      ASSERT_NE(nullptr, frame);
      for (int y = 0; y < sheet.cell_height; ++y)
        for (int x = 0; x < sheet.cell_width; ++x) {
          const uint8_t expected = bitmap.pixels[(top + y) * bitmap.info_header.biWidth + left + x];
          ASSERT_EQ(expected, frame[y * pitch + x]) << i;
          drawn_pixels += expected != 0;
        }
      UnlockSurface(sprite.frames[i]);
    }
    EXPECT_GT(drawn_pixels, 0);
    DestroySprite(&sprite);
  }
}

}  // namespace
