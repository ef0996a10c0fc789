// Shared by the input tests: a fresh machine with a window, keys and controller states scripted
// on the headless host, and every input device shut after each test.
#pragma once

#include <cstring>
#include <functional>

#include "input/keyboard.h"
#include "input/mouse_joystick.h"
#include "soft/direct_input.h"
#include "soft/faults.h"
#include "test_support.h"

class InputTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
  }
  void TearDown() override {
    JoystickShutdown();
    MouseShutdown();
    KeyboardShutdown();
    InputShutdown();
    joystick_found = 0;
    EXPECT_EQ(SoftInputObjectCount(), 0);
    FreshMachineTest::TearDown();
  }
  // Starts DirectInput and the keyboard.
  void StartKeyboard() {
    ASSERT_EQ(InputInit(), 1);
    ASSERT_EQ(KeyboardInit(), 1);
  }
  // Runs `action` on the host at the next millisecond, seen by the platform's next event pump.
  static void Act(std::function<void()> action) {
    HeadlessScheduleAction(HeadlessNow() + 1, std::move(action));
    HeadlessAdvance(2);
    GetAsyncKeyState(0);  // any platform call pumps the host's events
  }
  // A key change at the next millisecond.
  static void Key(int virtual_key, bool down) {
    Act([=] { HeadlessScheduleKey(HeadlessNow(), virtual_key, down); });
  }
  // How many keys the snapshot shows down.
  static int KeysDown() { return 256 - static_cast<int>(std::count(KeyboardState, KeyboardState + 256, 0)); }
};
