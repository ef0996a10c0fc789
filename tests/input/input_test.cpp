// The keyboard snapshot, mouse and game controller over the software DirectInput, fed by the
// headless host's scripted keys, mouse and controller.
#include <cstring>

#include "input/keyboard.h"
#include "input/mouse_joystick.h"
#include "shell/game_shell.h"
#include "soft/direct_input.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

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
    input_object = nullptr;
    keyboard_device = mouse_device = joystick_device = nullptr;
    joystick_found = 0;
    joystick_guid = GUID{};
    std::memset(joystick_name, 0, sizeof joystick_name);
    EXPECT_EQ(SoftInputObjectCount(), 0);
    FreshMachineTest::TearDown();
  }

  void StartKeyboard() {
    ASSERT_EQ(InputInit(), 1);
    ASSERT_EQ(KeyboardInit(), 1);
  }
  // A key change at the next millisecond, seen by the platform's next event pump.
  void Key(int virtual_key, bool down) {
    HeadlessScheduleKey(HeadlessNow() + 1, virtual_key, down);
    HeadlessAdvance(2);
    GetAsyncKeyState(0);  // any platform call pumps the host's events
  }
  void Act(std::function<void()> action) {
    HeadlessScheduleAction(HeadlessNow() + 1, std::move(action));
    HeadlessAdvance(2);
    GetAsyncKeyState(0);
  }
};

TEST_F(InputTest, ScriptedKeysArriveUnderTheirDirectInputCodes) {
  StartKeyboard();
  const struct {
    int virtual_key;
    int dik;
  } keys[] = {{VK_ESCAPE, 0x01}, {VK_RETURN, 0x1C}, {'C', 0x2E}, {VK_SPACE, 0x39},
              {VK_UP, 0xC8},     {VK_LEFT, 0xCB},   {VK_RIGHT, 0xCD}, {VK_DOWN, 0xD0}};
  for (const auto& key : keys) {
    Key(key.virtual_key, true);
    ASSERT_EQ(KeyboardRead(), 1);
    for (int code = 0; code < 256; ++code)
      EXPECT_EQ(KeyboardState[code], code == key.dik ? 0x80 : 0) << "key " << key.virtual_key << " code " << code;
    Key(key.virtual_key, false);
    ASSERT_EQ(KeyboardRead(), 1);
    EXPECT_EQ(KeyboardState[key.dik], 0);
  }
}

// A key the host knows only by its DirectInput code (the Windows key) reaches the snapshot alone;
// it is no virtual key, so the asynchronous key state does not see it.
TEST_F(InputTest, KeysWithOnlyADirectInputCodeReachTheSnapshot) {
  StartKeyboard();
  HeadlessScheduleInputKey(HeadlessNow() + 1, DIK_LWIN, true);
  HeadlessAdvance(2);
  ASSERT_EQ(KeyboardRead(), 1);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(KeyboardState[code], code == DIK_LWIN ? 0x80 : 0) << code;
  for (int key = 1; key < 256; ++key) EXPECT_EQ(GetAsyncKeyState(key), 0) << key;
  HeadlessScheduleInputKey(HeadlessNow() + 1, DIK_LWIN, false);
  HeadlessAdvance(2);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_LWIN], 0);
}

// The DirectInput object and a device outlive a Release while another reference is held.
TEST_F(InputTest, InputObjectsLiveUntilTheirLastReferenceIsReleased) {
  StartKeyboard();
  const int live = SoftInputObjectCount();
  for (IUnknown* object : {static_cast<IUnknown*>(input_object), static_cast<IUnknown*>(keyboard_device)}) {
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    void* other = &other;
    EXPECT_EQ(object->QueryInterface(IID_IDirectInput8A, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
  }
  EXPECT_EQ(SoftInputObjectCount(), live);
  ASSERT_EQ(KeyboardRead(), 1);  // the keyboard still works
}

TEST_F(InputTest, HeldKeysStayDownAcrossReadsAndTwoAtOnceAreBothSeen) {
  StartKeyboard();
  Key(VK_UP, true);
  Key(VK_RIGHT, true);
  for (int read = 0; read < 3; ++read) {
    ASSERT_EQ(KeyboardRead(), 1);
    EXPECT_EQ(KeyboardState[DIK_UP], 0x80);
    EXPECT_EQ(KeyboardState[DIK_RIGHT], 0x80);
  }
  Key(VK_UP, false);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_UP], 0);
  EXPECT_EQ(KeyboardState[DIK_RIGHT], 0x80);
}

TEST_F(InputTest, AKeyTappedBetweenTwoReadsCountsAsDownInTheNextReadOnce) {
  StartKeyboard();
  ASSERT_EQ(KeyboardRead(), 1);
  Key(VK_SPACE, true);
  Key(VK_SPACE, false);  // down and up again before the read
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_SPACE], 0x80);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_SPACE], 0);
  // Released after a read that saw it held: the next read sees it up.
  Key(VK_LEFT, true);
  ASSERT_EQ(KeyboardRead(), 1);
  Key(VK_LEFT, false);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_LEFT], 0);
}

// Taps forgotten as a sequence that held the game ends are not seen by the next read, but an
// Escape among them is, once; a key still held is seen as held.
TEST_F(InputTest, ForgottenTapsAreNotSeenButEscapeStillIs) {
  StartKeyboard();
  ASSERT_EQ(KeyboardRead(), 1);
  const int tapped[] = {VK_SPACE, VK_ESCAPE, 'C'};
  for (int key : tapped) {
    Key(key, true);
    Key(key, false);
  }
  Key(VK_LEFT, true);
  KeyboardForgetTaps();
  ASSERT_EQ(KeyboardRead(), 1);
  int down = 0;
  for (uint8_t byte : KeyboardState) down += byte != 0;
  EXPECT_EQ(down, 2);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  EXPECT_EQ(KeyboardState[DIK_LEFT], 0x80);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0);
}

TEST_F(InputTest, ManyTapsBetweenReadsAreAllSeen) {
  StartKeyboard();
  const int letters[] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R'};
  for (int letter : letters) {
    Key(letter, true);
    Key(letter, false);
  }
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_A], 0x80);
  EXPECT_EQ(KeyboardState[DIK_R], 0x80);
  int down = 0;
  for (uint8_t byte : KeyboardState) down += byte != 0;
  EXPECT_EQ(down, 18);
}

TEST_F(InputTest, NoKeyboardGivesAnEmptySnapshotWhileEscapeStillWorksAsynchronously) {
  ASSERT_EQ(InputInit(), 1);
  InjectFault(PlatformCall::CreateInputDevice, 1);
  EXPECT_EQ(KeyboardInit(), 0);
  EXPECT_EQ(keyboard_device, nullptr);
  KeyboardState[DIK_LEFT] = 0x80;
  Key(VK_ESCAPE, true);
  EXPECT_EQ(KeyboardRead(), 0);
  for (uint8_t byte : KeyboardState) ASSERT_EQ(byte, 0);
  EXPECT_TRUE(KeyPressed(VK_ESCAPE, DIK_ESCAPE));
  EXPECT_FALSE(KeyPressed(VK_SPACE, DIK_SPACE));
}

TEST_F(InputTest, NoDirectInputMeansNoKeyboardEither) {
  InjectFault(PlatformCall::DirectInputCreate, 1);
  EXPECT_EQ(InputInit(), 0);
  EXPECT_EQ(input_object, nullptr);
  EXPECT_EQ(KeyboardInit(), 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::CreateInputDevice), 0);
  EXPECT_EQ(KeyboardRead(), 0);
}

TEST_F(InputTest, LostInputClearsTheSnapshotAndTheKeyboardIsTakenBack) {
  StartKeyboard();
  Key(VK_ESCAPE, true);
  ASSERT_EQ(KeyboardRead(), 1);
  ASSERT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  SoftInputLose();
  InjectFault(PlatformCall::InputAcquire, 1);  // the other program still holds it
  EXPECT_EQ(KeyboardRead(), 0);
  for (uint8_t byte : KeyboardState) ASSERT_EQ(byte, 0);
  Key(VK_DOWN, true);
  EXPECT_EQ(KeyboardRead(), 1);  // acquired again
  EXPECT_EQ(KeyboardState[DIK_DOWN], 0x80);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::InputAcquire), 3);
}

TEST_F(InputTest, MouseSnapshotsGiveMovementSinceTheLastReadAndButtons) {
  ASSERT_EQ(InputInit(), 1);
  EXPECT_EQ(MouseRead(), 0);  // no mouse yet: zero snapshot
  EXPECT_EQ(MouseState.lX, 0);
  ASSERT_EQ(MouseInit(), 1);
  Act([] {
    HostMoveMouse(5, -3, 0);
    HostMoveMouse(2, 1, 120);
    HostSetMouseButton(1, true);
  });
  ASSERT_EQ(MouseRead(), 1);
  EXPECT_EQ(MouseState.lX, 7);
  EXPECT_EQ(MouseState.lY, -2);
  EXPECT_EQ(MouseState.lZ, 120);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
  EXPECT_EQ(MouseState.rgbButtons[1], 0x80);
  ASSERT_EQ(MouseRead(), 1);
  EXPECT_EQ(MouseState.lX, 0);
  EXPECT_EQ(MouseState.lY, 0);
  EXPECT_EQ(MouseState.rgbButtons[1], 0x80);
  EXPECT_EQ(MouseShutdown(), 1);
  mouse_device = nullptr;  // released; shutdown leaves the pointer as it was
}

TEST_F(InputTest, TheStandardFormatsDescribeThePublishedLayouts) {
  EXPECT_EQ(c_dfDIKeyboard.dwDataSize, 256u);
  EXPECT_EQ(c_dfDIKeyboard.dwNumObjs, 256u);
  EXPECT_EQ(c_dfDIKeyboard.dwFlags, DWORD{DIDF_RELAXIS});
  for (DWORD key = 0; key < 256; ++key) ASSERT_EQ(c_dfDIKeyboard.rgodf[key].dwOfs, key);
  EXPECT_EQ(c_dfDIMouse.dwDataSize, 16u);
  EXPECT_EQ(c_dfDIMouse.dwNumObjs, 7u);
  const DWORD mouse_offsets[7] = {0, 4, 8, 12, 13, 14, 15};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(c_dfDIMouse.rgodf[i].dwOfs, mouse_offsets[i]);
  EXPECT_EQ(c_dfDIJoystick.dwDataSize, 80u);
  EXPECT_EQ(c_dfDIJoystick.dwNumObjs, 44u);
  EXPECT_EQ(c_dfDIJoystick.dwFlags, DWORD{DIDF_ABSAXIS});
  EXPECT_EQ(c_dfDIJoystick.rgodf[7].dwOfs, 28u);   // second slider
  EXPECT_EQ(c_dfDIJoystick.rgodf[8].dwOfs, 32u);   // first POV
  EXPECT_EQ(c_dfDIJoystick.rgodf[11].dwOfs, 44u);  // last POV
  EXPECT_EQ(c_dfDIJoystick.rgodf[12].dwOfs, 48u);  // first button
  EXPECT_EQ(c_dfDIJoystick.rgodf[43].dwOfs, 79u);  // last button
}

HostJoystick Pad() {
  HostJoystick pad{};
  pad.attached = true;
  std::strcpy(pad.name, "Test Pad");
  pad.pov = -1;
  return pad;
}

TEST_F(InputTest, WithoutAControllerJoystickInitFails) {
  ASSERT_EQ(InputInit(), 1);
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 10), 0);
  EXPECT_EQ(joystick_found, 0);
  EXPECT_EQ(JoystickRead(), 0);
}

TEST_F(InputTest, JoystickSnapshotsUseTheRangeAndDeadZoneGiven) {
  HostJoystick pad = Pad();
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(InputInit(), 1);
  ASSERT_EQ(JoystickInit(-1000, 1000, 0, 200, 10), 1);
  EXPECT_EQ(joystick_found, 1);
  EXPECT_STREQ(joystick_name, "Test Pad");
  pad.axes[0] = 32767;    // full right
  pad.axes[1] = -32768;   // full up
  pad.axes[2] = 32767;    // z keeps the platform's default range
  pad.pov = 9000;
  pad.buttons[3] = 1;
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);  // the device answers Poll with DI_NOEFFECT
  EXPECT_EQ(JoystickState.lX, 1000);
  EXPECT_EQ(JoystickState.lY, 0);
  EXPECT_EQ(JoystickState.lZ, 65535);
  EXPECT_EQ(JoystickState.rgdwPOV[0], 9000u);
  EXPECT_EQ(JoystickState.rgbButtons[3], 0x80);
  EXPECT_EQ(JoystickState.rgbButtons[2], 0);
  pad.axes[0] = 3000;     // inside the 10% dead zone: centre
  pad.axes[1] = 16384;    // outside: three quarters of the way
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);
  EXPECT_EQ(JoystickState.lX, 0);
  EXPECT_EQ(JoystickState.lY, 150);
  EXPECT_EQ(JoystickShutdown(), 1);
  joystick_device = nullptr;
}

TEST_F(InputTest, TheDeadZoneEndsExactlyAtItsShareOfTheHalfRange) {
  // A 50% dead zone covers magnitudes below 16384 of 32768: 16383 reads as the centre, 16384 not.
  HostJoystick pad = Pad();
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(InputInit(), 1);
  ASSERT_EQ(JoystickInit(-1000, 1000, -1000, 1000, 50), 1);
  pad.axes[0] = 16383;
  pad.axes[1] = -16384;
  Act([pad] { HostSetJoystick(pad); });
  ASSERT_EQ(JoystickRead(), 1);
  EXPECT_EQ(JoystickState.lX, 0);
  EXPECT_EQ(JoystickState.lY, -500);
  EXPECT_EQ(JoystickShutdown(), 1);
  joystick_device = nullptr;
}

// After shut-down every read finds no device and gives an all-zero snapshot, and shutting down
// again releases nothing twice.
TEST_F(InputTest, ReadsAfterShutDownGiveEmptySnapshotsAndASecondShutDownIsHarmless) {
  HostJoystick pad = Pad();
  pad.buttons[0] = 1;
  Act([pad] { HostSetJoystick(pad); });
  StartKeyboard();
  ASSERT_EQ(MouseInit(), 1);
  ASSERT_EQ(JoystickInit(-100, 100, -100, 100, 0), 1);
  Key(VK_SPACE, true);
  ASSERT_EQ(KeyboardRead(), 1);
  ASSERT_EQ(JoystickRead(), 1);
  ASSERT_EQ(JoystickState.rgbButtons[0], 0x80);
  MouseState.lX = 5;
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(JoystickShutdown(), 1);
    EXPECT_EQ(MouseShutdown(), 1);
    EXPECT_EQ(KeyboardShutdown(), 1);
    EXPECT_EQ(InputShutdown(), 1);
    EXPECT_EQ(SoftInputObjectCount(), 0);
  }
  EXPECT_EQ(JoystickRead(), 0);
  EXPECT_EQ(JoystickState.rgbButtons[0], 0);
  EXPECT_EQ(MouseRead(), 0);
  EXPECT_EQ(MouseState.lX, 0);
  EXPECT_EQ(KeyboardRead(), 0);
  EXPECT_EQ(KeyboardState[DIK_SPACE], 0);
  EXPECT_EQ(MouseInit(), 0);  // no DirectInput object left to make a device
}

// A controller or mouse that cannot be set up reports it and is not taken as found; a mouse that
// was lost reports its failed read.
TEST_F(InputTest, ControllerAndMouseThatCannotBeSetUpOrReadSaySo) {
  HostJoystick pad = Pad();
  Act([pad] { HostSetJoystick(pad); });
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 0), 0);  // no DirectInput object yet
  EXPECT_EQ(joystick_device, nullptr);
  EXPECT_EQ(MouseInit(), 0);
  ASSERT_EQ(InputInit(), 1);
  InjectFault(PlatformCall::InputAcquire, 1);
  EXPECT_EQ(JoystickInit(-100, 100, -100, 100, 0), 0);
  EXPECT_EQ(joystick_found, 0);
  EXPECT_EQ(JoystickRead(), 0);
  JoystickShutdown();  // the device was made before the failed step
  InjectFault(PlatformCall::InputAcquire, 1);
  EXPECT_EQ(MouseInit(), 0);
  MouseShutdown();
  ASSERT_EQ(MouseInit(), 1);
  ASSERT_EQ(MouseRead(), 1);
  SoftInputLose();
  EXPECT_EQ(MouseRead(), 0);
}

TEST_F(InputTest, EnumCallbackKeepsTheFirstControllerAndStops) {
  DIDEVICEINSTANCEA instance{};
  instance.guidInstance = GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  std::memset(instance.tszProductName, 'x', sizeof instance.tszProductName - 1);
  EXPECT_EQ(JoystickEnumCallback(&instance, nullptr), DIENUM_STOP);
  EXPECT_TRUE(IsEqualGUID(joystick_guid, instance.guidInstance));
  EXPECT_EQ(std::strlen(joystick_name), 79u);
}

}  // namespace
