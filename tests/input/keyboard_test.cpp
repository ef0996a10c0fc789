// The keyboard snapshot over the software DirectInput, fed by the headless host's scripted keys.
#include "input_fixture.h"

namespace {

using KeyboardTest = InputTest;

// Held keys stay down across reads; a key tapped between two reads (any number of them) counts
// as down in the next read only; a key released after a read saw it is up in the next.
TEST_F(KeyboardTest, HeldKeysStayDownAndTapsBetweenReadsCountOnce) {
  StartKeyboard();
  Key(VK_UP, true);
  Key(VK_RIGHT, true);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_UP] + KeyboardState[DIK_RIGHT], 0x100);
  Key(VK_UP, false);
  for (char letter = 'A'; letter <= 'R'; ++letter) {
    Key(letter, true);
    Key(letter, false);
  }
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_R], 0x80);
  EXPECT_EQ(KeysDown(), 18 + 1);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeysDown(), 1);
  EXPECT_EQ(KeyboardState[DIK_RIGHT], 0x80);
}

// Taps forgotten as a sequence that held the game ends are not seen by the next read, but an
// Escape among them is, once; a key still held is seen as held.
TEST_F(KeyboardTest, ForgottenTapsAreNotSeenButEscapeStillIs) {
  StartKeyboard();
  ASSERT_EQ(KeyboardRead(), 1);
  for (int key : {VK_SPACE, VK_ESCAPE, int{'C'}}) {
    Key(key, true);
    Key(key, false);
  }
  Key(VK_LEFT, true);
  KeyboardForgetTaps();
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeysDown(), 2);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  EXPECT_EQ(KeyboardState[DIK_LEFT], 0x80);
  ASSERT_EQ(KeyboardRead(), 1);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0);
}

TEST_F(KeyboardTest, LostInputClearsTheSnapshotAndTheKeyboardIsTakenBack) {
  StartKeyboard();
  Key(VK_ESCAPE, true);
  ASSERT_EQ(KeyboardRead(), 1);
  ASSERT_EQ(KeyboardState[DIK_ESCAPE], 0x80);
  SoftInputLose();
  InjectFault(PlatformCall::InputAcquire, 1);  // the other program still holds it
  EXPECT_EQ(KeyboardRead(), 0);
  EXPECT_EQ(KeysDown(), 0);
  Key(VK_DOWN, true);
  EXPECT_EQ(KeyboardRead(), 1);  // acquired again
  EXPECT_EQ(KeysDown(), 1);
  EXPECT_EQ(KeyboardState[DIK_DOWN], 0x80);
}

}  // namespace
