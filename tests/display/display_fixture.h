// Shared by the display tests: a fresh machine with a test window, a display to open, and the
// back surface's pixels.
#pragma once

#include <cstdint>

#include "display/frame.h"
#include "test_support.h"

// A fresh machine with a test window at 0,0; Open starts a 640 x 480 display on it.
class DisplayFixture : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
  }
  // Starts the display at the given depth, full screen unless windowed.
  void Open(int bits = 8, int windowed = 0) { ASSERT_EQ(DisplayInit(640, 480, bits, windowed), 1); }
  // The back surface's pixel at (x, y), `bytes` wide (little-endian).
  static int BackPixel(int x, int y, int bytes = 1) {
    const uint8_t* row = LockBackSurface() + y * display.back_pitch + x * bytes;
    const int value = bytes == 2 ? row[0] | row[1] << 8 : row[0];
    UnlockBackSurface();
    return value;
  }
};

// The same with the 8-bit full-screen display open.
class OpenDisplayFixture : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    Open();
  }
};
