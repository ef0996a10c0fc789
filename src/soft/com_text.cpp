// COM start-up for the calling program, object creation for the music classes, and the text
// helpers that go with them: UTF-8 to wide text, the last error, the current directory.
#include <unistd.h>

#include <cstring>

#include "dmusici.h"
#include "objbase.h"
#include "soft/com_text.h"
#include "soft/direct_music.h"
#include "soft/faults.h"

namespace {

int com_starts = 0;            // CoInitialize calls not yet ended
thread_local DWORD last_error = 0;

DWORD Fail(DWORD error) {
  last_error = error;
  return 0;
}

// One character of UTF-8 from text[0..length); its code point, or -1 when the bytes are not
// UTF-8 (one byte is then used up).
int32_t DecodeUtf8(const uint8_t* text, int length, int* used) {
  const uint8_t lead = text[0];
  const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
  *used = 1;
  if (extra < 0 || extra >= length) return -1;
  int32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((text[i] & 0xC0) != 0x80) return -1;
    code = code << 6 | (text[i] & 0x3F);
  }
  static const int32_t smallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
  *used = extra + 1;
  return code;
}

}  // namespace

HRESULT WINAPI CoInitialize(LPVOID) { return ++com_starts == 1 ? S_OK : S_FALSE; }

void WINAPI CoUninitialize() {
  if (com_starts > 0) --com_starts;
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (com_starts == 0) return CO_E_NOTINITIALIZED;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if ((context & CLSCTX_INPROC) == 0) return REGDB_E_CLASSNOTREG;
  if (FaultHits(PlatformCall::CoCreateInstance)) return E_OUTOFMEMORY;
  if (IsEqualGUID(clsid, CLSID_DirectMusicPerformance)) {
    if (!IsEqualGUID(iid, IID_IDirectMusicPerformance)) return E_NOINTERFACE;
    *object = NewSoftPerformance();
    return S_OK;
  }
  if (IsEqualGUID(clsid, CLSID_DirectMusicLoader)) {
    if (!IsEqualGUID(iid, IID_IDirectMusicLoader)) return E_NOINTERFACE;
    *object = NewSoftLoader();
    return S_OK;
  }
  return REGDB_E_CLASSNOTREG;
}

int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide, int wide_length) {
  if ((code_page != CP_ACP && code_page != CP_UTF8) || text == nullptr || length == 0 || length < -1 ||
      wide_length < 0 || (wide == nullptr && wide_length != 0))
    return static_cast<int>(Fail(ERROR_INVALID_PARAMETER));
  if (length == -1) length = static_cast<int>(std::strlen(text)) + 1;  // the terminator too
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  int written = 0;
  for (int at = 0, used = 0; at < length; at += used) {
    int32_t code = DecodeUtf8(bytes + at, length - at, &used);
    if (code < 0 && (flags & MB_ERR_INVALID_CHARS)) return static_cast<int>(Fail(ERROR_NO_UNICODE_TRANSLATION));
    if (code < 0) code = 0xFFFD;
    if (wide_length != 0) {
      if (written >= wide_length) return static_cast<int>(Fail(ERROR_INSUFFICIENT_BUFFER));
      wide[written] = static_cast<WCHAR>(code);
    }
    ++written;
  }
  return written;
}

DWORD WINAPI GetLastError() { return last_error; }

DWORD WINAPI GetCurrentDirectoryA(DWORD buffer_length, LPSTR buffer) {
  char path[4096];
  if (getcwd(path, sizeof path) == nullptr) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const DWORD length = static_cast<DWORD>(std::strlen(path));
  if (buffer == nullptr || length + 1 > buffer_length) return length + 1;
  std::memcpy(buffer, path, length + 1);
  return length;
}

int SoftComStarts() { return com_starts; }
