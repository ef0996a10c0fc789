// The SDL host on SDL's dummy video driver: window events and the game clock they pause.
#include "hosts/sdl/sdl_host.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The id of the one open SDL window, 0 when none.
Uint32 OpenWindowId() {
  for (Uint32 id = 1; id < 1000; ++id)
    if (SDL_GetWindowFromID(id) != nullptr) return id;
  return 0;
}

void PushFocusLoss(Uint32 window_id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = window_id;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  sdl_host.pump_events();
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
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string error;
  ASSERT_TRUE(SdlHostStart(&error)) << error;
  ASSERT_TRUE(sdl_host.open_window("test", 0, 0, 64, 48));
  const Uint32 window_id = OpenWindowId();
  ASSERT_NE(window_id, 0u);
  sdl_host.close_window();
  PushFocusLoss(window_id);
  EXPECT_TRUE(ClockRuns());
  SdlHostStop();
}

}  // namespace
