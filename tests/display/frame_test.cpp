// Frames: locks, flips, fills, the palette copy, pixel writes and the frame clock.
#include "display/frame.h"
#include "soft/soft_platform.h"
#include "test_support.h"

namespace {

class FrameTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow(100, 50);
    ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  }
};

TEST_F(FrameTest, LocksDoNotNestAndBlockTheFlip) {
  uint8_t* first = LockBackSurface();
  ASSERT_NE(first, nullptr);
  EXPECT_GT(display.back_pitch, 640);
  EXPECT_EQ(LockBackSurface(), first);
  const int frames = HeadlessFrameCount();
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(HeadlessFrameCount(), frames);
  EXPECT_EQ(UnlockBackSurface(), 1);
  EXPECT_EQ(display.back_buffer, nullptr);
  EXPECT_EQ(display.back_pitch, 0);
  EXPECT_EQ(UnlockBackSurface(), 0);
  EXPECT_EQ(FlipPages(), 1);
  EXPECT_EQ(HeadlessFrameCount(), frames + 1);
}

TEST_F(FrameTest, FillUsesTheLowSixteenBitsOfTheColour) {
  FillSurface(display.back_surface, 0x10005, nullptr);
  uint8_t* memory = LockBackSurface();
  EXPECT_EQ(memory[0], 5);
  UnlockBackSurface();
  const ClipRect corner{630, 470, 640, 480};
  FillSurface(display.back_surface, 9, &corner);
  memory = LockBackSurface();
  EXPECT_EQ(memory[479 * display.back_pitch + 639], 9);
  EXPECT_EQ(memory[469 * display.back_pitch + 639], 5);
  UnlockBackSurface();
}

TEST_F(FrameTest, FlipShowsTheFrameDrawnIntoTheBackBuffer) {
  uint8_t* memory = LockBackSurface();
  memory[10 * display.back_pitch + 20] = 42;
  UnlockBackSurface();
  ASSERT_EQ(FlipPages(), 1);
  const HeadlessFrame& frame = HeadlessFrames().back();
  EXPECT_EQ(frame.width, 640);
  EXPECT_EQ(frame.pixels[10 * 640 + 20], 42);
}

TEST_F(FrameTest, FlipRestoresLostSurfacesAndNeverHangs) {
  InjectFault(PlatformCall::Flip, 1, 2);
  EXPECT_EQ(FlipPages(), 1);  // lost twice, restored, then shown
  InjectFault(PlatformCall::Flip, 1, 1000000);
  const int attempts_before = PlatformCallCount(PlatformCall::Flip);
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::Flip) - attempts_before, FLIP_ATTEMPTS);
  HeadlessSetDisplayLost(true);  // minimised: every flip fails until the display returns
  ClearFaults();
  EXPECT_EQ(FlipPages(), 0);
  HeadlessSetDisplayLost(false);
  EXPECT_EQ(FlipPages(), 1);
}

TEST_F(FrameTest, PaletteCopyRoundTripsAndSingleEntriesStayAlone) {
  PaletteEntry p[256];
  for (int i = 0; i < 256; ++i) p[i] = PaletteEntry{uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i), uint8_t(i & 7)};
  SetPalette(p);
  PaletteEntry q[256];
  GetPalette(q);
  EXPECT_EQ(std::memcmp(p, q, sizeof q), 0);
  EXPECT_EQ(HeadlessFrames().back().palette[4 * 7 + 1], 7 ^ 0x55);  // shown at once
  const PaletteEntry red{255, 0, 0, 0};
  SetPaletteEntry(5, &red);
  GetPalette(q);
  EXPECT_EQ(q[5].peRed, 255);
  EXPECT_EQ(q[5].peBlue, 0);
  EXPECT_EQ(std::memcmp(p, q, 5 * sizeof(PaletteEntry)), 0);
  EXPECT_EQ(std::memcmp(p + 6, q + 6, 250 * sizeof(PaletteEntry)), 0);
  PaletteEntry one;
  GetPaletteEntry(6, &one);
  EXPECT_EQ(one.peRed, 6);
}

TEST(PixelWrites, SixteenBitUnitsCountHalfThePitch) {
  std::vector<uint16_t> buffer(641 * 4, 0);
  PlotPixel16(3, 2, 0xBEEF, reinterpret_cast<uint8_t*>(buffer.data()), 1282);
  EXPECT_EQ(buffer[2 * 641 + 3], 0xBEEF);
  std::vector<uint8_t> bytes(100 * 3, 0);
  PlotPixel8(7, 2, 9, bytes.data(), 100);
  EXPECT_EQ(bytes[207], 9);
}

TEST(FrameClock, WaitsOutThePeriodAcrossTheWrap) {
  StartFreshMachine(0xFFFFFFF0u);
  const uint32_t start = StartClock();
  const uint32_t end = WaitClock(30);
  EXPECT_GE(static_cast<uint32_t>(end - start), 30u);
  EXPECT_LT(static_cast<uint32_t>(end - start), 40u);  // it did not wait for the counter to come round
  StartClock();
  const uint32_t now = HeadlessNow();
  WaitClock(0);
  EXPECT_LE(HeadlessNow() - now, 2u);
}

TEST(WindowedFlip, BlitsToTheWindowCornerPlusOffsets) {
  StartFreshMachine();
  CreateTestWindow(100, 50);
  ASSERT_EQ(DisplayInit(640, 480, 8, 1), 1);
  FillSurface(display.back_surface, 7, nullptr);
  ASSERT_EQ(FlipPages(), 1);
  uint8_t* screen = LockPrimarySurface();
  ASSERT_NE(screen, nullptr);
  const int pitch = display.primary_pitch;
  EXPECT_EQ(screen[50 * pitch + 100], 7);   // the window's outer corner
  EXPECT_EQ(screen[49 * pitch + 100], 0);
  EXPECT_EQ(screen[50 * pitch + 99], 0);
  EXPECT_EQ(screen[289 * pitch + 419], 7);  // the window clipper keeps the blit to 320 x 240
  EXPECT_EQ(screen[290 * pitch + 420], 0);
  UnlockPrimarySurface();
  ShutDisplay();
}

TEST(DisplayLess, FrameOperationsOnAFailedDisplayDoNothing) {
  StartFreshMachine();
  EXPECT_EQ(FillSurface(nullptr, 1, nullptr), 1);
  EXPECT_EQ(LockBackSurface(), nullptr);
  EXPECT_EQ(FlipPages(), 0);
  PaletteEntry p[256] = {};
  EXPECT_EQ(SetPalette(p), 1);
}

}  // namespace
