// The headless host's own services: presented frames kept and written as PNG files in their true
// colours, and scheduled keys that arrive in order however long a run goes on.
#include <string>
#include <vector>

#include "soft/soft_windows.h"
#include "test_support.h"

namespace {

class HeadlessPngTest : public FreshMachineTest {};

// One row of four pixels at each depth (16-bit pixels little-endian, a slack row after it),
// presented, kept and read back as RGB.
TEST_F(HeadlessPngTest, FramesAreKeptAndWrittenInTheirTrueColours) {
  struct Case {
    int bits;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> rgb;
  };
  const Case cases[] = {
      {8, {0, 1, 2, 1, 9, 9, 9, 9}, {10, 20, 30, 200, 100, 50, 1, 2, 254, 200, 100, 50}},  // the palette
      {16,  // 5.6.5: full red, green, blue, and (16, 32, 8)
       {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x08, 0x84},
       {255, 0, 0, 0, 255, 0, 0, 0, 255, 131, 129, 65}},
      {15,  // 5.5.5: full red, green, blue, and (16, 1, 8)
       {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x28, 0x40},
       {255, 0, 0, 0, 255, 0, 0, 0, 255, 131, 8, 65}},
  };
  uint8_t palette[sizeof HeadlessFrame::palette] = {10, 20, 30, 0, 200, 100, 50, 0, 1, 2, 254, 0};
  HeadlessKeepFrames(FrameKeeping::Last);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    headless_host.present(HostFrame{c.pixels.data(), 4, 1, 8, c.bits, palette});
    ASSERT_TRUE(HeadlessSavePng(HeadlessFrames().back(), "frame.png"));
    EXPECT_EQ(ReadPngRgb("frame.png"), c.rgb);
  }
  EXPECT_FALSE(HeadlessSavePng(HeadlessFrame{0, 1, 1, 8, {0}, {}}, "no-such-folder/x.png"));
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
  HeadlessScheduleKey(5, 'C', true);  // already past: goes down at the next pump
  GetTickCount();
  EXPECT_TRUE(SoftKeyDown('C'));
  EXPECT_FALSE(SoftKeyDown('B'));
  Sleep(20000);
  GetTickCount();
  EXPECT_TRUE(SoftKeyDown('B'));
}

}  // namespace
