// The headless host: the machine of the tests, with a clock that moves one millisecond at each
// reading, keys from a script, and frames kept as palette indices with their palette.
#include "hosts/headless/headless_host.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dinput.h"
#include "soft/platform_reset.h"
#include "soft/soft_windows.h"

namespace {

// A program that only polls messages still lets time pass: this many pumps without a clock
// reading move the virtual clock on by one millisecond.
constexpr int IDLE_PUMPS_PER_MS = 1000;

struct ScriptedEvent {
  uint32_t time;
  int virtual_key;  // -1: the window is closed; 0: DirectInput key only
  bool down;
  int dik_code;     // the same key's DirectInput code, 0 if it has none
  std::function<void()> action;  // run instead of a key change when set
};

struct HeadlessMachine {
  uint32_t now = 0;
  int idle_pumps = 0;
  bool has_deadline = false;
  uint32_t deadline = 0;
  std::vector<ScriptedEvent> script;  // ordered by time
  size_t next_event = 0;
  std::function<void(uint32_t)> autopilot;
  FrameKeeping keeping = FrameKeeping::All;
  std::function<void(const HeadlessFrame&, int)> frame_observer;
  std::vector<HeadlessFrame> frames;
  int frame_count = 0;
  std::function<void(const std::string&, bool)> file_observer;
  std::vector<std::string> opened_files;
  bool display_lost = false;
  bool window_open = false;
  std::string window_title;
  bool cursor_visible = true;
  int mode_width = 0;
  int mode_height = 0;
  int audio_rate = HEADLESS_AUDIO_RATE;  // 0: the machine has no audio output
  HostAudioSource audio_source = nullptr;
  uint32_t audio_clock = 0;       // virtual time mixed up to
  uint64_t audio_ms = 0;          // milliseconds mixed since the output opened
  uint64_t audio_frames = 0;      // frames pulled since the output opened
  bool keep_audio = false;
  std::vector<int16_t> audio;     // kept output, left and right interleaved
};

HeadlessMachine machine;

// Frames pulled from the mixer at a time.
constexpr int AUDIO_CHUNK_FRAMES = 512;

// Pulls from the mixer every frame due by the virtual clock, so that sounds end exactly when
// their samples have been consumed.
void MixUpToNow() {
  if (machine.audio_source == nullptr) return;
  machine.audio_ms += static_cast<uint32_t>(machine.now - machine.audio_clock);
  machine.audio_clock = machine.now;
  const uint64_t due = machine.audio_ms * static_cast<uint64_t>(machine.audio_rate) / 1000;
  int16_t chunk[AUDIO_CHUNK_FRAMES * 2];
  while (machine.audio_frames < due) {
    const uint64_t left = due - machine.audio_frames;
    const int frames = left < AUDIO_CHUNK_FRAMES ? static_cast<int>(left) : AUDIO_CHUNK_FRAMES;
    machine.audio_source(chunk, frames);
    if (machine.keep_audio) machine.audio.insert(machine.audio.end(), chunk, chunk + frames * 2);
    machine.audio_frames += frames;
  }
}

int OpenAudio(HostAudioSource source) {
  if (machine.audio_rate <= 0 || source == nullptr) return 0;
  if (machine.audio_source == nullptr) machine.audio_clock = machine.now;
  machine.audio_source = source;
  return machine.audio_rate;
}

void CheckDeadline() {
  if (machine.has_deadline && machine.now >= machine.deadline) {
    machine.has_deadline = false;  // thrown once; the caller decides what runs next
    throw HeadlessDeadline{machine.now};
  }
}

bool OpenWindow(const char* title, int, int, int, int) {
  machine.window_open = true;
  machine.window_title = title;
  return true;
}

void CloseWindow() { machine.window_open = false; }

void SetDisplayMode(int width, int height, int) {
  machine.mode_width = width;
  machine.mode_height = height;
}

HeadlessFrame CopyFrame(const HostFrame& frame) {
  HeadlessFrame copy{machine.now, frame.width, frame.height, frame.bits_per_pixel, {}, {}};
  const size_t row_bytes = static_cast<size_t>(frame.width) * (frame.bits_per_pixel == 8 ? 1 : 2);
  copy.pixels.resize(row_bytes * frame.height);
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(copy.pixels.data() + row_bytes * y, frame.pixels + static_cast<size_t>(frame.pitch) * y, row_bytes);
  std::memcpy(copy.palette, frame.palette, sizeof copy.palette);
  return copy;
}

void Present(const HostFrame& frame) {
  const int number = machine.frame_count++;
  if (machine.keeping == FrameKeeping::None && !machine.frame_observer) return;
  HeadlessFrame copy = CopyFrame(frame);
  if (machine.frame_observer) machine.frame_observer(copy, number);
  if (machine.keeping == FrameKeeping::Last) machine.frames.clear();
  if (machine.keeping != FrameKeeping::None) machine.frames.push_back(std::move(copy));
}

// DirectInput code of the keys a script names by virtual key; 0 for others.
int DikOfVirtualKey(int virtual_key) {
  static const uint8_t letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                      DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                      DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
  if (virtual_key >= 'A' && virtual_key <= 'Z') return letters[virtual_key - 'A'];
  if (virtual_key >= '1' && virtual_key <= '9') return DIK_1 + (virtual_key - '1');
  if (virtual_key == '0') return DIK_0;
  switch (virtual_key) {
    case VK_ESCAPE: return DIK_ESCAPE;
    case VK_RETURN: return DIK_RETURN;
    case VK_SPACE: return DIK_SPACE;
    case VK_TAB: return DIK_TAB;
    case VK_BACK: return DIK_BACK;
    case VK_SHIFT: return DIK_LSHIFT;
    case VK_CONTROL: return DIK_LCONTROL;
    case VK_MENU: return DIK_LMENU;
    case VK_UP: return DIK_UP;
    case VK_DOWN: return DIK_DOWN;
    case VK_LEFT: return DIK_LEFT;
    case VK_RIGHT: return DIK_RIGHT;
    default: return 0;
  }
}

void SetKeyBothWays(const ScriptedEvent& event) {
  if (event.virtual_key > 0) HostSetKey(event.virtual_key, event.down);
  if (event.dik_code > 0) HostSetInputKey(event.dik_code, event.down);
}

void PumpEvents() {
  if (++machine.idle_pumps >= IDLE_PUMPS_PER_MS) {
    machine.idle_pumps = 0;
    ++machine.now;
    MixUpToNow();
  }
  CheckDeadline();
  while (machine.next_event < machine.script.size() && machine.script[machine.next_event].time <= machine.now) {
    const ScriptedEvent event = machine.script[machine.next_event++];
    if (event.action)
      event.action();
    else if (event.virtual_key < 0)
      HostRequestClose();
    else
      SetKeyBothWays(event);
  }
  if (machine.autopilot) machine.autopilot(machine.now);
}

uint32_t Milliseconds() {
  machine.idle_pumps = 0;
  CheckDeadline();
  const uint32_t now = machine.now++;
  MixUpToNow();
  return now;
}

void SleepFor(uint32_t ms) {
  machine.idle_pumps = 0;
  machine.now += ms;
  MixUpToNow();
  CheckDeadline();
}

void WaitVerticalBlank() {}
bool DisplayLost() { return machine.display_lost; }
void ShowCursor(bool visible) { machine.cursor_visible = visible; }

void FileOpened(const char* path, bool ok) {
  machine.opened_files.emplace_back(path);
  if (machine.file_observer) machine.file_observer(path, ok);
}

void Schedule(ScriptedEvent event) {
  // Before the script would grow, the events already run are dropped when they are half of it or
  // more: a run of hours that schedules keys as it goes keeps a script of the same size.
  if (machine.script.size() == machine.script.capacity() && machine.next_event * 2 >= machine.script.size() &&
      machine.next_event > 0) {
    machine.script.erase(machine.script.begin(), machine.script.begin() + static_cast<long>(machine.next_event));
    machine.next_event = 0;
  }
  auto later = std::upper_bound(machine.script.begin() + machine.next_event, machine.script.end(), event.time,
                                [](uint32_t time, const ScriptedEvent& e) { return time < e.time; });
  machine.script.insert(later, event);
}

// Expands one frame to RGB rows for the PNG writer.
std::vector<uint8_t> FrameToRgb(const HeadlessFrame& frame) {
  std::vector<uint8_t> rgb(static_cast<size_t>(frame.width) * frame.height * 3);
  const size_t count = static_cast<size_t>(frame.width) * frame.height;
  for (size_t i = 0; i < count; ++i) {
    uint8_t* out = &rgb[i * 3];
    if (frame.bits_per_pixel == 8) {
      const uint8_t* entry = &frame.palette[frame.pixels[i] * 4];
      out[0] = entry[0], out[1] = entry[1], out[2] = entry[2];
    } else if (frame.bits_per_pixel == 15) {
      const unsigned value = frame.pixels[i * 2] | (frame.pixels[i * 2 + 1] << 8);
      out[0] = static_cast<uint8_t>(((value >> 10) & 31) * 255 / 31);
      out[1] = static_cast<uint8_t>(((value >> 5) & 31) * 255 / 31);
      out[2] = static_cast<uint8_t>((value & 31) * 255 / 31);
    } else {
      const unsigned value = frame.pixels[i * 2] | (frame.pixels[i * 2 + 1] << 8);
      out[0] = static_cast<uint8_t>(((value >> 11) & 31) * 255 / 31);
      out[1] = static_cast<uint8_t>(((value >> 5) & 63) * 255 / 63);
      out[2] = static_cast<uint8_t>((value & 31) * 255 / 31);
    }
  }
  return rgb;
}

}  // namespace

const HostServices headless_host = {OpenWindow, CloseWindow,      SetDisplayMode, Present,
                                    PumpEvents, Milliseconds,     SleepFor,       WaitVerticalBlank,
                                    DisplayLost, ShowCursor,      FileOpened,     OpenAudio};

void HeadlessStart(uint32_t start_ms) {
  machine = HeadlessMachine{};
  machine.now = start_ms;
  SoftPlatformReset();
  InstallHost(&headless_host);
}

uint32_t HeadlessNow() { return machine.now; }
void HeadlessAdvance(uint32_t ms) {
  machine.now += ms;
  MixUpToNow();
}

void HeadlessSetDeadline(uint32_t time) {
  machine.has_deadline = true;
  machine.deadline = time;
}

void HeadlessScheduleKey(uint32_t time, int virtual_key, bool down) {
  Schedule({time, virtual_key & 0xFF, down, DikOfVirtualKey(virtual_key & 0xFF), nullptr});
}
void HeadlessScheduleInputKey(uint32_t time, int dik_code, bool down) { Schedule({time, 0, down, dik_code & 0xFF, nullptr}); }
void HeadlessScheduleAction(uint32_t time, std::function<void()> action) {
  Schedule({time, 0, false, 0, std::move(action)});
}
void HeadlessScheduleClose(uint32_t time) { Schedule({time, -1, false, 0, nullptr}); }
void HeadlessSetAutopilot(std::function<void(uint32_t)> autopilot) { machine.autopilot = std::move(autopilot); }

void HeadlessKeepFrames(FrameKeeping keeping) { machine.keeping = keeping; }
void HeadlessOnFrame(std::function<void(const HeadlessFrame&, int)> observer) {
  machine.frame_observer = std::move(observer);
}
const std::vector<HeadlessFrame>& HeadlessFrames() { return machine.frames; }
int HeadlessFrameCount() { return machine.frame_count; }

namespace {

// libpng reports errors by longjmp, so nothing here may own memory across png calls.
bool WritePngRows(FILE* file, int width, int height, const uint8_t* rgb) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, rgb + static_cast<size_t>(y) * width * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool HeadlessSavePng(const HeadlessFrame& frame, const std::string& path) {
  const std::vector<uint8_t> rgb = FrameToRgb(frame);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WritePngRows(file, frame.width, frame.height, rgb.data());
  return std::fclose(file) == 0 && written;
}

void HeadlessOnFileOpen(std::function<void(const std::string&, bool)> observer) {
  machine.file_observer = std::move(observer);
}
const std::vector<std::string>& HeadlessOpenedFiles() { return machine.opened_files; }
void HeadlessForgetOpenedFiles() { machine.opened_files.clear(); }

void HeadlessSetDisplayLost(bool lost) { machine.display_lost = lost; }
bool HeadlessWindowOpen() { return machine.window_open; }
std::string HeadlessWindowTitle() { return machine.window_title; }
bool HeadlessCursorVisible() { return machine.cursor_visible; }
int HeadlessModeWidth() { return machine.mode_width; }
int HeadlessModeHeight() { return machine.mode_height; }

void HeadlessSetAudioRate(int frames_per_second) { machine.audio_rate = frames_per_second; }
void HeadlessKeepAudio(bool keep) { machine.keep_audio = keep; }
const std::vector<int16_t>& HeadlessAudio() { return machine.audio; }

