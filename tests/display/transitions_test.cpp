// Screen transitions and the line primitives.
#include "display/frame.h"
#include "display/transitions.h"
#include "test_support.h"

namespace {

class TransitionsTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  }
  void SetEntry(int index, PaletteEntry entry) {
    PaletteEntry palette[256];
    GetPalette(palette);
    palette[index] = entry;
    SetPalette(palette);
  }
  PaletteEntry Entry(int index) { return display.palette_entries[index]; }
};

TEST_F(TransitionsTest, FadeToRedReachesRedStepByStepAndKeepsFlags) {
  SetEntry(10, PaletteEntry{10, 200, 30, 4});
  const int frames = HeadlessFrameCount();
  const uint32_t start = HeadlessNow();
  ScreenTransition(FadeToRed, nullptr, 0);
  EXPECT_EQ(HeadlessFrameCount() - frames, 64);  // each step shows at once
  EXPECT_GE(HeadlessNow() - start, 64u * 12u);
  const HeadlessFrame& first = HeadlessFrames()[frames];
  EXPECT_EQ(first.palette[40], 16);
  EXPECT_EQ(first.palette[41], 196);
  EXPECT_EQ(first.palette[42], 26);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(Entry(i).peRed, 255);
    EXPECT_EQ(Entry(i).peGreen | Entry(i).peBlue, 0);
  }
  EXPECT_EQ(Entry(10).peFlags, 4);
}

TEST_F(TransitionsTest, FadeToBlackSparesEntryZeroAndEndsDarkNotBlack) {
  SetEntry(0, PaletteEntry{100, 100, 100, 0});
  SetEntry(3, PaletteEntry{255, 241, 4, 2});
  ScreenTransition(FadeToBlack, nullptr, 0);
  EXPECT_EQ(Entry(0).peRed, 100);
  EXPECT_EQ(Entry(3).peRed, 15);
  EXPECT_EQ(Entry(3).peGreen, 0);
  EXPECT_EQ(Entry(3).peBlue, 0);
  EXPECT_EQ(Entry(3).peFlags, 2);
}

TEST_F(TransitionsTest, OtherFadesReachTheirColour) {
  SetEntry(1, PaletteEntry{250, 0, 128, 0});
  ScreenTransition(FadeToWhite, nullptr, 0);
  EXPECT_EQ(Entry(1).peRed, 255);
  EXPECT_EQ(Entry(1).peGreen, 255);
  ScreenTransition(FadeToBlue, nullptr, 0);
  EXPECT_EQ(Entry(1).peRed, 0);
  EXPECT_EQ(Entry(1).peBlue, 255);
  ScreenTransition(FadeToGreen, nullptr, 0);
  EXPECT_EQ(Entry(1).peGreen, 255);
  EXPECT_EQ(Entry(1).peBlue, 0);
}

TEST_F(TransitionsTest, NumbersOutsideTheTableDoNothing) {
  const uint32_t start = HeadlessNow();
  ScreenTransition(9, nullptr, 0);
  ScreenTransition(-1, nullptr, 0);
  EXPECT_LE(HeadlessNow() - start, 1u);
}

TEST_F(TransitionsTest, CloseTopBottomBlackensAllRowsInHundredTwentySteps) {
  std::vector<uint8_t> buffer(700 * 480, 1);
  const uint32_t start = HeadlessNow();
  ScreenTransition(CloseTopBottom, buffer.data(), 700);
  EXPECT_GE(HeadlessNow() - start, 120u * 12u);
  EXPECT_LT(HeadlessNow() - start, 120u * 20u);
  for (int y = 0; y < 480; ++y) {
    EXPECT_EQ(buffer[y * 700 + 0], 0);
    EXPECT_EQ(buffer[y * 700 + 639], 0);
    EXPECT_EQ(buffer[y * 700 + 640], 1);  // beyond the screen's width: untouched
  }
}

TEST_F(TransitionsTest, CloseSidesAndCloseAllCoverTheScreen) {
  for (int number : {CloseSides, CloseAll}) {
    std::vector<uint8_t> buffer(640 * 480, 1);
    ScreenTransition(number, buffer.data(), 640);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), 640 * 480) << number;
  }
}

TEST_F(TransitionsTest, DissolvePaintsMostOfTheScreen) {
  std::vector<uint8_t> buffer(640 * 480, 1);
  ScreenTransition(Dissolve, buffer.data(), 640);
  EXPECT_GT(std::count(buffer.begin(), buffer.end(), 0), 640 * 480 * 95 / 100);
}

TEST_F(TransitionsTest, LinesAreClippedAndOrdered) {
  std::vector<uint8_t> buffer(640 * 480, 0);
  DrawHLine8(700, -5, 10, 3, buffer.data(), 640);
  EXPECT_EQ(std::count(buffer.begin() + 10 * 640, buffer.begin() + 11 * 640, 3), 640);
  DrawHLine8(0, 639, 480, 3, buffer.data(), 640);
  DrawVLine8(0, 479, 640, 3, buffer.data(), 640);
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 3), 640);
  DrawVLine8(500, -3, 4, 5, buffer.data(), 640);
  EXPECT_EQ(buffer[0 * 640 + 4], 5);
  EXPECT_EQ(buffer[479 * 640 + 4], 5);
}

TEST_F(TransitionsTest, SixteenBitLinesStepByUnits) {
  std::vector<uint16_t> buffer(640 * 8, 0);
  DrawVLine16(5, 2, 7, 0x1234, reinterpret_cast<uint8_t*>(buffer.data()), 1280);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(buffer[y * 640 + 7], (y >= 2 && y <= 5) ? 0x1234 : 0) << y;
  DrawHLine16(-1, 2, 0, 0x10077, reinterpret_cast<uint8_t*>(buffer.data()), 1280);
  EXPECT_EQ(buffer[0], 0x77);
  EXPECT_EQ(buffer[2], 0x77);
  EXPECT_EQ(buffer[3], 0);
}

}  // namespace
