// Windows, window classes, the one message queue, time and key state, in software over the host.
#include <cstring>

#include "data_file.h"
#include "soft/faults.h"
#include "soft/host.h"
#include "soft/soft_windows.h"
#include "soft/text.h"
#include "win32.h"

namespace {

constexpr int MAX_CLASSES = 16;
constexpr int MAX_WINDOWS = 8;
constexpr int QUEUE_SIZE = 512;
constexpr int NAME_SIZE = 64;

struct WindowClass {
  bool used;
  char name[NAME_SIZE];
  WNDCLASSA record;
};

struct SoftWindow {
  bool alive;
  bool needs_paint;  // WM_PAINT is due until BeginPaint or DefWindowProcA validates it
  WNDPROC procedure;
  RECT rect;
  DWORD style;
};

// The message queue: a ring of posted messages plus the quit flag, as one thread has.
struct MessageQueue {
  MSG ring[QUEUE_SIZE];
  int head;
  int count;
  bool quit_posted;
  int quit_code;
  bool close_requested;  // the user closed the host window: WM_CLOSE, ahead of everything queued
};

WindowClass window_classes[MAX_CLASSES];
SoftWindow windows[MAX_WINDOWS];
MessageQueue queue;
bool key_down[256];
int cursor_count;
HWND host_window;
void (*poll_observer)();

// Stand-in handles for the predefined icon, cursor, brush and paint context.
int predefined_icon, predefined_cursor, stock_objects[8], paint_context;

HWND HandleOf(SoftWindow* window) { return reinterpret_cast<HWND>(window); }

SoftWindow* WindowFrom(HWND handle) {
  for (SoftWindow& window : windows)
    if (HandleOf(&window) == handle && window.alive) return &window;
  return nullptr;
}

WindowClass* FindClass(const char* name) {
  for (WindowClass& window_class : window_classes)
    if (window_class.used && std::strncmp(window_class.name, name, NAME_SIZE) == 0) return &window_class;
  return nullptr;
}

bool Enqueue(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (queue.count == QUEUE_SIZE) return false;
  MSG& slot = queue.ring[(queue.head + queue.count) % QUEUE_SIZE];
  slot = MSG{window, message, wparam, lparam, 0, POINT{0, 0}};
  ++queue.count;
  return true;
}

bool MessageMatches(const MSG& msg, HWND window, UINT filter_min, UINT filter_max) {
  if (window != nullptr && msg.hwnd != window) return false;
  if (filter_min == 0 && filter_max == 0) return true;
  return msg.message >= filter_min && msg.message <= filter_max;
}

// Removes entry `index` (counted from the head) by closing the gap behind it.
void RemoveQueued(int index) {
  for (int i = index; i + 1 < queue.count; ++i)
    queue.ring[(queue.head + i) % QUEUE_SIZE] = queue.ring[(queue.head + i + 1) % QUEUE_SIZE];
  --queue.count;
}

bool TakeClose(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  if (!queue.close_requested || host_window == nullptr) return false;
  MSG close{host_window, WM_CLOSE, 0, 0, 0, POINT{0, 0}};
  if (!MessageMatches(close, window, filter_min, filter_max)) return false;
  *msg = close;
  if (remove & PM_REMOVE) queue.close_requested = false;
  return true;
}

bool TakePosted(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  for (int i = 0; i < queue.count; ++i) {
    const MSG& queued = queue.ring[(queue.head + i) % QUEUE_SIZE];
    if (!MessageMatches(queued, window, filter_min, filter_max)) continue;
    *msg = queued;
    if (remove & PM_REMOVE) RemoveQueued(i);
    return true;
  }
  return false;
}

// WM_PAINT is never queued: like the real system, it is made up when nothing else is waiting.
bool TakePaint(LPMSG msg, HWND window, UINT filter_min, UINT filter_max) {
  for (SoftWindow& candidate : windows) {
    if (!candidate.alive || !candidate.needs_paint) continue;
    MSG paint{HandleOf(&candidate), WM_PAINT, 0, 0, 0, POINT{0, 0}};
    if (!MessageMatches(paint, window, filter_min, filter_max)) continue;
    *msg = paint;
    return true;
  }
  return false;
}

void PumpHost() { Host().pump_events(); }

}  // namespace

// ---- Host callbacks and test controls ----------------------------------------------------

void HostSetKey(int virtual_key, bool down) {
  if (virtual_key < 0 || virtual_key > 255) return;
  key_down[virtual_key] = down;
  if (host_window != nullptr) Enqueue(host_window, down ? WM_KEYDOWN : WM_KEYUP, virtual_key, 0);
}

// Like the real system's close, which is sent rather than posted, the close needs no place in the
// queue and is taken before any message queued there: a flood of key messages neither loses it
// nor holds it back.
void HostRequestClose() {
  if (host_window != nullptr) queue.close_requested = true;
}

void SoftWindowsReset() {
  std::memset(window_classes, 0, sizeof window_classes);
  std::memset(windows, 0, sizeof windows);
  std::memset(&queue, 0, sizeof queue);
  std::memset(key_down, 0, sizeof key_down);
  cursor_count = 0;
  host_window = nullptr;
  poll_observer = nullptr;
}

void SetMessagePollObserver(void (*observer)()) { poll_observer = observer; }

HWND SoftHostWindow() { return host_window; }

bool SoftKeyDown(int virtual_key) { return virtual_key >= 0 && virtual_key < 256 && key_down[virtual_key]; }

// ---- Window classes and windows ----------------------------------------------------------

ATOM WINAPI RegisterClassA(const WNDCLASSA* window_class) {
  if (FaultHits(PlatformCall::RegisterClass)) return 0;
  if (window_class == nullptr || window_class->lpszClassName == nullptr || window_class->lpfnWndProc == nullptr)
    return 0;
  if (std::strlen(window_class->lpszClassName) >= NAME_SIZE || FindClass(window_class->lpszClassName)) return 0;
  for (int i = 0; i < MAX_CLASSES; ++i) {
    WindowClass& slot = window_classes[i];
    if (slot.used) continue;
    slot.used = true;
    std::strcpy(slot.name, window_class->lpszClassName);
    slot.record = *window_class;
    slot.record.lpszClassName = slot.name;
    return static_cast<ATOM>(0xC000 + i);
  }
  return 0;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y, int width,
                            int height, HWND, HMENU, HINSTANCE, LPVOID) {
  if (FaultHits(PlatformCall::CreateWindow) || class_name == nullptr) return nullptr;
  WindowClass* window_class = FindClass(class_name);
  if (window_class == nullptr) return nullptr;
  SoftWindow* window = nullptr;
  for (SoftWindow& slot : windows)
    if (!slot.alive && window == nullptr) window = &slot;
  if (window == nullptr) return nullptr;
  // The first window is the one the host shows on the screen.
  if (host_window == nullptr && !Host().open_window(window_name ? window_name : "", x, y, width, height))
    return nullptr;
  *window = SoftWindow{true, (style & WS_VISIBLE) != 0, window_class->record.lpfnWndProc,
                       RECT{x, y, x + width, y + height}, style};
  HWND handle = HandleOf(window);
  if (host_window == nullptr) host_window = handle;
  if (window->procedure(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
  SoftWindow* window = WindowFrom(handle);
  if (window == nullptr) return FALSE;
  window->procedure(handle, WM_DESTROY, 0, 0);
  window->alive = false;
  if (handle == host_window) {
    Host().close_window();
    host_window = nullptr;
    queue.close_requested = false;
  }
  return TRUE;
}

void SoftPlaceWindow(HWND handle, const RECT& rect) {
  if (SoftWindow* window = WindowFrom(handle)) window->rect = rect;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
  SoftWindow* window = WindowFrom(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = window->rect;
  return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
  return name == IDI_APPLICATION ? reinterpret_cast<HICON>(&predefined_icon) : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
  return name == IDC_ARROW ? reinterpret_cast<HCURSOR>(&predefined_cursor) : nullptr;
}

HGDIOBJ WINAPI GetStockObject(int object) {
  if (object >= OEM_FIXED_FONT && object <= DEFAULT_GUI_FONT && object != 15) return SoftStockFont();
  if (object < 0 || object >= 8) return nullptr;
  return &stock_objects[object];
}

// The cursor shows while the display count is 0 or more, as on the real system.
int WINAPI ShowCursor(BOOL show) {
  cursor_count += show ? 1 : -1;
  Host().show_cursor(cursor_count >= 0);
  return cursor_count;
}

// ---- Messages ----------------------------------------------------------------------------

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  if (poll_observer) poll_observer();
  PumpHost();
  if (msg == nullptr) return FALSE;
  if (TakeClose(msg, window, filter_min, filter_max, remove)) return TRUE;
  if (TakePosted(msg, window, filter_min, filter_max, remove)) return TRUE;
  MSG quit{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quit_code), 0, 0, POINT{0, 0}};
  if (queue.quit_posted && window == nullptr && MessageMatches(quit, nullptr, filter_min, filter_max)) {
    *msg = quit;
    if (remove & PM_REMOVE) queue.quit_posted = false;
    return TRUE;
  }
  return TakePaint(msg, window, filter_min, filter_max) ? TRUE : FALSE;
}

// Key messages would become WM_CHAR here; nothing in the game reads characters.
BOOL WINAPI TranslateMessage(const MSG* msg) {
  return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  SoftWindow* window = WindowFrom(msg->hwnd);
  if (window == nullptr) return 0;
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  SoftWindow* window = WindowFrom(handle);
  return window ? window->procedure(handle, message, wparam, lparam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM, LPARAM) {
  SoftWindow* window = WindowFrom(handle);
  if (window == nullptr) return 0;
  if (message == WM_CLOSE) DestroyWindow(handle);
  if (message == WM_PAINT) window->needs_paint = false;
  return 0;
}

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  if (handle != nullptr && WindowFrom(handle) == nullptr) return FALSE;
  return Enqueue(handle, message, wparam, lparam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exit_code) {
  queue.quit_posted = true;
  queue.quit_code = exit_code;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
  SoftWindow* window = WindowFrom(handle);
  if (window == nullptr || paint == nullptr) return nullptr;
  std::memset(paint, 0, sizeof *paint);
  paint->hdc = reinterpret_cast<HDC>(&paint_context);
  paint->rcPaint = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  window->needs_paint = false;
  return paint->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

// ---- Time, keys, files -------------------------------------------------------------------

DWORD WINAPI GetTickCount(void) {
  PumpHost();
  return Host().milliseconds();
}

void WINAPI Sleep(DWORD milliseconds) {
  PumpHost();
  Host().sleep(milliseconds);
}

SHORT WINAPI GetAsyncKeyState(int virtual_key) {
  PumpHost();
  return SoftKeyDown(virtual_key) ? static_cast<SHORT>(0x8000) : 0;
}

FILE* OpenDataFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  FILE* file = FaultHits(PlatformCall::FileOpen) ? nullptr : std::fopen(path, mode);
  Host().file_opened(path, file != nullptr);
  return file;
}
