// Triangles, polygons, outlines, bounds and colour scans.
#include "vector/polygon.h"

#include <climits>
#include <cmath>
#include <random>
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
  // Filled columns of row y as first..last; false when the row is empty.
  bool Row(int y, int* first, int* last) const {
    const uint8_t* row = &bytes[(y + MARGIN) * PITCH];
    int begin = 0, end = PITCH - 1;
    while (begin < PITCH && !row[begin]) ++begin;
    while (end >= begin && !row[end]) --end;
    *first = begin - MARGIN, *last = end - MARGIN;
    return begin <= end;
  }
  int Count() const {
    int count = 0;
    for (uint8_t b : bytes) count += b != 0;
    return count;
  }
  // True when every set byte lies in the display's clip rectangle.
  bool InsideClip() const {
    for (int y = -MARGIN; y < 480 + MARGIN; ++y)
      for (int x = -MARGIN; x < 640 + MARGIN; ++x)
        if (At(x, y) && (x < display.clip_min_x || x > display.clip_max_x || y < display.clip_min_y ||
                         y > display.clip_max_y))
          return false;
    return true;
  }
};

class VectorTest : public ::testing::Test {
 protected:
  void SetUp() override { display = DisplayState{}; }
  void TearDown() override { display = DisplayState{}; }
  Screen screen;
};

using TriangleFill = void (*)(int, int, int, int, int, int, int, uint8_t*, int);

TEST_F(VectorTest, DegenerateTrianglesDrawNothing) {
  for (TriangleFill fill : {DrawTriangle8, DrawTriangleFixed8}) {
    fill(10, 5, 50, 5, 90, 5, 3, screen.Buffer(), Screen::PITCH);
    fill(10, 5, 10, 50, 10, 90, 3, screen.Buffer(), Screen::PITCH);
  }
  EXPECT_EQ(screen.Count(), 0);
}

TEST_F(VectorTest, FlatTopTriangleRowsExactly) {
  DrawTriangle8(10, 10, 20, 10, 15, 20, 0x105, screen.Buffer(), Screen::PITCH);
  for (int r = 0; r <= 10; ++r) {
    int first, last;
    ASSERT_TRUE(screen.Row(10 + r, &first, &last)) << r;
    EXPECT_EQ(first, 10 + r / 2) << r;
    EXPECT_EQ(last, 20 + r / 2 - r) << r;
    EXPECT_EQ(screen.At(first, 10 + r), 5);
  }
  EXPECT_EQ(screen.Count(), 11 + 10 + 9 + 8 + 7 + 6 + 5 + 4 + 3 + 2 + 1);
}

TEST_F(VectorTest, RowsOfATriangleOverTheClipEndAtTheTruncatedRightEdge) {
  // With a vertex outside the clip columns each row runs to the truncated right edge: row 11's
  // right edge is 20.0, so it ends at 20 (the unclipped count would stop at 19).
  display.clip_min_x = 12;
  DrawTriangle8(10, 10, 20, 10, 15, 20, 5, screen.Buffer(), Screen::PITCH);
  int first, last;
  ASSERT_TRUE(screen.Row(11, &first, &last));
  EXPECT_EQ(first, 12);
  EXPECT_EQ(last, 20);
  ASSERT_TRUE(screen.Row(13, &first, &last));
  EXPECT_EQ(first, 12);
  EXPECT_EQ(last, 19);  // 20.5 - 1.5
}

TEST_F(VectorTest, SplitRowIsFilledByBothHalves) {
  // y1 < y2 < y3: the long edge crosses row 10 at x 20; each half alone fills 0..20 there.
  DrawTriangle8(10, 0, 0, 10, 30, 20, 4, screen.Buffer(), Screen::PITCH);
  int first, last;
  ASSERT_TRUE(screen.Row(10, &first, &last));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 20);
  Screen top, bottom;
  FillFlatBottomTriangle8(10, 0, 20, 10, 0, 10, 4, bottom.Buffer(), Screen::PITCH);
  FillFlatTopTriangle8(0, 10, 20, 10, 30, 20, 4, top.Buffer(), Screen::PITCH);
  for (Screen* half : {&top, &bottom}) {
    ASSERT_TRUE(half->Row(10, &first, &last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 20);
  }
  EXPECT_FALSE(top.Row(9, &first, &last));
  EXPECT_FALSE(bottom.Row(11, &first, &last));
  for (int y = 0; y <= 20; ++y) EXPECT_TRUE(screen.Row(y, &first, &last)) << y;
}

TEST_F(VectorTest, TrivialRejectionAboveAndRightOfTheClip) {
  display.clip_min_y = 100;
  display.clip_max_x = 300;
  for (TriangleFill fill : {DrawTriangle8, DrawTriangleFixed8}) {
    fill(10, 10, 90, 50, 40, 99, 3, screen.Buffer(), Screen::PITCH);
    fill(301, 150, 400, 200, 350, 300, 3, screen.Buffer(), Screen::PITCH);
  }
  EXPECT_EQ(screen.Count(), 0);
}

TEST_F(VectorTest, TrianglesAreClippedAtEachEdge) {
  display.clip_min_x = 100, display.clip_max_x = 200, display.clip_min_y = 120, display.clip_max_y = 220;
  const int triangles[][6] = {
      {20, 150, 180, 130, 150, 200},   // over the left edge
      {150, 140, 300, 170, 120, 210},  // over the right edge
      {130, 50, 190, 180, 110, 170},   // over the top
      {120, 150, 190, 160, 150, 300},  // over the bottom
      {-1000, -1000, 1000, 0, 0, 1000},  // over all four: the whole clip rectangle
  };
  for (TriangleFill fill : {DrawTriangle8, DrawTriangleFixed8})
    for (const auto& t : triangles) {
      Screen s;
      fill(t[0], t[1], t[2], t[3], t[4], t[5], 6, s.Buffer(), Screen::PITCH);
      EXPECT_TRUE(s.InsideClip());
      EXPECT_GT(s.Count(), 100);
    }
  Screen all;
  DrawTriangle8(-1000, -1000, 1000, 0, 0, 1000, 6, all.Buffer(), Screen::PITCH);
  EXPECT_EQ(all.Count(), 101 * 101);
  // Over the left edge each row starts at the clip column.
  Screen left;
  DrawTriangle8(20, 150, 180, 130, 150, 200, 6, left.Buffer(), Screen::PITCH);
  int first, last;
  for (int y = 142; y <= 179; ++y) {  // rows whose left edge lies left of column 100
    ASSERT_TRUE(left.Row(y, &first, &last)) << y;
    EXPECT_EQ(first, 100) << y;
  }
}

TEST_F(VectorTest, FixedPointFillStaysOnItsRightEdge) {
  // A span counted from its rounded left end ran one past the right edge inside the clip: row 1
  // (left edge 50.5, rounded to 51) reached column 102.
  DrawTriangleFixed8(0, 0, 101, 0, 101, 2, 7, screen.Buffer(), Screen::PITCH);
  const int lefts[] = {0, 51, 101};
  for (int y = 0; y <= 2; ++y) {
    int first, last;
    ASSERT_TRUE(screen.Row(y, &first, &last));
    EXPECT_EQ(first, lefts[y]) << y;
    EXPECT_EQ(last, 101) << y;
  }
  // Left-leaning edges at negative columns: no undefined shifts, nothing left of the clip.
  Screen other;
  DrawTriangleFixed8(-50, 10, 30, 10, -200, 60, 7, other.Buffer(), Screen::PITCH);
  EXPECT_TRUE(other.InsideClip());
  EXPECT_GT(other.Count(), 0);
}

TEST_F(VectorTest, FloatAndFixedFillersAgreeInsideRandomTriangles) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> x_of(-40, 680), y_of(-40, 520);
  for (int n = 0; n < 150; ++n) {
    const int t[6] = {x_of(random), y_of(random), x_of(random), y_of(random), x_of(random), y_of(random)};
    Screen by_float, by_fixed;
    DrawTriangle8(t[0], t[1], t[2], t[3], t[4], t[5], 1, by_float.Buffer(), Screen::PITCH);
    DrawTriangleFixed8(t[0], t[1], t[2], t[3], t[4], t[5], 1, by_fixed.Buffer(), Screen::PITCH);
    ASSERT_TRUE(by_float.InsideClip());
    ASSERT_TRUE(by_fixed.InsideClip());
    for (int y = 0; y < 480; ++y) {
      int a, b, c, d;
      const bool float_row = by_float.Row(y, &a, &b), fixed_row = by_fixed.Row(y, &c, &d);
      if (!float_row || !fixed_row) {
        // A row only one of them fills is a sliver at a tip.
        if (float_row) {
          EXPECT_LE(b - a, 2) << n << " row " << y;
        }
        if (fixed_row) {
          EXPECT_LE(d - c, 2) << n << " row " << y;
        }
        continue;
      }
      // The float spans truncate where the fixed ones round: ends differ by up to two pixels.
      EXPECT_LE(std::abs(a - c), 2) << n << " row " << y;
      EXPECT_LE(std::abs(b - d), 2) << n << " row " << y;
    }
  }
}

TEST_F(VectorTest, FlatHalvesWithoutHeightDrawNothing) {
  FillFlatTopTriangle8(10, 5, 50, 5, 30, 5, 2, screen.Buffer(), Screen::PITCH);
  FillFlatBottomTriangle8(10, 5, 50, 5, 30, 5, 2, screen.Buffer(), Screen::PITCH);
  FillFlatTopTriangleFixed8(10, 5, 50, 5, 30, 5, 2, screen.Buffer(), Screen::PITCH);
  FillFlatBottomTriangleFixed8(10, 5, 50, 5, 30, 5, 2, screen.Buffer(), Screen::PITCH);
  EXPECT_EQ(screen.Count(), 0);
}

TEST_F(VectorTest, FixedHalvesWhollyAboveTheClipStepNothing) {
  // One row high, 2^31 rows above the clip: stepping the edges down to the clip would overflow.
  FillFlatTopTriangleFixed8(INT_MIN, INT_MIN, INT_MAX, 0, INT_MAX, INT_MIN + 1, 3, screen.Buffer(), Screen::PITCH);
  FillFlatBottomTriangleFixed8(INT_MIN, INT_MIN, INT_MIN, 0, INT_MAX, INT_MIN + 1, 3, screen.Buffer(), Screen::PITCH);
  EXPECT_EQ(screen.Count(), 0);
}

TEST_F(VectorTest, FarOffTriangleVerticesWriteOnlyInsideTheClip) {
  display.clip_min_x = 50, display.clip_max_x = 590, display.clip_min_y = 40, display.clip_max_y = 440;
  for (TriangleFill fill : {DrawTriangle8, DrawTriangleFixed8}) {
    Screen s;
    fill(INT_MIN, INT_MIN, INT_MAX, 0, 0, INT_MAX, 9, s.Buffer(), Screen::PITCH);
    fill(-2000000000, 100, 2000000000, 101, 300, 2000000000, 9, s.Buffer(), Screen::PITCH);
    EXPECT_TRUE(s.InsideClip());
    EXPECT_GT(s.Count(), 1000);
  }
}

TEST_F(VectorTest, SixteenBitTriangleFillsUnitsInTheLowSixteenBits) {
  std::vector<uint16_t> units(100 * 40, 0);  // pitch 201 bytes: the odd bit is dropped
  DrawTriangle16(10, 10, 20, 10, 15, 20, 0x7ABCD, reinterpret_cast<uint8_t*>(units.data()), 201);
  int count = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (uint16_t u = units[y * 100 + x]) {
        EXPECT_EQ(u, 0xABCD);
        EXPECT_TRUE(y >= 10 && y <= 20 && x >= 10 && x <= 20);
        ++count;
      }
  EXPECT_EQ(count, 66);
  EXPECT_EQ(units[10 * 100 + 10], 0xABCD);
  EXPECT_EQ(units[20 * 100 + 15], 0xABCD);
}

// ---- Polygons ------------------------------------------------------------------------------

Polygon2D PolygonOf(std::vector<Vertex2D>& vertices, int x0, int y0, int color) {
  return Polygon2D{1, static_cast<int32_t>(vertices.size()), x0, y0, 0, 0, color, vertices.data()};
}

// Distance from (px, py) to the segment (ax, ay)-(bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Point in a convex polygon (either winding) by the signs of the edge cross products.
bool InsideConvex(const std::vector<std::pair<int, int>>& points, double px, double py) {
  bool positive = false, negative = false;
  for (size_t i = 0; i < points.size(); ++i) {
    const auto& a = points[i];
    const auto& b = points[(i + 1) % points.size()];
    const double cross = (b.first - a.first) * (py - a.second) - (b.second - a.second) * (px - a.first);
    positive |= cross > 0;
    negative |= cross < 0;
  }
  return !(positive && negative);
}

TEST_F(VectorTest, SquareFillsItsRowsExactlyEitherWayRound) {
  std::vector<Vertex2D> forwards{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  std::vector<Vertex2D> backwards(forwards.rbegin(), forwards.rend());
  for (auto* vertices : {&forwards, &backwards}) {
    Screen s;
    const Polygon2D square = PolygonOf(*vertices, 10, 10, 0x302);
    FillPolygon8(&square, s.Buffer(), Screen::PITCH);
    EXPECT_EQ(s.Count(), 121);
    for (int y = 10; y <= 20; ++y) {
      int first, last;
      ASSERT_TRUE(s.Row(y, &first, &last));
      EXPECT_EQ(first, 10);
      EXPECT_EQ(last, 20);
      EXPECT_EQ(s.At(15, y), 2);
    }
  }
}

// The convex hull of whole-number points, counter-clockwise, without collinear points.
std::vector<std::pair<int, int>> ConvexHull(std::vector<std::pair<int, int>> points) {
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  auto cross = [](auto o, auto a, auto b) {
    return static_cast<long>(a.first - o.first) * (b.second - o.second) -
           static_cast<long>(a.second - o.second) * (b.first - o.first);
  };
  std::vector<std::pair<int, int>> hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

TEST_F(VectorTest, ManySidedPolygonFillsLikeItsCircle) {
  std::vector<Vertex2D> circle;  // more vertices than are worked out once per fill
  for (int i = 0; i < 40; ++i) circle.push_back({100 * std::cos(i * 0.15707963f), 100 * std::sin(i * 0.15707963f)});
  const Polygon2D polygon = PolygonOf(circle, 320, 240, 8);
  FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
  int first, last;
  ASSERT_TRUE(screen.Row(240, &first, &last));
  EXPECT_EQ(first, 220);
  EXPECT_EQ(last, 420);
  for (int y = 141; y <= 339; ++y) ASSERT_TRUE(screen.Row(y, &first, &last)) << y;
  for (int y = 160; y <= 320; ++y) {  // where the sides are steep the circle is a close reference
    screen.Row(y, &first, &last);
    const double half = std::sqrt(100.0 * 100 - (y - 240.0) * (y - 240.0));
    EXPECT_NEAR(first, 320 - half, 2.5) << y;
    EXPECT_NEAR(last, 320 + half, 2.5) << y;
  }
  EXPECT_FALSE(screen.Row(138, &first, &last));
  EXPECT_FALSE(screen.Row(342, &first, &last));
}

TEST_F(VectorTest, RandomConvexPolygonsFillBetweenTheirEdges) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> unit(0, 1);
  for (int n = 0; n < 30; ++n) {
    display.clip_min_x = 20 + n, display.clip_max_x = 600 - n, display.clip_min_y = 15, display.clip_max_y = 460 - n;
    const float radius = 20 + unit(random) * 220;
    std::vector<std::pair<int, int>> corners;
    for (int i = 0; i < 3 + n % 8; ++i) {
      const float a = unit(random) * 6.2831853f;
      corners.push_back({static_cast<int>(radius * std::cos(a)), static_cast<int>(radius * 0.8f * std::sin(a))});
    }
    corners = ConvexHull(corners);
    if (corners.size() < 3) continue;
    if (n % 2) std::reverse(corners.begin(), corners.end());
    std::vector<Vertex2D> vertices;
    for (const auto& c : corners) vertices.push_back({static_cast<float>(c.first), static_cast<float>(c.second)});
    const int sides = static_cast<int>(vertices.size());
    Screen s;
    const Polygon2D polygon = PolygonOf(vertices, 100 + n * 14, 80 + n * 10, 1);
    FillPolygon8(&polygon, s.Buffer(), Screen::PITCH);
    ASSERT_TRUE(s.InsideClip()) << n;
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < sides; ++i) {
      int32_t x, y;
      VertexOnScreen(&polygon, i, &x, &y);
      points.push_back({x, y});
    }
    int left = display.clip_max_x, right = display.clip_min_x, top = display.clip_max_y, bottom = display.clip_min_y;
    for (const auto& p : points) {
      left = std::max(display.clip_min_x, std::min(left, p.first - 2));
      right = std::min(display.clip_max_x, std::max(right, p.first + 2));
      top = std::max(display.clip_min_y, std::min(top, p.second - 2));
      bottom = std::min(display.clip_max_y, std::max(bottom, p.second + 2));
    }
    int in_box = 0;
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) {
        in_box += s.At(x, y) != 0;
        double nearest = 1e9;
        for (int i = 0; i < sides; ++i) {
          const auto& a = points[i];
          const auto& b = points[(i + 1) % sides];
          nearest = std::min(nearest, SegmentDistance(x, y, a.first, a.second, b.first, b.second));
        }
        const bool inside = InsideConvex(points, x, y);
        if (nearest <= 1.0) continue;  // on an edge either answer is right
        ASSERT_EQ(s.At(x, y), inside ? 1 : 0) << n << " at " << x << "," << y;
      }
    EXPECT_EQ(in_box, s.Count()) << n;
  }
}

TEST_F(VectorTest, PolygonsWithoutThreeVerticesOrFarOffDrawSafely) {
  std::vector<Vertex2D> two{{0, 0}, {50, 50}};
  Polygon2D polygon = PolygonOf(two, 100, 100, 1);
  FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
  polygon.vertices = nullptr;
  polygon.vertex_count = 5;
  FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
  FillPolygon16(&polygon, screen.Buffer(), Screen::PITCH);
  FillPolygon8(nullptr, screen.Buffer(), Screen::PITCH);
  polygon.vertex_count = -3;
  FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
  EXPECT_EQ(screen.Count(), 0);
  display.clip_min_x = 30, display.clip_max_x = 600, display.clip_min_y = 20, display.clip_max_y = 400;
  std::vector<Vertex2D> far{{-3e9f, -3e9f}, {3e9f, -2e9f}, {2e9f, 3e9f}, {-1e38f, 1e9f}};
  polygon = PolygonOf(far, 0, 0, 1);
  FillPolygon8(&polygon, screen.Buffer(), Screen::PITCH);
  EXPECT_TRUE(screen.InsideClip());
  EXPECT_EQ(screen.Count(), 571 * 381);
}

TEST_F(VectorTest, SixteenBitPolygonFillsUnits) {
  std::vector<Vertex2D> square{{0, 0}, {3, 0}, {3, 2}, {0, 2}};
  std::vector<uint16_t> units(20 * 10, 0);
  const Polygon2D polygon = PolygonOf(square, 2, 1, 0x1FEDC);
  FillPolygon16(&polygon, reinterpret_cast<uint8_t*>(units.data()), 40);
  int count = 0;
  for (int i = 0; i < 200; ++i)
    if (units[i]) {
      EXPECT_EQ(units[i], 0xFEDC);
      EXPECT_TRUE(i % 20 >= 2 && i % 20 <= 5 && i / 20 >= 1 && i / 20 <= 3) << i;
      ++count;
    }
  EXPECT_EQ(count, 12);
}

TEST_F(VectorTest, OutlineDrawsClosedClippedEdges) {
  std::vector<Vertex2D> square{{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  Polygon2D polygon = PolygonOf(square, 10, 10, 3);
  EXPECT_EQ(DrawPolygonOutline8(&polygon, screen.Buffer(), Screen::PITCH), 1);
  EXPECT_EQ(screen.Count(), 16);
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(screen.At(10 + i, 10), 3);
    EXPECT_EQ(screen.At(10 + i, 14), 3);
    EXPECT_EQ(screen.At(10, 10 + i), 3);  // the closing edge
    EXPECT_EQ(screen.At(14, 10 + i), 3);
  }
  polygon.x0 = -2;  // over the left edge of the clip
  Screen clipped;
  EXPECT_EQ(DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH), 1);
  EXPECT_TRUE(clipped.InsideClip());
  EXPECT_EQ(clipped.Count(), 3 + 3 + 3);  // rows 10 and 14 from column 0, column 2 between
  polygon.state = 0;
  EXPECT_EQ(DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH), 0);
  polygon.state = 1;
  polygon.vertex_count = 0;  // no vertices: nothing, not vertices[-1]
  EXPECT_EQ(DrawPolygonOutline8(&polygon, clipped.Buffer(), Screen::PITCH), 0);
  polygon.vertices = nullptr;
  polygon.vertex_count = 4;
  EXPECT_EQ(DrawPolygonOutline16(&polygon, clipped.Buffer(), Screen::PITCH), 0);
  EXPECT_EQ(DrawPolygonOutline8(nullptr, clipped.Buffer(), Screen::PITCH), 0);
  EXPECT_EQ(clipped.Count(), 9);
}

TEST_F(VectorTest, SixteenBitOutline) {
  std::vector<Vertex2D> line{{0, 0}, {3, 0}};
  const Polygon2D polygon = PolygonOf(line, 1, 1, 0x4321);
  std::vector<uint16_t> units(10 * 4, 0);
  EXPECT_EQ(DrawPolygonOutline16(&polygon, reinterpret_cast<uint8_t*>(units.data()), 20), 1);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(units[10 + x], (x >= 1 && x <= 4) ? 0x4321 : 0) << x;
}

TEST_F(VectorTest, BoundsStartAtTheOrigin) {
  std::vector<Vertex2D> square{{5, 5}, {10, 5}, {10, 10}, {5, 10}};
  Polygon2D polygon = PolygonOf(square, 100, 100, 1);
  float min_x = -9, max_x = -9, min_y = -9, max_y = -9;
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, &max_x, &min_y, &max_y), 1);
  EXPECT_EQ(min_x, 0.0f);
  EXPECT_EQ(max_x, 10.0f);
  EXPECT_EQ(min_y, 0.0f);
  EXPECT_EQ(max_y, 10.0f);
  std::vector<Vertex2D> negative{{-3, 2}, {-1, -7.5f}};
  polygon = PolygonOf(negative, 0, 0, 1);
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, &max_x, &min_y, &max_y), 1);
  EXPECT_EQ(min_x, -3.0f);
  EXPECT_EQ(max_x, 0.0f);
  EXPECT_EQ(min_y, -7.5f);
  EXPECT_EQ(max_y, 2.0f);
  polygon.vertex_count = 0;
  min_x = 42;
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, &max_x, &min_y, &max_y), 0);
  EXPECT_EQ(min_x, 42.0f);
  EXPECT_EQ(PolygonBounds(nullptr, &min_x, &max_x, &min_y, &max_y), 0);
  // Any one place to put a bound missing: nothing is written anywhere.
  polygon = PolygonOf(square, 100, 100, 1);
  min_x = max_x = min_y = max_y = 42;
  EXPECT_EQ(PolygonBounds(&polygon, nullptr, &max_x, &min_y, &max_y), 0);
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, nullptr, &min_y, &max_y), 0);
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, &max_x, nullptr, &max_y), 0);
  EXPECT_EQ(PolygonBounds(&polygon, &min_x, &max_x, &min_y, nullptr), 0);
  EXPECT_EQ(min_x + max_x + min_y + max_y, 4 * 42.0f);
}

TEST_F(VectorTest, ScansAreClampedToTheScreen) {
  uint8_t* buffer = screen.Buffer();
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH), 0);
  buffer[479 * Screen::PITCH + 639] = 250;
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH), 1);
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, -56, -1, buffer, Screen::PITCH), 1);  // 200..255 as bytes
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 251, 255, buffer, Screen::PITCH), 0);
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 249, buffer, Screen::PITCH), 0);
  EXPECT_EQ(ScanColorRange8(639, 479, 639, 479, 250, 250, buffer, Screen::PITCH), 1);
  EXPECT_EQ(ScanColorRange8(700, 479, 0, 479, 250, 250, buffer, Screen::PITCH), 0);  // reversed: empty
  EXPECT_EQ(ScanColorRange8(0, 0, 638, 479, 250, 250, buffer, Screen::PITCH), 0);
  EXPECT_EQ(ScanColorRange8(0, 0, 639, 478, 250, 250, buffer, Screen::PITCH), 0);
  buffer[479 * Screen::PITCH + 639] = 0;
  buffer[0 * Screen::PITCH + 640] = 250;  // just off the screen
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH), 0);
  buffer[-1] = 250;
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH), 0);
  buffer[0] = 250;
  EXPECT_EQ(ScanColorRange8(-5, -5, 700, 500, 1, 255, buffer, Screen::PITCH), 1);
  EXPECT_EQ(ScanColorRange8(0, 0, 1, 1, 1, 255, nullptr, Screen::PITCH), 0);
}

TEST_F(VectorTest, SixteenBitScanMatchesEitherColour) {
  const int pitch = 640 * 2 + 6;
  std::vector<uint16_t> units(pitch / 2 * 481, 0);
  auto* buffer = reinterpret_cast<uint8_t*>(units.data());
  units[(pitch / 2) * 479 + 639] = 0x1234;
  units[(pitch / 2) * 480 + 0] = 0x5678;  // below the screen
  EXPECT_EQ(ScanColors16(-5, -5, 700, 500, 0x1234, 0x9999, buffer, pitch + 1), 1);
  EXPECT_EQ(ScanColors16(-5, -5, 700, 500, 0x9999, 0x51234, buffer, pitch), 1);
  EXPECT_EQ(ScanColors16(-5, -5, 700, 500, 0x5678, 0x9999, buffer, pitch), 0);
  EXPECT_EQ(ScanColors16(0, 0, 638, 479, 0x1234, 0x1234, buffer, pitch), 0);
  EXPECT_EQ(ScanColors16(0, 0, 639, 478, 0x1234, 0x1234, buffer, pitch), 0);
  EXPECT_EQ(ScanColors16(0, 0, 639, 479, 0, 0, nullptr, pitch), 0);
}

TEST(TruncateToIntTest, TruncatesTowardZeroAndStopsAtTheEnds) {
  EXPECT_EQ(TruncateToInt(-2.7), -2);
  EXPECT_EQ(TruncateToInt(2.7), 2);
  EXPECT_EQ(TruncateToInt(1e20), INT_MAX);
  EXPECT_EQ(TruncateToInt(-1e20), INT_MIN);
  EXPECT_EQ(TruncateToInt(NAN), 0);
}

}  // namespace
