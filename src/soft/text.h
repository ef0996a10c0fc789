// Controls of text output on surfaces (gdi_text.cpp, or web_text.cpp in the browser build) for
// the platform and tests: the font family drawn in, the stock font, and its line height.
#pragma once

#include "win32.h"

// Chooses the font family text is drawn in (DejaVu Sans at start) and drops the loaded font.
void SoftSetTextFontFamily(const char* family);
// The stock font object GetStockObject hands out, or null when no font can be loaded.
HGDIOBJ SoftStockFont();
// Height in pixels of a line of text in the loaded font (ascent + descent), 0 when none loads.
int SoftTextLineHeight();
