// GDI text output in a web browser: the browser build has no FreeType and no fontconfig (the
// emscripten packages ship neither), so it behaves as the software platform does on a machine
// where no font can be loaded. Device contexts open and close and keep their colour and
// background mode; there is no stock font, and TextOutA draws nothing and fails.
#include "soft/soft_platform.h"

namespace {

// Contexts that may be out at once.
constexpr int MAX_CONTEXTS = 8;

// A device context; only its settings, since nothing is drawn through it.
struct WebDeviceContext {
  HDC__ handle;  // first, so the handle's address is the context's
  bool open;
  COLORREF text_color;
  int background_mode;
};

WebDeviceContext contexts[MAX_CONTEXTS];

WebDeviceContext* ContextOf(HDC dc) {
  for (WebDeviceContext& context : contexts)
    if (context.open && &context.handle == dc) return &context;
  return nullptr;
}

}  // namespace

HDC SoftOpenSurfaceDC(const SoftDrawTarget&) {
  for (WebDeviceContext& context : contexts) {
    if (context.open) continue;
    context = WebDeviceContext{};
    context.open = true;
    context.background_mode = OPAQUE;
    return &context.handle;
  }
  return nullptr;
}

bool SoftCloseSurfaceDC(HDC dc) {
  WebDeviceContext* context = ContextOf(dc);
  if (!context) return false;
  context->open = false;
  return true;
}

void SoftSetTextFontFamily(const char*) {}

HGDIOBJ SoftStockFont() { return nullptr; }

int SoftTextLineHeight() { return 0; }

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
  WebDeviceContext* context = ContextOf(dc);
  if (!context) return CLR_INVALID;
  const COLORREF previous = context->text_color;
  context->text_color = color & 0xFFFFFF;
  return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  WebDeviceContext* context = ContextOf(dc);
  if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = context->background_mode;
  context->background_mode = mode;
  return previous;
}

// There is no font object to select.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  if (!ContextOf(dc) || !object) return nullptr;
  return HGDI_ERROR;
}

BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int) { return FALSE; }
