// The SDL host on SDL's dummy video driver: keys, window events and the game clock they pause.
#include "hosts/sdl/sdl_host.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "soft/soft_windows.h"

namespace {

// The id of the one open SDL window, 0 when none.
Uint32 OpenWindowId() {
  for (Uint32 id = 1; id < 1000; ++id)
    if (SDL_GetWindowFromID(id) != nullptr) return id;
  return 0;
}

// The host reads events at most once a millisecond: waits for SDL's clock to move on, then pumps.
void PumpNow() {
  const Uint32 start = SDL_GetTicks();
  while (SDL_GetTicks() == start) {
  }
  sdl_host.pump_events();
}

void PushWindowEvent(Uint32 window_id, Uint8 what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = window_id;
  event.window.event = what;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushKey(Uint32 type, SDL_Scancode place, SDL_Keycode typed) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.scancode = place;
  event.key.keysym.sym = typed;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// The virtual keys the game sees held, in order.
std::vector<int> KeysDown() {
  std::vector<int> down;
  for (int key = 0; key < 256; ++key)
    if (SoftKeyDown(key)) down.push_back(key);
  return down;
}

// Starts the host on SDL's dummy drivers with one small window open; its id.
Uint32 StartWithAWindow() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string error;
  EXPECT_TRUE(SdlHostStart(&error)) << error;
  EXPECT_TRUE(sdl_host.open_window("test", 0, 0, 64, 48));
  return OpenWindowId();
}

// Whether the game clock moves on while SDL's own clock runs five milliseconds: it follows
// SDL's unless the game is paused.
bool ClockRuns() {
  const uint32_t first = sdl_host.milliseconds();
  const uint32_t real_start = SDL_GetTicks();
  while (SDL_GetTicks() - real_start < 5)
    if (sdl_host.milliseconds() != first) return true;
  return sdl_host.milliseconds() != first;
}

// A program that ends by closing its window waits on the clock before it takes its quit
// message; a focus loss SDL reports for the closed window must not stop the clock for good.
TEST(SdlHost, ClosedWindowsFocusLossLeavesTheClockRunning) {
  const Uint32 window_id = StartWithAWindow();
  ASSERT_NE(window_id, 0u);
  sdl_host.close_window();
  PushWindowEvent(window_id, SDL_WINDOWEVENT_FOCUS_LOST);
  PumpNow();
  EXPECT_TRUE(ClockRuns());
  SdlHostStop();
}

// Keys reach the game by what they type in the layout, letters of other alphabets by their
// place; a key goes up as the key it went down as. A focus loss lets go of every held key.
TEST(SdlHost, KeysByLayoutOrPlaceAndAFocusLossLetsGoOfThem) {
  const Uint32 window_id = StartWithAWindow();
  ASSERT_NE(window_id, 0u);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_a);  // a layout that types A on the Q key
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_W, 0x0446);  // a Cyrillic letter on the W key
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_1, SDLK_AMPERSAND);  // a layout whose 1 key types &
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F13, SDLK_F13);  // no use to the game
  PumpNow();
  EXPECT_EQ(KeysDown(), (std::vector<int>{VK_RETURN, '1', 'A', 'W'}));
  PushKey(SDL_KEYUP, SDL_SCANCODE_Q, SDLK_q);  // the layout changed while it was held
  PumpNow();
  EXPECT_EQ(KeysDown(), (std::vector<int>{VK_RETURN, '1', 'W'}));
  PushWindowEvent(window_id, SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(window_id, SDL_WINDOWEVENT_FOCUS_GAINED);  // else the pump waits for it
  PumpNow();
  EXPECT_EQ(KeysDown(), std::vector<int>{});
  EXPECT_TRUE(ClockRuns());
  SdlHostStop();
}

TEST(SdlHost, TheCommandLineIsTheArgumentsAfterTheProgramsName) {
  char* argv[] = {const_cast<char*>("vork"), const_cast<char*>("-w"), const_cast<char*>("2")};
  EXPECT_EQ(CommandLineOf(1, argv), "");
  EXPECT_EQ(CommandLineOf(3, argv), "-w 2");
}

}  // namespace
