// The shell's tests: a fresh headless machine, the program run through WinMain under a time
// limit, and scheduled keys.
#pragma once

#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "test_support.h"

// Base of the shell tests (program runs and screen passes): a fresh machine, a forgotten display.
class ShellTest : public FreshMachineTest {
 protected:
  // WinMain shut the display down itself (or the test did): forget its record.
  void TearDown() override {
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  // Runs WinMain until it returns or the virtual clock reaches a minute (then the test fails).
  static int RunProgram() {
    HeadlessSetDeadline(60000);
    try {
      return WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    } catch (const HeadlessDeadline&) {
      ADD_FAILURE() << "the program did not end";
      return -1;
    }
  }
  // Holds a key down from `time` for `hold_ms`.
  static void PressKey(uint32_t time, int key, uint32_t hold_ms = 60) {
    HeadlessScheduleKey(time, key, true);
    HeadlessScheduleKey(time + hold_ms, key, false);
  }
  // True when every palette entry of the frame is pure red (the closing fade's end).
  static bool AllRed(const HeadlessFrame& frame) {
    for (int i = 0; i < 256; ++i)
      if (frame.palette[i * 4] != 255 || frame.palette[i * 4 + 1] != 0 || frame.palette[i * 4 + 2] != 0) return false;
    return true;
  }
};
