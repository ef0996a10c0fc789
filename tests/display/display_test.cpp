// Display start-up and shut-down, clippers, and the palette text file.
#include "display/error_log.h"
#include "display/frame.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

class DisplayTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
  }
  // Reads the back surface's pixel at (x, y).
  uint8_t BackPixel(int x, int y) {
    uint8_t* memory = LockBackSurface();
    uint8_t value = memory[y * display.back_pitch + x];
    UnlockBackSurface();
    return value;
  }
};

std::string PaletteText(int entries, const std::string& separator = "\n") {
  std::string text;
  for (int i = 0; i < entries; ++i)
    text += separator + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " 4";
  return text;
}

TEST_F(DisplayTest, FullScreenStartUpOpensEverythingAndLogsThePixelFormat) {
  WriteTextFile(PALETTE_FILE, PaletteText(256));
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  CloseErrorLog();
  EXPECT_NE(display.direct_draw, nullptr);
  EXPECT_NE(display.primary_surface, nullptr);
  EXPECT_NE(display.back_surface, nullptr);
  EXPECT_NE(display.palette_object, nullptr);
  EXPECT_NE(display.back_clipper, nullptr);
  EXPECT_EQ(display.window_clipper, nullptr);
  EXPECT_EQ(display.pixel_format, 8);
  EXPECT_EQ(display.pack_rgb16(255, 255, 255), 65535);
  EXPECT_EQ(display.clip_max_x, 639);
  EXPECT_EQ(display.clip_max_y, 479);
  EXPECT_EQ(display.palette_entries[200].peRed, 200);
  EXPECT_EQ(display.palette_entries[200].peBlue, 202);
  EXPECT_EQ(HeadlessModeWidth(), 640);
  EXPECT_EQ(HeadlessModeHeight(), 480);
  EXPECT_EQ(BackPixel(639, 479), 0);
  const std::string log = ReadTextFile("err.txt");
  EXPECT_NE(log.find("\npixel format = 8\npixel format = 5.6.5\nClosing Error Output File."), std::string::npos);
}

TEST_F(DisplayTest, WithoutAPaletteFileThePaletteIsBlack) {
  ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  for (const PaletteEntry& entry : display.palette_entries) {
    EXPECT_EQ(entry.peRed | entry.peGreen | entry.peBlue | entry.peFlags, 0);
  }
}

TEST_F(DisplayTest, WindowedStartUpMarksSystemColoursAndClipsToTheWindow) {
  WriteTextFile(PALETTE_FILE, PaletteText(256));
  ASSERT_EQ(DisplayInit(640, 480, 8, 1), 1);
  EXPECT_NE(display.window_clipper, nullptr);
  EXPECT_EQ(display.palette_entries[0].peFlags, PC_EXPLICIT);
  EXPECT_EQ(display.palette_entries[9].peFlags, PC_EXPLICIT);
  EXPECT_EQ(display.palette_entries[10].peFlags, 4);
  EXPECT_EQ(display.palette_entries[246].peFlags, PC_EXPLICIT);
  EXPECT_EQ(HeadlessModeWidth(), 0);  // no mode change
}

TEST_F(DisplayTest, SixteenBitDisplaysPickTheirPacker) {
  ASSERT_EQ(DisplayInit(640, 480, 15, 0), 1);
  EXPECT_EQ(display.pixel_format, 15);
  EXPECT_EQ(display.palette_object, nullptr);
  EXPECT_EQ(display.pack_rgb16(255, 255, 255), 32767);
  EXPECT_EQ(display.pack_rgb16(8, 4, 8), 1025);
  ShutDisplay();
  StartFreshMachine();
  CreateTestWindow();
  ASSERT_EQ(DisplayInit(640, 480, 16, 0), 1);
  EXPECT_EQ(display.pack_rgb16(8, 4, 8), 2081);
}

// Every platform call DisplayInit makes, failed one at a time: DisplayInit returns 0 and the
// shut-down releases exactly what was made.
TEST_F(DisplayTest, FailureAtEachStepReturnsZeroAndShutDownReleasesWhatExists) {
  const PlatformCall steps[] = {PlatformCall::DirectDrawCreate, PlatformCall::SetCooperativeLevel,
                                PlatformCall::SetDisplayMode,   PlatformCall::CreateSurface,
                                PlatformCall::GetAttachedSurface, PlatformCall::CreatePalette,
                                PlatformCall::SetPalette};
  for (PlatformCall step : steps) {
    StartFreshMachine();
    CreateTestWindow();
    InjectFault(step, 1);
    EXPECT_EQ(DisplayInit(640, 480, 8, 0), 0) << static_cast<int>(step);
    ShutDisplay();
    EXPECT_EQ(SoftLiveObjectCount(), 0) << static_cast<int>(step);
  }
}

// A primary whose pixels are not the size of the requested depth cannot serve it: start-up
// fails and leaves nothing behind. A desktop of the requested depth serves a windowed display.
TEST_F(DisplayTest, ADepthThePrimaryCannotServeFailsAndReleasesEverything) {
  EXPECT_EQ(DisplayInit(640, 480, 16, 1), 0);  // the desktop is 8-bit
  EXPECT_EQ(display.direct_draw, nullptr);
  EXPECT_EQ(display.primary_surface, nullptr);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
  ASSERT_TRUE(SoftSetDesktopBits(16));
  EXPECT_EQ(DisplayInit(640, 480, 8, 1), 0);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
  ASSERT_EQ(DisplayInit(640, 480, 16, 1), 1);
  EXPECT_EQ(display.pixel_format, 16);
  EXPECT_NE(display.window_clipper, nullptr);
  uint8_t* memory = LockBackSurface();
  ASSERT_NE(memory, nullptr);
  EXPECT_GE(display.back_pitch, 1280);
  UnlockBackSurface();
  ShutDisplay();
  ASSERT_TRUE(SoftSetDesktopBits(15));
  ASSERT_EQ(DisplayInit(640, 480, 16, 1), 1);  // 5.5.5 pixels are two bytes too
  EXPECT_EQ(display.pack_rgb16(255, 255, 255), 32767);
  EXPECT_FALSE(SoftSetDesktopBits(24));
}

// Shut-down forgets what it released: a second one, and frame calls after it, do nothing.
TEST_F(DisplayTest, ShutDownClearsTheRecordSoASecondOneIsHarmless) {
  ASSERT_EQ(DisplayInit(640, 480, 8, 1), 1);
  LockBackSurface();
  EXPECT_EQ(DisplayShutdown(), 1);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
  EXPECT_EQ(display.direct_draw, nullptr);
  EXPECT_EQ(display.primary_surface, nullptr);
  EXPECT_EQ(display.back_surface, nullptr);
  EXPECT_EQ(display.palette_object, nullptr);
  EXPECT_EQ(display.back_clipper, nullptr);
  EXPECT_EQ(display.window_clipper, nullptr);
  EXPECT_EQ(display.back_buffer, nullptr);
  EXPECT_EQ(display.back_pitch, 0);
  EXPECT_EQ(DisplayShutdown(), 1);
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(LockBackSurface(), nullptr);
  EXPECT_EQ(CreateSurface(8, 8, 0, 0), nullptr);
}

TEST_F(DisplayTest, AClipperThatCannotBeMadeDoesNotFailStartUp) {
  InjectFault(PlatformCall::SetClipList, 1);
  EXPECT_EQ(DisplayInit(640, 480, 8, 0), 1);
  EXPECT_EQ(display.back_clipper, nullptr);
  ShutDisplay();
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

TEST_F(DisplayTest, WindowedFailuresAtTheWindowClipper) {
  for (PlatformCall step : {PlatformCall::SetHWnd, PlatformCall::SetClipper}) {
    StartFreshMachine();
    CreateTestWindow();
    // The back clipper's SetClipper comes first; fail the window clipper's.
    InjectFault(step, step == PlatformCall::SetClipper ? 2 : 1);
    EXPECT_EQ(DisplayInit(640, 480, 8, 1), 0);
    ShutDisplay();
    EXPECT_EQ(SoftLiveObjectCount(), 0);
  }
}

TEST_F(DisplayTest, AttachClipperBoundsTheRegionAndClipsBlits) {
  ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  const ClipRect rects[] = {{0, 0, 10, 10}, {20, 5, 30, 40}};
  LPDIRECTDRAWCLIPPER clipper = AttachClipper(display.back_surface, 2, rects);
  ASSERT_NE(clipper, nullptr);
  DWORD size = 0;
  clipper->GetClipList(nullptr, nullptr, &size);
  std::vector<char> block(size);
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  ASSERT_EQ(clipper->GetClipList(nullptr, region, &size), DD_OK);
  EXPECT_EQ(region->rdh.rcBound.left, 0);
  EXPECT_EQ(region->rdh.rcBound.top, 0);
  EXPECT_EQ(region->rdh.rcBound.right, 30);
  EXPECT_EQ(region->rdh.rcBound.bottom, 40);
  FillSurface(display.back_surface, 3, nullptr);
  EXPECT_EQ(BackPixel(5, 5), 3);
  EXPECT_EQ(BackPixel(15, 5), 0);
  EXPECT_EQ(BackPixel(25, 39), 3);
  clipper->Release();
  EXPECT_EQ(AttachClipper(display.back_surface, 1, nullptr), nullptr);  // one rectangle, none given
  LPDIRECTDRAWCLIPPER nothing_visible = AttachClipper(display.back_surface, 0, nullptr);
  ASSERT_NE(nothing_visible, nullptr);  // an empty clip list is a list too
  FillSurface(display.back_surface, 4, nullptr);
  EXPECT_EQ(BackPixel(5, 5), 3);
  nothing_visible->Release();
}

TEST_F(DisplayTest, OffScreenSurfacesCarryTheirColourKey) {
  ASSERT_EQ(DisplayInit(640, 480, 8, 0), 1);
  LPDIRECTDRAWSURFACE7 surface = CreateSurface(116, 60, DDSCAPS_SYSTEMMEMORY, 0x1234);
  ASSERT_NE(surface, nullptr);
  DDCOLORKEY key{};
  ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0x1234u);
  EXPECT_EQ(key.dwColorSpaceHighValue, 0x1234u);
  surface->Release();
}

class PaletteFileTest : public FreshMachineTest {
 protected:
  PaletteEntry entries[256];
  void SetUp() override {
    FreshMachineTest::SetUp();
    std::memset(entries, 0xAA, sizeof entries);
  }
};

TEST_F(PaletteFileTest, NumbersMaySpreadOverAnyLinesAndKeepTheirLowByte) {
  WriteTextFile("p.pal", "  256 -1\n\n 3\t4 5 6 7 8");
  ASSERT_EQ(LoadPaletteFile("p.pal", entries), 1);
  EXPECT_EQ(entries[0].peRed, 0);
  EXPECT_EQ(entries[0].peGreen, 255);
  EXPECT_EQ(entries[0].peBlue, 3);
  EXPECT_EQ(entries[0].peFlags, 4);
  EXPECT_EQ(entries[1].peFlags, 8);
  EXPECT_EQ(entries[2].peRed, 0xAA);  // not in the file: kept
}

TEST_F(PaletteFileTest, HugeNumbersAreReadSafely) {
  WriteTextFile("p.pal", "99999999999999999999999999 -99999999999999999999 1 2");
  ASSERT_EQ(LoadPaletteFile("p.pal", entries), 1);
  // 10^26 - 1 is -1 modulo 256, and -(10^20 - 1) is 1: the low byte of the exact value.
  EXPECT_EQ(entries[0].peRed, 255);
  EXPECT_EQ(entries[0].peGreen, 1);
  EXPECT_EQ(entries[0].peBlue, 1);
  EXPECT_EQ(entries[0].peFlags, 2);
}

TEST_F(PaletteFileTest, ReadingStopsAtTheFirstGarbageToken) {
  WriteTextFile("p.pal", PaletteText(2) + "\n9 9 x 9" + PaletteText(3));
  ASSERT_EQ(LoadPaletteFile("p.pal", entries), 1);
  EXPECT_EQ(entries[1].peBlue, 3);
  EXPECT_EQ(entries[2].peRed, 9);  // the numbers before the garbage are stored
  EXPECT_EQ(entries[2].peGreen, 9);
  EXPECT_EQ(entries[2].peBlue, 0xAA);
  EXPECT_EQ(entries[3].peRed, 0xAA);
}

TEST_F(PaletteFileTest, NoPathOrNoEntriesIsRefused) {
  PaletteEntry entries[256] = {};
  EXPECT_EQ(LoadPaletteFile(nullptr, entries), 0);
  EXPECT_EQ(SavePaletteFile(nullptr, entries), 0);
  WriteTextFile("p.pal", PaletteText(256));
  EXPECT_EQ(LoadPaletteFile("p.pal", nullptr), 0);
  EXPECT_EQ(SavePaletteFile("q.pal", nullptr), 0);
  EXPECT_EQ(ReadTextFile("q.pal"), "");
}

TEST_F(PaletteFileTest, AShortFileSetsOnlyItsEntries) {
  WriteTextFile("p.pal", PaletteText(100));
  ASSERT_EQ(LoadPaletteFile("p.pal", entries), 1);
  EXPECT_EQ(entries[99].peRed, 99);
  EXPECT_EQ(entries[100].peRed, 0xAA);
  EXPECT_EQ(LoadPaletteFile("missing.pal", entries), 0);
}

TEST_F(PaletteFileTest, SavedPaletteReadsBackTheSameAndHasTheFileLayout) {
  for (int i = 0; i < 256; ++i) entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), uint8_t(i & 7)};
  ASSERT_EQ(SavePaletteFile("out.pal", entries), 1);
  PaletteEntry back[256] = {};
  ASSERT_EQ(LoadPaletteFile("out.pal", back), 1);
  EXPECT_EQ(std::memcmp(entries, back, sizeof back), 0);
  const std::string text = ReadTextFile("out.pal");
  EXPECT_EQ(text.substr(0, 11), "\n0 255 0 0\n");
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(SavePaletteFile("no/such/dir/out.pal", entries), 0);
}

}  // namespace
