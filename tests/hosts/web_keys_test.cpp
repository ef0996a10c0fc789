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
      // Named keys: the first and last of the code's list, and one sharing its virtual key.
      {"Escape", "Escape", VK_ESCAPE, DIK_ESCAPE}, {"NumpadEnter", "Enter", VK_RETURN, DIK_NUMPADENTER},
      {"ArrowDown", "ArrowDown", VK_DOWN, DIK_DOWN}, {"KeyZ", "Dead", 'Z', DIK_Z}, {"Digit9", "9", '9', DIK_9},
      {"F1", "F1", VK_F1, DIK_F1}, {"F10", "F10", VK_F1 + 9, DIK_F10}, {"F11", "F11", VK_F1 + 10, DIK_F11},
      {"F12", "F12", VK_F12, DIK_F12},
      // Letters and digits follow the layout when it types them, else the key's position.
      {"KeyY", "z", 'Z', DIK_Y}, {"KeyQ", "a", 'A', DIK_Q}, {"KeyC", "\xD1\x81", 'C', DIK_C},  // Cyrillic
      {"KeyA", nullptr, 'A', DIK_A}, {"Digit1", "&", '1', DIK_1}, {"Digit0", "0", '0', DIK_0},
      // Unknown and malformed codes mean nothing.
      {"CapsLock", "x", 0, 0}, {"", "x", 0, 0}, {"Key", "x", 0, 0}, {"KeyAA", "x", 0, 0},
      {"Keya", "x", 0, 0}, {"Digit10", "x", 0, 0}, {"F0", "x", 0, 0}, {"F13", "x", 0, 0},
      {"F1x", "x", 0, 0}, {nullptr, "x", 0, 0},
  };
  std::set<std::string> known;
  std::set<int> numbers;  // each known key has its own physical number, 1 for KeyA
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code ? c.code : "(none)");
    EXPECT_EQ(WebVirtualKey(c.code, c.key), c.virtual_key);
    EXPECT_EQ(WebInputKey(c.code), c.input_key);
    const int number = WebPhysicalKey(c.code);
    EXPECT_EQ(number > 0 && number < WEB_PHYSICAL_KEY_LIMIT, c.virtual_key != 0) << number;
    if (c.virtual_key != 0) known.insert(c.code);
    if (c.virtual_key != 0) numbers.insert(number);
  }
  EXPECT_EQ(numbers.size(), known.size()) << "two keys share a number";
  EXPECT_EQ(WebPhysicalKey("KeyA"), 1);
}

}  // namespace
