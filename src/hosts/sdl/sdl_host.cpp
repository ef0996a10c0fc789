#include "hosts/sdl/sdl_host.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "hosts/sdl/dik_map.h"
#include "hosts/common/frame_convert.h"
#include "hosts/sdl/game_pause.h"
#include "hosts/sdl/instance_lock.h"
#include "hosts/common/key_tracker.h"
#include "hosts/sdl/window_pixels.h"
#include "hosts/sdl/x11_desktop.h"
#include "win32.h"

namespace {

// Virtual-key code of F1; F1 to F12 follow it in order.
constexpr int VK_FIRST_FUNCTION_KEY = 0x70;
// Opaque black, what the screen shows before the first palette arrives.
constexpr uint32_t ARGB_BLACK = 0xFF000000u;

static_assert(SDL_NUM_SCANCODES <= PHYSICAL_KEY_COUNT, "key tracker must cover every scancode");

// Everything the SDL host holds between SdlHostStart and SdlHostStop.
struct SdlHostState {
  bool started;                  // SDL is initialised
  SDL_Window* window;            // the game's window, or null
  SDL_Renderer* renderer;        // draws the frame texture into the window
  SDL_Texture* texture;          // ARGB copy of the last frame, frame-sized
  int texture_width;             // size of `texture` in pixels
  int texture_height;
  PaletteLookup palette;         // the last frame palette as ARGB
  ShownFrame shown;              // the frame on the screen, to skip showing it again unchanged
  bool clock_read;               // the clock has been read at least once
  uint32_t last_clock_ms;        // what it read last
  KeyTracker keys;               // physical keys down, for one report per change
  bool release_keys_pending;     // the window went away with keys held: release them next pump
  bool pumped;                   // events have been read at least once
  uint32_t last_pump_ms;         // when events were last read
  SDL_GameController* controller;  // the first game controller, or null
  SDL_AudioDeviceID audio_device;  // the open audio output, 0 while none
  int audio_rate;                  // its frames per second
  HostAudioSource audio_source;    // where its callback takes the mixed samples from
  bool no_sound_reported;          // why the game is silent has been said
  GamePause pause;                 // the game's time stands still while the window is away
  bool cover_by_hand;              // no manager shows full screen: the host covers the screen
};

SdlHostState state;

// ---- Keys -----------------------------------------------------------------------------------

// Virtual key for a key by what it types in the current layout; 0 if the game has no use for it.
int VirtualKeyFromKeycode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_FIRST_FUNCTION_KEY + (key - SDLK_F1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    default: return 0;
  }
}

// Virtual key for letter and digit keys by position, for layouts whose letters are not Latin
// (the real platform still gives 'A'..'Z' and '0'..'9' for those keys).
int VirtualKeyFromScancode(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  return 0;
}

int VirtualKeyOf(const SDL_Keysym& keysym) {
  int virtual_key = VirtualKeyFromKeycode(keysym.sym);
  return virtual_key != 0 ? virtual_key : VirtualKeyFromScancode(keysym.scancode);
}

// Releases every DirectInput key: key-ups no longer reach us once the window lost the keyboard.
void ReleaseAllInputKeys() {
  for (int code = 1; code < 256; ++code) HostSetInputKey(code, false);
}

// ---- Mouse and game controller --------------------------------------------------------------

// One wheel notch, in the platform's unit.
constexpr int WHEEL_DELTA = 120;

// Hat direction of the controller's d-pad, in hundredths of a degree; -1 when centred.
int32_t PadDirection(SDL_GameController* pad) {
  return PadAngle(SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP),
                  SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN),
                  SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                  SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
}

// Reports the controller's whole state (or its absence) to the platform.
void ReportController() {
  HostJoystick joystick{};
  joystick.pov = -1;
  SDL_GameController* pad = state.controller;
  if (pad != nullptr) {
    joystick.attached = true;
    const char* name = SDL_GameControllerName(pad);
    SDL_strlcpy(joystick.name, name ? name : "Game controller", sizeof joystick.name);
    const SDL_GameControllerAxis axes[6] = {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY,
                                            SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_RIGHTX,
                                            SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};
    for (int i = 0; i < 6; ++i) joystick.axes[i] = SDL_GameControllerGetAxis(pad, axes[i]);
    joystick.pov = PadDirection(pad);
    for (int i = 0; i < SDL_CONTROLLER_BUTTON_DPAD_UP && i < 32; ++i)
      joystick.buttons[i] = SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(i));
  }
  HostSetJoystick(joystick);
}

// Opens the first game controller when none is open yet.
void OpenFirstController() {
  if (state.controller != nullptr) return;
  for (int i = 0; i < SDL_NumJoysticks() && state.controller == nullptr; ++i)
    if (SDL_IsGameController(i)) state.controller = SDL_GameControllerOpen(i);
  ReportController();
}

void CloseController() {
  if (state.controller != nullptr) SDL_GameControllerClose(state.controller);
  state.controller = nullptr;
}

// Handles mouse and controller events; false for events of other kinds.
bool HandleDeviceEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      HostMoveMouse(event.motion.xrel, event.motion.yrel, 0);
      return true;
    case SDL_MOUSEWHEEL:
      HostMoveMouse(0, 0, event.wheel.y * WHEEL_DELTA);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      HostSetMouseButton(MouseButtonFromSdl(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      return true;
    case SDL_CONTROLLERDEVICEADDED:
      OpenFirstController();
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (state.controller &&
          SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(state.controller)) == event.cdevice.which) {
        CloseController();
        OpenFirstController();
      }
      return true;
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      ReportController();
      return true;
    default:
      return false;
  }
}

// ---- Pause ----------------------------------------------------------------------------------

// Pauses or plays the sound as the game's pause says.
void FollowPauseWithSound() {
  if (state.audio_device != 0) SDL_PauseAudioDevice(state.audio_device, GamePaused(state.pause) ? 1 : 0);
}

// Sets or clears one reason for the pause; the sound follows.
void SetPause(PauseReason reason, bool active) {
  if (SetPauseReason(state.pause, reason, active, SDL_GetTicks())) FollowPauseWithSound();
}

// Passes the user's close on, once per pump. A game closing must not stand still, whatever the
// window does next.
void ReportClose(bool* close_reported) {
  if (*close_reported) return;
  HostRequestClose();
  *close_reported = true;
  if (DisablePause(state.pause, SDL_GetTicks())) FollowPauseWithSound();
}

// Key-ups go to whichever window or program has the keyboard now; release ours so none sticks.
void ReleaseHeldKeys() {
  ReleaseAllKeys(state.keys, HostSetKey);
  ReleaseAllInputKeys();
}

// ---- Desktop --------------------------------------------------------------------------------

bool DisplayLost();
void Repaint();

// Places the window over the whole screen, `width` x `height` at its origin.
void CoverScreen(int width, int height) {
  SDL_SetWindowBordered(state.window, SDL_FALSE);
  SDL_SetWindowPosition(state.window, 0, 0);
  SDL_SetWindowSize(state.window, width, height);
}

// Follows a change of the screen's size: a manager that shows full screen resizes the window
// itself; otherwise the host does.
void FollowScreenSize(int width, int height) {
  if (state.window && state.cover_by_hand && width > 0 && height > 0) CoverScreen(width, height);
  Repaint();
}

// Follows SDL's display events (a monitor added, removed or turned) with the screen's size.
void HandleDisplayEvent() {
  int width = 0;
  int height = 0;
  if (DesktopScreenSize(state.window, &width, &height)) FollowScreenSize(width, height);
}

// Handles an X event SDL passes on: screen size changes and keyboard grabs.
void HandleSystemEvent(const SDL_SysWMmsg* message) {
  int width = 0;
  int height = 0;
  switch (message ? ReadDesktopEvent(*message, &width, &height) : DesktopChange::NONE) {
    case DesktopChange::SCREEN_RESIZED: FollowScreenSize(width, height); break;
    case DesktopChange::KEYBOARD_TAKEN:
      ReleaseHeldKeys();
      SetPause(PAUSE_GRABBED, true);
      break;
    case DesktopChange::KEYBOARD_BACK: SetPause(PAUSE_GRABBED, false); break;
    case DesktopChange::NONE: break;
  }
}

// Brings the window to the front and gives it the keyboard, as a second start asks.
void BringToFront() {
  if (!state.window) return;
  SDL_RestoreWindow(state.window);
  SDL_RaiseWindow(state.window);
  SDL_SetWindowInputFocus(state.window);
}

// ---- Events ---------------------------------------------------------------------------------

// Handles one window event; sets *close_reported once the close has been passed on. Events of a
// window already closed are dropped: its late focus loss would pause the clock for good.
void HandleWindowEvent(const SDL_WindowEvent& event, bool* close_reported) {
  if (!state.window || event.windowID != SDL_GetWindowID(state.window)) return;
  if (event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    Repaint();  // a window uncovered or resized shows its frame again, changed or not
  } else if (event.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    ReleaseHeldKeys();
    SetPause(PAUSE_UNFOCUSED, true);
  } else if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
    SetPause(PAUSE_UNFOCUSED, false);
    SetPause(PAUSE_GRABBED, false);  // the keyboard is ours again, whatever became of the grab
  } else if (event.event == SDL_WINDOWEVENT_SHOWN && state.cover_by_hand) {
    SDL_SetWindowInputFocus(state.window);  // no manager hands the keyboard back to a window shown again
  } else if (event.event == SDL_WINDOWEVENT_CLOSE) {
    ReportClose(close_reported);
  }
  SetPause(PAUSE_HIDDEN, state.window && DisplayLost());  // minimised, hidden, shown, restored
}

// Handles one SDL event. Closing the last window sends both a window close and a quit event;
// they make one close request.
void HandleEvent(const SDL_Event& event, bool* close_reported) {
  switch (event.type) {
    case SDL_KEYDOWN:
      TrackKeyDown(state.keys, event.key.keysym.scancode, VirtualKeyOf(event.key.keysym), HostSetKey);
      HostSetInputKey(DikFromScancode(event.key.keysym.scancode), true);
      break;
    case SDL_KEYUP:
      TrackKeyUp(state.keys, event.key.keysym.scancode, HostSetKey);
      HostSetInputKey(DikFromScancode(event.key.keysym.scancode), false);
      break;
    case SDL_WINDOWEVENT:
      HandleWindowEvent(event.window, close_reported);
      break;
    case SDL_QUIT:
      ReportClose(close_reported);
      break;
    case SDL_SYSWMEVENT:
      HandleSystemEvent(event.syswm.msg);
      break;
    case SDL_DISPLAYEVENT:
      HandleDisplayEvent();
      break;
    default:
      HandleDeviceEvent(event);
      break;
  }
}

// True when events were already read during this millisecond. The platform pumps on every
// call, thousands of times inside one busy-wait frame; SDL keeps the events queued meanwhile.
bool PumpedThisMillisecond() {
  uint32_t now = SDL_GetTicks();
  if (state.pumped && now == state.last_pump_ms) return true;
  state.pumped = true;
  state.last_pump_ms = now;
  return false;
}

// How often a paused game looks for a request to come to the front, which is no SDL event.
constexpr int PAUSED_WAIT_MS = 100;

// While the game is paused its code waits here, neither running nor drawing, until the window
// is back or the user closes it; the clock it reads stands still meanwhile.
void WaitWhilePaused(bool* close_reported) {
  SDL_Event event;
  while (state.window && GamePaused(state.pause)) {
    if (SDL_WaitEventTimeout(&event, PAUSED_WAIT_MS)) HandleEvent(event, close_reported);
    if (TakeRaiseRequest()) BringToFront();
  }
}

void PumpEvents() {
  if (!state.started) return;
  if (state.release_keys_pending) {
    ReleaseAllKeys(state.keys, HostSetKey);
    state.release_keys_pending = false;
  }
  if (PumpedThisMillisecond()) return;
  SDL_PumpEvents();
  bool close_reported = false;
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
    HandleEvent(event, &close_reported);
  if (TakeRaiseRequest()) BringToFront();
  WaitWhilePaused(&close_reported);
}

// ---- Window and frames ----------------------------------------------------------------------

void DestroyTexture() {
  if (state.texture) SDL_DestroyTexture(state.texture);
  state.texture = nullptr;
  state.texture_width = 0;
  state.texture_height = 0;
  state.shown = ShownFrame{};  // the next frame goes to the screen whatever it holds
}

// A renderer for the window: accelerated with vsync where the machine has it, else software.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return renderer;
}

void CloseWindow() {
  DestroyTexture();
  CloseWindowPixels();
  if (state.renderer) SDL_DestroyRenderer(state.renderer);
  if (state.window) SDL_DestroyWindow(state.window);
  state.renderer = nullptr;
  state.window = nullptr;
  // No window: nothing to wait for.
  for (PauseReason reason : {PAUSE_HIDDEN, PAUSE_UNFOCUSED, PAUSE_GRABBED}) SetPause(reason, false);
  // No key-up can arrive for a window that is gone; release held keys at the next pump rather
  // than calling back into the platform while it is closing the window.
  state.release_keys_pending = true;
}

// Where the renderer rasterises on the processor anyway, frames go straight into the window's
// pixels instead, scaled by the host: the renderer is kept only if the window has no such pixels.
void PreferWindowPixels() {
  if (!RendersInSoftware(state.renderer)) return;
  SDL_DestroyRenderer(state.renderer);
  state.renderer = nullptr;
  if (!OpenWindowPixels(state.window)) state.renderer = CreateRenderer(state.window);
}

bool OpenWindow(const char* title, int x, int y, int width, int height) {
  if (!state.started) return false;
  CloseWindow();
  // A window the manager leaves alone: it would give it a title bar and push its foot off
  // the screen rather than show it full screen.
  state.cover_by_hand = !WindowManagerDoesFullScreen();
  SDL_SetHint(SDL_HINT_X11_FORCE_OVERRIDE_REDIRECT, state.cover_by_hand ? "1" : "0");
  state.window = SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_SHOWN);
  if (!state.window) return false;
  state.renderer = CreateRenderer(state.window);
  PreferWindowPixels();
  if (!state.renderer && !WindowPixelsOpen()) {
    CloseWindow();
    return false;
  }
  WatchDesktop(state.window);
  if (state.cover_by_hand) SDL_SetWindowInputFocus(state.window);  // no manager gives it the keyboard
  return true;
}

// Makes the frame texture width x height; false if it cannot be made.
bool EnsureTexture(int width, int height) {
  if (state.texture && state.texture_width == width && state.texture_height == height) return true;
  DestroyTexture();
  state.texture = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, width, height);
  if (!state.texture) return false;
  SDL_SetTextureScaleMode(state.texture, SDL_ScaleModeNearest);  // crisp pixels when enlarged
  SDL_SetTextureBlendMode(state.texture, SDL_BLENDMODE_NONE);
  state.texture_width = width;
  state.texture_height = height;
  return true;
}

// Moves and sizes the window over the whole monitor it is on. Full screen alone is only a
// request to the window manager; without one (a bare X session) it would leave the window at
// its old size while SDL draws as if it covered the monitor.
void CoverMonitor() {
  int width = 0;
  int height = 0;
  if (state.cover_by_hand && DesktopScreenSize(state.window, &width, &height)) {
    CoverScreen(width, height);
    return;
  }
  SDL_Rect bounds;
  int monitor = SDL_GetWindowDisplayIndex(state.window);
  if (monitor < 0 || SDL_GetDisplayBounds(monitor, &bounds) != 0) return;
  SDL_SetWindowBordered(state.window, SDL_FALSE);
  SDL_SetWindowPosition(state.window, bounds.x, bounds.y);
  SDL_SetWindowSize(state.window, bounds.w, bounds.h);
}

// Uses the whole monitor the window is on, at the desktop's own resolution: frames are
// scaled up, the video mode never changes.
void SetDisplayMode(int width, int height, int /*bits_per_pixel: frames are converted*/) {
  if (!state.window) return;
  CoverMonitor();
  if (!state.cover_by_hand) SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  EnsureTexture(width, height);
}

bool FrameIsUsable(const HostFrame& frame) {
  return frame.pixels && frame.width > 0 && frame.height > 0 && FrameDepthSupported(frame.bits_per_pixel);
}

// Copies the frame into the texture as ARGB; false if the texture is not available.
bool UploadFrame(const HostFrame& frame) {
  if (!EnsureTexture(frame.width, frame.height)) return false;
  if (frame.bits_per_pixel == 8 && frame.palette) UpdatePaletteLookup(state.palette, frame.palette);
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(state.texture, nullptr, &pixels, &pitch) != 0) return false;
  ConvertFrame(frame, state.palette.argb, static_cast<uint8_t*>(pixels), pitch);
  SDL_UnlockTexture(state.texture);
  return true;
}

// Draws the frame, letterboxed, and shows it (through the window's pixels or the renderer's
// texture); black alone while there is no frame.
void Repaint() {
  if (WindowPixelsOpen()) ShowInWindowPixels(state.shown, state.palette);
  if (!state.renderer) return;
  SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
  SDL_RenderClear(state.renderer);  // the black bars
  if (state.texture && state.shown.width > 0) {
    int output_width = 0;
    int output_height = 0;
    SDL_GetRendererOutputSize(state.renderer, &output_width, &output_height);
    ScreenRect box = FitLetterbox(output_width, output_height, state.texture_width, state.texture_height);
    SDL_Rect target{box.x, box.y, box.width, box.height};
    SDL_RenderCopy(state.renderer, state.texture, nullptr, &target);
  }
  SDL_RenderPresent(state.renderer);
}

// Shows a frame, unless it is the one on the screen already: a paced screen whose picture does
// not move then costs no conversion and no drawing.
void Present(const HostFrame& frame) {
  if (WindowPixelsOpen() && FrameIsUsable(frame) && UpdateShownFrame(state.shown, frame))
    ShowChangesInWindowPixels(state.shown, state.palette);
  if (!state.renderer || !FrameIsUsable(frame)) return;
  if (!EnsureTexture(frame.width, frame.height)) return;
  if (!UpdateShownFrame(state.shown, frame)) return;
  if (!UploadFrame(frame)) state.shown = ShownFrame{};
  Repaint();
}

// ---- Time, display state, cursor ------------------------------------------------------------

// How long a clock read again within the same millisecond gives the processor away.
constexpr long CLOCK_POLL_PAUSE_NS = 200000;

// Sleeps a fraction of a millisecond where the system can (Windows sleeps whole milliseconds).
void PauseBriefly() {
#ifdef _WIN32
  SDL_Delay(1);
#else
  const timespec pause{0, CLOCK_POLL_PAUSE_NS};
  nanosleep(&pause, nullptr);
#endif
}

// The tick count. A second reading within the same millisecond is a wait polling the clock
// (the frame clock spends its last millisecond so): it sleeps a fraction of a millisecond
// first, so that no wait keeps the processor busy.
uint32_t Milliseconds() {
  uint32_t now = SDL_GetTicks();
  if (state.clock_read && now == state.last_clock_ms) {
    PauseBriefly();
    now = SDL_GetTicks();
  }
  state.clock_read = true;
  state.last_clock_ms = now;
  return GameTime(state.pause, now);
}

void Delay(uint32_t ms) { SDL_Delay(ms); }

// The renderer is asked for vsync, so presenting already waits for the vertical blank; where
// the machine cannot give vsync there is no blank to wait for. Either way: return at once.
void WaitVerticalBlank() {}

bool DisplayLost() {
  if (!state.window) return true;
  return (SDL_GetWindowFlags(state.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

void ShowMouseCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

// The real machine reads files itself; nothing to record.
void FileOpened(const char* /*path*/, bool /*ok*/) {}

// ---- Audio ----------------------------------------------------------------------------------

// Output rate asked of the device, and frames per callback: a short power of two, so sounds
// start about 12 ms after they are played.
constexpr int AUDIO_RATE = 44100;
constexpr int AUDIO_FRAMES = 512;

// SDL's audio thread: fills the device's buffer from the mixer.
void SDLCALL FillAudio(void*, Uint8* stream, int bytes) {
  state.audio_source(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

// True when SDL's audio driver plays nothing (the dummy driver), so the game should run silent.
bool SilentDriver() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver == nullptr || SDL_strcmp(driver, "dummy") == 0;
}

bool EnvironmentHas(const char* name);

// The audio drivers SDL tries: the one SDL_AUDIODRIVER names, else those it picks from on its own.
std::string AudioDriversTried() {
  if (EnvironmentHas("SDL_AUDIODRIVER")) return std::getenv("SDL_AUDIODRIVER");
  std::string names;
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
    const char* name = SDL_GetAudioDriver(i);
    if (SDL_strcmp(name, "disk") == 0 || SDL_strcmp(name, "dummy") == 0) continue;  // only on request
    names += (names.empty() ? "" : ", ") + std::string(name);
  }
  return names;
}

// Says once on standard error why the game plays silent: the driver tried and SDL's reason.
void ReportNoSound(const std::string& drivers, const char* what_failed) {
  if (state.no_sound_reported) return;
  state.no_sound_reported = true;
  std::fprintf(stderr, "vork: playing without sound: audio driver %s %s (%s)\n", drivers.c_str(), what_failed,
               SDL_GetError());
}

// Opens the default audio device for signed 16-bit stereo; SDL converts to the device's own
// format. SDL_AUDIODRIVER picks the driver (disk writes the stream to a file).
int OpenAudio(HostAudioSource source) {
  if (!state.started || source == nullptr) return 0;
  if (state.audio_device != 0) return state.audio_rate;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    ReportNoSound(AudioDriversTried(), "could not start");
    return 0;
  }
  if (SilentDriver()) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = AUDIO_RATE;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = AUDIO_FRAMES;
  wanted.callback = FillAudio;
  state.audio_source = source;
  state.audio_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (state.audio_device == 0) {
    ReportNoSound(SDL_GetCurrentAudioDriver(), "has no device to play on");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  state.audio_rate = AUDIO_RATE;
  FollowPauseWithSound();
  return state.audio_rate;
}

void CloseAudio() {
  if (state.audio_device == 0) return;
  SDL_CloseAudioDevice(state.audio_device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  state.audio_device = 0;
}

// ---- Start-up -------------------------------------------------------------------------------

bool EnvironmentHas(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Why no display could be opened, in words a user can act on.
std::string DescribeNoDisplay(const std::string& sdl_error) {
  if (!EnvironmentHas("DISPLAY") && !EnvironmentHas("WAYLAND_DISPLAY"))
    return "no display found (is DISPLAY or WAYLAND_DISPLAY set?)";
  std::string reason = "no display reachable";
  if (EnvironmentHas("DISPLAY")) reason += std::string(" at DISPLAY=") + std::getenv("DISPLAY");
  if (EnvironmentHas("WAYLAND_DISPLAY"))
    reason += std::string(" at WAYLAND_DISPLAY=") + std::getenv("WAYLAND_DISPLAY");
  return reason + " (" + sdl_error + ")";
}

// Starts SDL video on the given driver; on failure adds SDL's reason to *errors.
bool TryVideoDriver(const char* driver, std::string* errors) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  if (!errors->empty()) *errors += "; ";
  *errors += std::string(driver) + ": " + SDL_GetError();
  return false;
}

// Starts SDL video on a real display. Left to itself SDL would fall back to its off-screen
// driver and run the game in no visible window, so only the drivers for the display the
// environment names are tried (the console's when it names none); SDL_VIDEODRIVER, when set,
// still chooses.
bool InitVideo(std::string* errors) {
  if (EnvironmentHas("SDL_VIDEODRIVER")) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    *errors = SDL_GetError();
    return false;
  }
  bool has_x = EnvironmentHas("DISPLAY");
  bool has_wayland = EnvironmentHas("WAYLAND_DISPLAY");
  if (has_x && TryVideoDriver("x11", errors)) return true;
  if (has_wayland && TryVideoDriver("wayland", errors)) return true;
  if (!has_x && !has_wayland && TryVideoDriver("KMSDRM", errors)) return true;
  return false;
}

void ResetState() {
  state = SdlHostState{};
  for (uint32_t& colour : state.palette.argb) colour = ARGB_BLACK;
}

}  // namespace

const HostServices sdl_host = {
    OpenWindow,   CloseWindow,       SetDisplayMode, Present,         PumpEvents, Milliseconds,
    Delay,        WaitVerticalBlank, DisplayLost,    ShowMouseCursor, FileOpened, OpenAudio,
};

bool SdlHostStart(std::string* error) {
  ResetState();
  std::string reason;
  if (SDL_Init(SDL_INIT_EVENTS) != 0) {
    if (error) *error = std::string("cannot start SDL (") + SDL_GetError() + ")";
    return false;
  }
  if (!InitVideo(&reason) || SDL_GetNumVideoDisplays() < 1) {
    if (error) *error = DescribeNoDisplay(reason.empty() ? "no video display attached" : reason);
    SDL_Quit();
    return false;
  }
  state.started = true;
  // A game controller is optional: without the subsystem there is simply none.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) OpenFirstController();
  return true;
}

void SdlHostStop() {
  if (!state.started) return;
  CloseAudio();
  CloseController();
  CloseWindow();
  SDL_Quit();
  ResetState();
}

std::string CommandLineOf(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}
