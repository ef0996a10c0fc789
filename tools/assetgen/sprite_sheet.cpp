#include "sprite_sheet.h"

#include <cstring>

namespace {

// first_of_block[d] is the first enlarged pixel that repeats source pixel d.
std::vector<int> BlockStarts(int shown, int enlarged) {
  std::vector<int> starts(shown + 1);
  for (int d = 0; d <= shown; ++d) starts[d] = static_cast<int>(static_cast<long>(d) * enlarged / shown);
  return starts;
}

// For every enlarged coordinate, the source coordinate it repeats.
std::vector<int> SourceOfEach(int shown, int enlarged) {
  const std::vector<int> starts = BlockStarts(shown, enlarged);
  std::vector<int> source(enlarged);
  for (int d = 0; d < shown; ++d) {
    for (int x = starts[d]; x < starts[d + 1]; ++x) source[x] = d;
  }
  return source;
}

}  // namespace

RgbaImage ThresholdAlpha(const RgbaImage& image) {
  RgbaImage result = image;
  for (size_t i = 0; i < result.pixels.size(); i += 4) {
    if (result.pixels[i + 3] >= 128) {
      result.pixels[i + 3] = 255;
    } else {
      std::memset(&result.pixels[i], 0, 4);
    }
  }
  return result;
}

RgbaImage EnlargeToCell(const RgbaImage& shown, int cell_width, int cell_height) {
  RgbaImage cell = MakeRgbaImage(cell_width, cell_height);
  const std::vector<int> source_x = SourceOfEach(shown.width, cell_width);
  const std::vector<int> source_y = SourceOfEach(shown.height, cell_height);
  for (int y = 0; y < cell_height; ++y) {
    for (int x = 0; x < cell_width; ++x) {
      std::memcpy(PixelAt(cell, x, y), PixelAt(shown, source_x[x], source_y[y]), 4);
    }
  }
  return cell;
}

RgbaImage ResizeNearest(const RgbaImage& source, int width, int height, double sample_offset) {
  RgbaImage result = MakeRgbaImage(width, height);
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>((y + sample_offset) * source.height / height);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((x + sample_offset) * source.width / width);
      std::memcpy(PixelAt(result, x, y), PixelAt(source, sx, sy), 4);
    }
  }
  return result;
}

int SheetWidth(const SheetLayout& layout) {
  const int used = layout.columns * (layout.cell_width + 1) + 1;
  return (used + 3) / 4 * 4;  // the game's reader wants rows without padding
}

int SheetHeight(const SheetLayout& layout) { return layout.rows * (layout.cell_height + 1) + 1; }

RgbaImage AssembleSheet(const SheetLayout& layout, const std::vector<RgbaImage>& cells) {
  RgbaImage sheet = MakeRgbaImage(SheetWidth(layout), SheetHeight(layout));
  for (size_t k = 0; k < cells.size(); ++k) {
    const int column = static_cast<int>(k) % layout.columns;
    const int row = static_cast<int>(k) / layout.columns;
    if (row >= layout.rows) break;
    const int left = column * (layout.cell_width + 1) + 1;
    const int top = row * (layout.cell_height + 1) + 1;
    for (int y = 0; y < layout.cell_height; ++y) {
      std::memcpy(PixelAt(sheet, left, top + y), PixelAt(cells[k], 0, y),
                  static_cast<size_t>(layout.cell_width) * 4);
    }
  }
  return sheet;
}
