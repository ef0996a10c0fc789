// Device contexts on surfaces: opening and closing them, text colour and background mode. The
// text itself is drawn by gdi_text.cpp (FreeType) or not at all (the browser build's web_text.cpp).
#include "soft/device_contexts.h"

namespace {

// Contexts that may be out at once.
constexpr int MAX_CONTEXTS = 8;

SoftDeviceContext contexts[MAX_CONTEXTS];

}  // namespace

SoftDeviceContext* SoftContextOf(HDC dc) {
  for (SoftDeviceContext& context : contexts)
    if (context.open && &context.handle == dc) return &context;
  return nullptr;
}

HDC SoftOpenSurfaceDC(const SoftDrawTarget& target) {
  for (SoftDeviceContext& context : contexts) {
    if (context.open) continue;
    context = SoftDeviceContext{};
    context.open = true;
    context.target = target;
    return &context.handle;
  }
  return nullptr;
}

bool SoftCloseSurfaceDC(HDC dc) {
  SoftDeviceContext* context = SoftContextOf(dc);
  if (!context) return false;
  context->open = false;
  return true;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
  SoftDeviceContext* context = SoftContextOf(dc);
  if (!context) return CLR_INVALID;
  const COLORREF previous = context->text_color;
  context->text_color = color & 0xFFFFFF;
  return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  SoftDeviceContext* context = SoftContextOf(dc);
  if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = context->background_mode;
  context->background_mode = mode;
  return previous;
}
