#include "hosts/web/web_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dinput.h"
#include "win32.h"

namespace {

TEST(WebKeys, EachCodeHasItsVirtualKeyAndDirectInputCode) {
  struct Case {
    const char* code;
    const char* key;  // what the layout types
    int virtual_key, input_key;
  };
  const Case cases[] = {
      {"Escape", "Escape", VK_ESCAPE, DIK_ESCAPE}, {"Space", " ", VK_SPACE, DIK_SPACE},
      {"Enter", "Enter", VK_RETURN, DIK_RETURN}, {"NumpadEnter", "Enter", VK_RETURN, DIK_NUMPADENTER},
      {"ArrowLeft", "ArrowLeft", VK_LEFT, DIK_LEFT}, {"ArrowRight", "ArrowRight", VK_RIGHT, DIK_RIGHT},
      {"ArrowUp", "ArrowUp", VK_UP, DIK_UP}, {"ArrowDown", "ArrowDown", VK_DOWN, DIK_DOWN},
      {"ShiftLeft", "Shift", VK_SHIFT, DIK_LSHIFT}, {"ShiftRight", "Shift", VK_SHIFT, DIK_RSHIFT},
      {"AltRight", "Alt", VK_MENU, DIK_RMENU},
      {"F1", "F1", VK_F1, DIK_F1}, {"F10", "F10", VK_F1 + 9, DIK_F10}, {"F11", "F11", VK_F1 + 10, DIK_F11},
      {"F12", "F12", VK_F12, DIK_F12},
      // Letters and digits follow the layout when it types them, else the key's position.
      {"KeyC", "c", 'C', DIK_C}, {"KeyC", "C", 'C', DIK_C}, {"KeyQ", "a", 'A', DIK_Q},
      {"KeyC", "\xD1\x81", 'C', DIK_C},  // a Cyrillic letter
      {"KeyZ", "Dead", 'Z', DIK_Z}, {"KeyA", nullptr, 'A', DIK_A},
      {"Digit7", "7", '7', DIK_7}, {"Digit1", "&", '1', DIK_1}, {"Digit9", "9", '9', DIK_9},
      {"Digit0", "0", '0', DIK_0},
      // Unknown and malformed codes mean nothing.
      {"CapsLock", "x", 0, 0}, {"", "x", 0, 0}, {"Key", "x", 0, 0}, {"KeyAA", "x", 0, 0},
      {"Keya", "x", 0, 0}, {"Digit", "x", 0, 0}, {"Digit10", "x", 0, 0}, {"F0", "x", 0, 0},
      {"F13", "x", 0, 0}, {"F1x", "x", 0, 0}, {"Fn", "x", 0, 0}, {"MetaLeft", "x", 0, 0},
      {"escape", "x", 0, 0}, {nullptr, "x", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code ? c.code : "(none)");
    EXPECT_EQ(WebVirtualKey(c.code, c.key), c.virtual_key);
    EXPECT_EQ(WebInputKey(c.code), c.input_key);
    if (c.virtual_key == 0) {
      EXPECT_EQ(WebPhysicalKey(c.code), 0);
    }
  }
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
    const int number = WebPhysicalKey(code.c_str());
    EXPECT_GT(number, 0) << code;
    EXPECT_LT(number, WEB_PHYSICAL_KEY_LIMIT) << code;
    numbers.insert(number);
  }
  EXPECT_EQ(numbers.size(), codes.size()) << "two keys share a number";
  EXPECT_EQ(WebPhysicalKey("KeyA"), 1);
}

}  // namespace
