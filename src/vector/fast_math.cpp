// Sine and cosine tables, distance estimates, polygon transforms and matrix products.
#include "vector/fast_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

float cos_table[TRIG_TABLE_SIZE];
float sin_table[TRIG_TABLE_SIZE];

namespace {

// |value| x 1024 truncated toward zero, kept within int range.
int64_t Scaled1024(float value) {
  const double scaled = std::fabs(static_cast<double>(value)) * 1024.0;
  if (std::isnan(scaled)) return 0;
  return scaled >= static_cast<double>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                             : static_cast<int64_t>(scaled);
}

int ClampToInt(int64_t value) {
  return static_cast<int>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

bool HasVertexList(const Polygon2D* polygon) { return polygon->vertices && polygon->vertex_count > 0; }

// Every vertex v becomes v x m.
void TransformVertices(Polygon2D* polygon, const Matrix3x2& matrix) {
  if (!HasVertexList(polygon)) return;
  for (int i = 0; i < polygon->vertex_count; ++i) {
    const float point[2] = {polygon->vertices[i].x, polygon->vertices[i].y};
    float out[2];
    MulVector1x2Matrix3x2(point, &matrix, out);
    polygon->vertices[i] = Vertex2D{out[0], out[1]};
  }
}

}  // namespace

void BuildSinCosTables() {
  for (int i = 0; i < TRIG_TABLE_SIZE; ++i) {
    // The angle is rounded to float; its cosine and sine are taken in double and rounded once.
    const double angle = static_cast<float>(i * 3.1415927 / 180);
    cos_table[i] = static_cast<float>(std::cos(angle));
    sin_table[i] = static_cast<float>(std::sin(angle));
  }
}

int TableAngle(int angle) {
  if (angle > 360 || angle < -360) angle %= 360;
  return angle < 0 ? angle + 360 : angle;
}

int FastDistance2D(int dx, int dy) {
  const int64_t a = std::llabs(static_cast<int64_t>(dx));
  const int64_t b = std::llabs(static_cast<int64_t>(dy));
  const int64_t m = std::min(a, b);
  return ClampToInt(a + b - (m >> 1) - (m >> 2) + (m >> 4));
}

int FastDistance3D(float dx, float dy, float dz) {
  int64_t x = Scaled1024(dx), y = Scaled1024(dy), z = Scaled1024(dz);
  if (y < x) std::swap(x, y);
  if (z < y) std::swap(y, z);
  if (y < x) std::swap(x, y);
  return ClampToInt((z + 11 * (y >> 5) + (x >> 2)) >> 10);
}

int TranslatePolygon(Polygon2D* polygon, int dx, int dy) {
  if (!polygon) return 0;
  polygon->x0 = TruncateToInt(static_cast<double>(polygon->x0) + dx);  // stops at the ends of int range
  polygon->y0 = TruncateToInt(static_cast<double>(polygon->y0) + dy);
  return 1;
}

int RotatePolygon(Polygon2D* polygon, int angle) {
  if (!polygon) return 0;
  if (!HasVertexList(polygon)) return 1;
  const int t = TableAngle(angle);
  const float c = cos_table[t], s = sin_table[t];
  for (int i = 0; i < polygon->vertex_count; ++i) {
    Vertex2D& vertex = polygon->vertices[i];
    const float x = vertex.x, y = vertex.y;
    vertex.x = x * c - y * s;
    vertex.y = x * s + y * c;
  }
  return 1;
}

int ScalePolygon(Polygon2D* polygon, float sx, float sy) {
  if (!polygon) return 0;
  if (!HasVertexList(polygon)) return 1;
  for (int i = 0; i < polygon->vertex_count; ++i) {
    polygon->vertices[i].x *= sx;
    polygon->vertices[i].y *= sy;
  }
  return 1;
}

int Matrix3x2Init(Matrix3x2* matrix, float m00, float m01, float m10, float m11, float m20, float m21) {
  if (!matrix) return 0;
  *matrix = Matrix3x2{{{m00, m01}, {m10, m11}, {m20, m21}}};
  return 1;
}

int MulVector1x2Matrix3x2(const float v[2], const Matrix3x2* matrix, float out[2]) {
  if (!v || !matrix || !out) return 0;
  float result[2];
  for (int i = 0; i < 2; ++i) result[i] = v[0] * matrix->m[0][i] + v[1] * matrix->m[1][i] + matrix->m[2][i];
  out[0] = result[0];
  out[1] = result[1];
  return 1;
}

int MulMatrix3x3(const Matrix3x3* a, const Matrix3x3* b, Matrix3x3* out) {
  if (!a || !b || !out) return 0;
  Matrix3x3 result;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      float sum = 0;
      for (int k = 0; k < 3; ++k) sum += a->m[i][k] * b->m[k][j];
      result.m[i][j] = sum;
    }
  *out = result;
  return 1;
}

int MulVector1x3Matrix3x3(const float v[3], const Matrix3x3* matrix, float out[3]) {
  if (!v || !matrix || !out) return 0;
  float result[3];
  for (int i = 0; i < 3; ++i) {
    float sum = 0;
    for (int j = 0; j < 3; ++j) sum += v[j] * matrix->m[j][i];
    result[i] = sum;
  }
  std::copy(result, result + 3, out);
  return 1;
}

int TranslatePolygonMat(Polygon2D* polygon, int dx, int dy) {
  if (!polygon) return 0;
  Matrix3x2 matrix;
  Matrix3x2Init(&matrix, 1, 0, 0, 1, static_cast<float>(dx), static_cast<float>(dy));
  const float origin[2] = {static_cast<float>(polygon->x0), static_cast<float>(polygon->y0)};
  float moved[2];
  MulVector1x2Matrix3x2(origin, &matrix, moved);
  polygon->x0 = TruncateToInt(moved[0]);
  polygon->y0 = TruncateToInt(moved[1]);
  return 1;
}

int RotatePolygonMat(Polygon2D* polygon, int angle) {
  if (!polygon) return 0;
  const int t = TableAngle(angle);
  const float c = cos_table[t], s = sin_table[t];
  Matrix3x2 matrix;
  Matrix3x2Init(&matrix, c, s, -s, c, 0, 0);
  TransformVertices(polygon, matrix);
  return 1;
}

int ScalePolygonMat(Polygon2D* polygon, float sx, float sy) {
  if (!polygon) return 0;
  Matrix3x2 matrix;
  Matrix3x2Init(&matrix, sx, 0, 0, sy, 0, 0);
  TransformVertices(polygon, matrix);
  return 1;
}
