// Clipped lines, rectangle fills, palette rotation and blinking, and text on surfaces.
#include "display/draw_extras.h"

#include <climits>
#include <set>
#include <utility>
#include <vector>

#include "display/frame.h"
#include "soft/device_contexts.h"
#include "soft/text.h"
#include "test_support.h"

namespace {

using Pixel = std::pair<int, int>;

// A plain 8-bit buffer wider than its rows, for line tests without a display.
struct Canvas {
  static constexpr int WIDTH = 64, HEIGHT = 48, PITCH = 80;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(PITCH * HEIGHT, 0);
  uint8_t At(int x, int y) const { return bytes[y * PITCH + x]; }
  std::set<Pixel> Set() const {
    std::set<Pixel> set;
    for (int y = 0; y < HEIGHT; ++y)
      for (int x = 0; x < PITCH; ++x)
        if (bytes[y * PITCH + x]) set.insert({x, y});
    return set;
  }
};

struct Segment {
  int x1, y1, x2, y2;
};

Segment Clipped(Segment s, int* result) {
  *result = ClipLine(&s.x1, &s.y1, &s.x2, &s.y2);
  return s;
}

void ExpectSegment(Segment s, int expected_result, Segment expected) {
  int result = -1;
  const Segment got = Clipped(s, &result);
  EXPECT_EQ(result, expected_result);
  EXPECT_EQ(got.x1, expected.x1);
  EXPECT_EQ(got.y1, expected.y1);
  EXPECT_EQ(got.x2, expected.x2);
  EXPECT_EQ(got.y2, expected.y2);
}

class ClipTest : public ::testing::Test {
 protected:
  void SetUp() override { display = DisplayState{}; }  // clip 0..639 x 0..479
  void TearDown() override { display = DisplayState{}; }
};

TEST_F(ClipTest, RegionCodesOfTheNineAreas) {
  const int expected[3][3] = {{9, 8, 10}, {1, 0, 2}, {5, 4, 6}};
  const int xs[3] = {-1, 320, 640}, ys[3] = {-1, 240, 480};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      EXPECT_EQ(ClipCodeOf(xs[column], ys[row]), expected[row][column]) << row << "," << column;
  EXPECT_EQ(ClipCodeOf(0, 0), 0);
  EXPECT_EQ(ClipCodeOf(639, 479), 0);
}

TEST_F(ClipTest, EdgeCornerAndRejectedSegments) {
  ExpectSegment({-10, 10, 10, 10}, 1, {0, 10, 10, 10});
  ExpectSegment({-10, -10, -5, 600}, 0, {-10, -10, -5, 600});  // both left: unchanged
  ExpectSegment({700, 500, -100, -100}, 1, {639, 455, 33, 0});  // corners 6 and 9, crossing
  ExpectSegment({5, 6, 600, 400}, 1, {5, 6, 600, 400});         // inside: unchanged
  ExpectSegment({-10, 5, 5, -10}, 0, {-10, 5, 5, -10});         // misses the corner: unchanged
  ExpectSegment({100, -50, 100, 600}, 1, {100, 0, 100, 479});   // above and below
  ExpectSegment({-50, 100, 700, 100}, 1, {0, 100, 639, 100});   // left and right
}

TEST_F(ClipTest, StartRoundsOnPlainEdgesEndDoesNot) {
  display.clip_min_x = display.clip_min_y = -20;
  display.clip_max_x = display.clip_max_y = 20;
  // The crossing lies at x = -4.5, reached as -4 + 1/2 from the start and as -4 from the end.
  ExpectSegment({-7, -40, 0, 0}, 1, {-3, -20, 0, 0});
  ExpectSegment({0, 0, -7, -40}, 1, {0, 0, -4, -20});
}

TEST_F(ClipTest, FarOffEndsDoNotOverflow) {
  ExpectSegment({-2000000000, -2000000000, 2000000000, 2000000000}, 1, {0, 0, 479, 479});
  ExpectSegment({INT_MIN, 240, INT_MAX, 240}, 1, {0, 240, 639, 240});
  ExpectSegment({320, INT_MIN, 321, INT_MAX}, 1, {320, 0, 321, 479});
}

// The x-major pattern of (0,0)->(4,1) and the y-major one of (0,0)->(1,4), mirrored into every octant.
TEST(DrawLineTest, EndPointsAndPixelsInAllEightOctants) {
  const Pixel base[5] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
  for (int sx : {1, -1})
    for (int sy : {1, -1})
      for (bool steep : {false, true}) {
        Canvas canvas;
        auto map = [&](Pixel p) { return steep ? Pixel{20 + sx * p.second, 20 + sy * p.first} : Pixel{20 + sx * p.first, 20 + sy * p.second}; };
        const Pixel end = map({4, 1});
        EXPECT_EQ(DrawLine8(20, 20, end.first, end.second, 0x1207, canvas.bytes.data(), Canvas::PITCH), 1);
        std::set<Pixel> expected;
        for (Pixel p : base) expected.insert(map(p));
        EXPECT_EQ(canvas.Set(), expected) << sx << " " << sy << " " << steep;
        EXPECT_EQ(canvas.At(end.first, end.second), 7);
      }
}

TEST(DrawLineTest, DiagonalAndSinglePoint) {
  Canvas canvas;
  DrawLine8(0, 0, 3, 3, 9, canvas.bytes.data(), Canvas::PITCH);
  EXPECT_EQ(canvas.Set(), (std::set<Pixel>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  Canvas dot;
  DrawLine8(5, 6, 5, 6, 9, dot.bytes.data(), Canvas::PITCH);
  EXPECT_EQ(dot.Set(), (std::set<Pixel>{{5, 6}}));
}

TEST(DrawLineTest, SixteenBitLineWritesLowSixteenBitsPerUnit) {
  std::vector<uint16_t> units(40 * 10, 0);  // 80-byte pitch
  EXPECT_EQ(DrawLine16(1, 2, 5, 3, 0x12ABCD, reinterpret_cast<uint8_t*>(units.data()), 80), 1);
  std::set<Pixel> set;
  for (int i = 0; i < 400; ++i)
    if (units[i]) {
      EXPECT_EQ(units[i], 0xABCD);
      set.insert({i % 40, i / 40});
    }
  EXPECT_EQ(set, (std::set<Pixel>{{1, 2}, {2, 2}, {3, 3}, {4, 3}, {5, 3}}));
}

TEST_F(ClipTest, ClippedLinesStayInTheClipRectangle) {
  display.clip_min_x = 10, display.clip_max_x = 20, display.clip_min_y = 5, display.clip_max_y = 15;
  Canvas canvas;
  EXPECT_EQ(DrawClippedLine8(0, 10, 60, 10, 3, canvas.bytes.data(), Canvas::PITCH), 1);
  std::set<Pixel> expected;
  for (int x = 10; x <= 20; ++x) expected.insert({x, 10});
  EXPECT_EQ(canvas.Set(), expected);
  Canvas none;
  EXPECT_EQ(DrawClippedLine8(0, 0, 60, 0, 3, none.bytes.data(), Canvas::PITCH), 1);  // invisible: still 1
  EXPECT_TRUE(none.Set().empty());
  std::vector<uint16_t> units(40 * 30, 0);
  EXPECT_EQ(DrawClippedLine16(15, -100, 15, 100, 0xBEEF, reinterpret_cast<uint8_t*>(units.data()), 80), 1);
  for (int y = 0; y < 30; ++y) EXPECT_EQ(units[y * 40 + 15], (y >= 5 && y <= 15) ? 0xBEEF : 0) << y;
}

// ---- On a display ---------------------------------------------------------------------------

class DisplayExtrasTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    blink_table = BlinkTable{};
  }
  void Open(int bits = 8) {
    ASSERT_EQ(DisplayInit(640, 480, bits, 0), 1);
    if (bits != 8) return;
    PaletteEntry p[256];
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 0xFF), 0};
    SetPalette(p);
  }
  PaletteEntry Shown(int index) {
    PaletteEntry entry;
    display.palette_object->GetEntries(0, index, 1, &entry);
    return entry;
  }
  // Every pixel of the back surface that is not 0, as (x, y) -> value.
  std::vector<std::pair<Pixel, int>> Ink(int bytes_per_pixel = 1) {
    std::vector<std::pair<Pixel, int>> ink;
    uint8_t* buffer = LockBackSurface();
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        int value = buffer[y * display.back_pitch + x * bytes_per_pixel];
        if (bytes_per_pixel == 2) value |= buffer[y * display.back_pitch + 2 * x + 1] << 8;
        if (value) ink.push_back({{x, y}, value});
      }
    UnlockBackSurface();
    return ink;
  }
};

TEST_F(DisplayExtrasTest, FillRectFillsRightAndBottomExclusive) {
  Open();
  EXPECT_EQ(FillRect(2, 3, 5, 6, 0x12345678, display.back_surface), 1);
  const auto ink = Ink();
  ASSERT_EQ(ink.size(), 9u);
  for (const auto& [where, value] : ink) {
    EXPECT_EQ(value, 0x78);
    EXPECT_TRUE(where.first >= 2 && where.first < 5 && where.second >= 3 && where.second < 6);
  }
  EXPECT_EQ(FillRect(0, 0, 1, 1, 1, nullptr), 0);
}

TEST_F(DisplayExtrasTest, RotatePaletteRangeMovesColoursUpAndRefusesBadRanges) {
  Open();
  const PaletteEntry p = Shown(10), q = Shown(11), r = Shown(12), before = Shown(9), after = Shown(13);
  EXPECT_EQ(RotatePaletteRange(10, 12), 1);
  for (auto [index, expected] : {std::pair{10, r}, {11, p}, {12, q}, {9, before}, {13, after}}) {
    EXPECT_EQ(Shown(index).peRed, expected.peRed) << index;
    EXPECT_EQ(display.palette_entries[index].peRed, expected.peRed) << index;
  }
  EXPECT_EQ(RotatePaletteRange(40, 40), 1);
  EXPECT_EQ(Shown(40).peRed, 40);
  EXPECT_EQ(RotatePaletteRange(255, 255), 1);
  for (auto [first, last] : {std::pair{13, 12}, {-1, 3}, {250, 256}, {256, 300}}) EXPECT_EQ(RotatePaletteRange(first, last), 0);
  EXPECT_EQ(Shown(10).peRed, 12);
  EXPECT_EQ(Shown(0).peRed, 0);
}

TEST_F(DisplayExtrasTest, RotateWithoutPaletteRefuses) { EXPECT_EQ(RotatePaletteRange(1, 2), 0); }

int32_t Packed(PaletteEntry entry) {
  int32_t value;
  std::memcpy(&value, &entry, 4);
  return value;
}

TEST_F(DisplayExtrasTest, BlinkerPhasesOverManyRuns) {
  Open();
  const PaletteEntry first{200, 10, 20, 0}, second{5, 250, 6, 0};
  const PaletteBlinker blinker{77, Packed(first), Packed(second), 2, 3, 99, 99};
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &blinker, 0), 0);
  EXPECT_EQ(Shown(77).peGreen, 250);
  EXPECT_EQ(blink_table.slots[0].phase, -1);
  EXPECT_EQ(blink_table.slots[0].tick_count, 0);
  // second for 3 runs, first for 2, over and over; palette_entries is not touched.
  for (int run = 1; run <= 50; ++run) {
    EXPECT_EQ(PaletteBlink(BLINK_RUN, nullptr, 0), 1);
    const bool showing_first = run % 5 >= 3;
    EXPECT_EQ(Shown(77).peRed, showing_first ? 200 : 5) << run;
  }
  EXPECT_EQ(display.palette_entries[77].peRed, 77);
}

TEST_F(DisplayExtrasTest, BlinkSlotsAddRemoveChangeAndRefusals) {
  Open();
  const PaletteBlinker a{1, Packed({1, 1, 1, 0}), Packed({2, 2, 2, 0}), 1, 1, 0, 0};
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 0);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 1);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 2);
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, 1), 1);
  EXPECT_EQ(blink_table.slots[1].phase, 0);
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, 1), -1);
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &a, 1), -1);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 1);  // lowest free slot again
  const PaletteBlinker changed{200, Packed({9, 9, 9, 0}), Packed({8, 8, 8, 0}), 4, 5, 0, 0};
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &changed, 2), 2);
  EXPECT_EQ(blink_table.slots[2].entry_index, 1);  // only colours and holds change
  EXPECT_EQ(blink_table.slots[2].second_hold, 5);
  EXPECT_EQ(Shown(1).peRed, 8);  // the colour of the current phase
  PaletteBlink(BLINK_RUN, nullptr, 0);  // slots 0 and 1 (hold 1) turn to first
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &changed, 0), 0);
  EXPECT_EQ(Shown(1).peRed, 9);
  for (int slot : {-1, 256, 1000}) {
    EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, slot), -1);
    EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &a, slot), -1);
  }
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, nullptr, 0), -1);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, nullptr, 0), -1);
  const PaletteBlinker bad_entry{256, 0, 0, 1, 1, 0, 0};
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &bad_entry, 0), -1);
  EXPECT_EQ(PaletteBlink(9, nullptr, 0), 1);
}

TEST_F(DisplayExtrasTest, FullBlinkTableRefusesWithMinusOne) {
  Open();
  const PaletteBlinker a{3, 0, 0, 1, 1, 0, 0};
  for (int slot = 0; slot < BLINK_SLOTS; ++slot) ASSERT_EQ(PaletteBlink(BLINK_ADD, &a, 0), slot);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), -1);
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, 255), 255);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 255);
}

TEST_F(DisplayExtrasTest, FirstCallClearsTheTable) {
  blink_table.slots[4].phase = 1;  // left over before the first call
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, 4), -1);
  EXPECT_EQ(blink_table.cleared, 1);
}

// ---- Text ------------------------------------------------------------------------------------

TEST_F(DisplayExtrasTest, TextLandsWhereAskedInThePaletteIndex) {
  Open();
  ASSERT_EQ(SoftTextLineHeight(), 13);
  EXPECT_EQ(DrawTextIndexed("VORK Hg", 100, 50, 37, display.back_surface), 1);
  const auto ink = Ink();
  ASSERT_GT(ink.size(), 40u);
  int min_x = 640, max_x = 0, min_y = 480, max_y = 0;
  for (const auto& [where, value] : ink) {
    EXPECT_EQ(value, 37);
    min_x = std::min(min_x, where.first), max_x = std::max(max_x, where.first);
    min_y = std::min(min_y, where.second), max_y = std::max(max_y, where.second);
  }
  EXPECT_GE(min_x, 100);
  EXPECT_LE(min_x, 102);
  EXPECT_LT(max_x, 100 + 7 * 9);
  EXPECT_GE(min_y, 50);  // capitals start a couple of rows below the line's top
  EXPECT_LE(min_y, 53);
  EXPECT_LE(max_y, 62);  // the descender of g stays inside the 13-pixel line
  EXPECT_GE(max_y, 60);
}

TEST_F(DisplayExtrasTest, TextColourIsMatchedToTheNearestEntry) {
  Open();
  // Entry 150 is (150, 105, 26); a colour a few steps away still finds it.
  EXPECT_EQ(DrawTextRGB("X", 10, 10, RGB(152, 104, 27), display.back_surface), 1);
  const auto ink = Ink();
  ASSERT_FALSE(ink.empty());
  for (const auto& entry : ink) EXPECT_EQ(entry.second, 150);
}

TEST_F(DisplayExtrasTest, TextIsClippedToTheSurface) {
  Open();
  EXPECT_EQ(DrawTextIndexed("WWWWWWWW", 600, 472, 9, display.back_surface), 1);
  EXPECT_EQ(DrawTextIndexed("WWWW", -20, -6, 9, display.back_surface), 1);
  EXPECT_EQ(DrawTextIndexed("far", INT_MAX - 5, INT_MIN, 9, display.back_surface), 1);
  const auto ink = Ink();
  bool bottom_right = false, top_left = false;
  for (const auto& [where, value] : ink) {
    bottom_right |= where.first >= 600 && where.second >= 472;
    top_left |= where.first < 20 && where.second < 6;
  }
  EXPECT_TRUE(bottom_right);
  EXPECT_TRUE(top_left);
}

TEST_F(DisplayExtrasTest, TextPacksTheColourInTheSurfaceDepth) {
  for (auto [bits, packed] : {std::pair{16, 0xF881}, {15, 0x7C41}}) {  // RGB(255, 16, 8) as 5.6.5, 5.5.5
    Open(bits);
    EXPECT_EQ(DrawTextRGB("I", 5, 5, RGB(255, 16, 8), display.back_surface), 1);
    const auto ink = Ink(2);
    ASSERT_FALSE(ink.empty());
    for (const auto& entry : ink) EXPECT_EQ(entry.second, packed) << bits;
    ShutDisplay();
  }
}

TEST_F(DisplayExtrasTest, TextFailsCleanlyWithoutDeviceContextOrFont) {
  Open();
  EXPECT_EQ(DrawTextIndexed("a", 0, 0, 256, display.back_surface), 0);
  EXPECT_EQ(DrawTextIndexed("a", 0, 0, -1, display.back_surface), 0);
  EXPECT_EQ(DrawTextRGB(nullptr, 0, 0, 0, display.back_surface), 0);
  EXPECT_EQ(DrawTextRGB("a", 0, 0, 0, nullptr), 0);
  LockBackSurface();
  EXPECT_EQ(DrawTextRGB("a", 0, 0, RGB(255, 255, 255), display.back_surface), 0);  // locked: no context
  UnlockBackSurface();
  SoftSetTextFontFamily("No Such Family Anywhere");
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), nullptr);
  EXPECT_EQ(DrawTextRGB("a", 0, 0, RGB(255, 255, 255), display.back_surface), 0);
  EXPECT_NE(LockBackSurface(), nullptr);  // the context was given back
  UnlockBackSurface();
  SoftSetTextFontFamily("DejaVu Sans");
  EXPECT_TRUE(Ink().empty());
  EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), nullptr);
}

TEST_F(DisplayExtrasTest, DeviceContextCallsFollowThePlatform) {
  Open();
  HDC dc = nullptr;
  ASSERT_EQ(display.back_surface->GetDC(&dc), DD_OK);
  HDC second = nullptr;
  EXPECT_EQ(display.back_surface->GetDC(&second), DDERR_SURFACEBUSY);
  EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), 0u);
  EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  EXPECT_EQ(SelectObject(dc, font), font);
  EXPECT_EQ(display.back_surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(display.back_surface->ReleaseDC(dc), DDERR_INVALIDPARAMS);
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(TextOutA(dc, 0, 0, "a", 1), FALSE);
  EXPECT_EQ(GetStockObject(SYSTEM_FONT), font);
  EXPECT_EQ(GetStockObject(15), nullptr);
}

TEST_F(DisplayExtrasTest, EightDeviceContextsAtOnceEachClosedOnce) {
  uint8_t pixels[4] = {};
  const SoftDrawTarget target{pixels, 2, 2, 2, 8, nullptr};
  std::vector<HDC> open;
  for (int i = 0; i < 8; ++i) {
    open.push_back(SoftOpenSurfaceDC(target));
    ASSERT_NE(open.back(), nullptr) << "context " << i;
  }
  EXPECT_EQ(SoftOpenSurfaceDC(target), nullptr);  // every context is out
  EXPECT_TRUE(SoftCloseSurfaceDC(open[3]));
  EXPECT_FALSE(SoftCloseSurfaceDC(open[3]));  // closed already
  EXPECT_EQ(SoftOpenSurfaceDC(target), open[3]);  // its place is free again
  for (HDC dc : open) EXPECT_TRUE(SoftCloseSurfaceDC(dc));
}

}  // namespace
