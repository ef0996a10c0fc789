#include "hosts/common/frame_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <tuple>
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

// Output words no conversion may touch.
constexpr uint32_t UNTOUCHED = 0xDEADBEEFu;

uint8_t* Bytes(std::vector<uint32_t>& words) { return reinterpret_cast<uint8_t*>(words.data()); }

TEST(PaletteLookup, BuildsOpaqueColoursOnFirstUseAndOnChangeOnly) {
  PaletteLookup lookup{};
  std::vector<uint8_t> black(PALETTE_BYTES, 0);
  std::memset(lookup.argb, 0xAB, sizeof lookup.argb);
  EXPECT_TRUE(UpdatePaletteLookup(lookup, black.data())) << "the first build happens even for zeros";
  EXPECT_EQ(lookup.argb[255], 0xFF000000u);
  std::vector<uint8_t> palette = RampPalette();
  EXPECT_TRUE(UpdatePaletteLookup(lookup, palette.data()));
  EXPECT_EQ(lookup.argb[0], 0xFF00FF00u);
  EXPECT_EQ(lookup.argb[200], 0xFFC83764u);  // 200, 55, 100
  EXPECT_FALSE(UpdatePaletteLookup(lookup, palette.data())) << "same bytes must not rebuild";
  palette[7 * 4 + 2] = 0x56;  // one step of a fade
  EXPECT_TRUE(UpdatePaletteLookup(lookup, palette.data()));
  EXPECT_EQ(lookup.argb[7], 0xFF07F856u);
}

// Rows are converted eight pixels at a time and then one by one: every place in the row, at
// every length around those steps, takes its own index's colour and nothing past the row.
TEST(ConvertFrame, EightBitRowsOfAnyLength) {
  PaletteLookup lookup{};
  std::vector<uint8_t> palette = RampPalette();
  UpdatePaletteLookup(lookup, palette.data());
  std::vector<uint8_t> indices(40);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(255 - 11 * i);
  for (int width : {1, 7, 8, 9, 16, 19, 39}) {
    std::vector<uint32_t> out(40, UNTOUCHED);
    ConvertRow8(indices.data(), width, lookup.argb, out.data());
    for (int x = 0; x < width; ++x) ASSERT_EQ(out[x], lookup.argb[indices[x]]) << width << " at " << x;
    EXPECT_EQ(out[width], UNTOUCHED) << width;
  }
}

TEST(ConvertFrame, WordPixelsWidenEachChannelToFullRange) {
  struct Case {
    int bits;
    uint16_t pixel;
    uint32_t argb;
  };
  const Case cases[] = {
      {16, 0xFFFF, 0xFFFFFFFFu}, {16, (16u << 11) | (32u << 5) | 8u, 0xFF848242u},  // top bits repeated low
      {15, 0x8000, 0xFF000000u},  // the unused top bit is ignored
      {15, (16u << 10) | (1u << 5) | 8u, 0xFF840842u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits " << std::hex << c.pixel);
    uint8_t pixels[7] = {};  // 1 x 2 frame, rows at odd addresses: reads need no alignment
    std::memcpy(pixels + 1, &c.pixel, 2);
    std::memcpy(pixels + 5, &c.pixel, 2);
    std::vector<uint32_t> out(4, UNTOUCHED);
    ASSERT_TRUE(ConvertFrame(HostFrame{pixels + 1, 1, 2, 4, c.bits, nullptr}, nullptr, Bytes(out), 8));
    EXPECT_EQ(out, (std::vector<uint32_t>{c.argb, UNTOUCHED, c.argb, UNTOUCHED}));
  }
  std::vector<uint32_t> out(4, UNTOUCHED);
  const uint8_t pixels[12] = {};
  for (int bits : {0, 4, 24, 32})
    EXPECT_FALSE(ConvertFrame(HostFrame{pixels, 2, 2, 6, bits, nullptr}, nullptr, Bytes(out), 8)) << bits;
  EXPECT_EQ(out, std::vector<uint32_t>(4, UNTOUCHED));
}

// Only a frame that would change the screen counts as new: pixels (not the slack at the end of
// rows), size, depth, and the palette of 8-bit frames; the changed rows are recorded.
TEST(ShownFrame, OnlyAFrameThatChangesTheScreenIsNew) {
  std::vector<uint8_t> palette = RampPalette();
  std::vector<uint8_t> pixels(3 * 6, 0);  // 4 x 3 frame, rows 6 bytes apart
  HostFrame frame{pixels.data(), 4, 3, 6, 8, palette.data()};
  ShownFrame shown{};
  struct Step {
    int at;  // byte of pixels (or, minus 1000 and up, of the palette) to change; -1 none
    HostFrame frame;
    bool is_new;
    int first, count;
  };
  const HostFrame words{pixels.data(), 3, 3, 6, 16, palette.data()};
  const Step steps[] = {
      {-1, frame, true, 0, 3},      {-1, frame, false, 0, 0},      {4, frame, false, 0, 0},  // slack
      {2 * 6 + 3, frame, true, 2, 1}, {6 + 1, frame, true, 1, 1},
      {1000 + 255 * 4 + 2, frame, true, 0, 3},  // a fade step redraws every row
      {-1, HostFrame{pixels.data(), 3, 3, 6, 8, palette.data()}, true, 0, 3},
      {-1, words, true, 0, 3},      {1000, words, false, 0, 0},  // no palette for word pixels
      {2 * 6 + 5, words, true, 2, 1},  // high byte of the last 16-bit pixel
      {-1, HostFrame{pixels.data(), 3, 2, 6, 16, palette.data()}, true, 0, 2},
      {-1, HostFrame{pixels.data(), 3, 2, 6, 15, palette.data()}, true, 0, 2},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    const Step& s = steps[i];
    if (s.at >= 1000) palette[s.at - 1000] ^= 1;
    else if (s.at >= 0) pixels[s.at] ^= 7;
    EXPECT_EQ(UpdateShownFrame(shown, s.frame), s.is_new);
    if (s.is_new) {
      EXPECT_EQ(std::make_pair(shown.changed_first, shown.changed_count), std::make_pair(s.first, s.count));
    }
  }
  EXPECT_EQ(shown.pixels[4], 7);  // first row of the 3-wide 15-bit frame: the kept copy
}

// Scaling into a 9-wide output whose marker must survive outside the box; the frame is 3 x 2
// of indices 1..6, shown through the ramp palette.
TEST(ScaleFrame, RepeatsNearestPixelsInsideTheBoxOnly) {
  const std::vector<uint8_t> palette = RampPalette();
  PaletteLookup lookup{};
  UpdatePaletteLookup(lookup, palette.data());
  const uint8_t pixels[] = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};  // rows of 4 bytes, the last one slack
  const uint16_t words[] = {0xF800, 0x07E0};                 // red, green in 5.6.5
  const HostFrame frame{pixels, 3, 2, 4, 8, palette.data()};
  const HostFrame wide{reinterpret_cast<const uint8_t*>(words), 2, 1, 4, 16, nullptr};
  struct Case {
    HostFrame frame;
    ScreenRect box;
    int first, count;      // frame rows to draw
    const char* expected;  // output rows: '.' untouched, a digit the index there, R/G red/green
    ScreenRect written;
  };
  const Case cases[] = {
      {frame, {1, 1, 6, 4}, 0, 2, ".........|.112233..|.112233..|.445566..|.445566..|", {1, 1, 6, 4}},  // doubled
      {frame, {0, 0, 7, 3}, 0, 2, "1112233..|1112233..|4445566..|.........|.........|", {0, 0, 7, 3}},  // 7/3, 3/2
      {frame, {2, 0, 2, 1}, 0, 2, "..12.....|.........|.........|.........|.........|", {2, 0, 2, 1}},  // shrunk
      {frame, {1, 1, 6, 4}, 1, 1, ".........|.........|.........|.445566..|.445566..|", {1, 3, 6, 2}},  // row 1
      {frame, {0, 0, 7, 3}, 0, 1, "1112233..|1112233..|.........|.........|.........|", {0, 0, 7, 2}},
      {frame, {0, 3, 3, 2}, 0, 2, ".........|.........|.........|123......|456......|", {0, 3, 3, 2}},  // as is
      {frame, {1, 1, 0, 4}, 0, 2, ".........|.........|.........|.........|.........|", {1, 1, 0, 0}},  // empty
      {wide, {0, 1, 4, 2}, 0, 1, ".........|RRGG.....|RRGG.....|.........|.........|", {0, 1, 4, 2}},
      {HostFrame{pixels, 1, 1, 4, 24, nullptr}, {0, 0, 2, 2}, 0, 1,  // a depth it cannot convert
       ".........|.........|.........|.........|.........|", {0, 0, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::vector<uint32_t> out(9 * 5, UNTOUCHED);
    std::vector<uint32_t> row;
    const ScreenRect written = ScaleFrame(c.frame, lookup.argb, c.box, c.first, c.count, Bytes(out), 9 * 4, row);
    std::string picture;
    for (size_t i = 0; i < out.size(); ++i) {
      const uint32_t index = out[i] >> 16 & 0xFF;
      if (out[i] == UNTOUCHED) picture += '.';
      else if (out[i] == 0xFFFF0000u) picture += 'R';
      else if (out[i] == 0xFF00FF00u) picture += 'G';
      else picture += out[i] == lookup.argb[index] ? static_cast<char>('0' + index) : '?';
      if (i % 9 == 8) picture += '|';
    }
    EXPECT_EQ(picture, c.expected);
    EXPECT_EQ(std::make_tuple(written.x, written.y, written.width, written.height),
              std::make_tuple(c.written.x, c.written.y, c.written.width, c.written.height));
  }
}

TEST(IsSoftwareRasterizer, KnowsTheProcessorRasterisersByName) {
  for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 Software Rasterizer",
                           "SWR (LLVM 12.0.0, 256 bits)"})
    EXPECT_TRUE(IsSoftwareRasterizer(name)) << name;
  for (const char* name : {"Graphics Adapter 620 (hardware)", "", static_cast<const char*>(nullptr)})
    EXPECT_FALSE(IsSoftwareRasterizer(name));
}

TEST(FitLetterbox, KeepsTheFrameShapeCentredWithBars) {
  struct Case {
    int output_width, output_height, frame_width, frame_height;
    ScreenRect expected;
  };
  const Case cases[] = {
      {1280, 1024, 640, 480, {0, 32, 1280, 960}},    // 5:4: bars top and bottom
      {1366, 768, 640, 480, {171, 0, 1024, 768}},    // wide; odd bar split rounds down
      {2000000000, 1000000000, 640, 480, {333333333, 0, 1333333333, 1000000000}},  // no overflow
      {0, 480, 640, 480, {0, 0, 0, 0}}, {640, 480, 0, 480, {0, 0, 0, 0}},
      {640, -1, 640, 480, {0, 0, 0, 0}}, {640, 480, 640, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.output_width << "x" << c.output_height);
    const ScreenRect box = FitLetterbox(c.output_width, c.output_height, c.frame_width, c.frame_height);
    EXPECT_EQ(std::make_tuple(box.x, box.y, box.width, box.height),
              std::make_tuple(c.expected.x, c.expected.y, c.expected.width, c.expected.height));
  }
}

}  // namespace
