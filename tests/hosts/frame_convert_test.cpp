#include "hosts/common/frame_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A palette whose entry i is (i, 255 - i, i / 2) with flags set, to show flags are ignored.
std::vector<uint8_t> RampPalette() {
  std::vector<uint8_t> palette(PALETTE_BYTES);
  for (int i = 0; i < PALETTE_ENTRIES; ++i) {
    palette[i * 4 + 0] = static_cast<uint8_t>(i);
    palette[i * 4 + 1] = static_cast<uint8_t>(255 - i);
    palette[i * 4 + 2] = static_cast<uint8_t>(i / 2);
    palette[i * 4 + 3] = 0x05;
  }
  return palette;
}

// Output rows with spare words at the end of each, filled with a marker that must survive.
constexpr uint32_t UNTOUCHED = 0xDEADBEEFu;

std::vector<uint32_t> MarkedOutput(int words_per_row, int rows) {
  return std::vector<uint32_t>(static_cast<size_t>(words_per_row) * rows, UNTOUCHED);
}

TEST(PaletteLookup, BuildsOpaqueColoursAndRebuildsOnlyOnChange) {
  PaletteLookup lookup{};
  std::vector<uint8_t> palette = RampPalette();

  EXPECT_TRUE(UpdatePaletteLookup(lookup, palette.data()));
  EXPECT_EQ(lookup.argb[0], 0xFF00FF00u);
  EXPECT_EQ(lookup.argb[200], 0xFFC83764u);  // 200, 55, 100
  EXPECT_EQ(lookup.argb[255], 0xFFFF007Fu);

  EXPECT_FALSE(UpdatePaletteLookup(lookup, palette.data())) << "same bytes must not rebuild";

  palette[7 * 4 + 0] = 0x12;  // one step of a fade
  palette[7 * 4 + 1] = 0x34;
  palette[7 * 4 + 2] = 0x56;
  EXPECT_TRUE(UpdatePaletteLookup(lookup, palette.data()));
  EXPECT_EQ(lookup.argb[7], 0xFF123456u);
}

TEST(PaletteLookup, FirstBuildHappensEvenForAnAllZeroPalette) {
  PaletteLookup lookup{};
  std::memset(lookup.argb, 0xAB, sizeof lookup.argb);
  std::vector<uint8_t> black(PALETTE_BYTES, 0);
  EXPECT_TRUE(UpdatePaletteLookup(lookup, black.data()));
  EXPECT_EQ(lookup.argb[0], 0xFF000000u);
  EXPECT_EQ(lookup.argb[255], 0xFF000000u);
}

// Rows are converted eight pixels at a time and then one by one: every place in the row, at
// every length around those steps, takes its own index's colour and nothing past the row.
TEST(ConvertFrame, EveryPixelOfEightBitRowsOfAnyLength) {
  PaletteLookup lookup{};
  std::vector<uint8_t> palette = RampPalette();
  UpdatePaletteLookup(lookup, palette.data());
  std::vector<uint8_t> indices(40);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(255 - 11 * i);
  for (int width : {1, 7, 8, 9, 16, 19, 39}) {
    std::vector<uint32_t> out = MarkedOutput(40, 1);
    ConvertRow8(indices.data(), width, lookup.argb, out.data());
    for (int x = 0; x < width; ++x) ASSERT_EQ(out[x], lookup.argb[indices[x]]) << width << " at " << x;
    EXPECT_EQ(out[width], UNTOUCHED) << width;
  }
}

TEST(ConvertFrame, EightBitGoesThroughPaletteAndRespectsBothPitches) {
  PaletteLookup lookup{};
  std::vector<uint8_t> palette = RampPalette();
  UpdatePaletteLookup(lookup, palette.data());

  // 3 x 2 frame in rows of 5 bytes: the two padding bytes per row must not be shown.
  const uint8_t pixels[] = {1, 2, 3, 99, 99,  //
                            250, 0, 128, 99, 99};
  HostFrame frame{pixels, 3, 2, 5, 8, palette.data()};
  std::vector<uint32_t> out = MarkedOutput(4, 2);

  ASSERT_TRUE(ConvertFrame(frame, lookup.argb, reinterpret_cast<uint8_t*>(out.data()), 16));
  EXPECT_EQ(out[0], lookup.argb[1]);
  EXPECT_EQ(out[1], lookup.argb[2]);
  EXPECT_EQ(out[2], lookup.argb[3]);
  EXPECT_EQ(out[3], UNTOUCHED);
  EXPECT_EQ(out[4], lookup.argb[250]);
  EXPECT_EQ(out[5], lookup.argb[0]);
  EXPECT_EQ(out[6], lookup.argb[128]);
  EXPECT_EQ(out[7], UNTOUCHED);
}

TEST(ConvertFrame, SixteenBitWidensEachChannelToFullRange) {
  // Rows start at odd addresses (pitch 9) to show unaligned 16-bit reads are handled.
  uint16_t values[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
  std::vector<uint8_t> pixels(1 + 9 * 2, 0);
  for (int i = 0; i < 6; ++i) std::memcpy(&pixels[1 + (i / 3) * 9 + (i % 3) * 2], &values[i], 2);
  HostFrame frame{pixels.data() + 1, 3, 2, 9, 16, nullptr};
  std::vector<uint32_t> out = MarkedOutput(3, 2);

  ASSERT_TRUE(ConvertFrame(frame, nullptr, reinterpret_cast<uint8_t*>(out.data()), 12));
  EXPECT_EQ(out[0], 0xFFFF0000u);  // full red
  EXPECT_EQ(out[1], 0xFF00FF00u);  // full green (6 bits)
  EXPECT_EQ(out[2], 0xFF0000FFu);  // full blue
  EXPECT_EQ(out[3], 0xFFFFFFFFu);
  EXPECT_EQ(out[4], 0xFF000000u);
  EXPECT_EQ(out[5], 0xFF848284u);  // half of each: top bits repeated into the low ones
}

TEST(ConvertFrame, FifteenBitUsesFiveBitsForEveryChannel) {
  const uint16_t values[] = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x8000, 0x4210};
  HostFrame frame{reinterpret_cast<const uint8_t*>(values), 6, 1, 12, 15, nullptr};
  std::vector<uint32_t> out = MarkedOutput(6, 1);

  ASSERT_TRUE(ConvertFrame(frame, nullptr, reinterpret_cast<uint8_t*>(out.data()), 24));
  EXPECT_EQ(out[0], 0xFFFF0000u);
  EXPECT_EQ(out[1], 0xFF00FF00u);
  EXPECT_EQ(out[2], 0xFF0000FFu);
  EXPECT_EQ(out[3], 0xFFFFFFFFu);
  EXPECT_EQ(out[4], 0xFF000000u);  // the unused top bit is ignored
  EXPECT_EQ(out[5], 0xFF848484u);
}

TEST(ConvertFrame, RefusesOtherDepthsWithoutWriting) {
  const uint8_t pixels[12] = {};
  std::vector<uint32_t> out = MarkedOutput(2, 2);
  for (int bits : {0, 4, 24, 32}) {
    HostFrame frame{pixels, 2, 2, 6, bits, nullptr};
    EXPECT_FALSE(ConvertFrame(frame, nullptr, reinterpret_cast<uint8_t*>(out.data()), 8)) << bits;
  }
  for (uint32_t word : out) EXPECT_EQ(word, UNTOUCHED);
}

// Only a frame that would change the screen counts as new: pixels (not the slack at the end of
// rows), size, depth, and the palette of 8-bit frames.
TEST(ShownFrame, OnlyAFrameThatChangesTheScreenIsNew) {
  std::vector<uint8_t> palette = RampPalette();
  std::vector<uint8_t> pixels(3 * 6, 0);  // 4 x 3 frame, rows 6 bytes apart
  HostFrame frame{pixels.data(), 4, 3, 6, 8, palette.data()};
  ShownFrame shown{};
  // The rows changed by the last update: only those are drawn again.
  auto changed_span = [&] { return std::make_pair(shown.changed_first, shown.changed_count); };
  EXPECT_TRUE(UpdateShownFrame(shown, frame)) << "the first frame is always new";
  EXPECT_EQ(changed_span(), std::make_pair(0, 3));
  EXPECT_FALSE(UpdateShownFrame(shown, frame));
  pixels[4] = 9;  // slack past the row's 4 pixels
  EXPECT_FALSE(UpdateShownFrame(shown, frame));
  pixels[2 * 6 + 3] = 7;  // last pixel of the last row
  EXPECT_TRUE(UpdateShownFrame(shown, frame));
  EXPECT_EQ(changed_span(), std::make_pair(2, 1));
  EXPECT_FALSE(UpdateShownFrame(shown, frame));
  EXPECT_EQ(shown.pixels[2 * 4 + 3], 7);
  pixels[0] = 1;  // the first and the last row: the span covers the unchanged one between
  pixels[2 * 6] = 1;
  EXPECT_TRUE(UpdateShownFrame(shown, frame));
  EXPECT_EQ(changed_span(), std::make_pair(0, 3));
  pixels[6 + 1] = 1;  // the middle row alone
  EXPECT_TRUE(UpdateShownFrame(shown, frame));
  EXPECT_EQ(changed_span(), std::make_pair(1, 1));
  palette[255 * 4 + 2] ^= 1;  // one step of a fade: every row looks different
  EXPECT_TRUE(UpdateShownFrame(shown, frame));
  EXPECT_EQ(changed_span(), std::make_pair(0, 3));
  EXPECT_FALSE(UpdateShownFrame(shown, frame));
  palette[3] ^= 1;  // the flags byte is kept too: a change there counts, harmlessly
  EXPECT_TRUE(UpdateShownFrame(shown, frame));

  HostFrame narrower{pixels.data(), 3, 3, 6, 8, palette.data()};
  EXPECT_TRUE(UpdateShownFrame(shown, narrower));
  HostFrame words{pixels.data(), 3, 3, 6, 16, palette.data()};
  EXPECT_TRUE(UpdateShownFrame(shown, words));
  palette[0] ^= 1;  // a 16-bit frame does not go through the palette
  EXPECT_FALSE(UpdateShownFrame(shown, words));
  pixels[2 * 6 + 5] = 1;  // high byte of the last 16-bit pixel
  EXPECT_TRUE(UpdateShownFrame(shown, words));
  HostFrame shorter{pixels.data(), 3, 2, 6, 16, palette.data()};
  EXPECT_TRUE(UpdateShownFrame(shown, shorter));
  HostFrame fifteen{pixels.data(), 3, 2, 6, 15, palette.data()};
  EXPECT_TRUE(UpdateShownFrame(shown, fifteen));
}

// Scaling into a 9-wide output whose marker must survive outside the box; the frame is 3 x 2
// of indices 1..6, shown through the ramp palette.
TEST(ScaleFrame, RepeatsNearestPixelsInsideTheBoxOnly) {
  const std::vector<uint8_t> palette = RampPalette();
  PaletteLookup lookup{};
  UpdatePaletteLookup(lookup, palette.data());
  const uint8_t pixels[] = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};  // rows of 4 bytes, the last one slack
  const HostFrame frame{pixels, 3, 2, 4, 8, palette.data()};
  struct Case {
    ScreenRect box;
    int first, count;          // frame rows to draw
    const char* expected;      // output rows, '.' untouched, digits the frame's index there
    ScreenRect written;
  };
  const Case cases[] = {
      {{1, 1, 6, 4}, 0, 2, ".........|.112233..|.112233..|.445566..|.445566..|", {1, 1, 6, 4}},  // doubled
      {{0, 0, 7, 3}, 0, 2, "1112233..|1112233..|4445566..|.........|.........|", {0, 0, 7, 3}},  // 7/3, 3/2
      {{2, 0, 2, 1}, 0, 2, "..12.....|.........|.........|.........|.........|", {2, 0, 2, 1}},  // shrunk
      {{1, 1, 6, 4}, 1, 1, ".........|.........|.........|.445566..|.445566..|", {1, 3, 6, 2}},  // row 1 alone
      {{0, 0, 7, 3}, 0, 1, "1112233..|1112233..|.........|.........|.........|", {0, 0, 7, 2}},
      {{0, 3, 3, 2}, 0, 2, ".........|.........|.........|123......|456......|", {0, 3, 3, 2}},  // as it is
      {{1, 1, 0, 4}, 0, 2, ".........|.........|.........|.........|.........|", {1, 1, 0, 0}},  // empty box
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> out = MarkedOutput(9, 5);
    std::vector<uint32_t> row;
    const ScreenRect written = ScaleFrame(frame, lookup.argb, c.box, c.first, c.count,
                                          reinterpret_cast<uint8_t*>(out.data()), 9 * 4, row);
    std::string picture;
    for (int i = 0; i < 45; ++i) {
      if (out[i] == UNTOUCHED)
        picture += '.';
      else
        picture += out[i] == lookup.argb[out[i] >> 16 & 0xFF] ? static_cast<char>('0' + (out[i] >> 16 & 0xFF)) : '?';
      if (i % 9 == 8) picture += '|';
    }
    EXPECT_EQ(picture, c.expected) << c.box.x << "," << c.box.y << " " << c.box.width << "x" << c.box.height;
    EXPECT_EQ(std::make_tuple(written.x, written.y, written.width, written.height),
              std::make_tuple(c.written.x, c.written.y, c.written.width, c.written.height));
  }
  std::vector<uint32_t> out = MarkedOutput(9, 5);
  std::vector<uint32_t> row;
  const HostFrame deep{pixels, 1, 1, 4, 24, nullptr};
  ScaleFrame(deep, lookup.argb, ScreenRect{0, 0, 2, 2}, 0, 1, reinterpret_cast<uint8_t*>(out.data()), 36, row);
  EXPECT_EQ(out, MarkedOutput(9, 5)) << "a depth it cannot convert writes nothing";
}

// Sixteen-bit frames go through the same scaling, each pixel widened once.
TEST(ScaleFrame, SixteenBitPixelsAreWidenedThenRepeated) {
  const uint16_t pixels[] = {0xF800, 0x07E0};  // pure red, pure green in 5.6.5
  const HostFrame frame{reinterpret_cast<const uint8_t*>(pixels), 2, 1, 4, 16, nullptr};
  std::vector<uint32_t> out(4 * 2, UNTOUCHED);
  std::vector<uint32_t> row;
  ScaleFrame(frame, nullptr, ScreenRect{0, 0, 4, 2}, 0, 1, reinterpret_cast<uint8_t*>(out.data()), 16, row);
  const uint32_t red = 0xFFFF0000u, green = 0xFF00FF00u;
  EXPECT_EQ(out, (std::vector<uint32_t>{red, red, green, green, red, red, green, green}));
}

TEST(IsSoftwareRasterizer, KnowsTheProcessorRasterisersByName) {
  EXPECT_TRUE(IsSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRasterizer("softpipe"));
  EXPECT_TRUE(IsSoftwareRasterizer("Mesa X11 Software Rasterizer"));
  EXPECT_TRUE(IsSoftwareRasterizer("SWR (LLVM 12.0.0, 256 bits)"));
  EXPECT_FALSE(IsSoftwareRasterizer("Graphics Adapter 620 (hardware)"));
  EXPECT_FALSE(IsSoftwareRasterizer(""));
  EXPECT_FALSE(IsSoftwareRasterizer(nullptr));
}

TEST(FitLetterbox, KeepsFourByThreeCentredWithBars) {
  struct Case {
    int output_width, output_height;
    ScreenRect expected;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},          // exact fit, no bars
      {1920, 1080, {240, 0, 1440, 1080}},    // wide: bars left and right
      {1280, 1024, {0, 32, 1280, 960}},      // 5:4: bars top and bottom
      {1080, 1920, {0, 555, 1080, 810}},     // portrait
      {1366, 768, {171, 0, 1024, 768}},      // odd bar split rounds down
      {321, 240, {0, 0, 320, 240}},          // one spare column: bar of 0 on the left
  };
  for (const Case& c : cases) {
    ScreenRect box = FitLetterbox(c.output_width, c.output_height, 640, 480);
    EXPECT_EQ(box.x, c.expected.x) << c.output_width << "x" << c.output_height;
    EXPECT_EQ(box.y, c.expected.y) << c.output_width << "x" << c.output_height;
    EXPECT_EQ(box.width, c.expected.width) << c.output_width << "x" << c.output_height;
    EXPECT_EQ(box.height, c.expected.height) << c.output_width << "x" << c.output_height;
  }
}

TEST(FitLetterbox, HandlesHugeAndEmptySizes) {
  ScreenRect huge = FitLetterbox(2000000000, 1000000000, 640, 480);
  EXPECT_EQ(huge.height, 1000000000);
  EXPECT_EQ(huge.width, 1333333333);
  EXPECT_GE(huge.x, 0);

  for (ScreenRect empty : {FitLetterbox(0, 480, 640, 480), FitLetterbox(640, 480, 0, 480),
                           FitLetterbox(640, -1, 640, 480)}) {
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
  }
}

}  // namespace
