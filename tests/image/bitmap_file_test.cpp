// Picture files written by the test, read back and decoded pixel by pixel; damaged files refused
// with the file closed and the record untouched.
#include <algorithm>
#include <cstdlib>
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
  uint16_t Pixel16(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(bitmap.pixels)[y * bitmap.info_header.biWidth + x];
  }
  BitmapFile bitmap{};
};

BmpSpec Picture8(int width, int height) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixels = TestIndices(width, height < 0 ? -height : height);
  return spec;
}

// 24-bit pixels: blue, green, red per pixel, top row first.
BmpSpec Picture24(const std::vector<uint8_t>& bgr, int width, int height) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bits = 24;
  spec.pixels = bgr;
  return spec;
}

TEST_F(BitmapFileTest, FullScreenPictureTopRowFirstWithItsPalette) {
  ASSERT_EQ(1, Load(Picture8(640, 480)));
  EXPECT_EQ(TestIndices(640, 480), Pixels());
  EXPECT_EQ(307200u, bitmap.info_header.biSizeImage);
  EXPECT_EQ(0x4D42, bitmap.file_header.bfType);
  for (int n : {0, 1, 100, 255}) {
    EXPECT_EQ(TestRed(n), bitmap.palette[n].peRed) << n;
    EXPECT_EQ(TestGreen(n), bitmap.palette[n].peGreen) << n;
    EXPECT_EQ(TestBlue(n), bitmap.palette[n].peBlue) << n;
    EXPECT_EQ(PC_NOCOLLAPSE, bitmap.palette[n].peFlags) << n;
  }
  EXPECT_EQ(0, SoftOpenFileCount());
  EXPECT_EQ(std::vector<std::string>{"test.bmp"}, HeadlessOpenedFiles());
}

TEST_F(BitmapFileTest, RowLayoutsAllGiveThePicture) {
  BmpSpec padded = Picture8(5, 3);  // 5-byte rows padded to 8
  BmpSpec packed = Picture8(5, 3);
  packed.pad_rows = false;  // biSizeImage 15 says the rows are packed
  BmpSpec no_size = Picture8(5, 3);
  no_size.size_image_zero = true;  // pixels found at bfOffBits
  BmpSpec top_down = Picture8(5, -3);
  BmpSpec v4 = Picture8(5, 3);
  v4.info_size = 108;
  BmpSpec v5 = Picture8(5, 3);
  v5.info_size = 124;
  BmpSpec longest = Picture8(5, 3);
  longest.info_size = 1024;  // the longest info header taken
  for (const BmpSpec* spec : {&padded, &packed, &no_size, &top_down, &v4, &v5, &longest}) {
    ASSERT_EQ(1, Load(*spec)) << spec->info_size;
    EXPECT_EQ(TestIndices(5, 3), Pixels()) << spec->info_size << " " << spec->height;
    EXPECT_EQ(3, bitmap.info_header.biHeight);
    EXPECT_EQ(15u, bitmap.info_header.biSizeImage);
    EXPECT_EQ(TestRed(200), bitmap.palette[200].peRed);  // the table is read at 14 + biSize
    EXPECT_EQ(TestBlue(7), bitmap.palette[7].peBlue);
  }
}

// The colour table is every entry between the headers and the pixels, up to 256, whatever
// biClrUsed says; entries the file does not hold are black.
TEST_F(BitmapFileTest, ColourTableIsWhatLiesBeforeThePixels) {
  const struct {
    int entries, clr_used, last_held;
  } cases[] = {{16, 16, 15}, {256, 16, 255}, {256, 0, 255}};
  for (const auto& c : cases) {
    BmpSpec spec = Picture8(4, 2);
    spec.palette_entries = c.entries;
    spec.clr_used = c.clr_used;
    ASSERT_EQ(1, Load(spec)) << c.entries;
    EXPECT_EQ(TestIndices(4, 2), Pixels());
    for (int n : {c.last_held, c.last_held / 2}) {
      EXPECT_EQ(TestRed(n), bitmap.palette[n].peRed) << c.entries << " " << n;
      EXPECT_EQ(TestGreen(n), bitmap.palette[n].peGreen) << c.entries << " " << n;
      EXPECT_EQ(TestBlue(n), bitmap.palette[n].peBlue) << c.entries << " " << n;
    }
    for (int n = c.last_held + 1; n < 256; ++n) {
      EXPECT_EQ(0, bitmap.palette[n].peGreen + bitmap.palette[n].peRed + bitmap.palette[n].peBlue) << n;
      EXPECT_EQ(PC_NOCOLLAPSE, bitmap.palette[n].peFlags) << n;
    }
  }
}

// Whatever follows the pixel array (a V5 header's colour profile, bytes a tool leaves) is not
// part of the picture: the pixels start at bfOffBits.
TEST_F(BitmapFileTest, DataAfterThePixelsIsNotPartOfThePicture) {
  std::vector<uint8_t> profile(300);
  for (size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<uint8_t>(i * 13 + 5);
  BmpSpec v5 = Picture8(5, 3);
  v5.info_size = 124;
  v5.trailing = profile;
  BmpSpec few_bytes = Picture8(5, 3);
  few_bytes.trailing = {1, 2, 3};
  BmpSpec no_size = few_bytes;
  no_size.size_image_zero = true;
  for (const BmpSpec* spec : {&v5, &few_bytes, &no_size}) {
    ASSERT_EQ(1, Load(*spec)) << spec->trailing.size();
    EXPECT_EQ(TestIndices(5, 3), Pixels()) << spec->trailing.size();
    EXPECT_EQ(15u, bitmap.info_header.biSizeImage);
  }
  for (uint32_t wrong_size : {29u, 40u, 0x7FFFFFFFu}) {  // biSizeImage wrong, bfOffBits right
    std::vector<uint8_t> bytes = EncodeBmp(few_bytes);
    Poke32(bytes, BI_SIZE_IMAGE, wrong_size);
    ASSERT_EQ(1, LoadBytes(bytes)) << wrong_size;
    EXPECT_EQ(TestIndices(5, 3), Pixels()) << wrong_size;
  }
  const std::vector<uint8_t> bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  BmpSpec rgb = Picture24(bgr, 2, 2);
  rgb.trailing = profile;
  display.pixel_format = 16;
  ASSERT_EQ(1, Load(rgb));
  EXPECT_EQ(PackRgb565(3, 2, 1), Pixel16(0, 0));
  EXPECT_EQ(PackRgb565(12, 11, 10), Pixel16(1, 1));
}

TEST_F(BitmapFileTest, SixteenBitPixelsAsTheyAre) {
  BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bits = 16;
  spec.pixels = {0x01, 0x80, 0x02, 0x00, 0xFF, 0x7F, 0x34, 0x12, 0x00, 0x00, 0x21, 0x43};
  bitmap.palette[9].peRed = 77;
  ASSERT_EQ(1, Load(spec));
  EXPECT_EQ(0x8001, Pixel16(0, 0));
  EXPECT_EQ(0x7FFF, Pixel16(2, 0));
  EXPECT_EQ(0x1234, Pixel16(0, 1));
  EXPECT_EQ(0x4321, Pixel16(2, 1));
  EXPECT_EQ(77, bitmap.palette[9].peRed);  // no colour table, palette untouched
}

TEST_F(BitmapFileTest, TwentyFourBitBecomesTheDisplaysSixteenBitLayout) {
  // white, red, green, blue / a grey and three odd values; 3 pixels = 9 bytes, padded to 12.
  const std::vector<uint8_t> bgr = {255, 255, 255, 0, 0, 255, 0, 255, 0,
                                    255, 0,   0,   8, 4, 200, 7, 3,   248};
  display.pixel_format = 16;
  ASSERT_EQ(1, Load(Picture24(bgr, 3, 2)));
  EXPECT_EQ(0xFFFF, Pixel16(0, 0));
  EXPECT_EQ(0xF800, Pixel16(1, 0));
  EXPECT_EQ(0x07E0, Pixel16(2, 0));
  EXPECT_EQ(0x001F, Pixel16(0, 1));
  EXPECT_EQ((200 >> 3) << 11 | (4 >> 2) << 5 | (8 >> 3), Pixel16(1, 1));
  EXPECT_EQ(16, bitmap.info_header.biBitCount);
  EXPECT_EQ(12u, bitmap.info_header.biSizeImage);  // the 16-bit pixels held, not the file's 24
  display.pixel_format = 15;
  ASSERT_EQ(1, Load(Picture24(bgr, 3, -2)));
  EXPECT_EQ(0x7FFF, Pixel16(0, 0));
  EXPECT_EQ(0x7C00, Pixel16(1, 0));
  EXPECT_EQ(0x03E0, Pixel16(2, 0));
  EXPECT_EQ((248 >> 3) << 10 | (3 >> 3) << 5 | (7 >> 3), Pixel16(2, 1));
}

// 32-bit pixels as little-endian words, top row first.
std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> bytes;
  for (uint32_t word : words)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
  return bytes;
}

BmpSpec Picture32(std::initializer_list<uint32_t> words, std::vector<uint32_t> masks, uint32_t info_size = 40) {
  BmpSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.bits = 32;
  spec.info_size = info_size;
  spec.compression = masks.empty() ? BI_RGB : BI_BITFIELDS;
  spec.masks = masks;
  spec.pixels = Words(words);
  return spec;
}

// Each 32-bit layout gives the colours (200, 100, 50), (7, 128, 255), white and black, which
// a 16-bit display keeps as 5.6.5 pixels; whatever the unused or alpha bits hold is ignored.
TEST_F(BitmapFileTest, ThirtyTwoBitPicturesLoadLikeTwentyFourBit) {
  const struct {
    const char* name;
    BmpSpec spec;
  } cases[] = {
      {"BI_RGB", Picture32({0xAAC86432, 0x000780FF, 0x12FFFFFF, 0xFF000000}, {})},
      {"masks after the header", Picture32({0xAAC86432, 0x000780FF, 0x12FFFFFF, 0xFF000000},
                                           {0x00FF0000, 0x0000FF00, 0x000000FF})},
      {"V5 masks with alpha", Picture32({0xC86432AA, 0x0780FF00, 0xFFFFFF12, 0x000000FF},
                                        {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, 124)},
      {"10 bits each", Picture32({0x320640C8, 0x01C803FC, 0x3FFFFFFF, 0xC0000000},
                                 {0x3FF00000, 0x000FFC00, 0x000003FF})},
  };
  display.pixel_format = 16;
  for (const auto& c : cases) {
    ASSERT_EQ(1, Load(c.spec)) << c.name;
    EXPECT_EQ(PackRgb565(200, 100, 50), Pixel16(0, 0)) << c.name;
    EXPECT_EQ(PackRgb565(7, 128, 255), Pixel16(1, 0)) << c.name;
    EXPECT_EQ(0xFFFF, Pixel16(0, 1)) << c.name;
    EXPECT_EQ(0, Pixel16(1, 1)) << c.name;
    EXPECT_EQ(16, bitmap.info_header.biBitCount) << c.name;
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), bitmap.info_header.biCompression) << c.name;
    EXPECT_EQ(8u, bitmap.info_header.biSizeImage) << c.name;
  }
  // Fields narrower than 8 bits are stretched to 0..255: 5 bits of 31, 16 and 1.
  ASSERT_EQ(1, Load(Picture32({0x7E01, 0, 0, 0}, {0x7C00, 0x03E0, 0x001F})));
  EXPECT_EQ(PackRgb565(255, 132, 8), Pixel16(0, 0));
  // A 7-bit field, the widest still stretched: 64 of 127 is 129.
  ASSERT_EQ(1, Load(Picture32({0x00408020, 0, 0, 0}, {0x007F0000, 0x0000FF00, 0x000000FF})));
  EXPECT_EQ(PackRgb565(129, 128, 32), Pixel16(0, 0));
  for (const auto& masks : std::vector<std::vector<uint32_t>>{{0, 0xFF00, 0xFF}, {0xF0F00000, 0xFF00, 0xFF}}) {
    EXPECT_EQ(0, Load(Picture32({1, 2, 3, 4}, masks))) << masks[0];  // a mask with no bits or two runs
    EXPECT_EQ(0, SoftOpenFileCount());
  }
}

// 1- and 4-bit files, padded or not, either way up, become one index byte a pixel with their
// colour table; entries past it are black.
TEST_F(BitmapFileTest, OneAndFourBitPicturesBecomeEightBit) {
  for (int bits : {1, 4}) {
    for (int height : {3, -3}) {
      for (bool pad : {true, false}) {
        BmpSpec spec;
        spec.width = 11;
        spec.height = height;
        spec.bits = bits;
        spec.pad_rows = pad;
        for (uint8_t index : TestIndices(11, 3)) spec.pixels.push_back(static_cast<uint8_t>(index % (1 << bits)));
        ASSERT_EQ(1, Load(spec)) << bits << " " << height << " " << pad;
        EXPECT_EQ(spec.pixels, Pixels()) << bits << " " << height << " " << pad;
        EXPECT_EQ(8, bitmap.info_header.biBitCount);
        EXPECT_EQ(3, bitmap.info_header.biHeight);
        EXPECT_EQ(33u, bitmap.info_header.biSizeImage);
        const int last = (1 << bits) - 1;
        EXPECT_EQ(TestGreen(last), bitmap.palette[last].peGreen);
        EXPECT_EQ(TestBlue(last), bitmap.palette[last].peBlue);
        EXPECT_EQ(0, bitmap.palette[last + 1].peGreen);
      }
    }
  }
}

TEST_F(BitmapFileTest, RunLengthFourBitPicture) {
  BmpSpec spec;
  spec.width = 7;
  spec.height = 3;  // stored bottom row first
  spec.bits = 4;
  spec.compression = BI_RLE4;
  spec.encoded = {5, 0x12, 0, 3, 0x34, 0x50, 0, 0,        // row 2: 1 2 1 2 1, literal 3 4 (5 dropped)
                  0, 5, 0x67, 0x89, 0xA0, 0,              // row 1: literal of 5, padded to 4 bytes
                  0, 2, 1, 1, 1, 0xF0, 0, 1};             // jump to (6, row 0): 15, end
  ASSERT_EQ(1, Load(spec));
  const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 15, 6, 7, 8, 9, 10, 0, 0, 1, 2, 1, 2, 1, 3, 4};
  EXPECT_EQ(expected, Pixels());
  EXPECT_EQ(static_cast<DWORD>(BI_RGB), bitmap.info_header.biCompression);
  EXPECT_EQ(8, bitmap.info_header.biBitCount);
  EXPECT_EQ(TestRed(15), bitmap.palette[15].peRed);
}

// The 12-byte core header with 16-bit sizes and 3-byte colour entries.
TEST_F(BitmapFileTest, CoreHeaderPictures) {
  BmpSpec indexed = Picture8(5, 3);
  indexed.info_size = 12;
  ASSERT_EQ(1, Load(indexed));
  EXPECT_EQ(TestIndices(5, 3), Pixels());
  for (int n : {1, 128, 255}) {
    EXPECT_EQ(TestRed(n), bitmap.palette[n].peRed) << n;
    EXPECT_EQ(TestGreen(n), bitmap.palette[n].peGreen) << n;
    EXPECT_EQ(TestBlue(n), bitmap.palette[n].peBlue) << n;
  }
  BmpSpec mono;
  mono.info_size = 12;
  mono.bits = 1;
  mono.width = 3;
  mono.height = 1;
  mono.pixels = {1, 0, 1};
  ASSERT_EQ(1, Load(mono));
  EXPECT_EQ(mono.pixels, Pixels());
  EXPECT_EQ(TestBlue(1), bitmap.palette[1].peBlue);
  BmpSpec rgb = Picture24({50, 100, 200, 0, 0, 0}, 2, 1);
  rgb.info_size = 12;
  display.pixel_format = 15;
  ASSERT_EQ(1, Load(rgb));
  EXPECT_EQ(PackRgb555(200, 100, 50), Pixel16(0, 0));
  EXPECT_EQ(16, bitmap.info_header.biBitCount);
}

// In a palettised display mode a truecolour picture is mapped onto the palette that is set,
// which the record then carries, so that setting it changes nothing.
TEST_F(BitmapFileTest, TruecolourInAPalettisedModeUsesThePaletteThatIsSet) {
  display.pixel_format = 8;
  for (int n = 0; n < 256; ++n) display.palette_entries[n] = PaletteEntry{TestRed(n), TestGreen(n), TestBlue(n), 0};
  std::vector<uint8_t> bgr;  // exact palette colours map to their own index, with no error spread
  for (uint8_t index : TestIndices(13, 5)) bgr.insert(bgr.end(), {TestBlue(index), TestGreen(index), TestRed(index)});
  ASSERT_EQ(1, Load(Picture24(bgr, 13, 5)));
  EXPECT_EQ(TestIndices(13, 5), Pixels());
  EXPECT_EQ(8, bitmap.info_header.biBitCount);
  EXPECT_EQ(65u, bitmap.info_header.biSizeImage);
  EXPECT_EQ(0, std::memcmp(bitmap.palette, display.palette_entries, sizeof bitmap.palette));

  // Mid grey between black (every entry but 9) and white (9) dithers to a checkerboard.
  for (PaletteEntry& entry : display.palette_entries) entry = PaletteEntry{0, 0, 0, PC_NOCOLLAPSE};
  display.palette_entries[9] = PaletteEntry{255, 255, 255, PC_NOCOLLAPSE};
  ASSERT_EQ(1, Load(Picture32({0x808080, 0x808080, 0x808080, 0x808080}, {})));
  EXPECT_EQ((std::vector<uint8_t>{9, 0, 0, 9}), Pixels());
  ASSERT_EQ(1, Load(Picture24(std::vector<uint8_t>(24, 128), 4, 2)));
  EXPECT_EQ((std::vector<uint8_t>{9, 0, 9, 0, 0, 9, 0, 9}), Pixels());

  // A 16 x 16 field of (0, 0, 64) over black and blue (3) keeps its mean: one pixel in 4 is blue.
  display.palette_entries[3] = PaletteEntry{0, 0, 255, PC_NOCOLLAPSE};
  std::vector<uint8_t> field;
  for (int i = 0; i < 256; ++i) field.insert(field.end(), {64, 0, 0});
  ASSERT_EQ(1, Load(Picture24(field, 16, 16)));
  const std::vector<uint8_t> pixels = Pixels();
  EXPECT_EQ(64, std::count(pixels.begin(), pixels.end(), 3));
  EXPECT_EQ(192, std::count(pixels.begin(), pixels.end(), 0));
}

TEST_F(BitmapFileTest, RunLengthPicture) {
  BmpSpec spec;
  spec.width = 6;
  spec.height = 4;  // stored bottom row first
  spec.compression = BI_RLE8;
  spec.encoded = {3, 9, 0, 3, 1, 2, 3, 0, 0, 0,  // row 3: 9 9 9 1 2 3
                  0, 2, 2, 1,                    // jump right 2, down 1: row 2 stays 0
                  2, 5, 0, 0,                    // row 1: 0 0 5 5 0 0
                  9, 4, 0, 1};                   // row 0: 4 x6 (3 more dropped), end
  ASSERT_EQ(1, Load(spec));
  const std::vector<uint8_t> expected = {4, 4, 4, 4, 4, 4, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 1, 2, 3};
  EXPECT_EQ(expected, Pixels());
  EXPECT_EQ(static_cast<DWORD>(BI_RGB), bitmap.info_header.biCompression);
  EXPECT_EQ(24u, bitmap.info_header.biSizeImage);
  spec.encoded = {0, 1};  // nothing but the end mark: a blank picture
  ASSERT_EQ(1, Load(spec));
  EXPECT_EQ(std::vector<uint8_t>(24, 0), Pixels());
}

TEST_F(BitmapFileTest, SecondLoadReplacesTheFirstAndUnloadTwiceIsHarmless) {
  ASSERT_EQ(1, Load(Picture8(8, 8)));
  ASSERT_EQ(1, Load(Picture8(4, 2)));  // the first buffer is released (the leak checker would say)
  EXPECT_EQ(TestIndices(4, 2), Pixels());
  EXPECT_EQ(1, UnloadBitmapFile(&bitmap));
  EXPECT_EQ(nullptr, bitmap.pixels);
  EXPECT_EQ(4, bitmap.info_header.biWidth);  // headers stay
  EXPECT_EQ(1, UnloadBitmapFile(&bitmap));
}

// Each damaged file fails with the file closed and the earlier picture, headers and palette intact.
TEST_F(BitmapFileTest, DamagedFilesAreRefusedAndChangeNothing) {
  ASSERT_EQ(1, Load(Picture8(4, 2)));
  uint8_t* const old_pixels = bitmap.pixels;
  const std::vector<uint8_t> good = EncodeBmp(Picture8(6, 4));  // 6-byte rows, padded to 8
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  auto damaged = [&](const char* name, auto change) {
    std::vector<uint8_t> bytes = good;
    change(bytes);
    cases.emplace_back(name, bytes);
  };
  damaged("not BM", [](auto& b) { b[0] = 'P'; });
  damaged("2-bit", [](auto& b) { Poke16(b, BI_BIT_COUNT, 2); });
  damaged("64-bit", [](auto& b) { Poke16(b, BI_BIT_COUNT, 64); });
  damaged("RLE4 in an 8-bit file", [](auto& b) { Poke32(b, BI_COMPRESSION, BI_RLE4); });
  damaged("RLE8 in a 4-bit file", [](auto& b) {
    Poke16(b, BI_BIT_COUNT, 4);
    Poke32(b, BI_COMPRESSION, BI_RLE8);
  });
  damaged("bit fields in a 24-bit file", [](auto& b) {
    Poke16(b, BI_BIT_COUNT, 24);
    Poke32(b, BI_COMPRESSION, BI_BITFIELDS);
  });
  damaged("JPEG", [](auto& b) { Poke32(b, BI_COMPRESSION, 4); });
  damaged("PNG", [](auto& b) { Poke32(b, BI_COMPRESSION, 5); });
  damaged("width 0", [](auto& b) { Poke32(b, BI_WIDTH, 0); });
  damaged("width negative", [](auto& b) { Poke32(b, BI_WIDTH, 0xFFFFFFFA); });
  damaged("height 0", [](auto& b) { Poke32(b, BI_HEIGHT, 0); });
  damaged("height most negative", [](auto& b) { Poke32(b, BI_HEIGHT, 0x80000000); });
  damaged("info header 20 bytes", [](auto& b) { Poke32(b, BI_SIZE, 20); });
  damaged("core header of height 0", [](auto& b) { Poke32(b, BI_SIZE, 12); });
  damaged("info header past the end", [](auto& b) { Poke32(b, BI_SIZE, 0x7FFFFFF0); });
  damaged("info header over 1024 bytes", [](auto& b) {
    Poke32(b, BI_SIZE, 1025);
    b.insert(b.begin() + 54, 985, 0);
  });
  damaged("bfOffBits 0, biSizeImage over headers", [](auto& b) {
    Poke32(b, BF_OFF_BITS, 0);
    Poke32(b, BI_SIZE_IMAGE, 40);
  });
  damaged("bfOffBits 0, biSizeImage short of the rows", [](auto& b) {
    Poke32(b, BF_OFF_BITS, 0);
    Poke32(b, BI_SIZE_IMAGE, 29);
  });
  damaged("bfOffBits past the end", [](auto& b) {
    Poke32(b, BI_SIZE_IMAGE, 0);
    Poke32(b, BF_OFF_BITS, 1100);
  });
  damaged("bfOffBits into the table", [](auto& b) {
    Poke32(b, BI_SIZE_IMAGE, 0);
    Poke32(b, BF_OFF_BITS, 60);
  });
  damaged("rows past the end", [](auto& b) { Poke32(b, BI_HEIGHT, 5); });
  damaged("65537 x 65536 wraps to 65536 in 32 bits", [](auto& b) {
    Poke32(b, BI_WIDTH, 65537);
    Poke32(b, BI_HEIGHT, 65536);
    Poke32(b, BI_SIZE_IMAGE, 65536);
    b.resize(1078 + 65536);
  });
  damaged("cut in the file header", [](auto& b) { b.resize(10); });
  damaged("cut in the info header", [](auto& b) { b.resize(30); });
  damaged("cut in the colour table", [](auto& b) { b.resize(600); });
  damaged("cut in the pixels", [](auto& b) {
    Poke32(b, BI_SIZE_IMAGE, 0);
    b.resize(b.size() - 3);
  });
  damaged("empty", [](auto& b) { b.clear(); });
  BmpSpec rle;
  rle.width = 4;
  rle.height = 3;
  rle.compression = BI_RLE8;
  rle.encoded = {4, 1, 0, 0, 4, 2};  // ends after two rows without an end mark
  cases.emplace_back("run-length data ending early", EncodeBmp(rle));
  rle.encoded = {4, 1, 0, 0, 0, 9, 1, 2};  // literal run of 9 with 2 bytes left
  cases.emplace_back("run-length literal past the data", EncodeBmp(rle));
  rle.encoded = {0, 2, 1};
  cases.emplace_back("run-length jump past the data", EncodeBmp(rle));
  rle.width = 30000;
  rle.height = 30000;
  rle.encoded = {0, 1};
  cases.emplace_back("run-length 900 megapixels from 2 bytes", EncodeBmp(rle));

  for (const auto& [name, bytes] : cases) {
    EXPECT_EQ(0, LoadBytes(bytes)) << name;
    EXPECT_EQ(0, SoftOpenFileCount()) << name;
    EXPECT_EQ(old_pixels, bitmap.pixels) << name;
    EXPECT_EQ(4, bitmap.info_header.biWidth) << name;
    EXPECT_EQ(2, bitmap.info_header.biHeight) << name;
    EXPECT_EQ(TestRed(3), bitmap.palette[3].peRed) << name;
  }
  EXPECT_EQ(TestIndices(4, 2), Pixels());
  EXPECT_EQ(0, LoadBitmapFile(&bitmap, "missing.bmp"));
  EXPECT_EQ(0, LoadBitmapFile(&bitmap, nullptr));
  EXPECT_EQ(0, LoadBitmapFile(nullptr, "test.bmp"));
  EXPECT_EQ(old_pixels, bitmap.pixels);
}

TEST_F(BitmapFileTest, FilesTheOriginalReaderReadsGiveTheSamePicture) {
  // Packed 6-byte rows with the pixels as the last biSizeImage bytes, trailing a bogus bfOffBits.
  BmpSpec spec = Picture8(6, 3);
  spec.pad_rows = false;
  std::vector<uint8_t> bytes = EncodeBmp(spec);
  Poke32(bytes, BF_OFF_BITS, 0);
  ASSERT_EQ(1, LoadBytes(bytes));
  EXPECT_EQ(TestIndices(6, 3), Pixels());
}

TEST_F(BitmapFileTest, FlipRowsInPlace) {
  uint8_t one[3] = {1, 2, 3};
  EXPECT_EQ(1, FlipBitmapRows(one, 3, 1));
  EXPECT_EQ(1, one[0]);
  EXPECT_EQ(3, one[2]);
  uint8_t two[4] = {1, 2, 3, 4};
  EXPECT_EQ(1, FlipBitmapRows(two, 2, 2));
  EXPECT_EQ((std::vector<uint8_t>{3, 4, 1, 2}), std::vector<uint8_t>(two, two + 4));
  uint8_t three[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(1, FlipBitmapRows(three, 2, 3));
  EXPECT_EQ((std::vector<uint8_t>{5, 6, 3, 4, 1, 2}), std::vector<uint8_t>(three, three + 6));
  uint8_t four[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(1, FlipBitmapRows(four, 2, 4));
  EXPECT_EQ((std::vector<uint8_t>{7, 8, 5, 6, 3, 4, 1, 2}), std::vector<uint8_t>(four, four + 8));
  EXPECT_EQ(1, FlipBitmapRows(three, 0, 3));  // nothing to move
  EXPECT_EQ(1, FlipBitmapRows(three, 2, 0));
  EXPECT_EQ(0, FlipBitmapRows(nullptr, 2, 3));
  EXPECT_EQ(0, FlipBitmapRows(three, -1, 3));
  EXPECT_EQ(0, FlipBitmapRows(three, 2, -3));
}

TEST_F(BitmapFileTest, ColourPackers) {
  EXPECT_EQ(0xFFFF, PackRgb565(255, 255, 255));
  EXPECT_EQ(0x7FFF, PackRgb555(255, 255, 255));
  EXPECT_EQ(0xF800, PackRgb565(255, 0, 0));
  EXPECT_EQ(0x07E0, PackRgb565(0, 255, 0));
  EXPECT_EQ(0x03E0, PackRgb555(0, 255, 0));
  EXPECT_EQ(0x001F, PackRgb555(0, 0, 255));
  EXPECT_EQ((16 >> 3) << 11 | (36 >> 2) << 5 | (64 >> 3), PackRgb565(16, 36, 64));
  EXPECT_EQ((16 >> 3) << 10 | (36 >> 3) << 5 | (64 >> 3), PackRgb555(16, 36, 64));
}

TEST_F(BitmapFileTest, FileCallsReportWhatTheyDid) {
  WriteBytes("five.bin", {1, 2, 3, 4, 5});
  OFSTRUCT info;
  EXPECT_EQ(HFILE_ERROR, OpenFile("absent.bin", &info, OF_READ));
  EXPECT_EQ(2, info.nErrCode);
  EXPECT_EQ(HFILE_ERROR, OpenFile("five.bin", &info, OF_WRITE));
  const HFILE file = OpenFile("five.bin", &info, OF_READ);
  ASSERT_NE(HFILE_ERROR, file);
  EXPECT_EQ(0, info.nErrCode);
  EXPECT_STREQ("five.bin", info.szPathName);
  EXPECT_EQ(5, _llseek(file, 0, FILE_END));
  EXPECT_EQ(1, _llseek(file, -4, FILE_CURRENT));
  uint8_t buffer[8] = {};
  EXPECT_EQ(4u, _lread(file, buffer, 8));
  EXPECT_EQ(2, buffer[0]);
  EXPECT_EQ(0u, _lread(file, nullptr, 0));
  EXPECT_EQ(static_cast<UINT>(HFILE_ERROR), _lread(file, nullptr, 1));
  EXPECT_EQ(HFILE_ERROR, _llseek(file, 0, 7));
  EXPECT_EQ(1, SoftOpenFileCount());
  EXPECT_EQ(0, _lclose(file));
  EXPECT_EQ(HFILE_ERROR, _lclose(file));
  EXPECT_EQ(static_cast<UINT>(HFILE_ERROR), _lread(file, buffer, 1));
  EXPECT_EQ(0, SoftOpenFileCount());
}

TEST_F(BitmapFileTest, SixteenFilesOpenAtOnce) {
  WriteBytes("one.bin", {1});
  std::vector<HFILE> files;
  OFSTRUCT info;
  for (int i = 0; i < 16; ++i) files.push_back(OpenFile("one.bin", &info, OF_READ));
  for (HFILE file : files) EXPECT_NE(HFILE_ERROR, file);
  EXPECT_EQ(16, SoftOpenFileCount());
  EXPECT_EQ(HFILE_ERROR, OpenFile("one.bin", &info, OF_READ));
  EXPECT_EQ(4, info.nErrCode);
  for (HFILE file : files) EXPECT_EQ(0, _lclose(file));
  EXPECT_EQ(0, SoftOpenFileCount());
}

}  // namespace
