/// \file
/// The subset of DirectInput 8 that the input library is written against: the DirectInput
/// object, keyboard, mouse and game-controller devices, their standard data formats, properties
/// and key codes. Names and values are the published ones.
#pragma once

#include "win32.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800  ///< The DirectInput version the program is written for.
#endif

struct IDirectInput8A;
struct IDirectInputDevice8A;
typedef IDirectInput8A* LPDIRECTINPUT8A;              ///< The DirectInput object.

/// An input device: keyboard, mouse or game controller.
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8A;
typedef IDirectInput8A* LPDIRECTINPUT8;               ///< The DirectInput object.
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8;   ///< An input device.
typedef const GUID* LPCGUID;                          ///< Pointer to a constant GUID.

/// Interface identifier of the ANSI DirectInput 8 object.
extern const GUID IID_IDirectInput8A;
/// \name Devices every machine has: the system keyboard and the system mouse.
///@{
extern const GUID GUID_SysKeyboard;  ///< the system keyboard
extern const GUID GUID_SysMouse;     ///< the system mouse
///@}
/// \name Object types named in the data formats.
///@{
extern const GUID GUID_XAxis;   ///< the x axis
extern const GUID GUID_YAxis;   ///< the y axis
extern const GUID GUID_ZAxis;   ///< the z axis
extern const GUID GUID_RxAxis;  ///< rotation about the x axis
extern const GUID GUID_RyAxis;  ///< rotation about the y axis
extern const GUID GUID_RzAxis;  ///< rotation about the z axis
extern const GUID GUID_Slider;  ///< a slider
extern const GUID GUID_Button;  ///< a button
extern const GUID GUID_Key;     ///< a key
extern const GUID GUID_POV;     ///< a point-of-view hat
///@}

// ---- Result codes -------------------------------------------------------------------------

#define DI_OK S_OK                                   ///< Success.
#define DI_NOTATTACHED S_FALSE                       ///< Success; the device is not attached.
#define DI_BUFFEROVERFLOW S_FALSE  ///< Success, but the device's buffer overflowed and events were lost.
#define DI_PROPNOEFFECT S_FALSE                      ///< Success; the property change has no effect.
#define DI_NOEFFECT S_FALSE                          ///< Success; nothing was done.
#define DIERR_GENERIC E_FAIL                         ///< Unspecified failure.
#define DIERR_INVALIDPARAM E_INVALIDARG              ///< An argument is invalid.
#define DIERR_OUTOFMEMORY E_OUTOFMEMORY              ///< Memory ran out.
#define DIERR_NOINTERFACE E_NOINTERFACE              ///< The object has no such interface.

/// Another program has the device exclusively, or the window is not in the foreground.
#define DIERR_OTHERAPPHASPRIO ((HRESULT)0x80070005)
#define DIERR_NOTACQUIRED ((HRESULT)0x8007000C)      ///< The device is not acquired.
#define DIERR_NOTINITIALIZED ((HRESULT)0x80070015)   ///< The object has not been initialised.
#define DIERR_INPUTLOST ((HRESULT)0x8007001E)  ///< The device was taken away (focus lost): acquire it again.
#define DIERR_ACQUIRED ((HRESULT)0x800700AA)  ///< The call cannot be made while the device is acquired.
#define DIERR_DEVICENOTREG ((HRESULT)0x80040154)     ///< The device is not registered.

// ---- Cooperative levels, device classes, enumeration --------------------------------------

/// Cooperative level: no other program may acquire the device exclusively.
#define DISCL_EXCLUSIVE 0x00000001
#define DISCL_NONEXCLUSIVE 0x00000002  ///< Cooperative level: shared with other programs.
#define DISCL_FOREGROUND 0x00000004  ///< Cooperative level: read only while the window is in the foreground.
#define DISCL_BACKGROUND 0x00000008    ///< Cooperative level: read also in the background.
#define DISCL_NOWINKEY 0x00000010      ///< Cooperative level: the Windows key is switched off.

#define DI8DEVCLASS_ALL 0       ///< EnumDevices: all devices.
#define DI8DEVCLASS_DEVICE 1    ///< EnumDevices: devices of no other class.
#define DI8DEVCLASS_POINTER 2   ///< EnumDevices: pointing devices.
#define DI8DEVCLASS_KEYBOARD 3  ///< EnumDevices: keyboards.
#define DI8DEVCLASS_GAMECTRL 4  ///< EnumDevices: game controllers.

#define DI8DEVTYPE_MOUSE 0x12     ///< Device type: a mouse.
#define DI8DEVTYPE_KEYBOARD 0x13  ///< Device type: a keyboard.
#define DI8DEVTYPE_JOYSTICK 0x14  ///< Device type: a joystick.
#define DI8DEVTYPE_GAMEPAD 0x15   ///< Device type: a gamepad.

#define DIEDFL_ALLDEVICES 0x00000000    ///< EnumDevices: every installed device.
#define DIEDFL_ATTACHEDONLY 0x00000001  ///< EnumDevices: attached devices only.

#define DIENUM_STOP 0      ///< Enumeration callback: stop.
#define DIENUM_CONTINUE 1  ///< Enumeration callback: go on.

/// What EnumDevices reports of one device.
typedef struct DIDEVICEINSTANCEA {
  DWORD dwSize;               ///< size of this record in bytes
  GUID guidInstance;          ///< this device
  GUID guidProduct;           ///< its product
  DWORD dwDevType;            ///< DI8DEVTYPE_* in the low byte
  CHAR tszInstanceName[260];  ///< name of this device
  CHAR tszProductName[260];   ///< name of the product
  GUID guidFFDriver;          ///< force-feedback driver
  WORD wUsagePage;            ///< HID usage page
  WORD wUsage;                ///< HID usage
} DIDEVICEINSTANCEA, *LPDIDEVICEINSTANCEA;  ///< Pointer to a DIDEVICEINSTANCEA.
typedef const DIDEVICEINSTANCEA* LPCDIDEVICEINSTANCEA;  ///< Pointer to a constant DIDEVICEINSTANCEA.

/// Called by EnumDevices once per device; DIENUM_STOP ends the enumeration.
typedef BOOL(CALLBACK* LPDIENUMDEVICESCALLBACKA)(LPCDIDEVICEINSTANCEA instance, LPVOID context);

// ---- Data formats -------------------------------------------------------------------------

#define DIDF_ABSAXIS 0x00000001  ///< Data format: axes report absolute positions.
#define DIDF_RELAXIS 0x00000002  ///< Data format: axes report relative movement.

#define DIDFT_RELAXIS 0x00000001                ///< Object type: relative axis.
#define DIDFT_ABSAXIS 0x00000002                ///< Object type: absolute axis.
#define DIDFT_AXIS 0x00000003                   ///< Object type: any axis.
#define DIDFT_PSHBUTTON 0x00000004              ///< Object type: push button.
#define DIDFT_TGLBUTTON 0x00000008              ///< Object type: toggle button.
#define DIDFT_BUTTON 0x0000000C                 ///< Object type: any button.
#define DIDFT_POV 0x00000010                    ///< Object type: point-of-view hat.
#define DIDFT_ANYINSTANCE 0x00FFFF00            ///< Object type: any instance of the type.
#define DIDFT_OPTIONAL 0x80000000               ///< Object type: the object may be missing.
#define DIDFT_MAKEINSTANCE(n) ((WORD)(n) << 8)  ///< Object type: instance n of the type.

/// One object (axis, button, key) of a data format and where its value goes.
typedef struct _DIOBJECTDATAFORMAT {
  const GUID* pguid;  ///< object type (GUID_XAxis...), or null for any
  DWORD dwOfs;        ///< byte offset of its value in the state
  DWORD dwType;       ///< DIDFT_* type and instance
  DWORD dwFlags;      ///< DIDOI_* aspect flags, usually 0
} DIOBJECTDATAFORMAT, *LPDIOBJECTDATAFORMAT;  ///< Pointer to a DIOBJECTDATAFORMAT.
typedef const DIOBJECTDATAFORMAT* LPCDIOBJECTDATAFORMAT;  ///< Pointer to a constant DIOBJECTDATAFORMAT.

/// The layout of the state a device gives to GetDeviceState.
typedef struct _DIDATAFORMAT {
  DWORD dwSize;                ///< size of this record in bytes
  DWORD dwObjSize;             ///< size of one DIOBJECTDATAFORMAT
  DWORD dwFlags;               ///< DIDF_* flags
  DWORD dwDataSize;            ///< size of the state in bytes
  DWORD dwNumObjs;             ///< number of objects
  LPDIOBJECTDATAFORMAT rgodf;  ///< the objects
} DIDATAFORMAT, *LPDIDATAFORMAT;  ///< Pointer to a DIDATAFORMAT.
typedef const DIDATAFORMAT* LPCDIDATAFORMAT;  ///< Pointer to a constant DIDATAFORMAT.

/// \name The standard formats: 256 key bytes; mouse axes and 4 buttons; joystick state.
///@{
extern const DIDATAFORMAT c_dfDIKeyboard;  ///< keyboard format
extern const DIDATAFORMAT c_dfDIMouse;     ///< mouse format
extern const DIDATAFORMAT c_dfDIJoystick;  ///< joystick format
///@}

/// Mouse state in c_dfDIMouse: relative movement since the last read, and buttons.
typedef struct _DIMOUSESTATE {
  LONG lX;             ///< movement right
  LONG lY;             ///< movement down
  LONG lZ;             ///< wheel movement
  BYTE rgbButtons[4];  ///< high bit set while the button is held
} DIMOUSESTATE, *LPDIMOUSESTATE;  ///< Pointer to a DIMOUSESTATE.

/// Joystick state in c_dfDIJoystick: axes in the range set on them, POV hats, buttons.
typedef struct DIJOYSTATE {
  LONG lX;              ///< x axis
  LONG lY;              ///< y axis
  LONG lZ;              ///< z axis
  LONG lRx;             ///< x rotation
  LONG lRy;             ///< y rotation
  LONG lRz;             ///< z rotation
  LONG rglSlider[2];    ///< sliders
  DWORD rgdwPOV[4];     ///< hats, hundredths of a degree clockwise from up; 0xFFFFFFFF centred
  BYTE rgbButtons[32];  ///< high bit set while the button is held
} DIJOYSTATE, *LPDIJOYSTATE;  ///< Pointer to a DIJOYSTATE.

#define DIJOFS_X 0  ///< Offset of lX in DIJOYSTATE.
#define DIJOFS_Y 4  ///< Offset of lY in DIJOYSTATE.
#define DIJOFS_Z 8  ///< Offset of lZ in DIJOYSTATE.

/// One buffered event read with GetDeviceData: which object (key code) and its new value.
typedef struct DIDEVICEOBJECTDATA {
  DWORD dwOfs;        ///< offset of the object in the state (the key code for keyboards)
  DWORD dwData;       ///< new value (high bit of the low byte set: key down)
  DWORD dwTimeStamp;  ///< milliseconds when it happened
  DWORD dwSequence;   ///< order of the event
  UINT_PTR uAppData;  ///< the program's own value
} DIDEVICEOBJECTDATA, *LPDIDEVICEOBJECTDATA;  ///< Pointer to a DIDEVICEOBJECTDATA.

#define DIGDD_PEEK 0x00000001  ///< GetDeviceData: leave the events in the buffer.

// ---- Properties ---------------------------------------------------------------------------

/// Properties are named by their number where a GUID reference is expected. The system headers
/// pass the number itself as the address; here each number has a real identifier to refer to.
extern const GUID dinput_property_ids[6];
#define DIPROP_BUFFERSIZE (dinput_property_ids[1])  ///< Property: number of events the device's buffer holds.
#define DIPROP_RANGE (dinput_property_ids[4])       ///< Property: the range an axis reports.
#define DIPROP_DEADZONE (dinput_property_ids[5])    ///< Property: the axis's dead zone.

#define DIPH_DEVICE 0    ///< Property applies to: the whole device.
#define DIPH_BYOFFSET 1  ///< Property applies to: the object at offset dwObj.
#define DIPH_BYID 2      ///< Property applies to: the object with identifier dwObj.

/// Header of every property record: sizes, and which object it applies to.
typedef struct DIPROPHEADER {
  DWORD dwSize;        ///< size of the whole property record
  DWORD dwHeaderSize;  ///< size of this header
  DWORD dwObj;         ///< the object, 0 for the whole device
  DWORD dwHow;         ///< DIPH_*: how dwObj names the object
} DIPROPHEADER, *LPDIPROPHEADER;  ///< Pointer to a DIPROPHEADER.
typedef const DIPROPHEADER* LPCDIPROPHEADER;  ///< Pointer to a constant DIPROPHEADER.

/// A property holding one number (buffer size, dead zone in hundredths of a percent).
typedef struct DIPROPDWORD {
  DIPROPHEADER diph;  ///< header
  DWORD dwData;       ///< the number
} DIPROPDWORD, *LPDIPROPDWORD;  ///< Pointer to a DIPROPDWORD.

/// An axis range property.
typedef struct DIPROPRANGE {
  DIPROPHEADER diph;  ///< header
  LONG lMin;          ///< lowest value the axis reports
  LONG lMax;          ///< highest value the axis reports
} DIPROPRANGE, *LPDIPROPRANGE;  ///< Pointer to a DIPROPRANGE.

// ---- Interfaces ---------------------------------------------------------------------------

/// One input device: configured, acquired, then read.
struct IDirectInputDevice8A : IUnknown {
  /// Sets a property (DIPROP_*) of the device or one of its objects.
  virtual HRESULT STDMETHODCALLTYPE SetProperty(REFGUID property, LPCDIPROPHEADER header) = 0;
  /// Takes the device for the program; it can be read only while acquired.
  virtual HRESULT STDMETHODCALLTYPE Acquire() = 0;
  /// Stops reading the device.
  virtual HRESULT STDMETHODCALLTYPE Unacquire() = 0;
  /// Copies the device's current state (size bytes) into data.
  virtual HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) = 0;
  /// Takes up to *count buffered events into data; *count gets the number taken.
  virtual HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD object_size, LPDIDEVICEOBJECTDATA data, LPDWORD count,
                                                  DWORD flags) = 0;
  /// Sets the layout of the state GetDeviceState copies (c_dfDI*).
  virtual HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) = 0;
  /// Says how the device is shared with other programs (DISCL_*).
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
  /// Updates the state of a device that must be polled before it is read.
  virtual HRESULT STDMETHODCALLTYPE Poll() = 0;
};

/// The DirectInput object: makes devices and lists attached ones.
struct IDirectInput8A : IUnknown {
  /// Creates a device by its instance or product GUID.
  virtual HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) = 0;
  /// Calls callback once per device of a class (DI8DEVCLASS_*, DIEDFL_*).
  virtual HRESULT STDMETHODCALLTYPE EnumDevices(DWORD device_class, LPDIENUMDEVICESCALLBACKA callback,
                                                LPVOID context, DWORD flags) = 0;
};

/// Creates the DirectInput object of the given version and interface.
HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out, LPUNKNOWN outer);

// ---- Key codes ----------------------------------------------------------------------------

#define DIK_ESCAPE 0x01       ///< Escape
#define DIK_1 0x02            ///< 1
#define DIK_2 0x03            ///< 2
#define DIK_3 0x04            ///< 3
#define DIK_4 0x05            ///< 4
#define DIK_5 0x06            ///< 5
#define DIK_6 0x07            ///< 6
#define DIK_7 0x08            ///< 7
#define DIK_8 0x09            ///< 8
#define DIK_9 0x0A            ///< 9
#define DIK_0 0x0B            ///< 0
#define DIK_MINUS 0x0C        ///< - (minus)
#define DIK_EQUALS 0x0D       ///< = (equals)
#define DIK_BACK 0x0E         ///< Backspace
#define DIK_TAB 0x0F          ///< Tab
#define DIK_Q 0x10            ///< Q
#define DIK_W 0x11            ///< W
#define DIK_E 0x12            ///< E
#define DIK_R 0x13            ///< R
#define DIK_T 0x14            ///< T
#define DIK_Y 0x15            ///< Y
#define DIK_U 0x16            ///< U
#define DIK_I 0x17            ///< I
#define DIK_O 0x18            ///< O
#define DIK_P 0x19            ///< P
#define DIK_LBRACKET 0x1A     ///< left square bracket
#define DIK_RBRACKET 0x1B     ///< right square bracket
#define DIK_RETURN 0x1C       ///< Enter (main keyboard)
#define DIK_LCONTROL 0x1D     ///< left Ctrl
#define DIK_A 0x1E            ///< A
#define DIK_S 0x1F            ///< S
#define DIK_D 0x20            ///< D
#define DIK_F 0x21            ///< F
#define DIK_G 0x22            ///< G
#define DIK_H 0x23            ///< H
#define DIK_J 0x24            ///< J
#define DIK_K 0x25            ///< K
#define DIK_L 0x26            ///< L
#define DIK_SEMICOLON 0x27    ///< ;
#define DIK_APOSTROPHE 0x28   ///< ' (apostrophe)
#define DIK_GRAVE 0x29        ///< ` (grave accent)
#define DIK_LSHIFT 0x2A       ///< left Shift
#define DIK_BACKSLASH 0x2B    ///< \\ (backslash)
#define DIK_Z 0x2C            ///< Z
#define DIK_X 0x2D            ///< X
#define DIK_C 0x2E            ///< C
#define DIK_V 0x2F            ///< V
#define DIK_B 0x30            ///< B
#define DIK_N 0x31            ///< N
#define DIK_M 0x32            ///< M
#define DIK_COMMA 0x33        ///< , (comma)
#define DIK_PERIOD 0x34       ///< . (full stop)
#define DIK_SLASH 0x35        ///< / (main keyboard)
#define DIK_RSHIFT 0x36       ///< right Shift
#define DIK_MULTIPLY 0x37     ///< * (numeric keypad)
#define DIK_LMENU 0x38        ///< left Alt
#define DIK_SPACE 0x39        ///< space bar
#define DIK_CAPITAL 0x3A      ///< Caps Lock
#define DIK_F1 0x3B           ///< F1
#define DIK_F2 0x3C           ///< F2
#define DIK_F3 0x3D           ///< F3
#define DIK_F4 0x3E           ///< F4
#define DIK_F5 0x3F           ///< F5
#define DIK_F6 0x40           ///< F6
#define DIK_F7 0x41           ///< F7
#define DIK_F8 0x42           ///< F8
#define DIK_F9 0x43           ///< F9
#define DIK_F10 0x44          ///< F10
#define DIK_NUMLOCK 0x45      ///< Num Lock
#define DIK_SCROLL 0x46       ///< Scroll Lock
#define DIK_NUMPAD7 0x47      ///< 7 (numeric keypad)
#define DIK_NUMPAD8 0x48      ///< 8 (numeric keypad)
#define DIK_NUMPAD9 0x49      ///< 9 (numeric keypad)
#define DIK_SUBTRACT 0x4A     ///< - (numeric keypad)
#define DIK_NUMPAD4 0x4B      ///< 4 (numeric keypad)
#define DIK_NUMPAD5 0x4C      ///< 5 (numeric keypad)
#define DIK_NUMPAD6 0x4D      ///< 6 (numeric keypad)
#define DIK_ADD 0x4E          ///< + (numeric keypad)
#define DIK_NUMPAD1 0x4F      ///< 1 (numeric keypad)
#define DIK_NUMPAD2 0x50      ///< 2 (numeric keypad)
#define DIK_NUMPAD3 0x51      ///< 3 (numeric keypad)
#define DIK_NUMPAD0 0x52      ///< 0 (numeric keypad)
#define DIK_DECIMAL 0x53      ///< . (numeric keypad)
#define DIK_OEM_102 0x56      ///< the extra key beside left Shift on 102-key keyboards
#define DIK_F11 0x57          ///< F11
#define DIK_F12 0x58          ///< F12
#define DIK_NUMPADENTER 0x9C  ///< Enter (numeric keypad)
#define DIK_RCONTROL 0x9D     ///< right Ctrl
#define DIK_DIVIDE 0xB5       ///< / (numeric keypad)
#define DIK_SYSRQ 0xB7        ///< Print Screen
#define DIK_RMENU 0xB8        ///< right Alt
#define DIK_PAUSE 0xC5        ///< Pause
#define DIK_HOME 0xC7         ///< Home
#define DIK_UP 0xC8           ///< up arrow
#define DIK_PRIOR 0xC9        ///< Page Up
#define DIK_LEFT 0xCB         ///< left arrow
#define DIK_RIGHT 0xCD        ///< right arrow
#define DIK_END 0xCF          ///< End
#define DIK_DOWN 0xD0         ///< down arrow
#define DIK_NEXT 0xD1         ///< Page Down
#define DIK_INSERT 0xD2       ///< Insert
#define DIK_DELETE 0xD3       ///< Delete
#define DIK_LWIN 0xDB         ///< left Windows key
#define DIK_RWIN 0xDC         ///< right Windows key
#define DIK_APPS 0xDD         ///< menu key
