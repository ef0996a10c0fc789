// Frames: locks, flips, fills, the palette copy, pixel writes and the frame clock.
#include "display/frame.h"
#include "data_file.h"
#include "dsound.h"
#include "soft/faults.h"
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

// Waiting for the vertical blank neither shows a frame nor moves the clock (the headless host
// has no beam to wait for), with or without a display.
TEST_F(FrameTest, VerticalBlankWaitShowsNothingAndTakesNoTime) {
  const uint32_t before = HeadlessNow();
  const int frames = HeadlessFrameCount();
  EXPECT_EQ(WaitVerticalBlank(), 1);
  EXPECT_EQ(HeadlessFrameCount(), frames);
  EXPECT_EQ(HeadlessNow(), before);
  ShutDisplay();
  EXPECT_EQ(WaitVerticalBlank(), 1);
  EXPECT_EQ(HeadlessNow(), before);
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

// A lost flip restores every surface and shows nothing (the frame was drawn into lost
// surfaces); a flip that fails otherwise is tried FLIP_ATTEMPTS times; nothing hangs.
TEST_F(FrameTest, FlipRestoresLostSurfacesAndNeverHangs) {
  InjectFault(PlatformCall::Flip, 1);
  const int frames_before = HeadlessFrameCount();
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(HeadlessFrameCount(), frames_before);
  EXPECT_EQ(display.back_surface->IsLost(), DD_OK);
  uint8_t* screen = LockPrimarySurface();
  EXPECT_EQ(screen[479 * display.primary_pitch + 639], 0);  // cleared, not the restored garbage
  UnlockPrimarySurface();
  EXPECT_EQ(FlipPages(), 1);
  LockSurface(display.back_surface, nullptr);  // busy: a lock the display does not know of
  const int attempts_before = PlatformCallCount(PlatformCall::Flip);
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::Flip) - attempts_before, FLIP_ATTEMPTS);
  UnlockSurface(display.back_surface);
  HeadlessSetDisplayLost(true);  // minimised: every flip fails until the display returns
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(FlipPages(), 0);
  HeadlessSetDisplayLost(false);
  EXPECT_EQ(FlipPages(), 0);  // restored now; this frame was drawn while lost
  EXPECT_EQ(FlipPages(), 1);
}

TEST_F(FrameTest, PaletteCopyRoundTripsAndSingleEntriesStayAlone) {
  PaletteEntry p[256];
  for (int i = 0; i < 256; ++i) p[i] = PaletteEntry{uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i), uint8_t(i & 7)};
  SetPalette(p);
  PaletteEntry q[256];
  EXPECT_EQ(GetPalette(q), 1);
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

// What a run of frames showed: for each frame that FlipPages presented, its number and the
// pixels seen (the whole frame in full screen, the window's part of the desktop when windowed).
using ShownFrames = std::vector<std::pair<int, std::vector<uint8_t>>>;

std::vector<uint8_t> SeenPixels(int windowed) {
  if (!windowed) return HeadlessFrames().back().pixels;
  std::vector<uint8_t> seen;
  const uint8_t* screen = LockPrimarySurface();
  for (int y = 50; y < 50 + 240; ++y) seen.insert(seen.end(), screen + y * display.primary_pitch + 100,
                                                  screen + y * display.primary_pitch + 100 + 320);
  UnlockPrimarySurface();
  return seen;
}

// Runs twelve frames as the game draws them (fill, pixels written under a lock, a keyed sprite
// from system memory, a surface in display memory that is refilled each frame), with the
// display away from frame `lost_from` until frame `lost_until`.
ShownFrames RunFrames(int windowed, int lost_from = -1, int lost_until = -1) {
  StartFreshMachine();
  CreateTestWindow(100, 50);
  EXPECT_EQ(DisplayInit(640, 480, 8, windowed), 1);
  LPDIRECTDRAWSURFACE7 sprite = CreateSurface(16, 16, DDSCAPS_SYSTEMMEMORY, 0);
  LPDIRECTDRAWSURFACE7 tile = CreateSurface(8, 8, 0, 0);
  int32_t pitch = 0;
  uint8_t* memory = LockSurface(sprite, &pitch);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) memory[y * pitch + x] = static_cast<uint8_t>((x + y) % 5 * 40);
  UnlockSurface(sprite);
  ShownFrames shown;
  for (int k = 0; k < 12; ++k) {
    HeadlessSetDisplayLost(k >= lost_from && k < lost_until);
    FillSurface(display.back_surface, k + 1, nullptr);
    if (uint8_t* back = LockBackSurface()) std::memset(back + k * display.back_pitch, 200, 640);
    UnlockBackSurface();
    RECT at{110 + 7 * k, 60 + 5 * k, 126 + 7 * k, 76 + 5 * k};
    display.back_surface->Blt(&at, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
    FillSurface(tile, 30 + k, nullptr);
    RECT tile_at{150, 100 + k, 158, 108 + k};
    const HRESULT tile_blit = display.back_surface->Blt(&tile_at, tile, nullptr, DDBLT_WAIT, nullptr);
    if (k >= lost_until + 1) {
      EXPECT_EQ(tile_blit, DD_OK) << k;
    }
    if (FlipPages()) shown.emplace_back(k, SeenPixels(windowed));
  }
  sprite->Release();
  tile->Release();
  ShutDisplay();
  return shown;
}

// The display lost and regained mid-run: the frames drawn while it was away are not shown,
// nor the one that found it back; from the next frame on every surface blits again and the
// frames shown are those of a run without the loss.
TEST(LostDisplay, FramesAfterTheLossAreThoseOfARunWithoutIt) {
  for (int windowed : {0, 1}) {
    const ShownFrames whole = RunFrames(windowed);
    const ShownFrames with_loss = RunFrames(windowed, 4, 7);
    ASSERT_EQ(whole.size(), 12u);
    ASSERT_EQ(with_loss.size(), 12u - 4u) << windowed;
    for (const auto& [number, pixels] : with_loss) {
      EXPECT_TRUE(number < 4 || number > 7) << number;
      EXPECT_TRUE(pixels == whole[number].second) << "frame " << number << " windowed " << windowed;
    }
  }
}

// Single entries outside 0..255 are refused and touch nothing around the palette copy.
TEST_F(FrameTest, PaletteEntriesOutsideThePaletteAreRefused) {
  const PaletteEntry green{0, 255, 0, 0};
  const auto packer = display.pack_rgb16;
  const DisplayState before = display;
  for (int index : {256, -1, 1000, -2147483647 - 1}) {
    EXPECT_EQ(SetPaletteEntry(index, &green), 0) << index;
    PaletteEntry out{1, 2, 3, 4};
    EXPECT_EQ(GetPaletteEntry(index, &out), 0) << index;
    EXPECT_EQ(out.peRed + out.peGreen + out.peBlue + out.peFlags, 10) << index;
  }
  EXPECT_EQ(display.pack_rgb16, packer);
  EXPECT_EQ(display.clip_max_y, before.clip_max_y);
  EXPECT_EQ(std::memcmp(display.palette_entries, before.palette_entries, sizeof before.palette_entries), 0);
  EXPECT_EQ(SetPaletteEntry(255, &green), 1);
  PaletteEntry out{};
  EXPECT_EQ(GetPaletteEntry(255, &out), 1);
  EXPECT_EQ(out.peGreen, 255);
  EXPECT_EQ(SetPaletteEntry(0, &green), 1);
  EXPECT_EQ(display.palette_entries[0].peGreen, 255);
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

// A program that installed no host still runs: its window opens, the display starts and flips,
// the clock moves by itself so that frame waits end, and there is simply no sound.
class NoHostTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    InstallHost(nullptr);
  }
  void TearDown() override {
    ShutDisplay();
    InstallHost(&headless_host);
    FreshMachineTest::TearDown();
  }
};

TEST_F(NoHostTest, TheDisplayRunsOnAClockThatMovesByItselfWithoutSound) {
  ASSERT_NE(CreateTestWindow(), nullptr);
  ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  const uint32_t start = StartClock();
  EXPECT_EQ(GetClock(), start + 1);  // each reading moves the clock on by one millisecond
  Sleep(40);
  EXPECT_EQ(GetClock(), start + 2 + 40);
  EXPECT_GE(WaitClock(30), start + 30);
  EXPECT_EQ(FlipPages(), 1);
  EXPECT_EQ(WaitVerticalBlank(), 1);
  ShowCursor(FALSE);
  EXPECT_EQ(OpenDataFile("no such file", "rb"), nullptr);
  LPDIRECTSOUND sound = reinterpret_cast<LPDIRECTSOUND>(1);
  EXPECT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(HeadlessFrameCount(), 0);  // nothing reached the headless host
  EXPECT_EQ(HeadlessModeWidth(), 0);
}

}  // namespace
