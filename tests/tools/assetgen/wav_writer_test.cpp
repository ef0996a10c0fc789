// The 8-bit WAV and BMP writers' edge cases, which the generated set may never meet.
#include "wav_writer.h"

#include <gtest/gtest.h>

#include "bmp_writer.h"

namespace {

TEST(Writers, WavPadsAnOddDataChunkAndCountsThePadInTheRiffSize) {
  const std::vector<uint8_t> bytes = EncodeWav8(std::vector<uint8_t>(3, 128));
  ASSERT_EQ(bytes.size(), 46u + 4u);
  EXPECT_EQ(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24, 50 - 8);
  EXPECT_EQ(bytes[42] | bytes[43] << 8, 3) << "the data chunk's size leaves out the pad";
}

TEST(Writers, BmpRefusesWidthsThatWouldNeedRowPadding) {
  IndexedImage image;
  image.width = 6;
  image.height = 2;
  image.pixels.assign(12, 1);
  EXPECT_TRUE(EncodeBmp8(image, Palette{}).empty());
}

}  // namespace
