// Triangles, polygons, outlines, bounds and colour scans.
#include "vector/polygon.h"

#include <climits>
#include <cmath>
#include <vector>

#include "display/display.h"
#include "test_support.h"

namespace {

// An 8-bit screen with a margin of untouched bytes around the 640 x 480 area.
struct Screen {
  static constexpr int MARGIN = 8, PITCH = 640 + 2 * MARGIN + 4, ROWS = 480 + 2 * MARGIN;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(PITCH * ROWS, 0);
  uint8_t* Buffer() { return bytes.data() + MARGIN * PITCH + MARGIN; }
  uint8_t At(int x, int y) const { return bytes[(y + MARGIN) * PITCH + x + MARGIN]; }
  // Filled columns of row y as {first, last}; {0, -1} when the row is empty.
  std::pair<int, int> Row(int y) const {
    int first = 0, last = -1;
    for (int x = -MARGIN; x < PITCH - MARGIN; ++x)
      if (At(x, y)) {
        if (last < first) first = x;
        last = x;
      }
    return {first, last};
  }
  int Count() const { return static_cast<int>(bytes.size() - std::count(bytes.begin(), bytes.end(), 0)); }
};

class VectorTest : public ::testing::Test {
 protected:
  void SetUp() override { display = DisplayState{}; }
  void TearDown() override { display = DisplayState{}; }
  static void Clip(int min_x, int min_y, int max_x, int max_y) {
    display.clip_min_x = min_x;
    display.clip_min_y = min_y;
    display.clip_max_x = max_x;
    display.clip_max_y = max_y;
  }
};

using TriangleFill = void (*)(int, int, int, int, int, int, int, uint8_t*, int);

// Each fill, in a clip rectangle, sets exactly `count` pixels to the colour's low byte, and row
// `y` from `first` to `last`.
TEST_F(VectorTest, TrianglesFillExactly) {
  const struct {
    const char* name;
    TriangleFill fill;
    int x1, y1, x2, y2, x3, y3;
    int min_x, min_y, max_x, max_y;
    int count, y, first, last;
  } cases[] = {
      {"flat top", DrawTriangle8, 10, 10, 20, 10, 15, 20, 0, 0, 639, 479, 66, 13, 11, 18},
      {"flat top, fixed", DrawTriangleFixed8, 10, 10, 20, 10, 15, 20, 0, 0, 639, 479, 66, 13, 12, 19},
      {"flat bottom", DrawTriangle8, 15, 10, 10, 20, 20, 20, 0, 0, 639, 479, 66, 13, 13, 16},
      {"split at row 10", DrawTriangle8, 10, 0, 0, 10, 30, 20, 0, 0, 639, 479, 221, 10, 0, 20},
      {"flat top over the clip column: rows end at the truncated edge", DrawTriangle8, 10, 10, 20, 10, 15, 20, 12, 0,
       639, 479, 65, 11, 12, 20},
      {"fixed: never past column 101", DrawTriangleFixed8, 0, 0, 101, 0, 101, 2, 0, 0, 639, 479, 154, 1, 51, 101},
      {"over the left edge", DrawTriangle8, 20, 150, 180, 130, 150, 200, 100, 120, 200, 220, 3763, 160, 100, 168},
      {"over the right edge", DrawTriangleFixed8, 150, 140, 300, 170, 120, 210, 100, 120, 200, 220, 3633, 170, 138, 200},
      {"over the top", DrawTriangle8, 130, 50, 190, 180, 110, 170, 100, 120, 200, 220, 3401, 120, 118, 161},
      {"over the bottom", DrawTriangleFixed8, 120, 150, 190, 160, 150, 300, 100, 120, 200, 220, 3636, 220, 134, 173},
      {"far off", DrawTriangle8, INT_MIN, INT_MIN, INT_MAX, 0, 0, INT_MAX, 50, 40, 590, 440, 216941, 240, 50, 590},
      {"far apex", DrawTriangle8, -2000000000, 100, 2000000000, 101, 300, 2000000000, 50, 40, 590, 440, 183940, 200, 50, 590},
      {"fixed, left-leaning at negative columns", DrawTriangleFixed8, -50, 10, 30, 10, -200, 60, 0, 0, 639, 479, 120,
       11, 0, 25},
      {"all in a column, fixed", DrawTriangleFixed8, 10, 5, 10, 50, 10, 90, 0, 0, 639, 479, 0, 20, 0, -1},
      {"flat half without height", FillFlatTopTriangle8, 10, 5, 50, 5, 30, 5, 0, 0, 639, 479, 0, 5, 0, -1},
      {"flat half without height", FillFlatBottomTriangleFixed8, 10, 5, 50, 5, 30, 5, 0, 0, 639, 479, 0, 5, 0, -1},
      // One row high, 2^31 rows above the clip: stepping the edges down to it would overflow.
      {"fixed half far above", FillFlatTopTriangleFixed8, INT_MIN, INT_MIN, INT_MAX, 0, INT_MAX, INT_MIN + 1, 0, 0,
       639, 479, 0, 0, 0, -1},
      {"fixed half far above", FillFlatBottomTriangleFixed8, INT_MIN, INT_MIN, INT_MIN, 0, INT_MAX, INT_MIN + 1, 0, 0,
       639, 479, 0, 0, 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Clip(c.min_x, c.min_y, c.max_x, c.max_y);
    Screen screen;
    c.fill(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, 0x105, screen.Buffer(), Screen::PITCH);
    EXPECT_EQ(c.count, screen.Count());
    EXPECT_EQ(std::make_pair(c.first, c.last), screen.Row(c.y));
    EXPECT_EQ(c.count ? 5 : 0, screen.At(c.first, c.y));
  }
}

// 16-bit fills write the colour's low 16 bits; an odd pitch of 201 bytes is taken as 200.
TEST_F(VectorTest, SixteenBitFillsWriteUnits) {
  std::vector<uint16_t> units(100 * 40, 0);
  auto* buffer = reinterpret_cast<uint8_t*>(units.data());
  DrawTriangle16(10, 10, 20, 10, 15, 20, 0x7ABCD, buffer, 201);
  std::vector<Vertex2D> square{{0, 0}, {3, 0}, {3, 2}, {0, 2}};
  const Polygon2D polygon{1, 4, 50, 1, 0, 0, 0x1FEDC, square.data()};
  FillPolygon16(&polygon, buffer, 201);
  EXPECT_EQ(66, std::count(units.begin(), units.end(), 0xABCD));
  EXPECT_EQ(12, std::count(units.begin(), units.end(), 0xFEDC));
  const std::pair<int, int> spots[] = {
      {13 * 100 + 11, 0xABCD}, {20 * 100 + 15, 0xABCD}, {3 * 100 + 53, 0xFEDC}, {4 * 100 + 50, 0}};
  for (const auto& [at, unit] : spots) EXPECT_EQ(unit, units[at]) << at;
}

// ---- Polygons ------------------------------------------------------------------------------

Polygon2D PolygonOf(std::vector<Vertex2D>& vertices, int x0, int y0, int color) {
  return Polygon2D{1, static_cast<int32_t>(vertices.size()), x0, y0, 0, 0, color, vertices.data()};
}

// Each polygon fills exactly `count` pixels, row `y` from `first` to `last`.
TEST_F(VectorTest, PolygonsFillExactly) {
  std::vector<Vertex2D> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  std::vector<Vertex2D> backwards(square.rbegin(), square.rend());
  std::vector<Vertex2D> circle;  // more vertices than are worked out once per fill
  for (int i = 0; i < 40; ++i) circle.push_back({100 * std::cos(i * 0.15707963f), 100 * std::sin(i * 0.15707963f)});
  std::vector<Vertex2D> far{{-3e9f, -3e9f}, {3e9f, -2e9f}, {2e9f, 3e9f}, {-1e38f, 1e9f}};
  std::vector<Vertex2D> two{{0, 0}, {50, 50}};
  std::vector<Vertex2D> pentagon{{0, -37}, {41, -9}, {23, 33}, {-29, 30}, {-45, -6}};
  std::vector<Vertex2D> long_edges{{-2e9f, 100}, {2e9f, 300}, {-1e9f, 2e9f}};  // edges of 2^31 and more
  const struct {
    const char* name;
    std::vector<Vertex2D>* vertices;
    int x0, y0, min_x, min_y, max_x, max_y, count, y, first, last;
  } cases[] = {
      {"square", &square, 10, 10, 0, 0, 639, 479, 121, 15, 10, 20},
      {"square backwards", &backwards, 10, 10, 0, 0, 639, 479, 121, 20, 10, 20},
      {"circle", &circle, 320, 240, 0, 0, 639, 479, 31655, 240, 220, 420},
      {"far off", &far, 0, 0, 30, 20, 600, 400, 571 * 381, 20, 30, 600},
      {"two vertices", &two, 100, 100, 0, 0, 639, 479, 0, 120, 0, -1},
      {"long edges", &long_edges, 0, 0, 0, 0, 639, 479, 280 * 640, 200, 0, 639},
      {"slanted pentagon", &pentagon, 300, 200, 0, 0, 639, 479, 4116, 210, 262, 333},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Clip(c.min_x, c.min_y, c.max_x, c.max_y);
    Screen screen;
    const Polygon2D polygon = PolygonOf(*c.vertices, c.x0, c.y0, 0x302);
    FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
    EXPECT_EQ(c.count, screen.Count());
    EXPECT_EQ(std::make_pair(c.first, c.last), screen.Row(c.y));
  }
  Screen screen;
  Polygon2D no_vertices = PolygonOf(square, 10, 10, 1);
  no_vertices.vertices = nullptr;
  FillPolygon8(&no_vertices, screen.Buffer(), Screen::PITCH);
  FillPolygon8(nullptr, screen.Buffer(), Screen::PITCH);
  no_vertices.vertices = square.data();
  no_vertices.vertex_count = -3;
  FillPolygon8(&no_vertices, screen.Buffer(), Screen::PITCH);
  EXPECT_EQ(0, screen.Count());
}

TEST_F(VectorTest, OutlineDrawsClosedClippedEdges) {
  std::vector<Vertex2D> square{{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  Polygon2D polygon = PolygonOf(square, 10, 10, 3);
  Screen screen;
  EXPECT_EQ(1, DrawPolygonOutline8(&polygon, screen.Buffer(), Screen::PITCH));
  EXPECT_EQ(16, screen.Count());
  for (int y : {10, 12, 14}) EXPECT_EQ(std::make_pair(10, 14), screen.Row(y)) << y;  // 12: the closing edge on the left
  polygon.x0 = -2;  // over the left edge of the clip
  Screen clipped;
  EXPECT_EQ(1, DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH));
  EXPECT_EQ(3 + 3 + 3, clipped.Count());  // rows 10 and 14 from column 0, column 2 between
  polygon.state = 0;
  EXPECT_EQ(0, DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH));
  polygon.state = 1;
  polygon.vertex_count = 0;  // no vertices: nothing, not vertices[-1]
  EXPECT_EQ(0, DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH));
  EXPECT_EQ(0, DrawPolygonOutline8(nullptr, clipped.Buffer(), Screen::PITCH));
  EXPECT_EQ(9, clipped.Count());
  std::vector<Vertex2D> line{{0, 0}, {3, 0}};
  std::vector<uint16_t> units(10 * 4, 0);
  const Polygon2D across = PolygonOf(line, 1, 1, 0x4321);
  EXPECT_EQ(1, DrawPolygonOutline16(&across, reinterpret_cast<uint8_t*>(units.data()), 20));
  for (int x = 0; x < 10; ++x) EXPECT_EQ((x >= 1 && x <= 4) ? 0x4321 : 0, units[10 + x]) << x;
}

// The box holds the local origin and every vertex; nothing is written without somewhere for each bound.
TEST_F(VectorTest, BoundsStartAtTheOrigin) {
  std::vector<Vertex2D> square{{5, 5}, {10, 5}, {10, 10}, {5, 10}}, negative{{-3, 2}, {-1, -7.5f}};
  float b[4] = {-9, -9, -9, -9};
  Polygon2D polygon = PolygonOf(square, 100, 100, 1);
  EXPECT_EQ(1, PolygonBounds(&polygon, &b[0], &b[1], &b[2], &b[3]));
  EXPECT_EQ((std::vector<float>{0, 10, 0, 10}), std::vector<float>(b, b + 4));
  polygon = PolygonOf(negative, 0, 0, 1);
  EXPECT_EQ(1, PolygonBounds(&polygon, &b[0], &b[1], &b[2], &b[3]));
  EXPECT_EQ((std::vector<float>{-3, 0, -7.5f, 2}), std::vector<float>(b, b + 4));
  std::fill(b, b + 4, 42.0f);
  EXPECT_EQ(0, PolygonBounds(&polygon, nullptr, &b[1], &b[2], &b[3]));
  EXPECT_EQ(0, PolygonBounds(&polygon, &b[0], nullptr, &b[2], &b[3]));
  EXPECT_EQ(0, PolygonBounds(&polygon, &b[0], &b[1], nullptr, &b[3]));
  EXPECT_EQ(0, PolygonBounds(&polygon, &b[0], &b[1], &b[2], nullptr));
  EXPECT_EQ(0, PolygonBounds(nullptr, &b[0], &b[1], &b[2], &b[3]));
  polygon.vertex_count = 0;
  EXPECT_EQ(0, PolygonBounds(&polygon, &b[0], &b[1], &b[2], &b[3]));
  EXPECT_EQ((std::vector<float>{42, 42, 42, 42}), std::vector<float>(b, b + 4));
}

TEST_F(VectorTest, ScansAreClampedToTheScreen) {
  Screen screen;
  uint8_t* buffer = screen.Buffer();
  EXPECT_EQ(0, ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH));
  buffer[479 * Screen::PITCH + 639] = 250;
  const struct {
    int x1, y1, x2, y2, low, high, found;
  } scans[] = {{-5, -5, 700, 500, 1, 255, 1},   {-5, -5, 700, 500, -56, -1, 1},  // 200..255 as bytes
               {-5, -5, 700, 500, 251, 255, 0}, {-5, -5, 700, 500, 1, 249, 0},   {639, 479, 639, 479, 250, 250, 1},
               {700, 479, 0, 479, 250, 250, 0}, {0, 0, 638, 479, 250, 250, 0},   {0, 0, 639, 478, 250, 250, 0}};
  for (const auto& s : scans)
    EXPECT_EQ(s.found, ScanColorRange8(s.x1, s.y1, s.x2, s.y2, s.low, s.high, buffer, Screen::PITCH)) << s.x2 << s.low;
  buffer[479 * Screen::PITCH + 639] = 0;
  buffer[640] = 250;  // just off the screen
  buffer[-1] = 250;
  EXPECT_EQ(0, ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH));
  buffer[0] = 250;
  EXPECT_EQ(1, ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH));
  EXPECT_EQ(0, ScanColorRange8(0, 0, 1, 1, 1, 255, nullptr, Screen::PITCH));

  const int pitch = 640 * 2 + 6;
  std::vector<uint16_t> units(pitch / 2 * 481, 0);
  auto* wide = reinterpret_cast<uint8_t*>(units.data());
  units[(pitch / 2) * 479 + 639] = 0x1234;
  units[(pitch / 2) * 480 + 0] = 0x5678;  // below the screen
  EXPECT_EQ(1, ScanColors16(-5, -5, 700, 500, 0x1234, 0x9999, wide, pitch + 1));
  EXPECT_EQ(1, ScanColors16(-5, -5, 700, 500, 0x9999, 0x51234, wide, pitch));
  EXPECT_EQ(0, ScanColors16(-5, -5, 700, 500, 0x5678, 0x9999, wide, pitch));
}

TEST(TruncateToIntTest, TruncatesTowardZeroAndStopsAtTheEnds) {
  const std::pair<double, int> cases[] = {{-2.7, -2}, {2.7, 2}, {1e20, INT_MAX}, {-1e20, INT_MIN}, {NAN, 0}};
  for (const auto& [value, truncated] : cases) EXPECT_EQ(truncated, TruncateToInt(value)) << value;
}

}  // namespace
