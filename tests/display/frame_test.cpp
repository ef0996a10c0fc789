// Frames: locks, flips, fills, the palette copy, pixel writes and the frame clock.
#include <cstring>

#include "display_fixture.h"
#include "soft/faults.h"

namespace {

using FrameTest = OpenDisplayFixture;

TEST_F(FrameTest, LocksDoNotNestAndBlockTheFlip) {
  uint8_t* first = LockBackSurface();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LockBackSurface(), first);
  const int frames = HeadlessFrameCount();
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(HeadlessFrameCount(), frames);
  EXPECT_EQ(UnlockBackSurface(), 1);
  EXPECT_EQ(UnlockBackSurface(), 0);
  EXPECT_EQ(FlipPages(), 1);
  EXPECT_EQ(HeadlessFrameCount(), frames + 1);
}

// A lost flip restores the surfaces cleared (the frame was drawn into lost surfaces, so it is
// not shown); while the display stays lost every flip fails without hanging.
TEST_F(FrameTest, FlipRestoresLostSurfacesClearedAndNeverHangs) {
  LockBackSurface()[10 * display.back_pitch + 20] = 42;
  UnlockBackSurface();
  InjectFault(PlatformCall::Flip, 1);
  const int frames_before = HeadlessFrameCount();
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(HeadlessFrameCount(), frames_before);
  EXPECT_EQ(FlipPages(), 1);
  const std::vector<uint8_t>& shown = HeadlessFrames().back().pixels;
  EXPECT_EQ(std::count(shown.begin(), shown.end(), 0), 640 * 480);
  HeadlessSetDisplayLost(true);  // minimised: every flip fails until the display returns
  EXPECT_EQ(FlipPages(), 0);
  HeadlessSetDisplayLost(false);
  EXPECT_EQ(FlipPages(), 0);  // restored now; this frame was drawn while lost
  EXPECT_EQ(FlipPages(), 1);
}

// The whole palette and single entries round-trip and show at once; entries outside 0..255 are
// refused and touch nothing.
TEST_F(FrameTest, PaletteCopiesRoundTripAndIndexesOutsideThePaletteAreRefused) {
  PaletteEntry p[256];
  for (int i = 0; i < 256; ++i) p[i] = PaletteEntry{uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i), uint8_t(i & 7)};
  EXPECT_EQ(SetPalette(p), 1);
  const PaletteEntry green{0, 255, 0, 0};
  for (int index : {256, -1}) {
    EXPECT_EQ(SetPaletteEntry(index, &green), 0) << index;
    PaletteEntry out{1, 2, 3, 4};
    EXPECT_EQ(GetPaletteEntry(index, &out), 0) << index;
    EXPECT_EQ(out.peRed + out.peGreen + out.peBlue + out.peFlags, 10) << index;
  }
  EXPECT_EQ(SetPaletteEntry(255, &green), 1);
  EXPECT_EQ(SetPaletteEntry(0, &green), 1);
  EXPECT_EQ(HeadlessFrames().back().palette[4 * 255 + 1], 255);  // shown at once
  p[0] = p[255] = green;
  PaletteEntry q[256];
  EXPECT_EQ(GetPalette(q), 1);
  EXPECT_EQ(std::memcmp(p, q, sizeof q), 0);
}

TEST(FrameClock, WaitsOutThePeriodAcrossTheWrap) {
  StartFreshMachine(0xFFFFFFF0u);
  const uint32_t start = StartClock();
  const uint32_t end = WaitClock(30);
  EXPECT_GE(static_cast<uint32_t>(end - start), 30u);
  EXPECT_LT(static_cast<uint32_t>(end - start), 40u);  // it did not wait for the counter to come round
}

// The back buffer lands at the window's corner plus the offsets, cut to the window.
TEST_F(DisplayFixture, AWindowedFlipBlitsToTheWindowCornerPlusOffsets) {
  CreateTestWindow(100, 50);
  Open(8, 1);
  display.window_offset_x = 4;
  display.window_offset_y = 3;
  FillSurface(display.back_surface, 7, nullptr);
  LockBackSurface()[0] = 9;
  UnlockBackSurface();
  ASSERT_EQ(FlipPages(), 1);
  const uint8_t* screen = LockPrimarySurface();
  const int pitch = display.primary_pitch;
  EXPECT_EQ(screen[53 * pitch + 104], 9);
  EXPECT_EQ(screen[52 * pitch + 104], 0);
  EXPECT_EQ(screen[289 * pitch + 419], 7);  // the window clipper keeps the blit to 320 x 240
  EXPECT_EQ(screen[290 * pitch + 420], 0);
  UnlockPrimarySurface();
}

}  // namespace
