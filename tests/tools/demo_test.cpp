// vork-demo run headless: its PNG pictures decoded and checked where each extra is drawn.
#include "demo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using Colour = std::array<int, 3>;

// An RGB picture read back from a PNG file (empty when there is none).
struct Picture {
  int width = 0;
  std::vector<uint8_t> rgb;
  Colour At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

// 13 frames, a picture of every fourth and of the last: the octagon (entry 16, pure red at first),
// the background above it, and the blinking squares (the first shows its second colour at once for
// 8 runs; the second is white for 12, then blue). Stripe k shows entry 16 + k, which after n
// rotations holds the colour stripe k - n had; the octagon's entry 16 holds hue 28 of 32 four on.
TEST(Demo, DrawsItsExtrasFrameByFrame) {
  // CTest runs each test in a process of its own, side by side: each run gets its own folder.
  const std::string folder = "demo-" + std::to_string(getpid());
  mkdir(folder.c_str(), 0755);
  ASSERT_EQ(RunDemoHeadless(folder, 13, 4), 0);
  EXPECT_EQ(RunDemoHeadless("/nonexistent/folder", 2, 1), 1);
  std::vector<Picture> pictures;
  for (int frame = 0; frame < 13; ++frame) {
    Picture& picture = pictures.emplace_back();
    picture.rgb = ReadPngRgb(folder + "/frame-" + std::to_string(frame) + ".png", &picture.width);
    ASSERT_EQ(picture.rgb.size(), frame % 4 ? 0u : 640u * 480 * 3) << frame;
  }
  const Colour red{255, 0, 0}, yellow{255, 255, 0}, blue{0, 0, 255}, white{255, 255, 255}, black{0, 0, 0};
  const int y = DEMO_BLINK_Y + 30, a = DEMO_BLINK_A_X + 30, b = DEMO_BLINK_B_X + 30;
  const struct {
    int frame, x, y;
    Colour colour;
  } spots[] = {{0, DEMO_OCTAGON_X, DEMO_OCTAGON_Y, red}, {0, DEMO_OCTAGON_X, 30 + 8, black},
               {0, a, y, yellow}, {8, a, y, red}, {8, b, y, white}, {12, b, y, blue}};
  for (const auto& spot : spots)
    EXPECT_EQ(pictures[spot.frame].At(spot.x, spot.y), spot.colour) << spot.frame << " " << spot.x;
  EXPECT_NE(pictures[0].At(DEMO_TRIANGLE_X, DEMO_TRIANGLE_Y), black);
  const auto stripe = [&](int frame, int k) {
    return pictures[frame].At(DEMO_STRIPES_X + k * DEMO_STRIPE_WIDTH + 3, DEMO_STRIPES_Y + 20);
  };
  for (int k = 0; k < 32; ++k) EXPECT_EQ(stripe(4, k), stripe(0, (k - 4 + 32) % 32)) << k;
  EXPECT_NE(stripe(0, 0), stripe(0, 1));
  EXPECT_EQ(pictures[4].At(DEMO_OCTAGON_X, DEMO_OCTAGON_Y), stripe(0, 28));
}

}  // namespace
