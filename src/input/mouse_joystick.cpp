// Mouse and game controller over DirectInput.
#include "input/mouse_joystick.h"

#include <cstring>

#include "display/display.h"
#include "input/keyboard.h"

LPDIRECTINPUTDEVICE8 mouse_device;
DIMOUSESTATE MouseState;
LPDIRECTINPUTDEVICE8 joystick_device;
int joystick_found;
GUID joystick_guid;
char joystick_name[80];
DIJOYSTATE JoystickState;

namespace {

// Background, non-exclusive: the devices are shared and read without focus.
constexpr DWORD SHARED_LEVEL = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

// Creates `device` for `guid`, sets its level and format and acquires it; 1 when all succeed.
int OpenDevice(REFGUID guid, LPDIRECTINPUTDEVICE8* device, LPCDIDATAFORMAT format) {
  if (input_object == nullptr) return 0;
  if (input_object->CreateDevice(guid, device, nullptr) != DI_OK) return 0;
  if ((*device)->SetCooperativeLevel(main_window, SHARED_LEVEL) != DI_OK) return 0;
  if ((*device)->SetDataFormat(format) != DI_OK) return 0;
  return (*device)->Acquire() == DI_OK ? 1 : 0;
}

// Unacquires and releases `device` and forgets it, so that later reads find no device and a
// second shut-down releases nothing.
void CloseDevice(LPDIRECTINPUTDEVICE8* device) {
  if (*device == nullptr) return;
  (*device)->Unacquire();
  (*device)->Release();
  *device = nullptr;
}

void SetAxisRange(DWORD offset, int minimum, int maximum) {
  DIPROPRANGE range{};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = DIPH_BYOFFSET;
  range.lMin = minimum;
  range.lMax = maximum;
  joystick_device->SetProperty(DIPROP_RANGE, &range.diph);
}

void SetAxisDeadZone(DWORD offset, int percent) {
  DIPROPDWORD zone{};
  zone.diph.dwSize = sizeof zone;
  zone.diph.dwHeaderSize = sizeof zone.diph;
  zone.diph.dwObj = offset;
  zone.diph.dwHow = DIPH_BYOFFSET;
  zone.dwData = static_cast<DWORD>(percent) * 100;  // the platform counts hundredths of a percent
  joystick_device->SetProperty(DIPROP_DEADZONE, &zone.diph);
}

}  // namespace

int MouseInit() { return OpenDevice(GUID_SysMouse, &mouse_device, &c_dfDIMouse); }

int MouseRead() {
  if (mouse_device == nullptr) {
    std::memset(&MouseState, 0, sizeof MouseState);
    return 0;
  }
  return mouse_device->GetDeviceState(sizeof MouseState, &MouseState) == DI_OK ? 1 : 0;
}

int MouseShutdown() {
  CloseDevice(&mouse_device);
  return 1;
}

BOOL CALLBACK JoystickEnumCallback(LPCDIDEVICEINSTANCEA instance, LPVOID) {
  joystick_guid = instance->guidInstance;
  std::strncpy(joystick_name, instance->tszProductName, sizeof joystick_name - 1);
  joystick_name[sizeof joystick_name - 1] = '\0';
  return DIENUM_STOP;
}

int JoystickInit(int min_x, int max_x, int min_y, int max_y, int dead_zone) {
  if (input_object == nullptr) return 0;
  input_object->EnumDevices(DI8DEVCLASS_GAMECTRL, JoystickEnumCallback, nullptr, DIEDFL_ATTACHEDONLY);
  if (input_object->CreateDevice(joystick_guid, &joystick_device, nullptr) != DI_OK) return 0;
  if (joystick_device->SetCooperativeLevel(main_window, SHARED_LEVEL) != DI_OK) return 0;
  if (joystick_device->SetDataFormat(&c_dfDIJoystick) != DI_OK) return 0;
  SetAxisRange(DIJOFS_X, min_x, max_x);
  SetAxisRange(DIJOFS_Y, min_y, max_y);
  SetAxisDeadZone(DIJOFS_X, dead_zone);
  SetAxisDeadZone(DIJOFS_Y, dead_zone);
  if (joystick_device->Acquire() != DI_OK) return 0;
  joystick_found = 1;
  return 1;
}

int JoystickRead() {
  if (!joystick_found) return 0;
  if (joystick_device == nullptr) {
    std::memset(&JoystickState, 0, sizeof JoystickState);
    return 0;
  }
  // Devices that need no polling answer DI_NOEFFECT, a success too.
  if (FAILED(joystick_device->Poll())) return 0;
  return joystick_device->GetDeviceState(sizeof JoystickState, &JoystickState) == DI_OK ? 1 : 0;
}

int JoystickShutdown() {
  CloseDevice(&joystick_device);
  return 1;
}
