// GDI text output in a web browser: the browser build has no FreeType and no fontconfig (the
// emscripten packages ship neither), so it behaves as the software platform does on a machine
// where no font can be loaded. Device contexts (soft/device_contexts.cpp) open and close and
// keep their colour and background mode; there is no stock font, and TextOutA draws nothing and
// fails.
#include "soft/device_contexts.h"
#include "soft/text.h"

void SoftSetTextFontFamily(const char*) {}

HGDIOBJ SoftStockFont() { return nullptr; }

int SoftTextLineHeight() { return 0; }

// There is no font object to select.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  if (!SoftContextOf(dc) || !object) return nullptr;
  return HGDI_ERROR;
}

BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int) { return FALSE; }
