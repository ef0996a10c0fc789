// Device contexts on surfaces, shared by the text output of every build, with or without a font
// library: the table of open contexts, what each draws into, its text colour and background mode.
#pragma once

#include "soft/soft_platform.h"

// A device context: where it draws and how.
struct SoftDeviceContext {
  HDC__ handle;  // first, so the handle's address is the context's
  bool open = false;
  SoftDrawTarget target{};
  COLORREF text_color = 0;
  int background_mode = OPAQUE;
};

// The open context whose handle is `dc`, or null.
SoftDeviceContext* SoftContextOf(HDC dc);
