// Feeds random clip rectangles, triangles, vertex lists and lines to the fillers and line
// drawers, and stops (traps) when a pixel lands outside the clip rectangle. The buffers are
// exactly their size, so a write past them is caught by AddressSanitizer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "display/display.h"
#include "display/draw_extras.h"
#include "vector/polygon.h"

// Pixels the last input left inside the clip rectangle (read by the test that replays inputs).
int vector_fuzz_pixels_drawn = 0;

namespace {

constexpr int WIDTH = 96, HEIGHT = 72;
constexpr int PITCH8 = WIDTH + 5;         // bytes per 8-bit row
constexpr int PITCH16 = 2 * WIDTH + 7;   // pitch handed to the 16-bit drawers: odd on purpose
constexpr int ROW16 = PITCH16 & ~1;      // bytes between 16-bit rows: the pitch's low bit is dropped
constexpr int MAX_VERTICES = 12;

// Reads the input a few bytes at a time; past its end every read gives 0.
struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;

  uint8_t Byte() { return at < size ? data[at++] : 0; }
  bool Done() const { return at >= size; }
  int32_t Raw() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int32_t>(value);
  }
  // Mostly near the buffer, sometimes anywhere in int range.
  int32_t Coordinate() {
    const uint8_t kind = Byte();
    if (kind < 200) return static_cast<int32_t>(Byte()) - 80;
    if (kind < 230) return (static_cast<int32_t>(Byte()) - 128) * 1000;
    return Raw();
  }
  float Real() {
    const uint8_t kind = Byte();
    if (kind < 220) return static_cast<float>(static_cast<int>(Byte()) - 128) + Byte() / 256.0f;
    const uint32_t bits = static_cast<uint32_t>(Raw());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;  // any float: huge, infinite, NaN
  }
};

void ChooseClip(Input& in) {
  display.clip_min_x = in.Byte() % WIDTH;
  display.clip_max_x = display.clip_min_x + in.Byte() % (WIDTH - display.clip_min_x);
  display.clip_min_y = in.Byte() % HEIGHT;
  display.clip_max_y = display.clip_min_y + in.Byte() % (HEIGHT - display.clip_min_y);
}

void Triangle(Input& in, int kind, uint8_t* buffer8, uint8_t* buffer16) {
  int v[6];
  for (int& value : v) value = in.Coordinate();
  if (kind == 0) DrawTriangle8(v[0], v[1], v[2], v[3], v[4], v[5], 0x5A, buffer8, PITCH8);
  if (kind == 1) DrawTriangleFixed8(v[0], v[1], v[2], v[3], v[4], v[5], 0x5A, buffer8, PITCH8);
  if (kind == 2) DrawTriangle16(v[0], v[1], v[2], v[3], v[4], v[5], 0x5A5A, buffer16, PITCH16);
}

void PolygonShape(Input& in, int kind, uint8_t* buffer8, uint8_t* buffer16) {
  Vertex2D vertices[MAX_VERTICES] = {};
  const int count = in.Byte() % (MAX_VERTICES + 1);
  for (int i = 0; i < count; ++i) vertices[i] = Vertex2D{in.Real(), in.Real()};
  Polygon2D polygon{1, count, in.Coordinate(), in.Coordinate(), 0, 0, 0x5A5A, vertices};
  if (in.Byte() == 0) polygon.vertices = nullptr;
  if (kind == 0) FillPolygon8(&polygon, buffer8, PITCH8);
  if (kind == 1) FillPolygon16(&polygon, buffer16, PITCH16);
  if (kind == 2) DrawPolygonOutline8(&polygon, buffer8, PITCH8);
  if (kind == 3) DrawPolygonOutline16(&polygon, buffer16, PITCH16);
}

void Line(Input& in, int kind, uint8_t* buffer8, uint8_t* buffer16) {
  int v[4];
  for (int& value : v) value = in.Coordinate();
  if (kind == 0) DrawClippedLine8(v[0], v[1], v[2], v[3], 0x5A, buffer8, PITCH8);
  if (kind == 1) DrawClippedLine16(v[0], v[1], v[2], v[3], 0x5A5A, buffer16, PITCH16);
}

// The checks below are the target's own bookkeeping, not code under test: left out of the
// fuzzer's coverage tracing, which would otherwise cost more than all the drawing.
#if defined(__clang__)
#define NOT_TRACED __attribute__((no_sanitize("coverage")))
#else
#define NOT_TRACED
#endif

NOT_TRACED bool InsideClip(int x, int y) {
  return x >= display.clip_min_x && x <= display.clip_max_x && y >= display.clip_min_y && y <= display.clip_max_y;
}

// Traps on a pixel outside the clip rectangle; counts the ones inside.
NOT_TRACED void CheckBuffers(const std::vector<uint8_t>& bytes8, const std::vector<uint8_t>& bytes16) {
  vector_fuzz_pixels_drawn = 0;
  const uint8_t* pixels8 = bytes8.data();
  const uint8_t* pixels16 = bytes16.data();
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < PITCH8; ++x) {
      const bool set8 = pixels8[y * PITCH8 + x] != 0;
      const bool set16 = x < WIDTH && (pixels16[y * ROW16 + 2 * x] | pixels16[y * ROW16 + 2 * x + 1]) != 0;
      if ((set8 || set16) && !InsideClip(x, y)) __builtin_trap();
      vector_fuzz_pixels_drawn += set8 + set16;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  ChooseClip(in);
  std::vector<uint8_t> bytes8(static_cast<size_t>(PITCH8) * HEIGHT, 0);
  std::vector<uint8_t> bytes16(static_cast<size_t>(ROW16) * HEIGHT, 0);
  for (int step = 0; step < 16 && !in.Done(); ++step) {
    const int choice = in.Byte() % 9;
    if (choice < 3) Triangle(in, choice, bytes8.data(), bytes16.data());
    else if (choice < 7) PolygonShape(in, choice - 3, bytes8.data(), bytes16.data());
    else Line(in, choice - 7, bytes8.data(), bytes16.data());
  }
  CheckBuffers(bytes8, bytes16);
  display = DisplayState{};
  return 0;
}
