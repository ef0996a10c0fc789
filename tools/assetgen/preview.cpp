#include "preview.h"

#include <cstdio>
#include <cstring>

#include "canvas.h"
#include "sprite_sheet.h"
#include "sprites_art.h"

namespace {

const int SHEET_WIDTH = 1340;
const int MARGIN = 10;
const int LABEL_HEIGHT = 18;
const int ZOOM = 3;  // the 58 x 30 views are also shown enlarged this much

// Lays items out left to right, wrapping at the sheet's width.
struct Flow {
  int x = MARGIN, y = MARGIN, row_height = 0;
};

// Returns where an item of w x h goes and moves the flow past it.
void Place(Flow& flow, int w, int h, int* x, int* y) {
  if (flow.x + w > SHEET_WIDTH - MARGIN && flow.x > MARGIN) {
    flow.x = MARGIN;
    flow.y += flow.row_height + MARGIN;
    flow.row_height = 0;
  }
  *x = flow.x;
  *y = flow.y;
  flow.x += w + MARGIN;
  if (h > flow.row_height) flow.row_height = h;
}

void NewRow(Flow& flow) {
  flow.x = MARGIN;
  flow.y += flow.row_height + MARGIN * 2;
  flow.row_height = 0;
}

// The indexed picture in RGBA through the palette; index 0 transparent when keyed.
RgbaImage ThroughPalette(const IndexedImage& indexed, const Palette& palette, bool keyed) {
  RgbaImage image = MakeRgbaImage(indexed.width, indexed.height);
  for (size_t p = 0; p < indexed.pixels.size(); ++p) {
    const uint8_t index = indexed.pixels[p];
    const Rgb& c = palette[index];
    uint8_t* out = &image.pixels[p * 4];
    out[0] = c.red;
    out[1] = c.green;
    out[2] = c.blue;
    out[3] = keyed && index == 0 ? 0 : 255;
  }
  return image;
}

RgbaImage CutCell(const RgbaImage& sheet, const SheetLayout& layout, int k) {
  RgbaImage cell = MakeRgbaImage(layout.cell_width, layout.cell_height);
  const int left = (k % layout.columns) * (layout.cell_width + 1) + 1;
  const int top = (k / layout.columns) * (layout.cell_height + 1) + 1;
  for (int y = 0; y < layout.cell_height; ++y) {
    std::memcpy(PixelAt(cell, 0, y), PixelAt(sheet, left, top + y), static_cast<size_t>(layout.cell_width) * 4);
  }
  return cell;
}

// Paints an RGBA picture onto the canvas at (x, y), scaled by an integer factor.
void Paint(cairo_t* cr, const RgbaImage& image, int x, int y, int zoom) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int row = 0; row < image.height; ++row) {
    uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(row) * stride);
    for (int col = 0; col < image.width; ++col) {
      const uint8_t* p = PixelAt(image, col, row);
      // Pixels are fully opaque or fully transparent here, so no premultiplying is needed.
      out[col] = p[3] == 0 ? 0u : (0xFFu << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    }
  }
  cairo_surface_mark_dirty(surface);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, zoom, zoom);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(surface);
}

// A grey checkerboard behind sprites, so their transparent parts show as such.
void Checker(cairo_t* cr, int x, int y, int w, int h) {
  cairo_rectangle(cr, x, y, w, h);
  SetColor(cr, 0xB8B8C0);
  cairo_fill(cr);
  for (int cy = 0; cy < h; cy += 8) {
    for (int cx = (cy / 8) % 2 * 8; cx < w; cx += 16) {
      cairo_rectangle(cr, x + cx, y + cy, std::min(8, w - cx), std::min(8, h - cy));
    }
  }
  SetColor(cr, 0xD8D8DE);
  cairo_fill(cr);
}

void Label(cairo_t* cr, const std::string& text, int x, int y) {
  DrawText(cr, text.c_str(), x, y + 13, 12, FontStyle::SANS, TextAlign::LEFT, 0x202020);
}

int FindPicture(const PictureSet& pictures, const char* name) {
  for (size_t i = 0; i < pictures.drawn.size(); ++i) {
    if (pictures.drawn[i].file_name == name) return static_cast<int>(i);
  }
  return -1;
}

void AddBackdrops(cairo_t* cr, Flow& flow, const PictureSet& pictures) {
  for (size_t i = 0; i < pictures.drawn.size(); ++i) {
    if (pictures.drawn[i].kind != PictureKind::BACKDROP) continue;
    const RgbaImage image = ThroughPalette(pictures.quantized.images[i], pictures.quantized.palette, false);
    const RgbaImage half = ResizeNearest(image, 320, 240, 0.5);
    int x, y;
    Place(flow, 320, 240 + LABEL_HEIGHT, &x, &y);
    Label(cr, pictures.drawn[i].file_name, x, y);
    Paint(cr, half, x, y + LABEL_HEIGHT, 1);
  }
  NewRow(flow);
}

void AddSheet(cairo_t* cr, Flow& flow, const PictureSet& pictures, const SheetDescription& sheet) {
  const int index = FindPicture(pictures, sheet.file_name);
  if (index < 0) return;
  const RgbaImage rgba = ThroughPalette(pictures.quantized.images[index], pictures.quantized.palette, true);
  const SheetLayout& layout = sheet.layout;
  const bool huge = layout.cell_width > 320;
  for (int k = 0; k < sheet.cell_count; ++k) {
    RgbaImage cell = CutCell(rgba, layout, k);
    if (huge) cell = ResizeNearest(cell, layout.cell_width / 2, layout.cell_height / 2, 0.5);
    int x, y;
    Place(flow, cell.width, cell.height + LABEL_HEIGHT, &x, &y);
    Label(cr, std::string(sheet.file_name) + " " + std::to_string(k), x, y);
    Checker(cr, x, y + LABEL_HEIGHT, cell.width, cell.height);
    Paint(cr, cell, x, y + LABEL_HEIGHT, 1);
    if (!sheet.shown_scaled) continue;
    // As the game shows it: 58 x 30 by nearest neighbour, also zoomed for review.
    const RgbaImage shown = ResizeNearest(CutCell(rgba, layout, k), SHOWN_WIDTH, SHOWN_HEIGHT, 0.0);
    Place(flow, SHOWN_WIDTH * (ZOOM + 1) + MARGIN, SHOWN_HEIGHT * ZOOM + LABEL_HEIGHT, &x, &y);
    Label(cr, "shown", x, y);
    Checker(cr, x, y + LABEL_HEIGHT, SHOWN_WIDTH, SHOWN_HEIGHT);
    Paint(cr, shown, x, y + LABEL_HEIGHT, 1);
    Checker(cr, x + SHOWN_WIDTH + MARGIN, y + LABEL_HEIGHT, SHOWN_WIDTH * ZOOM, SHOWN_HEIGHT * ZOOM);
    Paint(cr, shown, x + SHOWN_WIDTH + MARGIN, y + LABEL_HEIGHT, ZOOM);
  }
  NewRow(flow);
}

// Composes one play frame of the first scene from the sheets, the way the game draws it.
RgbaImage MockPlayFrame(const PictureSet& pictures) {
  const Palette& palette = pictures.quantized.palette;
  RgbaImage frame = ThroughPalette(pictures.quantized.images[FindPicture(pictures, "scene1.BMP")], palette, false);
  auto blit = [&](const char* sheet_name, int cell, int x, int y, bool scaled) {
    for (const SheetDescription& sheet : SpriteSheets()) {
      if (std::strcmp(sheet.file_name, sheet_name) != 0) continue;
      const RgbaImage rgba = ThroughPalette(pictures.quantized.images[FindPicture(pictures, sheet_name)], palette, true);
      RgbaImage image = CutCell(rgba, sheet.layout, cell);
      if (scaled) image = ResizeNearest(image, SHOWN_WIDTH, SHOWN_HEIGHT, 0.0);
      for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
          const uint8_t* p = PixelAt(image, col, row);
          if (p[3] == 0 || x + col < 0 || x + col >= 640 || y + row < 0 || y + row >= 480) continue;
          std::memcpy(PixelAt(frame, x + col, y + row), p, 4);
        }
      }
    }
  };
  const int trees[][2] = {{250, 190}, {430, 195}, {560, 115}, {340, 275}, {150, 340}};
  for (const auto& t : trees) blit("Tree8a.bmp", 0, t[0], t[1], true);
  blit("stump.BMP", 0, 150, 340, true);
  const int tiles[][3] = {{4, 130, 50}, {0, 525, 25}, {9, 560, 360}, {5, 240, 270}};
  for (const auto& t : tiles) blit("NewLetters.BMP", t[0], t[1], t[2], true);
  blit("NewLetters.BMP", 3, 200, 430, true);  // D and O already found
  blit("NewLetters.BMP", 7, 230, 430, true);
  blit("dozer8.BMP", 0, 320, 200, true);
  blit("bots9.BMP", 1, 420, 420, false);
  blit("bots9.BMP", 0, 480, 420, false);
  blit("bots9.BMP", 0, 540, 420, false);
  blit("bots8.BMP", 0, 100, 120, true);
  return frame;
}

}  // namespace

bool WritePreview(const std::string& png_path, const PictureSet& pictures) {
  const int height = 6000;  // cropped to what is used
  Canvas canvas = OpenCanvas(SHEET_WIDTH, height);
  cairo_t* cr = canvas.cr;
  SetColor(cr, 0xF4F4F0);
  cairo_paint(cr);
  Flow flow;
  int x, y;
  Place(flow, 640, 480 + LABEL_HEIGHT, &x, &y);
  Label(cr, "A play frame of scene 1, composed from the sheets as the game draws them", x, y);
  Paint(cr, MockPlayFrame(pictures), x, y + LABEL_HEIGHT, 1);
  NewRow(flow);
  AddBackdrops(cr, flow, pictures);
  for (const SheetDescription& sheet : SpriteSheets()) AddSheet(cr, flow, pictures, sheet);
  // Crop to what was used.
  const int used = std::min(height, flow.y + MARGIN);
  cairo_surface_t* cropped = cairo_surface_create_for_rectangle(canvas.surface, 0, 0, SHEET_WIDTH, used);
  const bool ok = cairo_surface_write_to_png(cropped, png_path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(cropped);
  CloseCanvas(canvas);
  if (!ok) std::fprintf(stderr, "vork-assetgen: cannot write %s\n", png_path.c_str());
  return ok;
}
