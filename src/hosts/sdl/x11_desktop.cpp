#include "hosts/sdl/x11_desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(VORK_HAS_X11)

namespace {

// True when SDL drives an X display.
bool OnX11() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && SDL_strcmp(driver, "x11") == 0;
}

// The X display and window behind an SDL window; false if it is not an X window.
bool X11WindowOf(SDL_Window* window, Display** display, Window* x_window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *x_window = info.info.x11.window;
  return true;
}

// The values of a 32-bit list property (windows, atoms) of `window`; false if it has none.
bool ReadListProperty(Display* display, Window window, const char* name, unsigned long** values,
                      unsigned long* count) {
  Atom type = None;
  int format = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  Atom property = XInternAtom(display, name, False);
  if (XGetWindowProperty(display, window, property, 0, 4096, False, AnyPropertyType, &type, &format,
                         count, &after, &data) != Success || !data || format != 32 || *count == 0) {
    if (data) XFree(data);
    return false;
  }
  *values = reinterpret_cast<unsigned long*>(data);
  return true;
}

// The window a running manager names as its own on both the root and itself; a manager that
// has gone leaves its root property behind, which this check sees through. None without one.
Window ManagerCheckWindow(Display* display, Window root) {
  unsigned long* values = nullptr;
  unsigned long count = 0;
  if (!ReadListProperty(display, root, "_NET_SUPPORTING_WM_CHECK", &values, &count)) return None;
  Window check = values[0];
  XFree(values);
  if (!ReadListProperty(display, check, "_NET_SUPPORTING_WM_CHECK", &values, &count)) return None;
  Window echoed = values[0];
  XFree(values);
  return echoed == check ? check : None;
}

// True when the root lists full screen among what the running manager supports.
bool ManagerSupportsFullScreen(Display* display, Window root) {
  unsigned long* atoms = nullptr;
  unsigned long count = 0;
  if (!ReadListProperty(display, root, "_NET_SUPPORTED", &atoms, &count)) return false;
  const Atom full_screen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  bool found = false;
  for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == full_screen;
  XFree(atoms);
  return found;
}

// A manager that failed to check in can make the checks raise X errors: ignore them.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool WindowManagerDoesFullScreen() {
  if (!OnX11()) return true;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return true;
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(IgnoreXError);
  Window root = DefaultRootWindow(display);
  bool does = ManagerCheckWindow(display, root) != None && ManagerSupportsFullScreen(display, root);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return does;
}

void WatchDesktop(SDL_Window* window) {
  Display* display = nullptr;
  Window x_window = None;
  if (!X11WindowOf(window, &display, &x_window)) return;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  // The root's own configure events tell of screen size changes; SDL's other root events stay.
  Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, root, &attributes))
    XSelectInput(display, root, attributes.your_event_mask | StructureNotifyMask);
}

DesktopChange ReadDesktopEvent(const SDL_SysWMmsg& message, int* width, int* height) {
  if (message.subsystem != SDL_SYSWM_X11) return DesktopChange::NONE;
  const XEvent& event = message.msg.x11.event;
  if (event.type == ConfigureNotify && event.xconfigure.window == DefaultRootWindow(event.xany.display)) {
    *width = event.xconfigure.width;
    *height = event.xconfigure.height;
    return DesktopChange::SCREEN_RESIZED;
  }
  if (event.type == FocusOut && event.xfocus.mode == NotifyGrab) return DesktopChange::KEYBOARD_TAKEN;
  if (event.type == FocusIn && event.xfocus.mode == NotifyUngrab) return DesktopChange::KEYBOARD_BACK;
  return DesktopChange::NONE;
}

bool DesktopScreenSize(SDL_Window* window, int* width, int* height) {
  Display* display = nullptr;
  Window x_window = None;
  if (!X11WindowOf(window, &display, &x_window)) return false;
  XWindowAttributes root;
  if (!XGetWindowAttributes(display, DefaultRootWindow(display), &root)) return false;
  *width = root.width;
  *height = root.height;
  return true;
}

#else  // SDL without X: nothing to watch, and SDL's own full screen serves.

bool WindowManagerDoesFullScreen() { return true; }
void WatchDesktop(SDL_Window*) {}
DesktopChange ReadDesktopEvent(const SDL_SysWMmsg&, int*, int*) { return DesktopChange::NONE; }
bool DesktopScreenSize(SDL_Window*, int*, int*) { return false; }

#endif
