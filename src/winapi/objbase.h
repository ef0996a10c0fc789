// COM start-up and object creation, and the text helpers that go with it (wide text, the
// current directory) as the music library uses them. Names and values are the published ones.
#pragma once

#include "win32.h"

typedef wchar_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef int64_t LONGLONG;

#ifndef MAX_PATH
#define MAX_PATH 260
#endif

// A time stamp in 100-nanosecond steps since 1601.
typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

struct IStream;

#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define E_POINTER ((HRESULT)0x80004003)

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)

// Starts COM for the calling thread: S_OK, or S_FALSE when it had already started.
HRESULT WINAPI CoInitialize(LPVOID reserved);
// Ends one CoInitialize of the calling thread.
void WINAPI CoUninitialize();
// Creates an object of class `clsid` and hands out its interface `iid` (the music classes only).
HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

#define CP_ACP 0
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_NO_UNICODE_TRANSLATION 1113L

// Converts `length` bytes of text (-1: up to and including its terminator) to wide characters;
// the characters written, or 0 when the text does not fit into `wide_length` (the needed size
// when wide_length is 0). Both code pages here are UTF-8, the system's own.
int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                               int wide_length);
// Why the last failing call of this thread failed (ERROR_...).
DWORD WINAPI GetLastError();
// Copies the current directory into `buffer`; its length, or the size needed when it does not
// fit, or 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD buffer_length, LPSTR buffer);
