#include "hosts/web/web_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dinput.h"
#include "win32.h"

namespace {

TEST(WebKeys, GameKeysByTheirCodes) {
  EXPECT_EQ(WebVirtualKey("Escape", "Escape"), VK_ESCAPE);
  EXPECT_EQ(WebVirtualKey("Space", " "), VK_SPACE);
  EXPECT_EQ(WebVirtualKey("Enter", "Enter"), VK_RETURN);
  EXPECT_EQ(WebVirtualKey("NumpadEnter", "Enter"), VK_RETURN);
  EXPECT_EQ(WebVirtualKey("ArrowLeft", "ArrowLeft"), VK_LEFT);
  EXPECT_EQ(WebVirtualKey("ArrowRight", "ArrowRight"), VK_RIGHT);
  EXPECT_EQ(WebVirtualKey("ArrowUp", "ArrowUp"), VK_UP);
  EXPECT_EQ(WebVirtualKey("ArrowDown", "ArrowDown"), VK_DOWN);
  EXPECT_EQ(WebVirtualKey("ShiftRight", "Shift"), VK_SHIFT);
  EXPECT_EQ(WebVirtualKey("F1", "F1"), VK_F1);
  EXPECT_EQ(WebVirtualKey("F12", "F12"), VK_F12);
}

TEST(WebKeys, LettersAndDigitsFollowTheLayoutWhenLatinElseThePosition) {
  EXPECT_EQ(WebVirtualKey("KeyC", "c"), 'C');
  EXPECT_EQ(WebVirtualKey("KeyC", "C"), 'C');               // with Shift
  EXPECT_EQ(WebVirtualKey("KeyQ", "a"), 'A');               // a layout with A where Q is
  EXPECT_EQ(WebVirtualKey("KeyC", "\xD1\x81"), 'C');        // a Cyrillic letter: by position
  EXPECT_EQ(WebVirtualKey("KeyZ", "Dead"), 'Z');            // a dead key: by position
  EXPECT_EQ(WebVirtualKey("Digit7", "7"), '7');
  EXPECT_EQ(WebVirtualKey("Digit1", "&"), '1');             // a layout's symbol row: by position
  EXPECT_EQ(WebVirtualKey("Digit0", "0"), '0');
  EXPECT_EQ(WebVirtualKey("KeyA", nullptr), 'A');
}

TEST(WebKeys, DirectInputCodesByPosition) {
  EXPECT_EQ(WebInputKey("Escape"), DIK_ESCAPE);
  EXPECT_EQ(WebInputKey("Space"), DIK_SPACE);
  EXPECT_EQ(WebInputKey("Enter"), DIK_RETURN);
  EXPECT_EQ(WebInputKey("NumpadEnter"), DIK_NUMPADENTER);
  EXPECT_EQ(WebInputKey("ShiftLeft"), DIK_LSHIFT);
  EXPECT_EQ(WebInputKey("ShiftRight"), DIK_RSHIFT);
  EXPECT_EQ(WebInputKey("AltRight"), DIK_RMENU);
  EXPECT_EQ(WebInputKey("ArrowLeft"), DIK_LEFT);
  EXPECT_EQ(WebInputKey("ArrowRight"), DIK_RIGHT);
  EXPECT_EQ(WebInputKey("ArrowUp"), DIK_UP);
  EXPECT_EQ(WebInputKey("ArrowDown"), DIK_DOWN);
  // Letters follow the keyboard rows, not the alphabet.
  EXPECT_EQ(WebInputKey("KeyA"), DIK_A);
  EXPECT_EQ(WebInputKey("KeyC"), DIK_C);
  EXPECT_EQ(WebInputKey("KeyQ"), DIK_Q);
  EXPECT_EQ(WebInputKey("KeyZ"), DIK_Z);
  // Digits run 1..9 then 0; F11 and F12 are apart from F1..F10.
  EXPECT_EQ(WebInputKey("Digit1"), DIK_1);
  EXPECT_EQ(WebInputKey("Digit9"), DIK_9);
  EXPECT_EQ(WebInputKey("Digit0"), DIK_0);
  EXPECT_EQ(WebInputKey("F1"), DIK_F1);
  EXPECT_EQ(WebInputKey("F10"), DIK_F10);
  EXPECT_EQ(WebInputKey("F11"), DIK_F11);
  EXPECT_EQ(WebInputKey("F12"), DIK_F12);
  EXPECT_EQ(WebInputKey("CapsLock"), 0);
  EXPECT_EQ(WebInputKey(nullptr), 0);
}

TEST(WebKeys, UnknownAndMalformedCodesMeanNothing) {
  for (const char* code : {"", "Key", "KeyAA", "Keya", "Digit", "Digit10", "F0", "F13", "F1x", "Fn",
                           "CapsLock", "MetaLeft", "escape"}) {
    EXPECT_EQ(WebVirtualKey(code, "x"), 0) << code;
    EXPECT_EQ(WebPhysicalKey(code), 0) << code;
    EXPECT_EQ(WebInputKey(code), 0) << code;
  }
  EXPECT_EQ(WebVirtualKey(nullptr, "x"), 0);
  EXPECT_EQ(WebPhysicalKey(nullptr), 0);
}

TEST(WebKeys, EveryKnownKeyHasItsOwnPhysicalNumberInRange) {
  std::set<std::string> codes = {"Escape", "Enter", "NumpadEnter", "Space", "Tab", "Backspace",
                                 "ShiftLeft", "ShiftRight", "ControlLeft", "ControlRight",
                                 "AltLeft", "AltRight", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown"};
  for (char c = 'A'; c <= 'Z'; ++c) codes.insert(std::string("Key") + c);
  for (char c = '0'; c <= '9'; ++c) codes.insert(std::string("Digit") + c);
  for (int f = 1; f <= 12; ++f) codes.insert("F" + std::to_string(f));
  std::set<int> numbers;
  for (const std::string& code : codes) {
    int number = WebPhysicalKey(code.c_str());
    EXPECT_GT(number, 0) << code;
    EXPECT_LT(number, WEB_PHYSICAL_KEY_LIMIT) << code;
    numbers.insert(number);
  }
  EXPECT_EQ(numbers.size(), codes.size());
  // Both Shift keys are separate physical keys holding one virtual key.
  EXPECT_NE(WebPhysicalKey("ShiftLeft"), WebPhysicalKey("ShiftRight"));
  EXPECT_EQ(WebPhysicalKey("KeyA"), 1);
}

}  // namespace
