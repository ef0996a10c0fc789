/// \file
/// COM start-up and object creation, and the text helpers that go with it (wide text, the
/// current directory) as the music library uses them. Names and values are the published ones.
#pragma once

#include "win32.h"

typedef wchar_t WCHAR;         ///< A wide (UTF-16 on Windows) character.
typedef WCHAR* LPWSTR;         ///< Wide text.
typedef const WCHAR* LPCWSTR;  ///< Constant wide text.
typedef int64_t LONGLONG;      ///< 64-bit signed.

#ifndef MAX_PATH
#define MAX_PATH 260  ///< Longest path, in characters.
#endif

/// A time stamp in 100-nanosecond steps since 1601.
typedef struct _FILETIME {
  DWORD dwLowDateTime;   ///< low 32 bits
  DWORD dwHighDateTime;  ///< high 32 bits
} FILETIME;

struct IStream;

#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)    ///< The class is not registered.
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)    ///< CoInitialize has not been called.
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)  ///< The class cannot be aggregated.
#define E_POINTER ((HRESULT)0x80004003)              ///< A pointer argument is invalid.

#define CLSCTX_INPROC_SERVER 0x1  ///< Class context: a DLL in the calling process.
#define CLSCTX_INPROC_HANDLER 0x2  ///< Class context: an in-process handler.
#define CLSCTX_LOCAL_SERVER 0x4  ///< Class context: a server in another process.

/// Class context: in the calling process.
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)

/// Starts COM for the calling thread: S_OK, or S_FALSE when it had already started.
HRESULT WINAPI CoInitialize(LPVOID reserved);
/// Ends one CoInitialize of the calling thread.
void WINAPI CoUninitialize();
/// Creates an object of class `clsid` and hands out its interface `iid` (the music classes only).
HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

#define CP_ACP 0                            ///< Code page: the system's default.
#define CP_UTF8 65001                       ///< Code page: UTF-8.
#define MB_PRECOMPOSED 0x00000001           ///< MultiByteToWideChar: composed characters.
#define MB_ERR_INVALID_CHARS 0x00000008     ///< MultiByteToWideChar: fail on invalid input.
#define ERROR_INSUFFICIENT_BUFFER 122L      ///< The buffer is too small.
#define ERROR_INVALID_PARAMETER 87L         ///< An argument is invalid.
#define ERROR_NO_UNICODE_TRANSLATION 1113L  ///< The text cannot be converted.

/// Converts `length` bytes of text (-1: up to and including its terminator) to wide characters;
/// the characters written, or 0 when the text does not fit into `wide_length` (the needed size
/// when wide_length is 0). Both code pages here are UTF-8, the system's own.
int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                               int wide_length);
/// Why the last failing call of this thread failed (ERROR_...).
DWORD WINAPI GetLastError();
/// Copies the current directory into `buffer`; its length, or the size needed when it does not
/// fit, or 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD buffer_length, LPSTR buffer);
