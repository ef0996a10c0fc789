// The mouse and the game controller over the software DirectInput, fed by the headless host.
#include "input_fixture.h"

namespace {

using MouseJoystickTest = InputTest;

HostJoystick Pad() {
  HostJoystick pad{};
  pad.attached = true;
  std::strcpy(pad.name, "Test Pad");
  pad.pov = -1;
  return pad;
}

TEST_F(MouseJoystickTest, MouseSnapshotsGiveMovementSinceTheLastReadAndButtons) {
  ASSERT_EQ(InputInit(), 1);
  ASSERT_EQ(MouseInit(), 1);
  Act([] {
    HostMoveMouse(5, -3, 0);
    HostMoveMouse(2, 1, 120);
    HostSetMouseButton(1, true);
    HostSetMouseButton(-1, true);  // no such button: ignored
  });
  ASSERT_EQ(MouseRead(), 1);
  EXPECT_EQ(std::vector<LONG>({MouseState.lX, MouseState.lY, MouseState.lZ}), std::vector<LONG>({7, -2, 120}));
  ASSERT_EQ(MouseRead(), 1);
  EXPECT_EQ(MouseState.lY, 0);
  EXPECT_EQ(MouseState.rgbButtons[1], 0x80);
}

// Axes scaled into the range given, with the dead zone a share of the half range: even at 100%,
// the largest dead zone allowed, 32767 reads as the centre while -32768 does not.
TEST_F(MouseJoystickTest, JoystickSnapshotsUseTheRangeAndDeadZoneGiven) {
  ASSERT_EQ(InputInit(), 1);
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 10), 0);  // no controller
  HostJoystick pad = Pad();
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickInit(-1000, 1000, 0, 200, 10), 1);
  EXPECT_STREQ(joystick_name, "Test Pad");
  pad.axes[0] = 32767;   // full right
  pad.axes[1] = -32768;  // full up
  pad.axes[2] = 32767;   // z keeps the platform's default range
  pad.pov = 9000;
  pad.buttons[3] = 1;
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);  // the device answers Poll with DI_NOEFFECT
  EXPECT_EQ(std::vector<LONG>({JoystickState.lX, JoystickState.lY, JoystickState.lZ}), std::vector<LONG>({1000, 0, 65535}));
  EXPECT_EQ(JoystickState.rgdwPOV[0], 9000u);
  EXPECT_EQ(JoystickState.rgbButtons[3], 0x80);
  pad.axes[1] = 16384;  // outside: three quarters of the way
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);
  EXPECT_EQ(JoystickState.lY, 150);
  JoystickShutdown();
  ASSERT_EQ(JoystickInit(-1000, 1000, -1000, 1000, 100), 1);
  pad.axes[0] = 32767;
  pad.axes[1] = -32768;
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);
  EXPECT_EQ(JoystickState.lX, 0);
  EXPECT_EQ(JoystickState.lY, -1000);
}

// After shut-down every read finds no device and gives an all-zero snapshot, and shutting down
// again releases nothing twice.
TEST_F(MouseJoystickTest, ReadsAfterShutDownGiveEmptySnapshotsAndASecondShutDownIsHarmless) {
  HostJoystick pad = Pad();
  pad.buttons[0] = 1;
  Act([pad] { HostSetJoystick(pad); });
  StartKeyboard();
  ASSERT_EQ(MouseInit(), 1);
  ASSERT_EQ(JoystickInit(-100, 100, -100, 100, 0), 1);
  Key(VK_SPACE, true);
  ASSERT_EQ(KeyboardRead() + JoystickRead(), 2);
  MouseState.lX = 5;
  for (int round = 0; round < 2; ++round)
    EXPECT_EQ(JoystickShutdown() + MouseShutdown() + KeyboardShutdown() + InputShutdown(), 4);
  EXPECT_EQ(JoystickRead() + MouseRead() + KeyboardRead(), 0);
  EXPECT_EQ(JoystickState.rgbButtons[0] + MouseState.lX + KeyboardState[DIK_SPACE], 0);
  EXPECT_EQ(MouseInit(), 0);  // no DirectInput object left to make a device
}

// A controller or mouse that cannot be set up reports it and is not taken as found; a mouse that
// was lost reports its failed read.
TEST_F(MouseJoystickTest, ControllerAndMouseThatCannotBeSetUpOrReadSaySo) {
  HostJoystick pad = Pad();
  Act([pad] { HostSetJoystick(pad); });
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 0), 0);  // no DirectInput object yet
  ASSERT_EQ(InputInit(), 1);
  InjectFault(PlatformCall::InputAcquire, 1);
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 0), 0);
  EXPECT_EQ(joystick_found, 0);
  InjectFault(PlatformCall::InputAcquire, 1);
  EXPECT_EQ(MouseInit(), 0);
  MouseShutdown();
  ASSERT_EQ(MouseInit(), 1);
  ASSERT_EQ(MouseRead(), 1);
  SoftInputLose();
  EXPECT_EQ(MouseRead(), 0);
}

}  // namespace
