// vork-demo run headless: its PNG pictures decoded and checked where each extra is drawn.
#include "demo.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// An RGB picture read back from a PNG file.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  struct Colour {
    int red, green, blue;
    bool operator==(const Colour& o) const { return red == o.red && green == o.green && blue == o.blue; }
  };
  Colour At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  bool Black(int x, int y) const { return At(x, y) == Colour{0, 0, 0}; }
};

Picture ReadPng(const std::string& path) {
  Picture picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
  image.format = PNG_FORMAT_RGB;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return Picture{};
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  return picture;
}

class DemoTest : public FreshMachineTest {
 protected:
  static void SetUpTestSuite() {
    // CTest runs each test in a process of its own, side by side: each run gets its own folder.
    folder = "demo-" + std::to_string(getpid());
    mkdir(folder.c_str(), 0755);
    ran = RunDemoHeadless(folder, 13, 4);
    for (int frame : {0, 4, 8, 12}) pictures[frame] = ReadPng(Path(frame));
  }
  void SetUp() override {}     // the run above is the machine under test
  void TearDown() override {}
  static std::string Path(int frame) { return folder + "/frame-" + std::to_string(frame) + ".png"; }
  static std::string folder;
  static int ran;
  static Picture pictures[13];
};

std::string DemoTest::folder;
int DemoTest::ran = -1;
Picture DemoTest::pictures[13];

TEST_F(DemoTest, WritesTheChosenFramesAndTheLast) {
  EXPECT_EQ(ran, 0);
  for (int frame : {0, 4, 8, 12}) {
    EXPECT_EQ(pictures[frame].width, 640) << frame;
    EXPECT_EQ(pictures[frame].height, 480) << frame;
  }
  EXPECT_EQ(ReadPng(Path(1)).width, 0);
  EXPECT_EQ(RunDemoHeadless("/nonexistent/folder", 2, 1), 1);
}

// The octagon (entry 16, pure red at first), the background above it, and the blinking squares:
// the first shows its second colour at once for 8 runs; the second is white for 12, then blue.
TEST_F(DemoTest, ShapesShowTheirColoursFrameByFrame) {
  using Colour = Picture::Colour;
  const Colour red{255, 0, 0}, yellow{255, 255, 0}, blue{0, 0, 255}, white{255, 255, 255}, black{0, 0, 0};
  const int y = DEMO_BLINK_Y + 30, a = DEMO_BLINK_A_X + 30, b = DEMO_BLINK_B_X + 30;
  const struct {
    int frame, x, y;
    Colour colour;
  } spots[] = {{0, DEMO_OCTAGON_X, DEMO_OCTAGON_Y, red}, {0, DEMO_OCTAGON_X, 30 + 8, black},
               {0, a, y, yellow}, {4, a, y, yellow}, {8, a, y, red}, {12, a, y, red},
               {8, b, y, white},  {12, b, y, blue}};
  for (const auto& spot : spots)
    EXPECT_EQ(pictures[spot.frame].At(spot.x, spot.y), spot.colour) << spot.frame << " " << spot.x;
  EXPECT_FALSE(pictures[0].Black(DEMO_TRIANGLE_X, DEMO_TRIANGLE_Y));
}

// Stripe k shows entry 16 + k, which after n rotations holds the colour stripe k - n had; the
// octagon's entry 16 holds hue 28 of 32 four rotations on.
TEST_F(DemoTest, PaletteRangeRotatesOneEntryPerFrame) {
  const auto stripe = [](int frame, int k) {
    return pictures[frame].At(DEMO_STRIPES_X + k * DEMO_STRIPE_WIDTH + 3, DEMO_STRIPES_Y + 20);
  };
  for (int k = 0; k < 32; ++k) EXPECT_EQ(stripe(4, k), stripe(0, (k - 4 + 32) % 32)) << k;
  EXPECT_FALSE(stripe(0, 0) == stripe(0, 1));
  EXPECT_EQ(pictures[4].At(DEMO_OCTAGON_X, DEMO_OCTAGON_Y), stripe(0, 28));
}

}  // namespace
