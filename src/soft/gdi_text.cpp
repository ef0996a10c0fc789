// GDI text output on surfaces (the contexts themselves are in device_contexts.cpp): TextOutA
// drawing real glyphs without anti-aliasing. The font is found at run time through fontconfig
// and rendered by FreeType, once, in one size: the height of the system's default GUI font (a
// 13-pixel line).
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>

#include "soft/device_contexts.h"
#include "soft/text.h"

namespace {

// Pixels per em that give DejaVu Sans a 13-pixel line: ascent 10 and descent 3, each rounded.
constexpr int FONT_PIXELS_PER_EM = 11;

// The one loaded font.
struct TextFont {
  std::string family = "DejaVu Sans";  // the family asked of fontconfig
  bool tried = false;                  // a load was attempted since the family was chosen
  FT_Library library = nullptr;
  FT_Face face = nullptr;              // null when no font could be loaded
  int ascent = 0;                      // pixels from a line's top to its baseline
  int descent = 0;                     // pixels below the baseline
  int stock_object = 0;                // the address GetStockObject hands out for it
};

TextFont text_font;

void DropFont() {
  if (text_font.face) FT_Done_Face(text_font.face);
  if (text_font.library) FT_Done_FreeType(text_font.library);
  text_font.face = nullptr;
  text_font.library = nullptr;
  text_font.tried = false;
}

// The file of the wanted family, or "" when fontconfig knows no font of that family. A
// configuration of its own, released after the look-up, leaves nothing of fontconfig behind.
std::string FontFileOf(const std::string& family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  std::string path;
  if (config && pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* matched_family = nullptr;
    FcChar8* file = nullptr;
    // fontconfig always offers some font; only the family asked for will do.
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch &&
        family == reinterpret_cast<const char*>(matched_family) &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
      path = reinterpret_cast<const char*>(file);
    if (match) FcPatternDestroy(match);
  }
  if (pattern) FcPatternDestroy(pattern);
  if (config) FcConfigDestroy(config);
  return path;
}

// Font units scaled to pixels at the loaded size, rounded to the nearest pixel.
int PixelsOf(long font_units, const FT_Face face) {
  return static_cast<int>((font_units * FONT_PIXELS_PER_EM * 2 + face->units_per_EM) / (2 * face->units_per_EM));
}

// The loaded face, loading it on first use; null when there is none.
FT_Face Font() {
  if (text_font.tried) return text_font.face;
  text_font.tried = true;
  const std::string path = FontFileOf(text_font.family);
  if (path.empty() || FT_Init_FreeType(&text_font.library) != 0) return nullptr;
  if (FT_New_Face(text_font.library, path.c_str(), 0, &text_font.face) != 0 ||
      FT_Set_Pixel_Sizes(text_font.face, 0, FONT_PIXELS_PER_EM) != 0) {
    DropFont();
    text_font.tried = true;
    return nullptr;
  }
  text_font.ascent = PixelsOf(text_font.face->ascender, text_font.face);
  text_font.descent = PixelsOf(-text_font.face->descender, text_font.face);
  return text_font.face;
}

// The pixel value a colour becomes on the target: the nearest palette entry (lowest index on a
// tie) on 8-bit surfaces, packed 5.5.5 or 5.6.5 otherwise.
uint16_t PixelValueOf(COLORREF color, const SoftDrawTarget& target) {
  const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
  if (target.bits_per_pixel == 15) return static_cast<uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | blue >> 3);
  if (target.bits_per_pixel == 16) return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
  if (!target.palette) return 0;
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& entry = target.palette[i];
    const long dr = entry.peRed - red, dg = entry.peGreen - green, db = entry.peBlue - blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
  }
  return static_cast<uint16_t>(best);
}

void PutPixel(const SoftDrawTarget& target, long x, long y, uint16_t value) {
  if (x < 0 || y < 0 || x >= target.width || y >= target.height) return;
  uint8_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.pitch;
  if (target.bits_per_pixel == 8)
    row[x] = static_cast<uint8_t>(value);
  else
    std::memcpy(row + 2 * x, &value, 2);
}

// Sets the target's pixels under the set bits of a one-bit glyph bitmap whose top left is (left, top).
void DrawGlyph(const SoftDrawTarget& target, const FT_Bitmap& bitmap, long left, long top, uint16_t value) {
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column)
      if (bits[column >> 3] & (0x80 >> (column & 7)))
        PutPixel(target, left + static_cast<long>(column), top + static_cast<long>(row), value);
  }
}

}  // namespace

void SoftSetTextFontFamily(const char* family) {
  DropFont();
  text_font.family = family ? family : "";
}

HGDIOBJ SoftStockFont() { return Font() ? &text_font.stock_object : nullptr; }

int SoftTextLineHeight() { return Font() ? text_font.ascent + text_font.descent : 0; }

// Every context draws in the one stock font, so selecting it changes nothing.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  if (!SoftContextOf(dc) || !object) return nullptr;
  return object == SoftStockFont() ? object : HGDI_ERROR;
}

// The text's cell has its top-left corner at (x, y); glyphs stand on the baseline ascent below.
// Characters are taken as Latin-1. The background is left as it is in either mode.
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  SoftDeviceContext* context = SoftContextOf(dc);
  FT_Face face = Font();
  if (!context || !face || (!text && length > 0) || length < 0) return FALSE;
  const uint16_t value = PixelValueOf(context->text_color, context->target);
  const long baseline = static_cast<long>(y) + text_font.ascent;
  long pen = x;
  for (int i = 0; i < length; ++i) {
    const FT_ULong code = static_cast<unsigned char>(text[i]);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    if (glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
      DrawGlyph(context->target, glyph->bitmap, pen + glyph->bitmap_left, baseline - glyph->bitmap_top, value);
    pen += glyph->advance.x >> 6;
  }
  return TRUE;
}
