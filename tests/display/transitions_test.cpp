// Screen transitions and the line primitives.
#include "display/transitions.h"
#include "display_fixture.h"

namespace {

using TransitionsTest = OpenDisplayFixture;

// Each fade steps every entry (but entry 0 when fading to black) towards its colour, showing
// each step at once; the flags stay.
TEST_F(TransitionsTest, FadesStepTowardsTheirColourShowingEachStep) {
  const struct {
    int number, steps;
    std::vector<int> first_step, end;
  } rows[] = {{FadeToRed, 64, {16, 196, 26}, {255, 0, 0, 2}},     {FadeToWhite, 64, {14, 204, 34}, {255, 255, 255, 2}},
              {FadeToBlue, 64, {6, 196, 36}, {0, 0, 255, 2}},     {FadeToGreen, 64, {6, 206, 26}, {0, 255, 0, 2}},
              {FadeToBlack, 80, {7, 197, 27}, {0, 0, 0, 2}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number);
    PaletteEntry palette[256] = {};
    palette[0] = PaletteEntry{100, 100, 100, 0};
    palette[1] = PaletteEntry{255, 241, 4, 2};
    palette[3] = PaletteEntry{10, 200, 30, 2};
    SetPalette(palette);
    const int frames = HeadlessFrameCount();
    const uint32_t start = HeadlessNow();
    EXPECT_EQ(ScreenTransition(row.number, nullptr, 0), 1);
    EXPECT_EQ(HeadlessFrameCount() - frames, row.steps);
    EXPECT_GE(HeadlessNow() - start, row.steps * TRANSITION_STEP_MS);
    const uint8_t* shown = &HeadlessFrames()[frames].palette[4 * 3];
    EXPECT_EQ(std::vector<int>(shown, shown + 3), row.first_step);
    const PaletteEntry& end = display.palette_entries[3];
    EXPECT_EQ(std::vector<int>({end.peRed, end.peGreen, end.peBlue, end.peFlags}), row.end);
    EXPECT_EQ(display.palette_entries[0].peRed, row.number == FadeToBlack ? 100 : row.end[0]);
  }
  EXPECT_EQ(display.palette_entries[1].peRed, 15);  // fading to black (the last row) ends dark, not black
}

// The closing wipes blacken the whole screen, two lines a step from each edge, and nothing
// beyond the screen's width; the dissolve most of it.
TEST_F(TransitionsTest, WipesBlackenTheScreenLineByLine) {
  const struct {
    int number, bytes_per_pixel, steps;
  } rows[] = {{CloseTopBottom, 1, 120}, {CloseSides, 1, 160}, {CloseAll, 2, 160}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number * 10 + row.bytes_per_pixel);
    display.bits_per_pixel = 8 * row.bytes_per_pixel;
    const int pitch = 700 * row.bytes_per_pixel, width = 640 * row.bytes_per_pixel;
    std::vector<uint8_t> buffer(pitch * 480, 1);
    const uint32_t start = HeadlessNow();
    ScreenTransition(row.number, buffer.data(), pitch);
    EXPECT_GE(HeadlessNow() - start, row.steps * TRANSITION_STEP_MS);
    EXPECT_LT(HeadlessNow() - start, row.steps * (TRANSITION_STEP_MS + 8));
    for (int y = 0; y < 480; ++y) {
      EXPECT_EQ(std::count(&buffer[y * pitch], &buffer[y * pitch + width], 0), width) << y;
      EXPECT_EQ(buffer[y * pitch + width], 1) << y;
    }
  }
  display.bits_per_pixel = 8;
  std::vector<uint8_t> buffer(640 * 480, 1);
  ScreenTransition(Dissolve, buffer.data(), 640);
  EXPECT_GT(std::count(buffer.begin(), buffer.end(), 0), 640 * 480 * 95 / 100);
}

TEST_F(TransitionsTest, LinesAreClippedAndOrdered) {
  std::vector<uint8_t> buffer(640 * 480, 0);
  DrawHLine8(700, -5, 10, 3, buffer.data(), 640);
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 3), 640);
  EXPECT_EQ(std::count(buffer.begin() + 10 * 640, buffer.begin() + 11 * 640, 3), 640);
  DrawHLine8(12, 10, 20, 6, buffer.data(), 640);
  EXPECT_EQ(std::vector<uint8_t>(&buffer[20 * 640 + 9], &buffer[20 * 640 + 14]), std::vector<uint8_t>({0, 6, 6, 6, 0}));
}

TEST_F(TransitionsTest, SixteenBitLinesStepByUnits) {
  std::vector<uint16_t> buffer(640 * 8, 0);
  DrawVLine16(5, 2, 7, 0x1234, reinterpret_cast<uint8_t*>(buffer.data()), 1280);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(buffer[y * 640 + 7], (y >= 2 && y <= 5) ? 0x1234 : 0) << y;
  DrawHLine16(-1, 2, 0, 0x10077, reinterpret_cast<uint8_t*>(buffer.data()), 1280);
  DrawHLine16(6, 4, 1, 0x55, reinterpret_cast<uint8_t*>(buffer.data()), 1280);
  EXPECT_EQ(std::vector<uint16_t>(&buffer[0], &buffer[4]), std::vector<uint16_t>({0x77, 0x77, 0x77, 0}));
  EXPECT_EQ(std::vector<uint16_t>(&buffer[643], &buffer[648]), std::vector<uint16_t>({0, 0x55, 0x55, 0x55, 0}));
}

}  // namespace
