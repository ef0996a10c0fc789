// DirectInput start-up and the keyboard snapshot. Besides the immediate state, the keyboard
// keeps a short buffer of key changes, so that a key tapped between two reads is not lost.
#include "input/keyboard.h"

#include <cstring>

#include "display/display.h"

LPDIRECTINPUT8 input_object;
LPDIRECTINPUTDEVICE8 keyboard_device;
uint8_t KeyboardState[256];

namespace {

// Key changes the keyboard keeps between two reads.
constexpr DWORD KEY_BUFFER_SIZE = 64;
// Key changes fetched per GetDeviceData call, and the most calls one read makes.
constexpr DWORD KEY_BATCH = 16;
constexpr int MAX_BATCHES = (KEY_BUFFER_SIZE + KEY_BATCH - 1) / KEY_BATCH + 1;

// An Escape tapped before KeyboardForgetTaps, for the next read to show.
bool escape_tapped;

void ClearSnapshot() { std::memset(KeyboardState, 0, sizeof KeyboardState); }

// Asks for a buffer of key changes; a keyboard without one still gives its immediate state.
void RequestKeyBuffer() {
  DIPROPDWORD property{};
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwHow = DIPH_DEVICE;
  property.dwData = KEY_BUFFER_SIZE;
  keyboard_device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
}

// Takes the key changes buffered since the last read and hands `tapped` every key that went
// down, also when it is up again now.
void TakeTappedKeys(void (*tapped)(int dik_code)) {
  DIDEVICEOBJECTDATA changes[KEY_BATCH];
  for (int batch = 0; batch < MAX_BATCHES; ++batch) {
    DWORD count = KEY_BATCH;
    if (FAILED(keyboard_device->GetDeviceData(sizeof changes[0], changes, &count, 0))) return;
    for (DWORD i = 0; i < count; ++i)
      if (changes[i].dwData & 0x80) tapped(static_cast<int>(changes[i].dwOfs & 0xFF));
    if (count < KEY_BATCH) return;
  }
}

void MarkDown(int dik_code) { KeyboardState[dik_code] = 0x80; }

void KeepEscape(int dik_code) { escape_tapped = escape_tapped || dik_code == DIK_ESCAPE; }

// Marks down every key tapped since the last read, and an Escape kept from before.
void AddTappedKeys() {
  TakeTappedKeys(MarkDown);
  if (escape_tapped) MarkDown(DIK_ESCAPE);
  escape_tapped = false;
}

}  // namespace

int InputInit() {
  void* made = nullptr;
  if (FAILED(DirectInput8Create(app_instance, 0x0800, IID_IDirectInput8A, &made, nullptr))) return 0;
  input_object = static_cast<LPDIRECTINPUT8>(made);
  return 1;
}

int KeyboardInit() {
  if (input_object == nullptr) return 0;
  if (input_object->CreateDevice(GUID_SysKeyboard, &keyboard_device, nullptr) != DI_OK) return 0;
  if (keyboard_device->SetCooperativeLevel(main_window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND) != DI_OK) return 0;
  if (keyboard_device->SetDataFormat(&c_dfDIKeyboard) != DI_OK) return 0;
  RequestKeyBuffer();
  escape_tapped = false;
  return keyboard_device->Acquire() == DI_OK ? 1 : 0;
}

int KeyboardRead() {
  if (keyboard_device == nullptr) {
    ClearSnapshot();
    return 0;
  }
  if (keyboard_device->GetDeviceState(sizeof KeyboardState, KeyboardState) != DI_OK) {
    // Lost to another program or never acquired: report no key held, and take the keyboard back.
    ClearSnapshot();
    if (FAILED(keyboard_device->Acquire())) return 0;
    if (keyboard_device->GetDeviceState(sizeof KeyboardState, KeyboardState) != DI_OK) {
      ClearSnapshot();
      return 0;
    }
  }
  AddTappedKeys();
  return 1;
}

void KeyboardForgetTaps() {
  if (keyboard_device != nullptr) TakeTappedKeys(KeepEscape);
}

// Both forget what they released: a read after shut-down finds no device, and a second
// shut-down releases nothing.
int KeyboardShutdown() {
  if (keyboard_device != nullptr) {
    keyboard_device->Unacquire();
    keyboard_device->Release();
    keyboard_device = nullptr;
  }
  return 1;
}

int InputShutdown() {
  if (input_object != nullptr) input_object->Release();
  input_object = nullptr;
  return 1;
}
