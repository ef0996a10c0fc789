// One pass over the platform calls the library relies on, written as text, one observation a
// line. The same source runs on the soft platform (a test holds it to the published behaviour)
// and on Windows (vork-probe.exe, run under Wine by scripts/windows-check).
#pragma once

#include <string>

#include "win32.h"

// Runs the pass on a fresh DirectDraw object over `window` (a visible 320x240 pop-up), then
// lives through a second window of its own and a quit message; returns the observations and
// leaves no DirectDraw object alive.
std::string RunPlatformProbe(HWND window);
