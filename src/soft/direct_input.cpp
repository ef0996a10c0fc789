// DirectInput 8 in software: the keyboard, the mouse and the first game controller as the host
// reports them, read as immediate state and (keyboard) as buffered key events.
#include <cstring>

#include "dinput.h"
#include "soft/com_object.h"
#include "soft/direct_input.h"
#include "soft/faults.h"
#include "soft/host.h"

const GUID IID_IDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_XAxis = {0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_YAxis = {0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_ZAxis = {0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RxAxis = {0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RyAxis = {0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RzAxis = {0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Slider = {0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Button = {0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Key = {0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_POV = {0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const GUID dinput_property_ids[6] = {};

namespace {

// The instance identifier given to the host's game controller.
const GUID CONTROLLER_INSTANCE = {0x564F524B, 0x4A4F, 0x5953, {0x54, 0x49, 0x43, 0x4B, 0x00, 0x00, 0x00, 0x01}};

constexpr DWORD OPTIONAL_BUTTON = DIDFT_BUTTON | DIDFT_OPTIONAL | DIDFT_ANYINSTANCE;
constexpr DWORD ANY_AXIS = DIDFT_AXIS | DIDFT_ANYINSTANCE;

// ---- The standard data formats ----------------------------------------------------------------

struct KeyboardObjects {
  DIOBJECTDATAFORMAT objects[256];
  KeyboardObjects() {
    for (DWORD key = 0; key < 256; ++key)
      objects[key] = {&GUID_Key, key, DIDFT_BUTTON | DIDFT_OPTIONAL | DIDFT_MAKEINSTANCE(key), 0};
  }
};
KeyboardObjects keyboard_objects;

DIOBJECTDATAFORMAT mouse_objects[7] = {
    {&GUID_XAxis, 0, ANY_AXIS, 0},          {&GUID_YAxis, 4, ANY_AXIS, 0},
    {&GUID_ZAxis, 8, ANY_AXIS | DIDFT_OPTIONAL, 0}, {nullptr, 12, OPTIONAL_BUTTON, 0},
    {nullptr, 13, OPTIONAL_BUTTON, 0},      {nullptr, 14, OPTIONAL_BUTTON, 0},
    {nullptr, 15, OPTIONAL_BUTTON, 0}};

struct JoystickObjects {
  DIOBJECTDATAFORMAT objects[44];
  JoystickObjects() {
    const GUID* axes[8] = {&GUID_XAxis, &GUID_YAxis, &GUID_ZAxis, &GUID_RxAxis,
                           &GUID_RyAxis, &GUID_RzAxis, &GUID_Slider, &GUID_Slider};
    int n = 0;
    for (DWORD i = 0; i < 8; ++i) objects[n++] = {axes[i], i * 4, ANY_AXIS | DIDFT_OPTIONAL, 0};
    for (DWORD i = 0; i < 4; ++i) objects[n++] = {&GUID_POV, 32 + i * 4, DIDFT_POV | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    for (DWORD i = 0; i < 32; ++i) objects[n++] = {nullptr, 48 + i, OPTIONAL_BUTTON, 0};
  }
};
JoystickObjects joystick_objects;

// ---- What the host reported -------------------------------------------------------------------

constexpr int EVENT_RING = 256;

struct KeyEventRecord {
  uint8_t key;
  bool down;
};

struct InputMachine {
  uint8_t key_down[256];
  KeyEventRecord events[EVENT_RING];  // the latest key changes, oldest overwritten
  uint32_t event_count;               // key changes ever reported
  int64_t mouse_total[3];             // x, y, wheel movement ever reported
  uint8_t mouse_buttons[4];
  HostJoystick joystick;
  uint32_t loss_count;                // times the input was taken away
  int live_objects;
};

InputMachine input;

enum class DeviceKind { Keyboard, Mouse, Joystick };

constexpr DWORD DEFAULT_RANGE_MAX = 65535;
constexpr int AXES = 6;
constexpr DWORD MAX_KEY_BUFFER = 1024;

// The DirectInput object and its devices, counted while alive.
template <typename Interface>
struct CountedInput : ComObject<Interface> {
  CountedInput() { ++input.live_objects; }
  ~CountedInput() override { --input.live_objects; }
};

struct AxisSetting {
  LONG min = 0;
  LONG max = static_cast<LONG>(DEFAULT_RANGE_MAX);
  DWORD dead_zone = 0;  // hundredths of a percent of the half range
};

// Scales a host axis value (-32768..32767) into the axis's range, dead zone applied.
LONG ScaleAxis(int32_t raw, const AxisSetting& axis) {
  const int64_t magnitude = raw < 0 ? -static_cast<int64_t>(raw) : raw;
  if (magnitude * 10000 < static_cast<int64_t>(axis.dead_zone) * 32768) raw = 0;
  const int64_t span = static_cast<int64_t>(axis.max) - axis.min;
  return static_cast<LONG>(axis.min + (static_cast<int64_t>(raw) + 32768) * span / 65535);
}

struct SoftInputDevice final : CountedInput<IDirectInputDevice8A> {
  DeviceKind kind = DeviceKind::Keyboard;
  DWORD data_size = 0;         // 0 until a data format is set
  bool acquired = false;
  uint32_t loss_seen = 0;      // input.loss_count when acquired
  uint32_t events_read = 0;    // key changes already handed out
  DWORD buffer_size = 0;       // buffered key events kept; 0: no buffering
  int64_t mouse_read[3] = {};  // mouse totals at the last read
  AxisSetting axes[AXES];

  DWORD ExpectedSize() const {
    if (kind == DeviceKind::Keyboard) return 256;
    return kind == DeviceKind::Mouse ? sizeof(DIMOUSESTATE) : sizeof(DIJOYSTATE);
  }

  HRESULT STDMETHODCALLTYPE SetProperty(REFGUID property, LPCDIPROPHEADER header) override;
  HRESULT STDMETHODCALLTYPE Acquire() override;
  HRESULT STDMETHODCALLTYPE Unacquire() override {
    if (!acquired) return DI_NOEFFECT;
    acquired = false;
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override;
  HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD object_size, LPDIDEVICEOBJECTDATA data, LPDWORD count,
                                          DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override {
    if (format == nullptr || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT)) return DIERR_INVALIDPARAM;
    if (acquired) return DIERR_ACQUIRED;
    if (format->dwDataSize != ExpectedSize()) return DIERR_INVALIDPARAM;
    data_size = format->dwDataSize;
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD flags) override {
    const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if (sharing == 0 || sharing == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE)) return DIERR_INVALIDPARAM;
    if (focus == 0 || focus == (DISCL_FOREGROUND | DISCL_BACKGROUND)) return DIERR_INVALIDPARAM;
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE Poll() override {
    if (!acquired) return DIERR_NOTACQUIRED;
    return DI_NOEFFECT;  // the host keeps every device current: nothing to poll
  }

  // DI_OK when the device may be read now; the read's error otherwise.
  HRESULT Readable() {
    if (!acquired) return DIERR_NOTACQUIRED;
    if (loss_seen != input.loss_count) {
      acquired = false;
      return DIERR_INPUTLOST;
    }
    return DI_OK;
  }
  void ReadKeyboard(uint8_t* out) const { std::memcpy(out, input.key_down, 256); }
  void ReadMouse(DIMOUSESTATE* out) {
    LONG* moves[3] = {&out->lX, &out->lY, &out->lZ};
    for (int i = 0; i < 3; ++i) {
      *moves[i] = static_cast<LONG>(input.mouse_total[i] - mouse_read[i]);
      mouse_read[i] = input.mouse_total[i];
    }
    std::memcpy(out->rgbButtons, input.mouse_buttons, 4);
  }
  void ReadJoystick(DIJOYSTATE* out) const;
};

void SoftInputDevice::ReadJoystick(DIJOYSTATE* out) const {
  std::memset(out, 0, sizeof *out);
  for (int i = 0; i < 4; ++i) out->rgdwPOV[i] = 0xFFFFFFFFu;
  if (!input.joystick.attached) return;
  LONG* values[AXES] = {&out->lX, &out->lY, &out->lZ, &out->lRx, &out->lRy, &out->lRz};
  for (int i = 0; i < AXES; ++i) *values[i] = ScaleAxis(input.joystick.axes[i], axes[i]);
  if (input.joystick.pov >= 0) out->rgdwPOV[0] = static_cast<DWORD>(input.joystick.pov);
  for (int i = 0; i < 32; ++i) out->rgbButtons[i] = input.joystick.buttons[i] ? 0x80 : 0;
}

bool IsProperty(REFGUID property, int number) { return &property == &dinput_property_ids[number]; }

// The axes (0..5) a property header names: one axis by offset, or all of them for the device.
bool AxesNamed(LPCDIPROPHEADER header, int* first, int* last) {
  if (header->dwHow == DIPH_DEVICE && header->dwObj == 0) {
    *first = 0, *last = AXES - 1;
    return true;
  }
  if (header->dwHow != DIPH_BYOFFSET || header->dwObj % 4 != 0 || header->dwObj / 4 >= AXES) return false;
  *first = *last = static_cast<int>(header->dwObj / 4);
  return true;
}

HRESULT SoftInputDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
  if (header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
  if (IsProperty(property, 1)) {
    if (header->dwSize != sizeof(DIPROPDWORD) || header->dwHow != DIPH_DEVICE) return DIERR_INVALIDPARAM;
    if (acquired) return DIERR_ACQUIRED;
    const DWORD wanted = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    buffer_size = wanted < MAX_KEY_BUFFER ? wanted : MAX_KEY_BUFFER;
    return DI_OK;
  }
  int first = 0, last = 0;
  if (kind != DeviceKind::Joystick || !AxesNamed(header, &first, &last)) return DIERR_INVALIDPARAM;
  if (IsProperty(property, 4) && header->dwSize == sizeof(DIPROPRANGE)) {
    const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
    if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
    for (int i = first; i <= last; ++i) axes[i].min = range->lMin, axes[i].max = range->lMax;
    return DI_OK;
  }
  if (IsProperty(property, 5) && header->dwSize == sizeof(DIPROPDWORD)) {
    const DWORD zone = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    if (zone > 10000) return DIERR_INVALIDPARAM;
    for (int i = first; i <= last; ++i) axes[i].dead_zone = zone;
    return DI_OK;
  }
  return DIERR_INVALIDPARAM;
}

HRESULT SoftInputDevice::Acquire() {
  if (data_size == 0) return DIERR_INVALIDPARAM;
  if (acquired && loss_seen == input.loss_count) return DI_NOEFFECT;
  if (FaultHits(PlatformCall::InputAcquire)) return DIERR_OTHERAPPHASPRIO;
  acquired = true;
  loss_seen = input.loss_count;
  events_read = input.event_count;  // buffered events start now
  for (int i = 0; i < 3; ++i) mouse_read[i] = input.mouse_total[i];
  return DI_OK;
}

HRESULT SoftInputDevice::GetDeviceState(DWORD size, LPVOID data) {
  Host().pump_events();
  if (data == nullptr || data_size == 0 || size != data_size) return DIERR_INVALIDPARAM;
  const HRESULT readable = Readable();
  if (readable != DI_OK) return readable;
  if (kind == DeviceKind::Keyboard) ReadKeyboard(static_cast<uint8_t*>(data));
  else if (kind == DeviceKind::Mouse) ReadMouse(static_cast<DIMOUSESTATE*>(data));
  else ReadJoystick(static_cast<DIJOYSTATE*>(data));
  return DI_OK;
}

HRESULT SoftInputDevice::GetDeviceData(DWORD object_size, LPDIDEVICEOBJECTDATA data, LPDWORD count, DWORD flags) {
  Host().pump_events();
  if (count == nullptr || object_size != sizeof(DIDEVICEOBJECTDATA) || kind != DeviceKind::Keyboard)
    return DIERR_INVALIDPARAM;
  if (buffer_size == 0) return DIERR_NOTINITIALIZED;
  const HRESULT readable = Readable();
  if (readable != DI_OK) return readable;
  HRESULT result = DI_OK;
  uint32_t pending = input.event_count - events_read;
  const uint32_t kept = buffer_size < EVENT_RING ? buffer_size : EVENT_RING;
  if (pending > kept) {  // the oldest changes no longer fit: they are lost
    events_read = input.event_count - kept;
    pending = kept;
    result = DI_BUFFEROVERFLOW;
  }
  const DWORD wanted = data == nullptr ? pending : (*count < pending ? *count : pending);
  for (DWORD i = 0; i < wanted && data != nullptr; ++i) {
    const KeyEventRecord& event = input.events[(events_read + i) % EVENT_RING];
    data[i] = DIDEVICEOBJECTDATA{event.key, event.down ? 0x80u : 0u, 0, events_read + i, 0};
  }
  if ((flags & DIGDD_PEEK) == 0) events_read += wanted;
  *count = wanted;
  return result;
}

struct SoftDirectInput final : CountedInput<IDirectInput8A> {
  HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) override {
    if (device == nullptr) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (outer != nullptr) return DIERR_NOINTERFACE;
    if (FaultHits(PlatformCall::CreateInputDevice)) return DIERR_DEVICENOTREG;
    DeviceKind kind;
    if (IsEqualGUID(guid, GUID_SysKeyboard)) kind = DeviceKind::Keyboard;
    else if (IsEqualGUID(guid, GUID_SysMouse)) kind = DeviceKind::Mouse;
    else if (IsEqualGUID(guid, CONTROLLER_INSTANCE) && input.joystick.attached) kind = DeviceKind::Joystick;
    else return DIERR_DEVICENOTREG;
    auto* made = new SoftInputDevice;
    made->kind = kind;
    *device = made;
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumDevices(DWORD device_class, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                                        DWORD) override {
    if (callback == nullptr) return DIERR_INVALIDPARAM;
    Host().pump_events();
    if (device_class != DI8DEVCLASS_GAMECTRL && device_class != DI8DEVCLASS_ALL) return DI_OK;
    if (!input.joystick.attached) return DI_OK;
    DIDEVICEINSTANCEA instance{};
    instance.dwSize = sizeof instance;
    instance.guidInstance = CONTROLLER_INSTANCE;
    instance.guidProduct = CONTROLLER_INSTANCE;
    instance.dwDevType = DI8DEVTYPE_GAMEPAD;
    std::strncpy(instance.tszInstanceName, input.joystick.name, sizeof instance.tszProductName - 1);
    std::strncpy(instance.tszProductName, input.joystick.name, sizeof instance.tszProductName - 1);
    callback(&instance, context);
    return DI_OK;
  }
};

}  // namespace

extern const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256,
                                            256, keyboard_objects.objects};
extern const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS,
                                         sizeof(DIMOUSESTATE), 7, mouse_objects};
extern const DIDATAFORMAT c_dfDIJoystick = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS,
                                            sizeof(DIJOYSTATE), 44, joystick_objects.objects};

HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, LPVOID* out, LPUNKNOWN outer) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (outer != nullptr || version < 0x0800 || !IsEqualGUID(iid, IID_IDirectInput8A)) return DIERR_NOINTERFACE;
  if (FaultHits(PlatformCall::DirectInputCreate)) return DIERR_GENERIC;
  *out = static_cast<IDirectInput8A*>(new SoftDirectInput);
  return DI_OK;
}

void HostSetInputKey(int dik_code, bool down) {
  if (dik_code <= 0 || dik_code > 255) return;
  if ((input.key_down[dik_code] != 0) == down) return;  // auto-repeat: no change
  input.key_down[dik_code] = down ? 0x80 : 0;
  input.events[input.event_count % EVENT_RING] = {static_cast<uint8_t>(dik_code), down};
  ++input.event_count;
}

void HostMoveMouse(int dx, int dy, int dz) {
  input.mouse_total[0] += dx;
  input.mouse_total[1] += dy;
  input.mouse_total[2] += dz;
}

void HostSetMouseButton(int button, bool down) {
  if (button >= 0 && button < 4) input.mouse_buttons[button] = down ? 0x80 : 0;
}

void HostSetJoystick(const HostJoystick& joystick) {
  input.joystick = joystick;
  input.joystick.name[sizeof input.joystick.name - 1] = '\0';
}

void SoftInputLose() {
  ++input.loss_count;
  std::memset(input.key_down, 0, sizeof input.key_down);
}

int SoftInputObjectCount() { return input.live_objects; }

void SoftInputReset() {
  const int live = input.live_objects;
  input = InputMachine{};
  input.live_objects = live;  // objects still alive stay counted
}
