#include "hosts/sdl/dik_map.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <set>

#include "dinput.h"

namespace {

// Keys by their published codes: rows of letters, digits 1..9 then 0, F11 and F12 apart.
TEST(DikMap, KeysHaveTheirPublishedCodesAndOthersNone) {
  const std::pair<SDL_Scancode, int> keys[] = {
      {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_DOWN, 0xD0},   {SDL_SCANCODE_A, 0x1E},
      {SDL_SCANCODE_Z, 0x2C},      {SDL_SCANCODE_1, 0x02},      {SDL_SCANCODE_0, 0x0B},
      {SDL_SCANCODE_F1, 0x3B},     {SDL_SCANCODE_F10, 0x44},    {SDL_SCANCODE_F11, 0x57},
      {SDL_SCANCODE_NONUSHASH, DIK_BACKSLASH},  // the ISO hash key shares the backslash code
      {SDL_SCANCODE_UNKNOWN, 0},   {SDL_SCANCODE_AUDIOPLAY, 0},
  };
  for (const auto& [scancode, dik] : keys) EXPECT_EQ(DikFromScancode(scancode), dik) << scancode;
  // 104 keys of a standard keyboard plus the ISO key next to left Shift, one code shared.
  std::set<int> codes;
  int mapped = 0;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int dik = DikFromScancode(scancode);
    mapped += dik != 0;
    if (dik != 0) codes.insert(dik);
  }
  EXPECT_EQ(mapped, 106);
  EXPECT_EQ(codes.size(), 105u);
}

TEST(DikMap, MouseButtonsAndTheDpadAsDirectInputNumbersThem) {
  const std::pair<int, int> buttons[] = {
      {SDL_BUTTON_LEFT, 0}, {SDL_BUTTON_RIGHT, 1}, {SDL_BUTTON_MIDDLE, 2}, {SDL_BUTTON_X1, 3}, {SDL_BUTTON_X2, -1}};
  for (const auto& [button, number] : buttons) EXPECT_EQ(MouseButtonFromSdl(button), number) << button;
  struct Pad {
    bool up, down, left, right;
    int angle;
  };
  const Pad pads[] = {{false, false, false, false, -1}, {true, true, true, true, -1},
                      {true, false, false, false, 0},   {true, false, false, true, 4500},
                      {false, false, false, true, 9000}, {false, true, false, true, 13500},
                      {false, true, false, false, 18000}, {false, true, true, false, 22500},
                      {false, false, true, false, 27000}, {true, false, true, false, 31500},
                      {true, true, false, true, 9000}};
  for (const Pad& pad : pads)
    EXPECT_EQ(PadAngle(pad.up, pad.down, pad.left, pad.right), pad.angle)
        << pad.up << pad.down << pad.left << pad.right;
}

}  // namespace
