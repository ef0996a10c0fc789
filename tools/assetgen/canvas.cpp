#include "canvas.h"

#include "xorshift.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

namespace {

const char* const FONT_PATHS[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

FT_Library freetype = nullptr;
cairo_font_face_t* font_faces[2] = {nullptr, nullptr};
const cairo_user_data_key_t FT_FACE_KEY = {};

void DoneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

cairo_font_face_t* LoadFace(const char* path) {
  FT_Face face = nullptr;
  if (FT_New_Face(freetype, path, 0, &face) != 0) {
    std::fprintf(stderr, "vork-assetgen: cannot read font %s\n", path);
    return nullptr;
  }
  cairo_font_face_t* cairo_face = cairo_ft_font_face_create_for_ft_face(face, 0);
  // The FreeType face must live as long as cairo keeps the font face.
  cairo_font_face_set_user_data(cairo_face, &FT_FACE_KEY, face, DoneFace);
  return cairo_face;
}

void UseFont(cairo_t* cr, double size, FontStyle style) {
  cairo_set_font_face(cr, font_faces[style == FontStyle::SANS_BOLD ? 1 : 0]);
  cairo_set_font_size(cr, size);
  // Fixed rendering options so the output does not depend on the machine's font settings.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

bool LoadFonts() {
  if (FT_Init_FreeType(&freetype) != 0) {
    std::fprintf(stderr, "vork-assetgen: cannot start FreeType\n");
    return false;
  }
  for (int i = 0; i < 2; ++i) {
    font_faces[i] = LoadFace(FONT_PATHS[i]);
    if (font_faces[i] == nullptr) return false;
  }
  return true;
}

void ReleaseFonts() {
  for (cairo_font_face_t*& face : font_faces) {
    if (face != nullptr) cairo_font_face_destroy(face);
    face = nullptr;
  }
  // Empties cairo's font caches, which drops the last references and closes the faces.
  cairo_debug_reset_static_data();
  if (freetype != nullptr) FT_Done_FreeType(freetype);
  freetype = nullptr;
}

Canvas OpenCanvas(int width, int height) {
  Canvas canvas;
  canvas.width = width;
  canvas.height = height;
  canvas.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  canvas.cr = cairo_create(canvas.surface);
  cairo_set_antialias(canvas.cr, CAIRO_ANTIALIAS_GRAY);
  cairo_set_line_join(canvas.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(canvas.cr, CAIRO_LINE_CAP_ROUND);
  return canvas;
}

RgbaImage CloseCanvas(Canvas& canvas) {
  cairo_surface_flush(canvas.surface);
  RgbaImage image = MakeRgbaImage(canvas.width, canvas.height);
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface);
  const int stride = cairo_image_surface_get_stride(canvas.surface);
  for (int y = 0; y < canvas.height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < canvas.width; ++x) {
      const uint32_t argb = row[x];
      const unsigned alpha = argb >> 24;
      uint8_t* out = PixelAt(image, x, y);
      out[3] = static_cast<uint8_t>(alpha);
      if (alpha == 0) continue;
      // Cairo stores premultiplied colour; undo it with rounding.
      for (int c = 0; c < 3; ++c) {
        const unsigned premultiplied = (argb >> (16 - 8 * c)) & 0xFF;
        out[c] = static_cast<uint8_t>((premultiplied * 255 + alpha / 2) / alpha);
      }
    }
  }
  cairo_destroy(canvas.cr);
  cairo_surface_destroy(canvas.surface);
  canvas = Canvas{};
  return image;
}

void SetColor(cairo_t* cr, uint32_t rgb) { SetColorAlpha(cr, rgb, 1.0); }

void SetColorAlpha(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                        (rgb & 0xFF) / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void FillAndStroke(cairo_t* cr, uint32_t fill_rgb, uint32_t line_rgb, double line_width) {
  SetColor(cr, fill_rgb);
  if (line_width <= 0) {
    cairo_fill(cr);
    return;
  }
  cairo_fill_preserve(cr);
  SetColor(cr, line_rgb);
  cairo_set_line_width(cr, line_width);
  cairo_stroke(cr);
}

double TextWidth(cairo_t* cr, const char* text, double size, FontStyle style) {
  cairo_save(cr);
  UseFont(cr, size, style);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  cairo_restore(cr);
  return extents.x_advance;
}

void DrawText(cairo_t* cr, const char* text, double x, double y, double size, FontStyle style,
              TextAlign align, uint32_t fill_rgb, uint32_t outline_rgb, double outline_width) {
  cairo_save(cr);
  UseFont(cr, size, style);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  const double left = align == TextAlign::CENTER ? x - extents.x_advance / 2 : x;
  cairo_move_to(cr, left, y);
  cairo_text_path(cr, text);
  if (outline_width > 0) {
    // Outline first and fill over it, so the letters keep their full shape.
    SetColor(cr, outline_rgb);
    cairo_set_line_width(cr, outline_width);
    cairo_stroke_preserve(cr);
  }
  SetColor(cr, fill_rgb);
  cairo_fill(cr);
  cairo_restore(cr);
}

double NextRandom(ArtRandom& random) { return NextXorShift(random.state) / 4294967296.0; }

void DrawStick(cairo_t* cr, double x, double y, double angle, double length, double thickness, double radius,
               uint32_t fill_rgb, uint32_t line_rgb, double line_width) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_new_path(cr);
  RoundedRect(cr, -length / 2, -thickness / 2, length, thickness, radius);
  cairo_restore(cr);
  FillAndStroke(cr, fill_rgb, line_rgb, line_width);
}
