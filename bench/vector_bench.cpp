// The vector fillers beside the plainest scanline fill of the same shape: each benchmark times
// both in the same run and reports library / plain as `ratio` (1.0 = as fast as the plain fill).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "display/display.h"
#include "vector/polygon.h"

namespace {

constexpr int PITCH = 640;
constexpr int ROWS = 480;

using Point = std::pair<int, int>;

// The plainest fill: each row between the leftmost and rightmost crossing of its edges.
void PlainScanlineFill(const std::vector<Point>& points, int color, uint8_t* buffer) {
  int top = ROWS, bottom = -1;
  for (const Point& p : points) top = std::min(top, p.second), bottom = std::max(bottom, p.second);
  for (int y = std::max(top, 0); y <= std::min(bottom, ROWS - 1); ++y) {
    float left = 1e9f, right = -1e9f;
    for (size_t i = 0; i < points.size(); ++i) {
      const Point a = points[i], b = points[(i + 1) % points.size()];
      if ((y < a.second && y < b.second) || (y > a.second && y > b.second)) continue;
      const float x = a.second == b.second ? static_cast<float>(a.first)
                                           : a.first + static_cast<float>(y - a.second) * (b.first - a.first) /
                                                           (b.second - a.second);
      left = std::min(left, a.second == b.second ? std::min(a.first, b.first) : x);
      right = std::max(right, a.second == b.second ? std::max(a.first, b.first) : x);
    }
    const int from = std::max(0, static_cast<int>(left)), to = std::min(PITCH - 1, static_cast<int>(right));
    if (from <= to) std::memset(buffer + y * PITCH + from, color, static_cast<size_t>(to - from + 1));
  }
}

template <typename Fill>
double Nanoseconds(Fill fill) {
  const auto start = std::chrono::steady_clock::now();
  fill();
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

// Times `library` and the plain fill of `points` alternately and reports both and their ratio.
template <typename LibraryFill>
void CompareWithPlain(benchmark::State& state, const std::vector<Point>& points, LibraryFill library) {
  display = DisplayState{};
  std::vector<uint8_t> buffer(PITCH * ROWS);
  double library_ns = 0, plain_ns = 0;
  for (auto _ : state) {
    library_ns += Nanoseconds([&] { library(buffer.data()); });
    plain_ns += Nanoseconds([&] { PlainScanlineFill(points, 7, buffer.data()); });
    benchmark::DoNotOptimize(buffer.data());
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["library_ns"] = library_ns / runs;
  state.counters["plain_ns"] = plain_ns / runs;
  state.counters["ratio"] = library_ns / plain_ns;
}

void BM_DrawTriangle8Large(benchmark::State& state) {
  const std::vector<Point> t{{20, 10}, {620, 200}, {150, 470}};
  CompareWithPlain(state, t, [&](uint8_t* buffer) {
    DrawTriangle8(t[0].first, t[0].second, t[1].first, t[1].second, t[2].first, t[2].second, 7, buffer, PITCH);
  });
}
BENCHMARK(BM_DrawTriangle8Large);

void BM_DrawTriangle8Small(benchmark::State& state) {
  const std::vector<Point> t{{300, 200}, {312, 205}, {304, 214}};
  CompareWithPlain(state, t, [&](uint8_t* buffer) {
    DrawTriangle8(t[0].first, t[0].second, t[1].first, t[1].second, t[2].first, t[2].second, 7, buffer, PITCH);
  });
}
BENCHMARK(BM_DrawTriangle8Small);

void BM_FillPolygon8Octagon(benchmark::State& state) {
  std::vector<Vertex2D> vertices;
  std::vector<Point> points;
  for (int i = 0; i < 8; ++i) {
    const float angle = static_cast<float>(i) * 0.7853982f + 0.3f;
    vertices.push_back({200 * std::cos(angle), 200 * std::sin(angle)});
    points.push_back({static_cast<int>(320 + vertices.back().x), static_cast<int>(240 + vertices.back().y)});
  }
  const Polygon2D octagon{1, 8, 320, 240, 0, 0, 7, vertices.data()};
  CompareWithPlain(state, points, [&](uint8_t* buffer) { FillPolygon8(&octagon, buffer, PITCH); });
}
BENCHMARK(BM_FillPolygon8Octagon);

}  // namespace
