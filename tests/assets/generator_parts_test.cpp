// Pieces of the generator whose faults would not show in one set of generated files.
#include <gtest/gtest.h>

#include <cmath>

#include "bmp_writer.h"
#include "palette_quantize.h"
#include "sound_levels.h"
#include "sprite_sheet.h"
#include "wav_writer.h"

namespace {

RgbaImage Pattern(int width, int height) {
  RgbaImage image = MakeRgbaImage(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = PixelAt(image, x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y * 13);
      p[1] = static_cast<uint8_t>(x * y);
      p[2] = static_cast<uint8_t>(x ^ y);
      p[3] = 255;
    }
  }
  return image;
}

TEST(SpriteCells, EnlargedCellsShrinkBackExactlyForEveryCellSizeTheGameUses) {
  const RgbaImage shown = Pattern(58, 30);
  const int cells[][2] = {{116, 60}, {264, 224}, {160, 128}};
  for (const auto& cell : cells) {
    const RgbaImage enlarged = EnlargeToCell(shown, cell[0], cell[1]);
    for (double offset : {0.0, 0.5}) {
      EXPECT_EQ(ResizeNearest(enlarged, 58, 30, offset).pixels, shown.pixels)
          << cell[0] << "x" << cell[1] << " sampled at " << offset;
    }
  }
}

TEST(SpriteCells, ThresholdLeavesOnlyOpaqueOrFullyTransparentPixels) {
  RgbaImage image = Pattern(4, 1);
  const uint8_t alphas[] = {0, 127, 128, 255};
  for (int x = 0; x < 4; ++x) PixelAt(image, x, 0)[3] = alphas[x];
  const RgbaImage keyed = ThresholdAlpha(image);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[3], 0);
  EXPECT_EQ(PixelAt(keyed, 1, 0)[0], 0) << "a keyed-out pixel keeps no colour";
  EXPECT_EQ(PixelAt(keyed, 2, 0)[3], 255);
  EXPECT_EQ(PixelAt(keyed, 2, 0)[0], PixelAt(image, 2, 0)[0]);
}

TEST(SpriteCells, SheetWidthIsPaddedToWholeWordsAndCellsLandAfterTheBorders) {
  const SheetLayout layout = {3, 2, 2, 1};  // 2 * 4 + 1 = 9 columns used
  EXPECT_EQ(SheetWidth(layout), 12);
  EXPECT_EQ(SheetHeight(layout), 4);
  const RgbaImage sheet = AssembleSheet(layout, {Pattern(3, 2), Pattern(3, 2)});
  EXPECT_EQ(PixelAt(sheet, 0, 0)[3], 0) << "border";
  EXPECT_EQ(PixelAt(sheet, 1, 1)[3], 255) << "cell (0, 0) starts at (1, 1)";
  EXPECT_EQ(PixelAt(sheet, 4, 1)[3], 0) << "border between cells";
  EXPECT_EQ(PixelAt(sheet, 5, 1)[3], 255) << "cell (1, 0) starts at (5, 1)";
  EXPECT_EQ(PixelAt(sheet, 9, 1)[3], 0) << "padding";
}

TEST(Writers, BmpRefusesWidthsThatWouldNeedRowPadding) {
  IndexedImage image;
  image.width = 6;
  image.height = 2;
  image.pixels.assign(12, 1);
  EXPECT_TRUE(EncodeBmp8(image, Palette{}).empty());
}

TEST(Writers, WavPadsAnOddDataChunkAndCountsThePadInTheRiffSize) {
  const std::vector<uint8_t> bytes = EncodeWav8(std::vector<uint8_t>(3, 128));
  ASSERT_EQ(bytes.size() % 2, 0u);
  const uint32_t riff_size = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24;
  EXPECT_EQ(riff_size, bytes.size() - 8);
}

TEST(Loops, CrossfadeRemovesTheJumpOfALoopCutMidWave) {
  Samples sine(5000);
  for (size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<float>(0.8 * std::sin(i * 0.05));
  const size_t length = 4000;  // not a whole number of periods
  const double plain_jump = std::fabs(sine[length - 1] - sine[0]);
  const Samples loop = MakeSeamlessLoop(sine, length, 500);
  ASSERT_EQ(loop.size(), length);
  EXPECT_GT(plain_jump, 0.2);
  EXPECT_LT(std::fabs(loop.back() - loop.front()), 0.06);
  // With only 100 samples past the loop, only the first 100 are blended.
  const Samples short_tail(sine.begin(), sine.begin() + length + 100);
  const Samples tight = MakeSeamlessLoop(short_tail, length, 500);
  EXPECT_NE(tight[99], sine[99]);
  for (size_t i = 100; i < length; ++i) ASSERT_EQ(tight[i], sine[i]) << i;
}

TEST(Levels, ActiveLoudnessCountsOnlyWindowsWithin20DbOfTheLoudest) {
  // Four 20 ms windows at 0.5, 0.5, 0.01 (34 dB down: left out) and -0.25 (6 dB down).
  Samples sound;
  for (float level : {0.5f, 0.5f, 0.01f, -0.25f}) sound.insert(sound.end(), SAMPLE_RATE / 50, level);
  EXPECT_NEAR(ActiveLoudness(sound), std::sqrt((0.25 + 0.25 + 0.0625) / 3), 1e-6);
}

TEST(Levels, EvenOutKeepsPeaksUnderTheCeilingAndFinishedSoundsInRange) {
  Samples burst(2000, 0.0f);
  burst[1000] = 5.0f;  // a spike far past full scale
  for (size_t i = 0; i < 500; ++i) burst[i] = static_cast<float>(0.01 * std::sin(i * 0.3));
  const std::vector<uint8_t> pcm = FinishOneShot(burst);
  int peak = 0;
  for (uint8_t v : pcm) peak = std::max(peak, std::abs(v - 128));
  // The spike is brought to the one-shot ceiling, under half of full scale.
  EXPECT_GE(peak, 58);
  EXPECT_LE(peak, 59);
  EXPECT_EQ(pcm.front(), 128);
  EXPECT_EQ(pcm.back(), 128);
  // Silence has no level to even out and stays silence.
  EXPECT_EQ(FinishOneShot(Samples(500, 0.0f)), std::vector<uint8_t>(500, 128));
  EXPECT_EQ(FinishLoop(Samples(500, 0.0f)), std::vector<uint8_t>(500, 128));
}

RgbaImage Solid(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  RgbaImage image = MakeRgbaImage(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = PixelAt(image, x, y);
      p[0] = red;
      p[1] = green;
      p[2] = blue;
      p[3] = 255;
    }
  }
  return image;
}

TEST(SharedPalette, SpritesKeepDarkPixelsVisibleAndBackdropsMayUseBlack) {
  // A sprite with a transparent pixel and a nearly black drawn one, and a black backdrop.
  NamedPicture sprite{"sprite", PictureKind::SPRITE_SHEET, Solid(4, 1, 3, 2, 4)};
  PixelAt(sprite.image, 0, 0)[3] = 0;
  NamedPicture backdrop{"backdrop", PictureKind::BACKDROP, Solid(4, 4, 0, 0, 0)};
  PixelAt(backdrop.image, 1, 1)[0] = 250;
  QuantizedPictures quantized;
  ASSERT_TRUE(QuantizeShared({sprite, backdrop}, &quantized));
  EXPECT_EQ(quantized.palette[0].red + quantized.palette[0].green + quantized.palette[0].blue, 0);
  const IndexedImage& keyed = quantized.images[0];
  EXPECT_EQ(keyed.pixels[0], 0) << "transparent pixel";
  for (int x = 1; x < 4; ++x) EXPECT_NE(keyed.pixels[x], 0) << "a drawn dark pixel would be keyed out";
  EXPECT_EQ(quantized.images[1].pixels[0], 0) << "black backdrop pixels use the black entry";
  const Rgb& bright = quantized.palette[quantized.images[1].pixels[5]];
  EXPECT_GT(bright.red, 200);
}

TEST(SharedPalette, NearestColorCanBeToldToAvoidEntryZero) {
  Palette palette{};
  palette[1] = Rgb{40, 40, 40};
  palette[2] = Rgb{200, 0, 0};
  for (int i = 3; i < 256; ++i) palette[i] = Rgb{255, 255, 255};
  EXPECT_EQ(NearestColor(palette, 5, 5, 5, false), 0);
  EXPECT_EQ(NearestColor(palette, 5, 5, 5, true), 1);
  EXPECT_EQ(NearestColor(palette, 190, 10, 10, true), 2);
}

}  // namespace
