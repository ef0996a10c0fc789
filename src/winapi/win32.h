/// \file
/// The subset of the Win32 API that the game and its library are written against:
/// types, messages, windows, time, keys. Names and values are the published ones, so the
/// same sources build against the system headers on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

/// Calling convention of system calls; nothing on this platform.
#define WINAPI
/// Calling convention of callbacks the system calls; nothing here.
#define CALLBACK
/// Calling convention of entry points; nothing here.
#define APIENTRY
/// Calling convention of COM methods; nothing here.
#define STDMETHODCALLTYPE
/// Far pointers of 16-bit code; nothing here.
#define FAR
/// Near pointers of 16-bit code; nothing here.
#define NEAR
#define CONST const  ///< Constant, in the system's spelling.

typedef int BOOL;             ///< Truth value: 0 false, anything else true.
typedef unsigned char BYTE;   ///< 8-bit unsigned.
typedef uint16_t WORD;        ///< 16-bit unsigned.
typedef uint32_t DWORD;       ///< 32-bit unsigned.
typedef int32_t LONG;         ///< 32-bit signed.
typedef uint32_t ULONG;       ///< 32-bit unsigned.
typedef uint32_t UINT;        ///< 32-bit unsigned.
typedef int INT;              ///< int.
typedef char CHAR;            ///< char.
typedef int16_t SHORT;        ///< 16-bit signed.
typedef int32_t HRESULT;      ///< Result of a COM call: negative on failure.
typedef uintptr_t WPARAM;     ///< Message parameter of pointer size, unsigned.
typedef intptr_t LPARAM;      ///< Message parameter of pointer size, signed.
typedef intptr_t LRESULT;     ///< Result of a window procedure.
typedef intptr_t INT_PTR;     ///< Signed integer of pointer size.
typedef uintptr_t UINT_PTR;   ///< Unsigned integer of pointer size.
typedef void* LPVOID;         ///< Untyped pointer.
typedef const void* LPCVOID;  ///< Untyped pointer to constant data.
typedef char* LPSTR;          ///< Text.
typedef const char* LPCSTR;   ///< Constant text.
typedef DWORD* LPDWORD;       ///< Pointer to a DWORD.
typedef BYTE* LPBYTE;         ///< Pointer to bytes.
typedef LONG* LPLONG;         ///< Pointer to a LONG.

#ifndef TRUE
#define TRUE 1  ///< Truth value true.
#endif
#ifndef FALSE
#define FALSE 0  ///< Truth value false.
#endif

#define S_OK ((HRESULT)0)                     ///< Success.
#define S_FALSE ((HRESULT)1)                  ///< Success, with nothing done or the answer no.
#define E_FAIL ((HRESULT)0x80004005)          ///< Unspecified failure.
#define E_INVALIDARG ((HRESULT)0x80070057)    ///< An argument is invalid.
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)   ///< Memory ran out.
#define E_NOINTERFACE ((HRESULT)0x80004002)   ///< The object has no such interface.
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)  ///< True for a result that reports success.
#define FAILED(hr) (((HRESULT)(hr)) < 0)      ///< True for a result that reports failure.

/// Opaque handles: each is a distinct pointer type, as in the system headers.
#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__* name
/// A window.
DECLARE_HANDLE(HWND);
/// The program's instance (module).
DECLARE_HANDLE(HINSTANCE);
/// An icon.
DECLARE_HANDLE(HICON);
/// A brush to fill with.
DECLARE_HANDLE(HBRUSH);
/// A menu.
DECLARE_HANDLE(HMENU);
/// A device context: where GDI draws.
DECLARE_HANDLE(HDC);
/// A font.
DECLARE_HANDLE(HFONT);
typedef void* HANDLE;       ///< Any system object.
typedef HICON HCURSOR;      ///< A mouse cursor.
typedef void* HGDIOBJ;      ///< Any GDI object: brush, font, pen.
typedef HINSTANCE HMODULE;  ///< A loaded module.

/// Rectangles and points; right and bottom lie one past the last pixel.
typedef struct tagRECT {
  LONG left;    ///< left column
  LONG top;     ///< top row
  LONG right;   ///< one past the right column
  LONG bottom;  ///< one past the bottom row
} RECT, *LPRECT;  ///< Pointer to a RECT.
typedef const RECT* LPCRECT;  ///< Pointer to a constant RECT.

/// A point in pixels.
typedef struct tagPOINT {
  LONG x;  ///< column
  LONG y;  ///< row
} POINT, *LPPOINT;  ///< Pointer to a POINT.

/// One palette colour: red, green, blue and PC_* flags.
typedef struct tagPALETTEENTRY {
  BYTE peRed;    ///< red, 0..255
  BYTE peGreen;  ///< green, 0..255
  BYTE peBlue;   ///< blue, 0..255
  BYTE peFlags;  ///< PC_* flags
} PALETTEENTRY, *LPPALETTEENTRY;  ///< Pointer to a PALETTEENTRY.

#define PC_RESERVED 0x01    ///< Palette flag: the entry is reserved for palette animation.
#define PC_EXPLICIT 0x02    ///< Palette flag: peRed holds an index into the system palette.
#define PC_NOCOLLAPSE 0x04  ///< Palette flag: the entry is not matched against the system palette.

/// Region data: a header followed by nCount RECTs.
#define RDH_RECTANGLES 1
/// What region data holds: its size, kind and the bounds of its rectangles.
typedef struct _RGNDATAHEADER {
  DWORD dwSize;    ///< size of this header in bytes
  DWORD iType;     ///< RDH_RECTANGLES
  DWORD nCount;    ///< number of rectangles that follow
  DWORD nRgnSize;  ///< bytes of the rectangles, or 0
  RECT rcBound;    ///< bounds of all the rectangles
} RGNDATAHEADER;
/// Region data: the header, then its rectangles.
typedef struct _RGNDATA {
  RGNDATAHEADER rdh;  ///< the header
  char Buffer[1];     ///< nCount RECTs start here
} RGNDATA, *LPRGNDATA;  ///< Pointer to a RGNDATA.

/// 128-bit interface identifiers.
typedef struct _GUID {
  uint32_t Data1;    ///< first 8 hex digits
  uint16_t Data2;    ///< next 4 hex digits
  uint16_t Data3;    ///< next 4 hex digits
  uint8_t Data4[8];  ///< last 8 bytes
} GUID, IID;  ///< IID: a GUID that names an interface.
typedef GUID* LPGUID;         ///< Pointer to a GUID.
#define REFIID const IID&     ///< Reference to an interface identifier, as COM calls take it.
#define REFGUID const GUID&   ///< Reference to a GUID.
#define REFCLSID const GUID&  ///< Reference to a class identifier.

/// True when both identifiers are the same 128 bits.
inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}

/// Base of every COM interface.
struct IUnknown {
  /// Hands out another interface of the object in *object, counted; E_NOINTERFACE when it has none.
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
  /// Counts one more holder; returns the new count.
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  /// Lets go of one hold, freeing the object at none; returns the new count.
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
  virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;  ///< Pointer to an IUnknown.

// ---- Messages -----------------------------------------------------------------------------

#define WM_NULL 0x0000        ///< No message.
#define WM_CREATE 0x0001      ///< The window is being created.
#define WM_DESTROY 0x0002     ///< The window is being destroyed.
#define WM_MOVE 0x0003        ///< The window moved.
#define WM_SIZE 0x0005        ///< The window's size changed.
#define WM_ACTIVATE 0x0006    ///< The window became active or inactive.
#define WM_SETFOCUS 0x0007    ///< The window got the keyboard focus.
#define WM_KILLFOCUS 0x0008   ///< The window lost the keyboard focus.
#define WM_PAINT 0x000F       ///< The window needs drawing.
#define WM_CLOSE 0x0010       ///< The user asked to close the window.
#define WM_QUIT 0x0012        ///< Ends the message loop; wParam is the exit code.
#define WM_KEYDOWN 0x0100     ///< A key went down (wParam: virtual key).
#define WM_KEYUP 0x0101       ///< A key went up.
#define WM_CHAR 0x0102        ///< A character was typed (wParam: its code).
#define WM_SYSKEYDOWN 0x0104  ///< A key went down while Alt was held, or F10.
#define WM_SYSKEYUP 0x0105    ///< A key went up while Alt was held, or F10.
#define WM_USER 0x0400        ///< First message number free for the program's own use.

#define PM_NOREMOVE 0x0000  ///< PeekMessageA: leave the message in the queue.
#define PM_REMOVE 0x0001    ///< PeekMessageA: take the message out of the queue.

/// One queued message.
typedef struct tagMSG {
  HWND hwnd;      ///< window it is for
  UINT message;   ///< WM_* number
  WPARAM wParam;  ///< first parameter
  LPARAM lParam;  ///< second parameter
  DWORD time;     ///< GetTickCount when posted
  POINT pt;       ///< cursor position when posted
} MSG, *LPMSG;  ///< Pointer to a MSG.

// ---- Window classes and windows -----------------------------------------------------------

/// A window procedure: handles one message of a window.
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define CS_VREDRAW 0x0001  ///< Class style: redraw all on a change of height.
#define CS_HREDRAW 0x0002  ///< Class style: redraw all on a change of width.
#define CS_DBLCLKS 0x0008  ///< Class style: report double clicks.
#define CS_OWNDC 0x0020    ///< Class style: each window has its own device context.

#define WS_OVERLAPPED 0x00000000L        ///< Window style: a window with a title bar and border.
#define WS_POPUP 0x80000000L             ///< Window style: a window without a frame.
#define WS_VISIBLE 0x10000000L           ///< Window style: shown from the start.
#define WS_OVERLAPPEDWINDOW 0x00CF0000L  ///< Window style: a top-level window with caption and sizing border.

#define SW_HIDE 0        ///< ShowWindow: hide.
#define SW_SHOWNORMAL 1  ///< ShowWindow: show and activate, in its normal size.
#define SW_SHOW 5        ///< ShowWindow: show and activate.

/// A resource given by number rather than by name.
#define MAKEINTRESOURCEA(i) ((LPSTR)((uintptr_t)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)                ///< The default application icon.
#define IDC_ARROW MAKEINTRESOURCEA(32512)                      ///< The standard arrow cursor.

#define WHITE_BRUSH 0  ///< Stock object: the white brush.
#define BLACK_BRUSH 4  ///< Stock object: the black brush.
#define NULL_BRUSH 5   ///< Stock object: a brush that paints nothing.

/// A window class as registered with RegisterClassA.
typedef struct tagWNDCLASSA {
  UINT style;            ///< CS_* bits
  WNDPROC lpfnWndProc;   ///< handles the class's messages
  int cbClsExtra;        ///< extra bytes after the class record
  int cbWndExtra;        ///< extra bytes after each window record
  HINSTANCE hInstance;   ///< the module that holds the procedure
  HICON hIcon;           ///< icon, or null
  HCURSOR hCursor;       ///< cursor, or null
  HBRUSH hbrBackground;  ///< brush the background is erased with, or null
  LPCSTR lpszMenuName;   ///< menu resource name, or null
  LPCSTR lpszClassName;  ///< name windows of this class are created by
} WNDCLASSA;

/// What BeginPaint hands to a WM_PAINT handler.
typedef struct tagPAINTSTRUCT {
  HDC hdc;               ///< context to draw with
  BOOL fErase;           ///< nonzero when the background must be erased
  RECT rcPaint;          ///< the part to draw
  BOOL fRestore;         ///< reserved
  BOOL fIncUpdate;       ///< reserved
  BYTE rgbReserved[32];  ///< reserved
} PAINTSTRUCT, *LPPAINTSTRUCT;  ///< Pointer to a PAINTSTRUCT.

typedef WORD ATOM;  ///< A registered class's number; 0 on failure.

/// Registers a window class; its atom, or 0 on failure.
ATOM WINAPI RegisterClassA(const WNDCLASSA* window_class);
/// Creates a window of a registered class; null on failure.
HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param);
/// Destroys a window; FALSE on failure.
BOOL WINAPI DestroyWindow(HWND window);
/// The window's rectangle in screen coordinates; FALSE on failure.
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
/// Loads an icon (null instance: a system one such as IDI_APPLICATION).
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
/// Loads a cursor (null instance: a system one such as IDC_ARROW).
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
/// A stock brush or font (*_BRUSH, *_FONT); null for an unknown one.
HGDIOBJ WINAPI GetStockObject(int object);
/// Shows or hides the mouse cursor; returns the display count (shown at 0 and above).
int WINAPI ShowCursor(BOOL show);

/// Reads the next message for the window (null: any) into msg; FALSE when none is waiting.
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove);
/// Posts WM_CHAR for a key message that types a character.
BOOL WINAPI TranslateMessage(const MSG* msg);
/// Hands a message to its window's procedure; returns what that returned.
LRESULT WINAPI DispatchMessageA(const MSG* msg);
/// Default handling of any message a window procedure does not handle itself.
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// Calls the window's procedure with a message at once and returns its result.
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// Queues a message for the window; FALSE on failure.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// Posts WM_QUIT with the exit code, ending the message loop.
void WINAPI PostQuitMessage(int exit_code);
/// Starts drawing a WM_PAINT; the device context to draw with.
HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
/// Ends the drawing BeginPaint started.
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);

// ---- Time and keys ------------------------------------------------------------------------

/// Milliseconds since the system started, wrapping at 2^32.
DWORD WINAPI GetTickCount(void);
/// Gives up the processor for at least `milliseconds`.
void WINAPI Sleep(DWORD milliseconds);
/// Bit 15 set while the key is down; bit 0 set when it went down since the last call.
SHORT WINAPI GetAsyncKeyState(int virtual_key);

#define VK_BACK 0x08     ///< Key: Backspace.
#define VK_TAB 0x09      ///< Key: Tab.
#define VK_RETURN 0x0D   ///< Key: Enter.
#define VK_SHIFT 0x10    ///< Key: either Shift.
#define VK_CONTROL 0x11  ///< Key: either Ctrl.
#define VK_MENU 0x12     ///< Key: either Alt.
#define VK_ESCAPE 0x1B   ///< Key: Escape.
#define VK_SPACE 0x20    ///< Key: space bar.
#define VK_LEFT 0x25     ///< Key: left arrow.
#define VK_UP 0x26       ///< Key: up arrow.
#define VK_RIGHT 0x27    ///< Key: right arrow.
#define VK_DOWN 0x28     ///< Key: down arrow.
#define VK_F1 0x70       ///< Key: F1 (F2..F11 follow in order).
#define VK_F4 0x73       ///< Key: F4.
#define VK_F12 0x7B      ///< Key: F12.

// ---- GDI text output ----------------------------------------------------------------------

/// A colour as red | green << 8 | blue << 16.
typedef DWORD COLORREF;
/// A COLORREF from red, green, blue 0..255.
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))              ///< Red of a COLORREF.
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))   ///< Green of a COLORREF.
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))      ///< Blue of a COLORREF.
#define CLR_INVALID 0xFFFFFFFF                    ///< SetTextColor's failure result.

/// \name Background modes of text output.
///@{
#define TRANSPARENT 1  ///< Text drawn over what is there.
#define OPAQUE 2       ///< Text background filled with the background colour.
///@}

/// \name Stock fonts of GetStockObject.
///@{
#define OEM_FIXED_FONT 10       ///< Stock font: fixed pitch, the OEM code page.
#define ANSI_FIXED_FONT 11      ///< Stock font: fixed pitch, the system's code page.
#define ANSI_VAR_FONT 12        ///< Stock font: variable pitch, the system's code page.
#define SYSTEM_FONT 13          ///< Stock font: the system font.
#define DEVICE_DEFAULT_FONT 14  ///< Stock font: the device's own.
#define SYSTEM_FIXED_FONT 16    ///< Stock font: the fixed-pitch system font.
#define DEFAULT_GUI_FONT 17     ///< Stock font: the one of dialogs and menus.
///@}

#define HGDI_ERROR ((HGDIOBJ)(intptr_t)-1)  ///< SelectObject's failure result.

/// Sets the text colour of a device context; the colour before, or CLR_INVALID.
COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
/// Sets the background mode (TRANSPARENT or OPAQUE); the mode before, or 0.
int WINAPI SetBkMode(HDC dc, int mode);
/// Writes `length` characters of text at (x, y) in the selected font; FALSE on failure.
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
/// Selects a font or brush into a device context; the object it replaces, or null / HGDI_ERROR.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);

/// Entry point that the platform's main calls.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command);

// ---- Files (the 16-bit-era file calls the picture reader uses) -----------------------------

typedef int HFILE;               ///< A file opened with OpenFile.
#define HFILE_ERROR ((HFILE)-1)  ///< OpenFile's and _lclose's failure result.

#define OFS_MAXPATHNAME 128  ///< Longest path an OFSTRUCT holds.

/// What OpenFile reports about the file it opened.
typedef struct _OFSTRUCT {
  BYTE cBytes;                       ///< size of the record
  BYTE fFixedDisk;                   ///< nonzero on a fixed disk
  WORD nErrCode;                     ///< error code on failure
  WORD Reserved1;                    ///< reserved
  WORD Reserved2;                    ///< reserved
  CHAR szPathName[OFS_MAXPATHNAME];  ///< the full path opened
} OFSTRUCT, *LPOFSTRUCT, *POFSTRUCT;  ///< Pointer to an OFSTRUCT.

/// \typedef LPOFSTRUCT
/// Pointer to an OFSTRUCT.

#define OF_READ 0x00000000       ///< OpenFile: for reading.
#define OF_WRITE 0x00000001      ///< OpenFile: for writing.
#define OF_READWRITE 0x00000002  ///< OpenFile: for reading and writing.

/// \name Origins of _llseek.
///@{
#define FILE_BEGIN 0    ///< _llseek: from the start.
#define FILE_CURRENT 1  ///< _llseek: from the current position.
#define FILE_END 2      ///< _llseek: from the end.
///@}

/// Opens a file; HFILE_ERROR when it cannot be opened.
HFILE WINAPI OpenFile(LPCSTR file_name, LPOFSTRUCT open_info, UINT style);
/// Reads up to `count` bytes; returns the number read, or (UINT)HFILE_ERROR on error.
UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT count);
/// Closes a file opened with OpenFile; HFILE_ERROR for a handle that is not open.
HFILE WINAPI _lclose(HFILE file);
/// Moves the file position; returns the new position, or HFILE_ERROR.
LONG WINAPI _llseek(HFILE file, LONG offset, int origin);

// ---- Device-independent bitmaps --------------------------------------------------------------

/// \name Compression kinds of BITMAPINFOHEADER::biCompression.
///@{
#define BI_RGB 0L        ///< Uncompressed.
#define BI_RLE8 1L       ///< 8-bit run-length encoding.
#define BI_RLE4 2L       ///< 4-bit run-length encoding.
#define BI_BITFIELDS 3L  ///< Uncompressed, with colour masks after the info header.
///@}

#pragma pack(push, 2)
/// The 14-byte header at the start of a .BMP file.
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;       ///< "BM"
  DWORD bfSize;      ///< size of the file in bytes
  WORD bfReserved1;  ///< reserved, 0
  WORD bfReserved2;  ///< reserved, 0
  DWORD bfOffBits;   ///< offset of the pixels from the start of the file
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER;  ///< Pointer to a BITMAPFILEHEADER.
#pragma pack(pop)

/// The 40-byte info header that follows it: size, depth and compression of the picture.
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;          ///< size of this header in bytes: 40
  LONG biWidth;          ///< pixels per row
  LONG biHeight;         ///< rows; positive: bottom row first, negative: top row first
  WORD biPlanes;         ///< colour planes, 1
  WORD biBitCount;       ///< bits per pixel: 1, 4, 8, 16, 24 or 32
  DWORD biCompression;   ///< BI_* compression
  DWORD biSizeImage;     ///< bytes of pixels (0 allowed for BI_RGB)
  LONG biXPelsPerMeter;  ///< horizontal resolution, pixels per metre
  LONG biYPelsPerMeter;  ///< vertical resolution, pixels per metre
  DWORD biClrUsed;       ///< colours in the colour table (0: all the depth allows)
  DWORD biClrImportant;  ///< colours that matter (0: all)
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;  ///< Pointer to a BITMAPINFOHEADER.
