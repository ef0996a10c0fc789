// What the X desktop around the game's window does that SDL does not tell: the screen's size
// changing, another program taking the keyboard (a screen locker, a remote-desktop client), and
// whether the window manager, if any, shows a window full screen when asked.
#pragma once

struct SDL_Window;
struct SDL_SysWMmsg;

// A change of the desktop that one system event reports.
enum class DesktopChange {
  NONE,            // nothing the game cares about
  SCREEN_RESIZED,  // the screen has a new size
  KEYBOARD_TAKEN,  // another program grabbed the keyboard: no key-ups will reach us
  KEYBOARD_BACK,   // that grab ended
};

// True when a window manager runs that shows windows full screen on request, or the display
// is not X; false on a bare X server or under a manager without full screen.
bool WindowManagerDoesFullScreen();
// Makes SDL pass the X events of `window` and of the screen's root on as system events.
void WatchDesktop(SDL_Window* window);
// What one system event says; for SCREEN_RESIZED the screen's new size in *width, *height.
DesktopChange ReadDesktopEvent(const SDL_SysWMmsg& message, int* width, int* height);
// The X screen's size as it is now (SDL's display bounds miss size changes); false if not X.
bool DesktopScreenSize(SDL_Window* window, int* width, int* height);
