// The headless host's own services: pictures written as PNG files in their true colours, and
// scheduled keys that arrive in order however long a run goes on.
#include <png.h>

#include <string>
#include <vector>

#include "soft/soft_windows.h"
#include "test_support.h"

namespace {

// The RGB bytes of a PNG file, empty when it cannot be read.
std::vector<uint8_t> ReadRgb(const std::string& path, int* width) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  return rgb;
}

HeadlessFrame Frame(int bits, const std::vector<uint8_t>& pixels, int width) {
  HeadlessFrame frame{0, width, 1, bits, pixels, {}};
  return frame;
}

class HeadlessPngTest : public FreshMachineTest {};

TEST_F(HeadlessPngTest, EightBitFramesAreWrittenThroughTheirPalette) {
  HeadlessFrame frame = Frame(8, {0, 1, 2}, 3);
  const uint8_t entries[3][4] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {1, 2, 254, 0}};
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 4; ++c) frame.palette[i * 4 + c] = entries[i][c];
  ASSERT_TRUE(HeadlessSavePng(frame, "eight.png"));
  int width = 0;
  EXPECT_EQ(ReadRgb("eight.png", &width), (std::vector<uint8_t>{10, 20, 30, 200, 100, 50, 1, 2, 254}));
  EXPECT_EQ(width, 3);
}

// Little-endian 16-bit pixels.
std::vector<uint8_t> Pixels16(std::initializer_list<unsigned> values) {
  std::vector<uint8_t> bytes;
  for (unsigned value : values) bytes.push_back(static_cast<uint8_t>(value & 0xFF)), bytes.push_back(static_cast<uint8_t>(value >> 8));
  return bytes;
}

TEST_F(HeadlessPngTest, SixteenAndFifteenBitFramesSpreadEachFieldOverAByte) {
  // 5.6.5: full red, full green, full blue, and (16, 32, 8).
  ASSERT_TRUE(HeadlessSavePng(Frame(16, Pixels16({0xF800, 0x07E0, 0x001F, (16u << 11) | (32u << 5) | 8u}), 4), "sixteen.png"));
  int width = 0;
  EXPECT_EQ(ReadRgb("sixteen.png", &width),
            (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 131, 129, 65}));
  // 5.5.5: full red, full green, full blue, and (16, 1, 8).
  ASSERT_TRUE(HeadlessSavePng(Frame(15, Pixels16({0x7C00, 0x03E0, 0x001F, (16u << 10) | (1u << 5) | 8u}), 4), "fifteen.png"));
  EXPECT_EQ(ReadRgb("fifteen.png", &width),
            (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 131, 8, 65}));
  EXPECT_FALSE(HeadlessSavePng(Frame(8, {0}, 1), "no-such-folder/x.png"));
}

TEST(VirtualClock, KeysScheduledAsARunGoesArriveInOrderAndNoneIsLost) {
  StartFreshMachine();
  // One key far ahead, then thousands scheduled and spent one at a time, as the autopilot does:
  // the spent ones are dropped on the way, the one ahead and the order are kept.
  HeadlessScheduleKey(20000, 'B', true);
  for (int i = 0; i < 5000; ++i) {
    HeadlessScheduleKey(HeadlessNow() + 1, 'A', i % 2 == 0);
    Sleep(1);
    GetTickCount();
    ASSERT_EQ(SoftKeyDown('A'), i % 2 == 0) << i;
  }
  EXPECT_FALSE(SoftKeyDown('B'));
  Sleep(20000);
  GetTickCount();
  EXPECT_TRUE(SoftKeyDown('B'));
}

TEST(VirtualClock, AKeyScheduledForATimeAlreadyPastGoesDownAtTheNextPump) {
  StartFreshMachine();
  HeadlessScheduleKey(10, 'A', true);
  HeadlessScheduleKey(20, 'A', false);
  HeadlessScheduleKey(500, 'B', true);
  Sleep(30);
  GetTickCount();  // the first two have run, the third waits
  HeadlessScheduleKey(5, 'C', true);
  GetTickCount();
  EXPECT_TRUE(SoftKeyDown('C'));
  EXPECT_FALSE(SoftKeyDown('A'));
  EXPECT_FALSE(SoftKeyDown('B'));
}

}  // namespace
