#include "hosts/sdl/window_pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// SDL's dummy video driver gives a window pixels in memory, with no display.
class WindowPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("test", 0, 0, 10, 6, 0);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < PALETTE_ENTRIES; ++i) palette_bytes[i * 4] = static_cast<uint8_t>(i);  // red = index
  }
  void TearDown() override {
    CloseWindowPixels();
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // The window's pixels, a row per line: '.' black, a digit for the red of a palette index,
  // '#' anything else.
  std::string Picture() {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    std::string picture;
    for (int y = 0; y < surface->h; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
      for (int x = 0; x < surface->w; ++x) {
        const uint32_t pixel = row[x] & 0xFFFFFFu;
        picture += pixel == 0 ? '.' : (pixel & 0xFFFF) == 0 && (pixel >> 16) < 10 ? static_cast<char>('0' + (pixel >> 16)) : '#';
      }
      picture += '|';
    }
    return picture;
  }
  // Writes junk over the window's pixels, to see which of them are drawn again.
  void Scribble() { SDL_FillRect(SDL_GetWindowSurface(window), nullptr, 0x123456u); }
  void Show(bool changes_only) {
    ASSERT_TRUE(UpdateShownFrame(shown, HostFrame{pixels, 4, 3, 4, 8, palette_bytes}));
    if (changes_only)
      ShowChangesInWindowPixels(shown, palette);
    else
      ShowInWindowPixels(shown, palette);
  }

  SDL_Window* window = nullptr;
  uint8_t palette_bytes[PALETTE_BYTES] = {};
  uint8_t pixels[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3};  // 4 x 3
  ShownFrame shown{};
  PaletteLookup palette{};
};

// The whole frame first, then only its changed rows; a new window size or frame shape draws
// everything again, and a closed window nothing.
TEST_F(WindowPixelsTest, DrawsTheWholeFrameThenOnlyWhatChanged) {
  ASSERT_TRUE(OpenWindowPixels(window));
  EXPECT_TRUE(WindowPixelsOpen());
  ShowInWindowPixels(shown, palette);
  EXPECT_EQ(Picture(), "..........|..........|..........|..........|..........|..........|") << "black before a frame";
  Scribble();
  Show(true);  // the first frame is drawn whole, bars and all
  EXPECT_EQ(Picture(), ".11223344.|.11223344.|.55667788.|.55667788.|.99112233.|.99112233.|");
  Scribble();
  pixels[9] = 4;  // the last row alone changes: only its two window rows are drawn
  Show(true);
  EXPECT_EQ(Picture(), "##########|##########|##########|##########|#99442233#|#99442233#|");
  Scribble();
  palette_bytes[2 * 4] = 0;  // index 2 turns black: every row is drawn again, the bars are not
  pixels[9] = 9;
  Show(true);
  EXPECT_EQ(Picture(), "#11..3344#|#11..3344#|#55667788#|#55667788#|#9999..33#|#9999..33#|");
  Scribble();
  ShowInWindowPixels(shown, palette);  // the window uncovered: all of it again
  EXPECT_EQ(Picture(), ".11..3344.|.11..3344.|.55667788.|.55667788.|.9999..33.|.9999..33.|");
  SDL_SetWindowSize(window, 12, 6);
  Scribble();
  pixels[0] = 9;  // one row changed, but the window's pixels are new
  Show(true);
  EXPECT_EQ(Picture(), "..99..3344..|..99..3344..|..55667788..|..55667788..|..9999..33..|..9999..33..|");
  Scribble();
  // A row fewer: 2:1 fills the window, each pixel tripled.
  ASSERT_TRUE(UpdateShownFrame(shown, HostFrame{pixels, 4, 2, 4, 8, palette_bytes}));
  ShowChangesInWindowPixels(shown, palette);
  EXPECT_EQ(Picture(), "999...333444|999...333444|999...333444|555666777888|555666777888|555666777888|");
  CloseWindowPixels();
  EXPECT_FALSE(WindowPixelsOpen());
  Scribble();
  ShowInWindowPixels(shown, palette);
  EXPECT_EQ(Picture().find('.'), std::string::npos) << "a closed window's pixels are not drawn";
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  ASSERT_NE(renderer, nullptr) << SDL_GetError();
  EXPECT_TRUE(RendersInSoftware(renderer));
  SDL_DestroyRenderer(renderer);
  EXPECT_FALSE(RendersInSoftware(nullptr));
}

}  // namespace
