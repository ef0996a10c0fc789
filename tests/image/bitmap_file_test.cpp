// Picture files written by the test, read back and decoded pixel by pixel; damaged files refused
// with the file closed and the record untouched.
#include <algorithm>
#include <cstring>

#include "bmp_test_files.h"
#include "image/bitmap_file.h"
#include "soft/files.h"
#include "test_support.h"

namespace {

class BitmapFileTest : public FreshMachineTest {
 protected:
  void TearDown() override {
    UnloadBitmapFile(&bitmap);
    FreshMachineTest::TearDown();
  }
  // Writes the picture file the description gives and loads it.
  int Load(const BmpSpec& spec) { return LoadBytes(EncodeBmp(spec)); }
  int LoadBytes(const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(WriteBytes("test.bmp", bytes));
    return LoadBitmapFile(&bitmap, "test.bmp");
  }
  std::vector<uint8_t> Pixels() const {
    const BITMAPINFOHEADER& info = bitmap.info_header;
    const size_t size = static_cast<size_t>(info.biWidth) * info.biHeight * (info.biBitCount / 8);
    return std::vector<uint8_t>(bitmap.pixels, bitmap.pixels + size);
  }
  // The pixels as 16-bit values; their count follows biWidth, biHeight and biBitCount.
  std::vector<uint16_t> Pixels16() const {
    const std::vector<uint8_t> bytes = Pixels();
    const auto* units = reinterpret_cast<const uint16_t*>(bytes.data());
    return std::vector<uint16_t>(units, units + bytes.size() / 2);
  }
  BitmapFile bitmap{};
};

// Pixels of 2, 3 or 4 bytes, little-endian, top row first.
BmpSpec Truecolour(int bits, int width, int height, std::initializer_list<uint32_t> pixels,
                   uint32_t info_size = 40) {
  BmpSpec spec{width, height, bits, info_size};
  for (uint32_t pixel : pixels)
    for (int i = 0; i < bits / 8; ++i) spec.pixels.push_back(static_cast<uint8_t>(pixel >> (8 * i)));
  return spec;
}

BmpSpec WithMasks(BmpSpec spec, std::vector<uint32_t> masks) {
  spec.compression = BI_BITFIELDS;
  spec.masks = std::move(masks);
  return spec;
}

// Run-length data that decodes to `pixels`.
BmpSpec RunLength(int width, int height, int bits, std::vector<uint8_t> encoded, std::vector<uint8_t> pixels) {
  const uint32_t compression = bits == 8 ? BI_RLE8 : BI_RLE4;
  return BmpSpec{width, height, bits, 40, -1, -1, true, false, compression, {}, std::move(pixels), std::move(encoded)};
}

// Every layout of up to 8 bits gives its pixels as palette indexes, top row first. The colour
// table is what lies between the headers (14 + biSize) and the pixels, whatever biClrUsed says,
// entries past it black; the pixels lie at bfOffBits whatever follows them, or, when bfOffBits
// cannot be right, are the file's last biSizeImage bytes. Run-length pixels past a row's end are
// dropped.
TEST_F(BitmapFileTest, IndexedLayoutsGiveThePictureAndItsColourTable) {
  std::vector<uint8_t> profile(300);
  for (size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<uint8_t>(i * 13 + 5);
  const BmpSpec bytes_after{5, 3, 8, 40, -1, -1, true, false, 0, {}, {}, {}, {1, 2, 3}};
  const struct {
    const char* name;
    BmpSpec spec;
    size_t field;  // 0, or a header field set to `value`
    uint32_t value;
  } cases[] = {
      {"padded rows", BmpSpec{5, 3}, 0, 0},
      {"top row first", BmpSpec{5, -3}, 0, 0},
      {"longest header", BmpSpec{5, 3, 8, 1024}, 0, 0},
      {"core header", BmpSpec{5, 3, 8, 12}, 0, 0},
      {"256 entries, biClrUsed 16", BmpSpec{4, 2, 8, 40, 256, 16}, 0, 0},
      {"V5 with a profile", BmpSpec{5, 3, 8, 124, -1, -1, true, false, 0, {}, {}, {}, profile}, 0, 0},
      {"bytes after, no size", BmpSpec{4, 3, 8, 40, -1, -1, true, true, 0, {}, {}, {}, {1, 2, 3}}, 0, 0},
      {"bytes after, size too big", bytes_after, BI_SIZE_IMAGE, 40},
      {"bytes after, size too small", bytes_after, BI_SIZE_IMAGE, 29},
      {"packed rows, bfOffBits 0", BmpSpec{6, 3, 8, 40, -1, -1, false}, BF_OFF_BITS, 0},
      {"1-bit", BmpSpec{11, 3, 1}, 0, 0},
      {"4-bit packed", BmpSpec{11, 3, 4, 40, -1, -1, false}, 0, 0},
      {"1-bit core header", BmpSpec{3, 1, 1, 12}, 0, 0},
      {"RLE8",
       RunLength(6, 4, 8,
                 {3, 9, 0, 3, 1, 2, 3, 0, 0, 0,  // row 3: 9 9 9 1 2 3
                  0, 2, 2, 1,                    // jump right 2, down 1: row 2 stays 0
                  2, 5, 0, 0,                    // row 1: 0 0 5 5 0 0
                  9, 4, 0, 1},                   // row 0: 4 x6 (3 more dropped), end
                 {4, 4, 4, 4, 4, 4, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 1, 2, 3}),
       0, 0},
      {"RLE8 end mark only", RunLength(6, 4, 8, {0, 1}, std::vector<uint8_t>(24, 0)), 0, 0},
      {"RLE8 rows past the last", RunLength(4, 2, 8, {4, 1, 0, 0, 4, 2, 0, 0, 4, 7, 0, 1}, {2, 2, 2, 2, 1, 1, 1, 1}), 0, 0},
      {"RLE4",
       RunLength(7, 3, 4,
                 {5, 0x12, 0, 3, 0x34, 0x50, 0, 0,  // row 2: 1 2 1 2 1, literal 3 4 (5 dropped)
                  0, 5, 0x67, 0x89, 0xA0, 0,        // row 1: literal of 5, padded to 4 bytes
                  0, 2, 1, 1, 1, 0xF0, 0, 1},       // jump to (6, row 0): 15, end
                 {0, 0, 0, 0, 0, 0, 15, 6, 7, 8, 9, 10, 0, 0, 1, 2, 1, 2, 1, 3, 4}),
       0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = EncodeBmp(c.spec);
    if (c.field) Poke(bytes, c.field, c.value);
    ASSERT_EQ(1, LoadBytes(bytes));
    EXPECT_EQ(PicturePixels(c.spec), Pixels());  // and so biWidth, biHeight and biBitCount
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), bitmap.info_header.biCompression);
    const int held = c.spec.palette_entries >= 0 ? c.spec.palette_entries : 1 << c.spec.bits;
    for (int n = 0; n < 256; ++n) {  // the test files' colours, then black
      const PaletteEntry& got = bitmap.palette[n];
      const int red = n < held ? TestRed(n) : 0, green = n < held ? TestGreen(n) : 0, blue = n < held ? TestBlue(n) : 0;
      EXPECT_EQ((std::vector<int>{red, green, blue, PC_NOCOLLAPSE}),
                (std::vector<int>{got.peRed, got.peGreen, got.peBlue, got.peFlags})) << n;
    }
  }
}

// 16-bit pixels stay as they are; 24- and 32-bit ones (bit fields in any header too) become the
// display's 16-bit layout, whatever unused or alpha bits hold. The palette is left alone.
TEST_F(BitmapFileTest, TruecolourBecomesTheDisplaysSixteenBitLayout) {
  const std::initializer_list<uint32_t> colours = {0xAAC86432, 0x000780FF, 0x12FFFFFF, 0xFF000000};
  const std::vector<uint32_t> eight_bit_fields = {0x00FF0000, 0x0000FF00, 0x000000FF};
  const std::vector<uint16_t> colours565 = {0xCB26, 0x041F, 0xFFFF, 0};  // (200, 100, 50), (7, 128, 255)
  const struct {
    const char* name;
    BmpSpec spec;
    int pixel_format;
    std::vector<uint16_t> expected;
  } cases[] = {
      {"16-bit", Truecolour(16, 2, 2, {0x8001, 0x7FFF, 0x1234, 0x4321}), 16, {0x8001, 0x7FFF, 0x1234, 0x4321}},
      {"24-bit", Truecolour(24, 2, 2, {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF}), 16, {0xFFFF, 0xF800, 0x07E0, 0x001F}},
      {"24-bit 5.5.5 top row first", Truecolour(24, 2, -2, {0xFFFFFF, 0xF80307, 0xC80408, 0}), 15,
       {0x7FFF, 0x7C00, 0x6401, 0}},
      {"24-bit core header", Truecolour(24, 2, 1, {0xC86432, 0}, 12), 15, {0x6586, 0}},
      {"32-bit", Truecolour(32, 2, 2, colours), 16, colours565},
      {"masks after the header", WithMasks(Truecolour(32, 2, 2, colours), eight_bit_fields), 16, colours565},
      {"V4 masks", WithMasks(Truecolour(32, 2, 2, colours, 108), eight_bit_fields), 16, colours565},
      {"V5 masks with alpha",
       WithMasks(Truecolour(32, 2, 2, {0xC86432AA, 0x0780FF00, 0xFFFFFF12, 0x000000FF}, 124),
                 {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}),
       16, colours565},
      {"10 bits each",
       WithMasks(Truecolour(32, 2, 2, {0x320640C8, 0x01C803FC, 0x3FFFFFFF, 0xC0000000}),
                 {0x3FF00000, 0x000FFC00, 0x000003FF}),
       16, colours565},
      {"5 bits of 31, 16 and 1", WithMasks(Truecolour(32, 1, 1, {0x7E01}), {0x7C00, 0x03E0, 0x001F}), 16, {0xFC21}},
      {"7 bits: 64 of 127 is 129", WithMasks(Truecolour(32, 1, 1, {0x408020}), {0x7F0000, 0xFF00, 0xFF}), 16,
       {0x8404}},
  };
  bitmap.palette[9].peRed = 77;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    display.pixel_format = c.pixel_format;
    ASSERT_EQ(1, Load(c.spec));
    EXPECT_EQ(c.expected, Pixels16());
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), bitmap.info_header.biCompression);
    EXPECT_EQ(static_cast<DWORD>(2 * c.expected.size()), bitmap.info_header.biSizeImage);
    EXPECT_EQ(77, bitmap.palette[9].peRed);
  }
}

// In a palettised display mode a truecolour picture is mapped onto the palette that is set,
// which the record then carries, so that setting it changes nothing.
TEST_F(BitmapFileTest, TruecolourInAPalettisedModeUsesThePaletteThatIsSet) {
  display.pixel_format = 8;
  for (int n = 0; n < 256; ++n) display.palette_entries[n] = PaletteEntry{TestRed(n), TestGreen(n), TestBlue(n), 0};
  BmpSpec exact{13, 5, 24};  // exact palette colours map to their own index, with no error spread
  for (uint8_t n : TestIndices(13, 5)) exact.pixels.insert(exact.pixels.end(), {TestBlue(n), TestGreen(n), TestRed(n)});
  ASSERT_EQ(1, Load(exact));
  EXPECT_EQ(TestIndices(13, 5), Pixels());
  EXPECT_EQ(65u, bitmap.info_header.biSizeImage);
  EXPECT_EQ(0, std::memcmp(bitmap.palette, display.palette_entries, sizeof bitmap.palette));

  for (PaletteEntry& entry : display.palette_entries) entry = PaletteEntry{0, 0, 0, PC_NOCOLLAPSE};
  display.palette_entries[9] = PaletteEntry{255, 255, 255, PC_NOCOLLAPSE};
  // A column of 0, 11 and 124: the 11 carried below the middle pixel, 55 sixteenths rounded to 3,
  // brings the last to 127, still black.
  ASSERT_EQ(1, Load(Truecolour(24, 1, 3, {0, 0x0B0B0B, 0x7C7C7C})));
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 0}), Pixels());

  // A grey ramp over black, two greys and white: each pixel's error goes 7/16 right, 3/16 below
  // left, 5/16 below and 1/16 below right.
  display.palette_entries[9] = PaletteEntry{85, 85, 85, PC_NOCOLLAPSE};
  display.palette_entries[1] = PaletteEntry{170, 170, 170, PC_NOCOLLAPSE};
  display.palette_entries[2] = PaletteEntry{255, 255, 255, PC_NOCOLLAPSE};
  BmpSpec ramp{16, 4, 24};
  ramp.pixels.resize(16 * 4 * 3);
  for (size_t i = 0; i < ramp.pixels.size(); ++i) ramp.pixels[i] = static_cast<uint8_t>(i / 3 % 16 * 16 + i / 48 * 3);
  ASSERT_EQ(1, Load(ramp));
  const char level_of[10] = {'0', '2', '3', '?', '?', '?', '?', '?', '?', '1'};  // entries 0, 9, 1, 2
  std::string levels;
  for (uint8_t index : Pixels()) levels += index < 10 ? level_of[index] : '?';
  EXPECT_EQ(
      "0001111122222323"
      "0010111121222333"
      "0011111212222323"
      "0010111122223233",
      levels);
}

// A file's header fields set, in order, to damaging values; its length then set (0 keeps it).
struct Damage {
  const char* name;
  std::vector<std::pair<size_t, uint32_t>> fields;
  size_t length;
};

// Each damaged file fails with the file closed and the earlier picture, headers and palette
// intact; a good load replaces the picture before (the leak checker sees the old one freed).
TEST_F(BitmapFileTest, DamagedFilesAreRefusedAndChangeNothing) {
  ASSERT_EQ(1, Load(BmpSpec{8, 8}));
  ASSERT_EQ(1, Load(BmpSpec{4, 2}));
  uint8_t* const old_pixels = bitmap.pixels;
  const std::vector<uint8_t> good = EncodeBmp(BmpSpec{6, 4});  // 6-byte rows padded to 8: 1078 + 32 bytes
  const Damage damages[] = {
      {"not BM", {{0, 0x4D50}}, 0},
      {"2-bit", {{BI_BIT_COUNT, 2}}, 0},
      {"RLE4 in an 8-bit file", {{BI_COMPRESSION, BI_RLE4}}, 0},
      {"RLE8 in a 4-bit file", {{BI_BIT_COUNT, 4}, {BI_COMPRESSION, BI_RLE8}}, 0},
      {"bit fields in a 24-bit file", {{BI_BIT_COUNT, 24}, {BI_COMPRESSION, BI_BITFIELDS}}, 0},
      {"JPEG", {{BI_COMPRESSION, 4}}, 0},
      {"width 0", {{BI_WIDTH, 0}}, 0},
      {"height 0", {{BI_HEIGHT, 0}}, 0},
      {"height most negative", {{BI_HEIGHT, 0x80000000}}, 0},
      {"info header 20 bytes", {{BI_SIZE, 20}}, 0},
      {"core header of height 0", {{BI_SIZE, 12}}, 0},
      {"info header past the end", {{BI_SIZE, 0x7FFFFFF0}}, 0},
      {"bfOffBits 0, biSizeImage over headers", {{BF_OFF_BITS, 0}, {BI_SIZE_IMAGE, 40}}, 0},
      {"bfOffBits 0, biSizeImage short of the rows", {{BF_OFF_BITS, 0}, {BI_SIZE_IMAGE, 29}}, 0},
      {"bfOffBits past the end", {{BI_SIZE_IMAGE, 0}, {BF_OFF_BITS, 1100}}, 0},
      {"bfOffBits into the table", {{BI_SIZE_IMAGE, 0}, {BF_OFF_BITS, 60}}, 0},
      {"rows past the end", {{BI_HEIGHT, 5}}, 0},
      {"65537 x 65536 wraps to 65536", {{BI_WIDTH, 65537}, {BI_HEIGHT, 65536}, {BI_SIZE_IMAGE, 65536}}, 1078 + 65536},
      {"cut in the file header", {}, 10},
      {"cut in the colour table", {}, 600},
      {"cut in the pixels", {{BI_SIZE_IMAGE, 0}}, 1107},
  };
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  for (const Damage& damage : damages) {
    std::vector<uint8_t> bytes = good;
    for (const auto& [offset, value] : damage.fields) Poke(bytes, offset, value);
    if (damage.length) bytes.resize(damage.length);
    files.emplace_back(damage.name, bytes);
  }
  std::vector<uint8_t> long_header = good;  // a longer header would fit: the pixels are the last 32 bytes
  Poke(long_header, BI_SIZE, 1025);
  long_header.insert(long_header.begin() + 54, 985, 0);
  files.emplace_back("info header over 1024 bytes", long_header);
  files.emplace_back("empty", std::vector<uint8_t>{});
  for (const auto& masks : std::vector<std::vector<uint32_t>>{{0, 0xFF00, 0xFF}, {0xF0F00000, 0xFF00, 0xFF}})
    files.emplace_back("a mask with no bits or two runs", EncodeBmp(WithMasks(Truecolour(32, 1, 1, {1}), masks)));
  files.emplace_back("run-length data ending early", EncodeBmp(RunLength(4, 3, 8, {4, 1, 0, 0, 4, 2}, {})));
  files.emplace_back("run-length literal past the data", EncodeBmp(RunLength(4, 3, 8, {4, 1, 0, 0, 0, 9, 1, 2}, {})));
  files.emplace_back("run-length jump past the data", EncodeBmp(RunLength(4, 3, 8, {0, 2, 1}, {})));
  files.emplace_back("run-length 900 megapixels from 2 bytes", EncodeBmp(RunLength(30000, 30000, 8, {0, 1}, {})));
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    EXPECT_EQ(0, LoadBytes(bytes));
    EXPECT_EQ(0, SoftOpenFileCount());
    EXPECT_EQ(old_pixels, bitmap.pixels);
    EXPECT_EQ(4, bitmap.info_header.biWidth);
    EXPECT_EQ(TestRed(3), bitmap.palette[3].peRed);
  }
  EXPECT_EQ(TestIndices(4, 2), Pixels());
  EXPECT_EQ(0, LoadBitmapFile(&bitmap, "missing.bmp"));
  EXPECT_EQ(0, LoadBitmapFile(&bitmap, nullptr));
  EXPECT_EQ(0, LoadBitmapFile(nullptr, "test.bmp"));
  EXPECT_EQ(1, UnloadBitmapFile(&bitmap));
  EXPECT_EQ(1, UnloadBitmapFile(&bitmap));  // again: the pixels were forgotten, not freed twice
}

TEST(FlipBitmapRowsTest, ReversesRowsInPlace) {
  const std::vector<uint8_t> unchanged = {1, 2, 3, 4, 5, 6, 7, 8};
  const struct {
    int row_bytes, rows, result;
    std::vector<uint8_t> expected;
  } cases[] = {
      {3, 1, 1, unchanged},
      {2, 3, 1, {5, 6, 3, 4, 1, 2, 7, 8}},
      {2, 4, 1, {7, 8, 5, 6, 3, 4, 1, 2}},
      {0, 3, 1, unchanged},
      {2, 0, 1, unchanged},
      {-1, 3, 0, unchanged},
      {2, -3, 0, unchanged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << " rows of " << c.row_bytes);
    std::vector<uint8_t> image = unchanged;
    EXPECT_EQ(c.result, FlipBitmapRows(image.data(), c.row_bytes, c.rows));
    EXPECT_EQ(c.expected, image);
  }
  EXPECT_EQ(0, FlipBitmapRows(nullptr, 2, 3));
}

}  // namespace
