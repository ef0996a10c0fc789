// Display start-up and shut-down, clippers, off-screen surfaces and the palette text file.
#include <cstring>

#include "display/error_log.h"
#include "display_fixture.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"

namespace {

using DisplayTest = DisplayFixture;

// A palette file whose entry i reads i, i + 1, i + 2, 4.
std::string PaletteText(int entries) {
  std::string text;
  for (int i = 0; i < entries; ++i)
    text += "\n" + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " 4";
  return text;
}

TEST_F(DisplayTest, FullScreenStartUpOpensEverythingAndLogsThePixelFormat) {
  WriteTextFile(PALETTE_FILE, PaletteText(256));
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  Open();
  CloseErrorLog();
  EXPECT_NE(display.back_clipper, nullptr);
  EXPECT_EQ(display.pack_rgb16(255, 255, 255), 65535);
  EXPECT_EQ(display.pack_rgb16(8, 4, 8), 2081);
  EXPECT_EQ(display.palette_entries[255].peBlue, 1);  // 257 keeps its low byte
  const std::string log = ReadTextFile("err.txt");
  EXPECT_NE(log.find("\npixel format = 8\npixel format = 5.6.5\nClosing Error Output File."), std::string::npos);
}

// The palette starts black under what the file gives, whatever the record held before; a shared
// desktop keeps its first and last ten colours.
TEST_F(DisplayTest, WindowedStartUpMarksSystemColoursOverABlackPalette) {
  WriteTextFile(PALETTE_FILE, PaletteText(100));
  std::memset(display.palette_entries, 0x55, sizeof display.palette_entries);
  Open(8, 1);
  EXPECT_NE(display.window_clipper, nullptr);
  EXPECT_EQ(HeadlessModeWidth(), 0);  // no mode change
  for (int i = 0; i < PALETTE_SIZE; ++i) {
    const PaletteEntry& entry = display.palette_entries[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(entry.peRed, i < 100 ? i : 0);
    EXPECT_EQ(entry.peFlags, i < 10 || i >= 246 ? PC_EXPLICIT : i < 100 ? 4 : 0);
  }
}

// Each platform call of the start-up failed in turn: the start-up says so (only the back
// clipper may fail) and the shut-down leaves no object behind.
TEST_F(DisplayTest, AFailedStepFailsTheStartUpAndLeavesNothingBehind) {
  const struct {
    PlatformCall call;
    int nth, windowed, result;
  } rows[] = {{PlatformCall::DirectDrawCreate, 1, 0, 0}, {PlatformCall::SetCooperativeLevel, 1, 0, 0},
              {PlatformCall::SetDisplayMode, 1, 0, 0},   {PlatformCall::CreateSurface, 1, 0, 0},
              {PlatformCall::GetAttachedSurface, 1, 0, 0}, {PlatformCall::CreatePalette, 1, 0, 0},
              {PlatformCall::SetPalette, 1, 0, 0},       {PlatformCall::SetClipList, 1, 0, 1},
              {PlatformCall::CreateSurface, 2, 1, 0},    {PlatformCall::SetHWnd, 1, 1, 0},
              {PlatformCall::SetClipper, 2, 1, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.call) * 10 + row.windowed);
    StartFreshMachine();
    CreateTestWindow();
    InjectFault(row.call, row.nth);
    EXPECT_EQ(DisplayInit(640, 480, 8, row.windowed), row.result);
    ShutDisplay();
    EXPECT_EQ(SoftLiveObjectCount(), 0);
  }
}

// A primary whose pixels are not the size of the requested depth cannot serve it; a desktop of
// that size serves a windowed display (5.5.5 pixels are two bytes too). Shut-down is harmless twice.
TEST_F(DisplayTest, ADepthThePrimaryCannotServeFailsAndShutDownReleasesEverything) {
  EXPECT_EQ(DisplayInit(640, 480, 16, 1), 0);  // the desktop is 8-bit
  EXPECT_EQ(SoftLiveObjectCount(), 0);
  ASSERT_TRUE(SoftSetDesktopBits(15));
  EXPECT_EQ(DisplayInit(640, 480, 8, 1), 0);
  Open(16, 1);
  EXPECT_EQ(display.pack_rgb16(255, 255, 255), 32767);
  EXPECT_EQ(display.palette_object, nullptr);
  // Shut-down forgets what it released: a second one, and display calls after it, do nothing.
  LockBackSurface();
  EXPECT_EQ(DisplayShutdown(), 1);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
  EXPECT_EQ(display.back_pitch, 0);
  EXPECT_EQ(DisplayShutdown(), 1);
  EXPECT_EQ(FlipPages(), 0);
  EXPECT_EQ(LockBackSurface(), nullptr);
  EXPECT_EQ(CreateSurface(8, 8, 0, 0), nullptr);
  EXPECT_EQ(FillSurface(nullptr, 1, nullptr), 1);
}

TEST_F(DisplayTest, AttachClipperBoundsTheRegionAndClipsBlits) {
  Open();
  const ClipRect rects[] = {{0, 0, 10, 10}, {20, 5, 30, 40}};
  LPDIRECTDRAWCLIPPER clipper = AttachClipper(display.back_surface, 2, rects);
  ASSERT_NE(clipper, nullptr);
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

using PaletteFile = FreshMachineTest;

// What a palette file sets in entries 0..2 (0xAA: kept as it was).
TEST_F(PaletteFile, ReadsNumbersOverAnyLinesKeepingTheirLowByteUpToTheFirstGarbage) {
  const struct {
    const char* text;
    std::vector<int> entries;
  } rows[] = {
      {"  256 -1\n\n 3\t4 5 6 7 8", {0, 255, 3, 4, 5, 6, 7, 8, 0xAA, 0xAA, 0xAA, 0xAA}},
      {"99999999999999999999999999 -99999999999999999999 +1 2", {255, 1, 1, 2, 0xAA, 0xAA, 0xAA, 0xAA}},
      {"\n0 1 2 4\n1 2 3 4\n9 9 x 9 5 5 5 5", {0, 1, 2, 4, 1, 2, 3, 4, 9, 9, 0xAA, 0xAA}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    PaletteEntry entries[256];
    std::memset(entries, 0xAA, sizeof entries);
    WriteTextFile("p.pal", row.text);
    ASSERT_EQ(LoadPaletteFile("p.pal", entries), 1);
    std::vector<int> got(reinterpret_cast<uint8_t*>(entries), reinterpret_cast<uint8_t*>(entries) + 12);
    got.resize(row.entries.size());
    EXPECT_EQ(got, row.entries);
  }
  PaletteEntry entries[256] = {};
  EXPECT_EQ(LoadPaletteFile("missing.pal", entries), 0);
}

TEST_F(PaletteFile, SavedPaletteReadsBackTheSameAndHasTheFileLayout) {
  PaletteEntry entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), uint8_t(i & 7)};
  ASSERT_EQ(SavePaletteFile("out.pal", entries), 1);
  PaletteEntry back[256] = {};
  ASSERT_EQ(LoadPaletteFile("out.pal", back), 1);
  EXPECT_EQ(std::memcmp(entries, back, sizeof back), 0);
  EXPECT_EQ(ReadTextFile("out.pal").substr(0, 11), "\n0 255 0 0\n");
  EXPECT_EQ(SavePaletteFile("no/such/dir/out.pal", entries), 0);
}

}  // namespace
