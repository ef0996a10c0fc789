#include "hosts/web/web_host.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hosts/common/frame_convert.h"
#include "hosts/common/key_tracker.h"
#include "hosts/web/web_keys.h"

namespace {

// The page gets its turn at least this often (wall milliseconds) while the game runs ...
constexpr double YIELD_INTERVAL_MS = 8.0;
// ... and after at most this many clock reads and event pumps in between.
constexpr int YIELD_CALL_LIMIT = 4000;
// A clock poll this soon after a sleep ends is the last millisecond of a paced wait (the game
// sleeps through all of a frame's wait but that): it yields by a posted message, back within a
// fraction of a millisecond, rather than by a timer, which the browser delays by 4 ms or more
// once timers nest, as they always do here (that alone made 30 ms frames take 42).
constexpr double QUICK_POLL_WINDOW_MS = 2.0;
// Key events queued by the browser's callbacks until the next pump.
constexpr int EVENT_QUEUE_SIZE = 256;

// What a browser callback saw, for the next pump to pass on.
enum class WebEventKind : uint8_t { KeyDown, KeyUp, ReleaseAll };

struct WebEvent {
  WebEventKind kind;
  uint8_t physical;     // WebPhysicalKey of the key
  uint8_t virtual_key;  // WebVirtualKey of the key (key-downs)
  uint8_t input_key;    // WebInputKey of the key
};

static_assert(WEB_PHYSICAL_KEY_LIMIT <= PHYSICAL_KEY_COUNT, "key tracker must cover every web key");

// Everything the web host holds between WebHostStart and WebHostStop.
struct WebHostState {
  WebEvent events[EVENT_QUEUE_SIZE];  // ring of events from callbacks
  int event_head;                     // next event to pass on
  int event_count;                    // events queued
  KeyTracker keys;                    // physical keys down, for one report per change
  PaletteLookup palette;              // the last frame palette, as red, green, blue, alpha bytes
  std::vector<uint32_t> rgba;         // the frame as the canvas takes it
  ShownFrame shown;                   // the frame on the canvas, to convert and put only what changed
  double last_yield_ms;               // wall time of the last turn given to the browser
  double slept_until_ms;              // wall time the last sleep ended
  int calls_since_yield;              // clock reads and pumps since then
  bool clock_read;                    // the clock has been read at least once
  uint32_t last_clock_ms;             // what it read last
  HostAudioSource audio_source;       // where the audio output takes its samples, or null
  int audio_rate;                     // the audio output's frames per second; 0 while none
  double audio_played_until_ms;       // wall time up to which the mixer has been pulled
  void (*pump_hook)();                // called at every pump (a test build's player), or null
  int frames_presented;               // frames put on the canvas
};

WebHostState state;

// ---- Giving the browser its turn ------------------------------------------------------------

// Starts counting time and calls towards the next turn anew.
void NoteYield() {
  state.last_yield_ms = emscripten_get_now();
  state.calls_since_yield = 0;
}

// Lets the browser run its queued work (key events, painting, audio) and comes back.
void YieldToBrowser() {
  emscripten_sleep(0);
  NoteYield();
}

// The same through a posted message: the browser's turn without a timer's delay.
EM_ASYNC_JS(void, JsYieldByMessage, (), {
  await new Promise(function(resolve) {
    var channel = Module.vorkYieldChannel || (Module.vorkYieldChannel = new MessageChannel());
    channel.port1.onmessage = function() { resolve(); };
    channel.port2.postMessage(0);
  });
});

// A poll yields quickly just after a sleep (see QUICK_POLL_WINDOW_MS), else by a timer, so that
// a long busy wait on the clock still leaves the processor idle most of the time.
void YieldForPoll() {
  if (emscripten_get_now() - state.slept_until_ms >= QUICK_POLL_WINDOW_MS) return YieldToBrowser();
  JsYieldByMessage();
  NoteYield();
}

// Yields when the browser has waited long enough; true when it did.
bool YieldIfDue() {
  ++state.calls_since_yield;
  if (state.calls_since_yield < YIELD_CALL_LIMIT &&
      emscripten_get_now() - state.last_yield_ms < YIELD_INTERVAL_MS)
    return false;
  YieldToBrowser();
  return true;
}

// ---- Keys -----------------------------------------------------------------------------------

void QueueEvent(WebEventKind kind, int physical, int virtual_key, int input_key) {
  if (state.event_count == EVENT_QUEUE_SIZE) return;  // the game is not reading: drop it
  int slot = (state.event_head + state.event_count) % EVENT_QUEUE_SIZE;
  state.events[slot] = WebEvent{kind, static_cast<uint8_t>(physical), static_cast<uint8_t>(virtual_key),
                                static_cast<uint8_t>(input_key)};
  ++state.event_count;
}

// True when the key is for the browser rather than the game: with Ctrl, Alt or Meta held
// (closing or switching tabs), and the function keys (reload, full screen).
bool BrowserKey(const EmscriptenKeyboardEvent& event, int virtual_key) {
  constexpr int VK_F1_CODE = 0x70, VK_F12_CODE = 0x7B;
  return event.ctrlKey || event.altKey || event.metaKey ||
         (virtual_key >= VK_F1_CODE && virtual_key <= VK_F12_CODE);
}

// Browser callbacks only queue: the program is asleep in a yield while they run.
EM_BOOL OnKey(int event_type, const EmscriptenKeyboardEvent* event, void*) {
  int physical = WebPhysicalKey(event->code);
  if (physical == 0) return EM_FALSE;
  int virtual_key = WebVirtualKey(event->code, event->key);
  bool down = event_type == EMSCRIPTEN_EVENT_KEYDOWN;
  QueueEvent(down ? WebEventKind::KeyDown : WebEventKind::KeyUp, physical, virtual_key, WebInputKey(event->code));
  // The page must not scroll on arrows and Space; browser shortcuts keep working.
  return BrowserKey(*event, virtual_key) ? EM_FALSE : EM_TRUE;
}

// Key-ups go elsewhere once the page loses the keyboard: release every held key.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
  QueueEvent(WebEventKind::ReleaseAll, 0, 0, 0);
  return EM_FALSE;
}

// Releases every DirectInput key, as no key-up reaches a page without the keyboard.
void ReleaseAllInputKeys() {
  for (int code = 1; code < 256; ++code) HostSetInputKey(code, false);
}

void PassOnEvent(const WebEvent& event) {
  switch (event.kind) {
    case WebEventKind::KeyDown:
      TrackKeyDown(state.keys, event.physical, event.virtual_key, HostSetKey);
      if (event.input_key != 0) HostSetInputKey(event.input_key, true);
      break;
    case WebEventKind::KeyUp:
      TrackKeyUp(state.keys, event.physical, HostSetKey);
      if (event.input_key != 0) HostSetInputKey(event.input_key, false);
      break;
    case WebEventKind::ReleaseAll:
      ReleaseAllKeys(state.keys, HostSetKey);
      ReleaseAllInputKeys();
      break;
  }
}

void PlayOutSilently();

void PumpEvents() {
  YieldIfDue();
  PlayOutSilently();
  while (state.event_count > 0) {
    WebEvent event = state.events[state.event_head];
    state.event_head = (state.event_head + 1) % EVENT_QUEUE_SIZE;
    --state.event_count;
    PassOnEvent(event);
  }
  if (state.pump_hook) state.pump_hook();
}

// ---- Canvas ---------------------------------------------------------------------------------

// Draws `rows` rows from `first` of width x height RGBA pixels into the page's canvas, which CSS
// scales to the window (all of them when the canvas changes size); counts the frame as shown.
EM_JS(void, JsPutFrame, (const uint32_t* rgba, int width, int height, int first, int rows), {
  var canvas = Module['canvas'];
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    first = 0;
    rows = height;
  }
  if (!Module.vorkCanvasContext) Module.vorkCanvasContext = canvas.getContext('2d', {alpha: false});
  if (rows > 0) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.vorkCanvasContext.putImageData(new ImageData(pixels, width, height), 0, 0, 0, first, width, rows);
  }
  Module.vorkFramesShown = (Module.vorkFramesShown || 0) + 1;
  if (Module.onVorkFrame) Module.onVorkFrame(canvas);  // a watcher (the browser check) sees each frame
});

EM_JS(void, JsSetTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, JsShowCursor, (int visible), { Module['canvas'].style.cursor = visible ? 'default' : 'none'; });

// Swaps red and blue in each pixel: ARGB words become the canvas's red, green, blue, alpha bytes.
void SwapRedBlue(uint32_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    uint32_t p = pixels[i];
    pixels[i] = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
  }
}

bool OpenWindow(const char* title, int, int, int, int) {
  JsSetTitle(title);
  return true;
}

void CloseWindow() {}

void SetDisplayMode(int width, int height, int) {
  state.rgba.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  state.shown = ShownFrame{};  // the next frame is put whole
  JsPutFrame(state.rgba.data(), width, height, 0, height);
}

// Converts `rows` rows of the frame from `first` to RGBA, into the same rows of state.rgba.
void ConvertRows(const HostFrame& frame, int first, int rows) {
  // An 8-bit frame goes through the palette, turned into canvas order once per palette.
  if (frame.bits_per_pixel == 8 && frame.palette && UpdatePaletteLookup(state.palette, frame.palette))
    SwapRedBlue(state.palette.argb, PALETTE_ENTRIES);
  const size_t count = static_cast<size_t>(frame.width) * frame.height;
  if (state.rgba.size() != count) state.rgba.resize(count);
  HostFrame part = frame;
  part.pixels = frame.pixels + static_cast<ptrdiff_t>(first) * frame.pitch;
  part.height = rows;
  uint32_t* out = state.rgba.data() + static_cast<size_t>(first) * frame.width;
  ConvertFrame(part, state.palette.argb, reinterpret_cast<uint8_t*>(out), frame.width * 4);
  if (frame.bits_per_pixel != 8) SwapRedBlue(out, static_cast<size_t>(rows) * frame.width);
}

// Puts the rows of the frame that changed on the canvas (none when it is the picture there
// already); the browser shows it at its next turn. Every frame counts as shown.
void Present(const HostFrame& frame) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0 || !FrameDepthSupported(frame.bits_per_pixel))
    return;
  int first = 0;
  int rows = 0;
  if (UpdateShownFrame(state.shown, frame)) {
    first = state.shown.changed_first;
    rows = state.shown.changed_count;
    ConvertRows(frame, first, rows);
  }
  JsPutFrame(state.rgba.data(), frame.width, frame.height, first, rows);
  ++state.frames_presented;
}

// ---- Time, display state, cursor, files -----------------------------------------------------

uint32_t WallMilliseconds() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

// The page's clock. A second reading within the same millisecond is a wait polling the clock:
// the browser gets its turn at once, so that no wait keeps the processor busy.
uint32_t Milliseconds() {
  uint32_t now = WallMilliseconds();
  bool polling = state.clock_read && now == state.last_clock_ms;
  if (polling) YieldForPoll();
  if (polling || YieldIfDue()) now = WallMilliseconds();
  state.clock_read = true;
  state.last_clock_ms = now;
  return now;
}

void Sleep(uint32_t ms) {
  emscripten_sleep(ms);
  NoteYield();
  state.slept_until_ms = state.last_yield_ms;
}

// The canvas is shown at the browser's own pace: nothing to wait for.
void WaitVerticalBlank() {}

// A canvas can always be drawn to, even in a hidden tab.
bool DisplayLost() { return false; }

void ShowCursor(bool visible) { JsShowCursor(visible ? 1 : 0); }

// Files come from the folder packed with the page; nothing to record.
void FileOpened(const char*, bool) {}

// ---- Audio ----------------------------------------------------------------------------------

// Frames the page's audio node asks for at a time (about 21 ms at 48000 a second), and the most
// one pull may ask for.
constexpr int AUDIO_CHUNK_FRAMES = 1024;
constexpr int AUDIO_MAX_FRAMES = 16384;

// Mixed samples handed to the page's audio node, stereo.
int16_t audio_samples[AUDIO_MAX_FRAMES * 2];

// Opens the page's audio output: a script node pulling from the mixer through an analyser (which
// lets a watcher see the sound) to the speakers. A browser keeps it suspended until the page gets
// a key press, click or touch; those resume it. Returns the output's frames per second, 0 if none.
EM_JS(int, JsOpenAudio, (int chunk_frames), {
  var AudioContextClass = window.AudioContext || window.webkitAudioContext;
  if (!AudioContextClass) return 0;
  var context;
  try {
    context = new AudioContextClass();
  } catch (error) {
    return 0;
  }
  var node = context.createScriptProcessor(chunk_frames, 0, 2);
  var analyser = context.createAnalyser();
  node.onaudioprocess = function(event) {
    var left = event.outputBuffer.getChannelData(0);
    var right = event.outputBuffer.getChannelData(1);
    var first = Module['_WebAudioPull'](left.length) >> 1;
    for (var i = 0; i < left.length; ++i) {
      left[i] = HEAP16[first + 2 * i] / 32768;
      right[i] = HEAP16[first + 2 * i + 1] / 32768;
    }
  };
  node.connect(analyser);
  analyser.connect(context.destination);
  var resume = function() { if (context.state === 'suspended') context.resume(); };
  ['keydown', 'mousedown', 'touchstart'].forEach(function(name) { window.addEventListener(name, resume, true); });
  Module.vorkAudio = {context: context, node: node, analyser: analyser};
  return context.sampleRate;
});

EM_JS(int, JsAudioRunning, (), { return Module.vorkAudio && Module.vorkAudio.context.state === 'running' ? 1 : 0; });

EM_JS(void, JsCloseAudio, (), {
  if (!Module.vorkAudio) return;
  Module.vorkAudio.node.disconnect();
  Module.vorkAudio.context.close();
});

int OpenAudio(HostAudioSource source) {
  if (source == nullptr) return 0;
  if (state.audio_rate > 0) return state.audio_rate;
  state.audio_rate = JsOpenAudio(AUDIO_CHUNK_FRAMES);
  state.audio_source = state.audio_rate > 0 ? source : nullptr;
  state.audio_played_until_ms = emscripten_get_now();
  return state.audio_rate;
}

// While the browser keeps the page silent, the mixer is still pulled by the clock, so that sounds
// end on time and the game's waits for them end too; what it mixes is dropped.
void PlayOutSilently() {
  if (!state.audio_source) return;
  const double now = emscripten_get_now();
  double frames = (now - state.audio_played_until_ms) * state.audio_rate / 1000.0;
  if (frames < AUDIO_CHUNK_FRAMES) return;
  state.audio_played_until_ms = now;
  if (JsAudioRunning()) return;  // the page's audio node pulls
  if (frames > state.audio_rate) frames = state.audio_rate;  // at most a second after a stall
  for (int left = static_cast<int>(frames); left > 0; left -= AUDIO_MAX_FRAMES)
    state.audio_source(audio_samples, left < AUDIO_MAX_FRAMES ? left : AUDIO_MAX_FRAMES);
}

}  // namespace

// Called by the page's audio node for each chunk: the next `frames` mixed stereo frames.
extern "C" EMSCRIPTEN_KEEPALIVE const int16_t* WebAudioPull(int frames) {
  if (frames > AUDIO_MAX_FRAMES) frames = AUDIO_MAX_FRAMES;
  if (state.audio_source && frames > 0)
    state.audio_source(audio_samples, frames);
  else
    std::memset(audio_samples, 0, sizeof audio_samples);
  return audio_samples;
}

namespace {

// Replaces the page with the closing words.
EM_JS(void, JsShowThanks, (), {
  document.body.innerHTML = '<main class="thanks"><h1>Thanks for playing</h1>' +
                            '<p>Reload the page to play again.</p></main>';
  Module.vorkEnded = true;
});

void ResetState() {
  state = WebHostState{};
  for (uint32_t& colour : state.palette.argb) colour = 0xFF000000u;  // black before any palette
  state.last_yield_ms = emscripten_get_now();
}

}  // namespace

const HostServices web_host = {
    OpenWindow,        CloseWindow, SetDisplayMode, Present,  PumpEvents, Milliseconds, Sleep,
    WaitVerticalBlank, DisplayLost, ShowCursor,     FileOpened, OpenAudio,
};

void WebHostStart() {
  ResetState();
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, OnBlur);
}

void WebHostStop() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, nullptr);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, nullptr);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, nullptr);
  JsCloseAudio();
  state.audio_source = nullptr;
  JsShowThanks();
}

void WebHostSetPumpHook(void (*hook)()) { state.pump_hook = hook; }

int WebHostFrameCount() { return state.frames_presented; }
