#include "hosts/web/web_keys.h"

#include <cstring>

#include "dinput.h"
#include "win32.h"

namespace {

// A key by its KeyboardEvent.code, the virtual key it stands for and its DirectInput code.
struct CodeKey {
  const char* code;
  int virtual_key;
  int input_key;
};

// Keys other than letters, digits and function keys, which the host numbers from their codes.
constexpr CodeKey NAMED_KEYS[] = {
    {"Escape", VK_ESCAPE, DIK_ESCAPE},
    {"Enter", VK_RETURN, DIK_RETURN},
    {"NumpadEnter", VK_RETURN, DIK_NUMPADENTER},
    {"Space", VK_SPACE, DIK_SPACE},
    {"Tab", VK_TAB, DIK_TAB},
    {"Backspace", VK_BACK, DIK_BACK},
    {"ShiftLeft", VK_SHIFT, DIK_LSHIFT},
    {"ShiftRight", VK_SHIFT, DIK_RSHIFT},
    {"ControlLeft", VK_CONTROL, DIK_LCONTROL},
    {"ControlRight", VK_CONTROL, DIK_RCONTROL},
    {"AltLeft", VK_MENU, DIK_LMENU},
    {"AltRight", VK_MENU, DIK_RMENU},
    {"ArrowLeft", VK_LEFT, DIK_LEFT},
    {"ArrowRight", VK_RIGHT, DIK_RIGHT},
    {"ArrowUp", VK_UP, DIK_UP},
    {"ArrowDown", VK_DOWN, DIK_DOWN},
};

// Letters in alphabetical order as DirectInput numbers them (by keyboard rows).
constexpr int LETTER_INPUT_KEYS[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                       DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                       DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};

constexpr int NAMED_KEY_COUNT = sizeof NAMED_KEYS / sizeof NAMED_KEYS[0];
// Physical numbers: letters 1..26, digits 27..36, F1..F12 37..48, then the named keys.
constexpr int FIRST_LETTER = 1;
constexpr int FIRST_DIGIT = FIRST_LETTER + 26;
constexpr int FIRST_FUNCTION = FIRST_DIGIT + 10;
constexpr int FIRST_NAMED = FIRST_FUNCTION + 12;
static_assert(FIRST_NAMED + NAMED_KEY_COUNT <= WEB_PHYSICAL_KEY_LIMIT, "physical numbers must fit");

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The number after `prefix` in `code` ("F11" -> 11); -1 unless the rest is one or two digits.
int NumberAfter(const char* code, const char* prefix) {
  if (!StartsWith(code, prefix)) return -1;
  const char* digits = code + std::strlen(prefix);
  size_t length = std::strlen(digits);
  if (length < 1 || length > 2) return -1;
  int value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (digits[i] < '0' || digits[i] > '9') return -1;
    value = value * 10 + (digits[i] - '0');
  }
  return value;
}

// "KeyA".."KeyZ" -> 0..25; -1 otherwise.
int LetterOf(const char* code) {
  if (!StartsWith(code, "Key") || std::strlen(code) != 4) return -1;
  char letter = code[3];
  return letter >= 'A' && letter <= 'Z' ? letter - 'A' : -1;
}

// "Digit0".."Digit9" -> 0..9; -1 otherwise.
int DigitOf(const char* code) {
  int digit = NumberAfter(code, "Digit");
  return digit <= 9 ? digit : -1;
}

// "F1".."F12" -> 0..11; -1 otherwise.
int FunctionKeyOf(const char* code) {
  int number = NumberAfter(code, "F");
  return number >= 1 && number <= 12 ? number - 1 : -1;
}

int NamedKeyOf(const char* code) {
  for (int i = 0; i < NAMED_KEY_COUNT; ++i)
    if (std::strcmp(NAMED_KEYS[i].code, code) == 0) return i;
  return -1;
}

// The virtual key of a single typed Latin letter or digit ("c", "C", "7"); 0 for anything else.
int VirtualKeyOfTyped(const char* key) {
  if (key == nullptr || key[0] == '\0' || key[1] != '\0') return 0;
  char c = key[0];
  if (c >= 'a' && c <= 'z') return 'A' + (c - 'a');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

}  // namespace

int WebPhysicalKey(const char* code) {
  if (code == nullptr) return 0;
  int index;
  if ((index = LetterOf(code)) >= 0) return FIRST_LETTER + index;
  if ((index = DigitOf(code)) >= 0) return FIRST_DIGIT + index;
  if ((index = FunctionKeyOf(code)) >= 0) return FIRST_FUNCTION + index;
  if ((index = NamedKeyOf(code)) >= 0) return FIRST_NAMED + index;
  return 0;
}

int WebInputKey(const char* code) {
  if (code == nullptr) return 0;
  int index;
  if ((index = LetterOf(code)) >= 0) return LETTER_INPUT_KEYS[index];
  if ((index = DigitOf(code)) >= 0) return index == 0 ? DIK_0 : DIK_1 + (index - 1);  // 1..9, then 0
  if ((index = FunctionKeyOf(code)) >= 0) return index < 10 ? DIK_F1 + index : (index == 10 ? DIK_F11 : DIK_F12);
  if ((index = NamedKeyOf(code)) >= 0) return NAMED_KEYS[index].input_key;
  return 0;
}

int WebVirtualKey(const char* code, const char* key) {
  if (code == nullptr) return 0;
  int index;
  if ((index = LetterOf(code)) >= 0 || (index = DigitOf(code)) >= 0) {
    int typed = VirtualKeyOfTyped(key);
    if (typed != 0) return typed;
    return LetterOf(code) >= 0 ? 'A' + index : '0' + index;
  }
  if ((index = FunctionKeyOf(code)) >= 0) return VK_F1 + index;
  if ((index = NamedKeyOf(code)) >= 0) return NAMED_KEYS[index].virtual_key;
  return 0;
}
