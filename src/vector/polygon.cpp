// Triangles, polygons, outlines, bounds and colour scans. Every filler clips its rows and spans
// to the display's clip rectangle, and works in wide integers or doubles where far-off vertices
// would overflow 32 bits.
#include "vector/polygon.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

#include "display/display.h"
#include "display/draw_extras.h"
#include "display/transitions.h"

namespace {

// Fills pixels left..right (inclusive, already inside the clip columns) of row y.
using SpanFill = void (*)(uint8_t* buffer, int pitch, int y, int left, int right, int color);

void FillSpan8(uint8_t* buffer, int pitch, int y, int left, int right, int color) {
  std::memset(buffer + static_cast<ptrdiff_t>(y) * pitch + left, color & 0xFF, static_cast<size_t>(right - left + 1));
}

void FillSpan16(uint8_t* buffer, int pitch, int y, int left, int right, int color) {
  auto* row = reinterpret_cast<uint16_t*>(buffer + static_cast<ptrdiff_t>(y) * (pitch & ~1));
  FillWords16(row + left, static_cast<uint16_t>(color), right - left + 1);
}

// Fills row y from left to right, both cut to the clip columns; nothing when they do not meet.
void FillClippedSpan(SpanFill fill, uint8_t* buffer, int pitch, int y, double left, double right, int color) {
  left = std::max(left, static_cast<double>(display.clip_min_x));
  right = std::min(right, static_cast<double>(display.clip_max_x));
  if (left > right) return;
  fill(buffer, pitch, y, static_cast<int>(left), static_cast<int>(right), color);
}

// The rows of a half that lie in the clip rectangle: first..last, and how many rows were skipped above.
struct RowRange {
  int first;
  int last;
  int64_t skipped;
};

RowRange ClippedRows(int y1, int y3) {
  RowRange rows{y1, std::min(y3, display.clip_max_y), 0};
  if (y1 < display.clip_min_y) {
    rows.skipped = static_cast<int64_t>(display.clip_min_y) - y1;
    rows.first = display.clip_min_y;
  }
  return rows;
}

bool OutsideClipColumns(int x) { return x < display.clip_min_x || x > display.clip_max_x; }

// Float edge stepping over rows y1..y3 from the given left and right edge starts.
void FillFloatHalf(int y1, int y3, float left, float right, float left_slope, float right_slope, bool clip_each_row,
                   int color, uint8_t* buffer, int pitch, SpanFill fill) {
  if (y3 == y1) return;  // a flat half has no height to step over
  const RowRange rows = ClippedRows(y1, y3);
  left += static_cast<float>(rows.skipped) * left_slope;
  right += static_cast<float>(rows.skipped) * right_slope;
  for (int y = rows.first; y <= rows.last; ++y) {
    if (clip_each_row) {
      FillClippedSpan(fill, buffer, pitch, y, std::trunc(left), std::trunc(right), color);
    } else {
      const double start = std::trunc(left);
      const double count = std::trunc(static_cast<double>(right - left + 1));
      FillClippedSpan(fill, buffer, pitch, y, start, start + count - 1, color);
    }
    left += left_slope;
    right += right_slope;
  }
}

void FloatFlatTop(int x1, int y1, int x2, int x3, int y3, int color, uint8_t* buffer, int pitch, SpanFill fill) {
  if (x2 < x1) std::swap(x1, x2);
  const float dy = static_cast<float>(y3 - static_cast<int64_t>(y1));
  const float left_slope = static_cast<float>(static_cast<int64_t>(x3) - x1) / dy;
  const float right_slope = static_cast<float>(static_cast<int64_t>(x3) - x2) / dy;
  const bool clip = OutsideClipColumns(x1) || OutsideClipColumns(x2) || OutsideClipColumns(x3);
  FillFloatHalf(y1, y3, static_cast<float>(x1), static_cast<float>(x2) + 0.5f, left_slope, right_slope, clip, color,
                buffer, pitch, fill);
}

void FloatFlatBottom(int x1, int y1, int x2, int x3, int y3, int color, uint8_t* buffer, int pitch, SpanFill fill) {
  if (x3 < x2) std::swap(x2, x3);
  const float dy = static_cast<float>(y3 - static_cast<int64_t>(y1));
  const float left_slope = static_cast<float>(static_cast<int64_t>(x2) - x1) / dy;
  const float right_slope = static_cast<float>(static_cast<int64_t>(x3) - x1) / dy;
  const bool clip = OutsideClipColumns(x1) || OutsideClipColumns(x2) || OutsideClipColumns(x3);
  FillFloatHalf(y1, y3, static_cast<float>(x1), static_cast<float>(x1), left_slope, right_slope, clip, color, buffer,
                pitch, fill);
}

// 16.16 fixed-point edges in 64 bits; a row's ends are the edges rounded to whole pixels.
void FillFixedHalf(int y1, int y3, int64_t left, int64_t right, int64_t left_slope, int64_t right_slope, int color,
                   uint8_t* buffer, int pitch) {
  if (y3 < display.clip_min_y || y1 > display.clip_max_y) return;
  const RowRange rows = ClippedRows(y1, y3);
  left += rows.skipped * left_slope;
  right += rows.skipped * right_slope;
  for (int y = rows.first; y <= rows.last; ++y) {
    const int64_t left_end = (left + 0x8000) >> 16;
    const int64_t right_end = (right + 0x8000) >> 16;
    FillClippedSpan(FillSpan8, buffer, pitch, y, static_cast<double>(left_end), static_cast<double>(right_end), color);
    left += left_slope;
    right += right_slope;
  }
}

// (to - from) in 16.16, divided by the height, truncated toward zero.
int64_t FixedSlope(int from, int to, int64_t height) { return (static_cast<int64_t>(to) - from) * 65536 / height; }

int64_t Fixed(int x) { return static_cast<int64_t>(x) * 65536; }

// The halves a whole triangle is split into.
struct TriangleHalves {
  void (*flat_top)(int, int, int, int, int, int, int, uint8_t*, int);
  void (*flat_bottom)(int, int, int, int, int, int, int, uint8_t*, int);
};

// Column where the long edge (x1, y1)-(x3, y3) crosses row y2, rounded as the halves expect.
int SplitColumn(int x1, int y1, int y2, int x3, int y3) {
  const double along = static_cast<double>(static_cast<int64_t>(y2) - y1) * (static_cast<int64_t>(x3) - x1) /
                       static_cast<double>(static_cast<int64_t>(y3) - y1);
  return TruncateToInt(static_cast<double>(x1) + std::trunc(along + 0.5));
}

void DrawTriangleWith(const TriangleHalves& halves, int x1, int y1, int x2, int y2, int x3, int y3, int color,
                      uint8_t* buffer, int pitch) {
  if ((x1 == x2 && x2 == x3) || (y1 == y2 && y2 == y3)) return;
  if (y2 < y1) std::swap(x1, x2), std::swap(y1, y2);
  if (y3 < y1) std::swap(x1, x3), std::swap(y1, y3);
  if (y3 < y2) std::swap(x2, x3), std::swap(y2, y3);
  if (y3 < display.clip_min_y || y1 > display.clip_max_y) return;
  if (x1 < display.clip_min_x && x2 < display.clip_min_x && x3 < display.clip_min_x) return;
  if (x1 > display.clip_max_x && x2 > display.clip_max_x && x3 > display.clip_max_x) return;
  if (y1 == y2) {
    halves.flat_top(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else if (y2 == y3) {
    halves.flat_bottom(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else {
    const int x_split = SplitColumn(x1, y1, y2, x3, y3);
    halves.flat_bottom(x1, y1, x_split, y2, x2, y2, color, buffer, pitch);
    halves.flat_top(x2, y2, x_split, y2, x3, y3, color, buffer, pitch);
  }
}

// ---- Polygons ------------------------------------------------------------------------------

// x + num / den rounded to the nearest whole number (halves upward), den > 0.
template <typename Wide>
int64_t RoundedColumn(int64_t x, Wide num, Wide den) {
  const Wide twice = 2 * num + den;
  Wide quotient = twice / (2 * den);
  if (twice % (2 * den) != 0 && twice < 0) --quotient;  // floor, not truncation
  return x + static_cast<int64_t>(quotient);
}

// Edges shorter than this on both axes are stepped in 64 bits; longer ones need 128.
constexpr int64_t SHORT_EDGE = int64_t{1} << 30;

// A vertex on the screen.
struct ScreenPoint {
  int64_t x;
  int64_t y;
};

// Widens [*left, *right] by the columns the edge a-b covers on row y: the part of the edge
// between y - 1/2 and y + 1/2, rounded to whole columns.
void WidenByEdge(ScreenPoint a, ScreenPoint b, int64_t y, int64_t* left, int64_t* right) {
  if (a.y > b.y) std::swap(a, b);
  if (y < a.y || y > b.y) return;
  int64_t low = a.x, high = b.x;
  if (a.y != b.y) {
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    const int64_t from = std::max<int64_t>(2 * (y - a.y) - 1, 0);  // in half rows from a
    const int64_t to = std::min<int64_t>(2 * (y - a.y) + 1, 2 * dy);
    if (dx < SHORT_EDGE && dx > -SHORT_EDGE && dy < SHORT_EDGE) {
      low = RoundedColumn<int64_t>(a.x, from * dx, 2 * dy);
      high = RoundedColumn<int64_t>(a.x, to * dx, 2 * dy);
    } else {
      low = RoundedColumn<__int128>(a.x, static_cast<__int128>(from) * dx, 2 * static_cast<__int128>(dy));
      high = RoundedColumn<__int128>(a.x, static_cast<__int128>(to) * dx, 2 * static_cast<__int128>(dy));
    }
  }
  *left = std::min({*left, low, high});
  *right = std::max({*right, low, high});
}

bool HasVertices(const Polygon2D* polygon, int at_least) {
  return polygon && polygon->vertices && polygon->vertex_count >= at_least;
}

// Polygons with up to this many vertices have their screen positions worked out once per fill.
constexpr int CACHED_VERTICES = 32;

// A polygon's screen vertices: worked out once when few, else each time they are asked for.
struct ScreenVertices {
  const Polygon2D* polygon;
  ScreenPoint cache[CACHED_VERTICES];

  explicit ScreenVertices(const Polygon2D* of) : polygon(of), cache() {
    for (int i = 0; i < std::min(of->vertex_count, CACHED_VERTICES); ++i) cache[i] = Compute(i);
  }
  ScreenPoint Compute(int i) const {
    int32_t x, y;
    VertexOnScreen(polygon, i, &x, &y);
    return {x, y};
  }
  ScreenPoint operator[](int i) const { return polygon->vertex_count <= CACHED_VERTICES ? cache[i] : Compute(i); }
};

// Fills each row between the outermost edge columns on it. For a convex polygon this is the
// span between its left and right edges, whichever way round its vertices run.
void FillPolygonWith(const Polygon2D* polygon, uint8_t* buffer, int pitch, SpanFill fill) {
  if (!HasVertices(polygon, 3) || !buffer) return;
  const int count = polygon->vertex_count;
  const ScreenVertices points(polygon);
  int64_t top = std::numeric_limits<int64_t>::max(), bottom = std::numeric_limits<int64_t>::min();
  for (int i = 0; i < count; ++i) {
    top = std::min(top, points[i].y);
    bottom = std::max(bottom, points[i].y);
  }
  const int64_t first = std::max<int64_t>(top, display.clip_min_y);
  const int64_t last = std::min<int64_t>(bottom, display.clip_max_y);
  for (int64_t y = first; y <= last; ++y) {
    int64_t left = std::numeric_limits<int64_t>::max(), right = std::numeric_limits<int64_t>::min();
    for (int i = 0; i < count; ++i) WidenByEdge(points[i], points[(i + 1) % count], y, &left, &right);
    if (left <= right)
      FillClippedSpan(fill, buffer, pitch, static_cast<int>(y), static_cast<double>(left), static_cast<double>(right),
                      polygon->color);
  }
}

using ClippedLine = int (*)(int, int, int, int, int, uint8_t*, int);

int DrawOutlineWith(const Polygon2D* polygon, uint8_t* buffer, int pitch, ClippedLine line) {
  if (!polygon || polygon->state == 0 || !HasVertices(polygon, 1)) return 0;
  const int count = polygon->vertex_count;
  int32_t x, y, next_x, next_y;
  for (int i = 0; i + 1 < count; ++i) {
    VertexOnScreen(polygon, i, &x, &y);
    VertexOnScreen(polygon, i + 1, &next_x, &next_y);
    line(x, y, next_x, next_y, polygon->color, buffer, pitch);
  }
  VertexOnScreen(polygon, 0, &x, &y);
  VertexOnScreen(polygon, count - 1, &next_x, &next_y);
  line(x, y, next_x, next_y, polygon->color, buffer, pitch);
  return 1;
}

// Clamps a coordinate of a scanned rectangle to 0..size - 1.
int ClampToScreen(int value, int size) { return value < 0 ? 0 : value >= size ? size - 1 : value; }

// The rectangle of a scan, clamped to the screen.
struct ScanArea {
  int x1, y1, x2, y2;
};

ScanArea ClampScan(int x1, int y1, int x2, int y2) {
  return {ClampToScreen(x1, display.screen_width), ClampToScreen(y1, display.screen_height),
          ClampToScreen(x2, display.screen_width), ClampToScreen(y2, display.screen_height)};
}

// 1 at the first pixel of the area, row by row, that `matches`; 0 when none does.
template <typename Pixel, typename Match>
int ScanRectangle(const ScanArea& area, const uint8_t* buffer, int row_bytes, Match matches) {
  if (!buffer) return 0;
  for (int y = area.y1; y <= area.y2; ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(buffer + static_cast<ptrdiff_t>(y) * row_bytes);
    for (int x = area.x1; x <= area.x2; ++x)
      if (matches(row[x])) return 1;
  }
  return 0;
}

}  // namespace

int32_t TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

void VertexOnScreen(const Polygon2D* polygon, int index, int32_t* x, int32_t* y) {
  const Vertex2D& vertex = polygon->vertices[index];
  *x = TruncateToInt(static_cast<float>(polygon->x0) + vertex.x);
  *y = TruncateToInt(static_cast<float>(polygon->y0) + vertex.y);
}

void FillFlatTopTriangle8(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  FloatFlatTop(x1, y1, x2, x3, y3, color, buffer, pitch, FillSpan8);
}

void FillFlatBottomTriangle8(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  FloatFlatBottom(x1, y1, x2, x3, y3, color, buffer, pitch, FillSpan8);
}

void FillFlatTopTriangle16(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  FloatFlatTop(x1, y1, x2, x3, y3, color, buffer, pitch, FillSpan16);
}

void FillFlatBottomTriangle16(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  FloatFlatBottom(x1, y1, x2, x3, y3, color, buffer, pitch, FillSpan16);
}

void FillFlatTopTriangleFixed8(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  if (y3 == y1) return;
  if (x2 < x1) std::swap(x1, x2);
  const int64_t height = static_cast<int64_t>(y3) - y1;
  FillFixedHalf(y1, y3, Fixed(x1), Fixed(x2), FixedSlope(x1, x3, height), FixedSlope(x2, x3, height), color, buffer,
                pitch);
}

void FillFlatBottomTriangleFixed8(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer,
                                  int pitch) {
  if (y3 == y1) return;
  if (x3 < x2) std::swap(x2, x3);
  const int64_t height = static_cast<int64_t>(y3) - y1;
  FillFixedHalf(y1, y3, Fixed(x1), Fixed(x1), FixedSlope(x1, x2, height), FixedSlope(x1, x3, height), color, buffer,
                pitch);
}

void DrawTriangle8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  DrawTriangleWith({FillFlatTopTriangle8, FillFlatBottomTriangle8}, x1, y1, x2, y2, x3, y3, color, buffer, pitch);
}

void DrawTriangle16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  DrawTriangleWith({FillFlatTopTriangle16, FillFlatBottomTriangle16}, x1, y1, x2, y2, x3, y3, color, buffer, pitch);
}

void DrawTriangleFixed8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  DrawTriangleWith({FillFlatTopTriangleFixed8, FillFlatBottomTriangleFixed8}, x1, y1, x2, y2, x3, y3, color, buffer,
                   pitch);
}

void FillPolygon8(const Polygon2D* polygon, uint8_t* buffer, int pitch) {
  FillPolygonWith(polygon, buffer, pitch, FillSpan8);
}

void FillPolygon16(const Polygon2D* polygon, uint8_t* buffer, int pitch) {
  FillPolygonWith(polygon, buffer, pitch, FillSpan16);
}

int DrawPolygonOutline8(const Polygon2D* polygon, uint8_t* buffer, int pitch) {
  return DrawOutlineWith(polygon, buffer, pitch, DrawClippedLine8);
}

int DrawPolygonOutline16(const Polygon2D* polygon, uint8_t* buffer, int pitch) {
  return DrawOutlineWith(polygon, buffer, pitch, DrawClippedLine16);
}

int PolygonBounds(const Polygon2D* polygon, float* min_x, float* max_x, float* min_y, float* max_y) {
  if (!HasVertices(polygon, 1) || !min_x || !max_x || !min_y || !max_y) return 0;
  *min_x = *max_x = *min_y = *max_y = 0.0f;
  for (int i = 0; i < polygon->vertex_count; ++i) {
    const Vertex2D& vertex = polygon->vertices[i];
    if (vertex.x < *min_x) *min_x = vertex.x;
    if (vertex.x > *max_x) *max_x = vertex.x;
    if (vertex.y < *min_y) *min_y = vertex.y;
    if (vertex.y > *max_y) *max_y = vertex.y;
  }
  return 1;
}

int ScanColorRange8(int x1, int y1, int x2, int y2, int low, int high, const uint8_t* buffer, int pitch) {
  const uint8_t low_byte = static_cast<uint8_t>(low), high_byte = static_cast<uint8_t>(high);
  return ScanRectangle<uint8_t>(ClampScan(x1, y1, x2, y2), buffer, pitch,
                                [=](uint8_t p) { return p >= low_byte && p <= high_byte; });
}

int ScanColors16(int x1, int y1, int x2, int y2, int color_a, int color_b, const uint8_t* buffer, int pitch) {
  const uint16_t a = static_cast<uint16_t>(color_a), b = static_cast<uint16_t>(color_b);
  return ScanRectangle<uint16_t>(ClampScan(x1, y1, x2, y2), buffer, pitch & ~1,
                                 [=](uint16_t p) { return p == a || p == b; });
}
