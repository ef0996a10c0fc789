// Clipped lines, rectangle fills, palette rotation and blinking, and text on surfaces.
#include "display/draw_extras.h"

#include <climits>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "display_fixture.h"

namespace {

using Pixel = std::pair<int, int>;

// The pixels of an 8-bit buffer, 80 bytes a row, that are not 0.
std::set<Pixel> Ink(const std::vector<uint8_t>& bytes) {
  std::set<Pixel> set;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i]) set.insert({static_cast<int>(i % 80), static_cast<int>(i / 80)});
  return set;
}

class ClipTest : public ::testing::Test {
 protected:
  void SetUp() override { display = DisplayState{}; }  // clip 0..639 x 0..479
  void TearDown() override { display = DisplayState{}; }
};

// Segments clipped to the screen, or to -20..20 both ways where `small` is set.
TEST_F(ClipTest, SegmentsAreCutAtTheEdgesOrRejected) {
  const struct {
    bool small;
    std::vector<int> segment;
    int result;
    std::vector<int> clipped;
  } rows[] = {
      {false, {-10, -10, -5, 600}, 0, {-10, -10, -5, 600}},   // both left: unchanged
      {false, {700, 500, -100, -100}, 1, {639, 455, 33, 0}},  // corners 6 and 9, crossing
      {false, {-10, 5, 5, -10}, 0, {-10, 5, 5, -10}},         // misses the corner: unchanged
      {false, {100, -50, 100, 600}, 1, {100, 0, 100, 479}},
      {false, {-2000000000, -2000000000, 2000000000, 2000000000}, 1, {0, 0, 479, 479}},
      {false, {INT_MIN, 240, INT_MAX, 240}, 1, {0, 240, 639, 240}},
      // The crossing lies at x = -4.5: the start rounds on a plain edge, the end does not.
      {true, {-7, -40, 0, 0}, 1, {-3, -20, 0, 0}},
      {true, {0, 0, -7, -40}, 1, {0, 0, -4, -20}},
  };
  for (const auto& row : rows) {
    display.clip_min_x = display.clip_min_y = row.small ? -20 : 0;
    display.clip_max_x = row.small ? 20 : 639;
    display.clip_max_y = row.small ? 20 : 479;
    std::vector<int> s = row.segment;
    SCOPED_TRACE(::testing::PrintToString(s));
    EXPECT_EQ(ClipLine(&s[0], &s[1], &s[2], &s[3]), row.result);
    EXPECT_EQ(s, row.clipped);
  }
}

// The x-major pattern of (0,0)->(4,1) and the y-major one of (0,0)->(1,4), mirrored into every octant.
TEST(DrawLineTest, EndPointsAndPixelsInAllEightOctants) {
  const Pixel base[5] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
  for (int sx : {1, -1})
    for (int sy : {1, -1})
      for (bool steep : {false, true}) {
        std::vector<uint8_t> canvas(80 * 48, 0);
        auto map = [&](Pixel p) {
          return steep ? Pixel{20 + sx * p.second, 20 + sy * p.first} : Pixel{20 + sx * p.first, 20 + sy * p.second};
        };
        const Pixel end = map({4, 1});
        EXPECT_EQ(DrawLine8(20, 20, end.first, end.second, 0x1207, canvas.data(), 80), 1);
        std::set<Pixel> expected;
        for (Pixel p : base) expected.insert(map(p));
        EXPECT_EQ(Ink(canvas), expected) << sx << " " << sy << " " << steep;
        EXPECT_EQ(canvas[end.second * 80 + end.first], 7);
      }
}

// Off the clip rectangle a line draws nothing and still reports success.
TEST_F(ClipTest, AnInvisibleClippedLineStillSucceeds) {
  std::vector<uint8_t> canvas(80 * 48, 0);
  EXPECT_EQ(DrawClippedLine8(0, -5, 60, -5, 3, canvas.data(), 80), 1);
  EXPECT_TRUE(Ink(canvas).empty());
}

// ---- On a display ---------------------------------------------------------------------------

class DisplayExtrasTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    blink_table = BlinkTable{};
  }
  // Opens an 8-bit display whose entry i is (i, 255 - i, 7 i), or one of another depth.
  void OpenWithPalette(int bits = 8) {
    Open(bits);
    PaletteEntry p[256];
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 0xFF), 0};
    if (bits == 8) SetPalette(p);
  }
  // Every pixel of the back surface that is not 0, as (x, y) -> value.
  static std::vector<std::pair<Pixel, int>> Drawn(int bytes_per_pixel = 1) {
    std::vector<std::pair<Pixel, int>> ink;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (const int value = BackPixel(x, y, bytes_per_pixel)) ink.push_back({{x, y}, value});
    return ink;
  }
};

TEST_F(DisplayExtrasTest, FillRectFillsRightAndBottomExclusive) {
  OpenWithPalette();
  EXPECT_EQ(FillRect(2, 3, 5, 6, 0x12345678, display.back_surface), 1);
  for (auto [x, y, value] : {std::tuple{2, 3, 0x78}, {4, 5, 0x78}, {5, 5, 0}, {4, 6, 0}, {1, 3, 0}})
    EXPECT_EQ(BackPixel(x, y), value) << x << "," << y;
  EXPECT_EQ(FillRect(0, 0, 1, 1, 1, nullptr), 0);
}

TEST_F(DisplayExtrasTest, RotatePaletteRangeMovesColoursUpAndRefusesBadRanges) {
  EXPECT_EQ(RotatePaletteRange(1, 2), 0);  // no palette yet
  OpenWithPalette();
  EXPECT_EQ(RotatePaletteRange(10, 12), 1);
  for (auto [index, red] : {std::pair{10, 12}, {11, 10}, {12, 11}, {9, 9}, {13, 13}})
    EXPECT_EQ(display.palette_entries[index].peRed, red) << index;
  EXPECT_EQ(RotatePaletteRange(255, 255), 1);
  for (auto [first, last] : {std::pair{13, 12}, {-1, 3}, {250, 256}})
    EXPECT_EQ(RotatePaletteRange(first, last), 0) << first;
}

int32_t Packed(PaletteEntry entry) {
  int32_t value;
  std::memcpy(&value, &entry, 4);
  return value;
}

TEST_F(DisplayExtrasTest, BlinkSlotsAddRemoveChangeAndRefusals) {
  OpenWithPalette();
  const PaletteBlinker a{1, Packed({1, 1, 1, 0}), Packed({2, 2, 2, 0}), 1, 1, 0, 0};
  for (int slot = 0; slot < BLINK_SLOTS; ++slot) ASSERT_EQ(PaletteBlink(BLINK_ADD, &a, 0), slot);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), -1);  // the table is full
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, 1), 1);
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &a, 1), -1);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &a, 0), 1);  // the free slot again
  const PaletteBlinker changed{200, Packed({9, 9, 9, 0}), Packed({8, 8, 8, 0}), 4, 5, 0, 0};
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &changed, 2), 2);
  EXPECT_EQ(blink_table.slots[2].entry_index, 1);  // only colours and holds change
  PaletteEntry shown;
  display.palette_object->GetEntries(0, 1, 1, &shown);
  EXPECT_EQ(shown.peRed, 8);  // the colour of the current phase
  EXPECT_EQ(PaletteBlink(BLINK_REMOVE, nullptr, -1), -1);
  EXPECT_EQ(PaletteBlink(BLINK_CHANGE, &a, BLINK_SLOTS), -1);
  EXPECT_EQ(PaletteBlink(BLINK_ADD, nullptr, 0), -1);
  const PaletteBlinker bad_entry{256, 0, 0, 1, 1, 0, 0};
  EXPECT_EQ(PaletteBlink(BLINK_ADD, &bad_entry, 0), -1);
  EXPECT_EQ(PaletteBlink(9, nullptr, 0), 1);
}

// ---- Text ------------------------------------------------------------------------------------

// Text lands where asked; on an 8-bit surface its colour is matched to the nearest entry (entry
// 150 is (150, 105, 26)), on others packed in the surface's depth.
TEST_F(DisplayExtrasTest, TextColourIsTheNearestEntryOrPackedInTheSurfaceDepth) {
  for (auto [bits, color, packed] :
       {std::tuple{8, RGB(152, 104, 27), 150}, {16, RGB(255, 16, 8), 0xF881}, {15, RGB(255, 16, 8), 0x7C41}}) {
    OpenWithPalette(bits);
    EXPECT_EQ(DrawTextRGB("I", 100, 50, color, display.back_surface), 1);
    const auto ink = Drawn(bits == 8 ? 1 : 2);
    ASSERT_GT(ink.size(), 6u);
    for (const auto& entry : ink) EXPECT_EQ(entry.second, packed) << bits;
    const Pixel corner = ink.front().first;  // capitals start a couple of rows down
    EXPECT_TRUE(corner.first >= 100 && corner.first <= 102 && corner.second >= 50 && corner.second <= 53) << corner.first;
    ShutDisplay();
  }
}

}  // namespace
