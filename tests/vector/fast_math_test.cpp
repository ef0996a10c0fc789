// Sine and cosine tables, distance estimates, polygon transforms and matrix products.
#include "vector/fast_math.h"

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

class FastMathTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildSinCosTables(); }
  static Polygon2D PolygonOf(std::vector<Vertex2D>& vertices) {
    return Polygon2D{1, static_cast<int32_t>(vertices.size()), 10, 20, 0, 0, 1, vertices.data()};
  }
};

// Every entry is within float rounding (of the angle and of the value) of the true value.
TEST_F(FastMathTest, TablesByWholeDegrees) {
  for (int i = 0; i < TRIG_TABLE_SIZE; ++i) {
    const double angle = i * 3.14159265358979 / 180;
    EXPECT_NEAR(std::cos(angle), cos_table[i], 4e-7) << i;
    EXPECT_NEAR(std::sin(angle), sin_table[i], 4e-7) << i;
  }
  EXPECT_EQ(1.0f, cos_table[0]);
  EXPECT_EQ(0.5f, sin_table[30]);
}

TEST_F(FastMathTest, AnglesReduceIntoTheTables) {
  const std::pair<int, int> angles[] = {{0, 0},      {360, 360},  {-90, 270},  {-360, 0},        {361, 1},
                                        {-361, 359}, {450, 90},   {-450, 270}, {INT_MIN, 232},   {INT_MAX, 127}};
  for (const auto& [angle, index] : angles) EXPECT_EQ(index, TableAngle(angle)) << angle;
}

TEST_F(FastMathTest, DistanceEstimates) {
  const struct {
    int dx, dy, distance;
  } flat[] = {{-3, 4, 6}, {3, -4, 6}, {0, 0, 0}, {100, 0, 100}, {100, 100, 100 + 100 - 50 - 25 + 6},
              {1500000000, -1500000000, 1968750000},  // the sum alone passes 32 bits
              {INT_MIN, INT_MIN, INT_MAX}};
  for (const auto& d : flat) EXPECT_EQ(d.distance, FastDistance2D(d.dx, d.dy)) << d.dx << "," << d.dy;
  const struct {
    float dx, dy, dz;
    int distance;
  } space[] = {{1, 2, 2, 2}, {-3, 4, 0, 5}, {0, 0, -10, 10}, {10, 0, 0, 10}, {0, 10, 0, 10},
               {6, 3, 2, 7},     // 6144 + 11 x (3072 >> 5) + (2048 >> 2) = 7712, >> 10
               {10, 10, 10, 15},  // 10240 + 11 x 320 + 2560 = 16320, >> 10
               {1e30f, 0, 0, INT_MAX >> 10}, {NAN, 0, 0, 0}};
  for (const auto& d : space) EXPECT_EQ(d.distance, FastDistance3D(d.dx, d.dy, d.dz)) << d.dx << "," << d.dy;
}

// Both rotations turn counter-clockwise in screen terms ((1, 0) to (0, 1) at 90 degrees) and agree.
TEST_F(FastMathTest, RotationsByTableAndByMatrixAgree) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> angle_of(-1000, 1000);
  std::uniform_real_distribution<float> coordinate(-100, 100);
  for (int n = 0; n < 200; ++n) {
    std::vector<Vertex2D> by_table = {{2, 0}, {0, 3}};
    for (int i = 0; i < 3; ++i) by_table.push_back({coordinate(random), coordinate(random)});
    std::vector<Vertex2D> by_matrix = by_table;
    Polygon2D table_polygon = PolygonOf(by_table), matrix_polygon = PolygonOf(by_matrix);
    const int angle = n == 0 ? 450 : angle_of(random);
    ASSERT_EQ(1, RotatePolygon(&table_polygon, angle));
    ASSERT_EQ(1, RotatePolygonMat(&matrix_polygon, angle));
    const double radians = angle * 3.14159265358979 / 180;
    EXPECT_NEAR(-3 * std::sin(radians), by_table[1].x, 1e-4) << angle;
    EXPECT_NEAR(2 * std::sin(radians), by_table[0].y, 1e-4) << angle;
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(by_table[i].x, by_matrix[i].x, 1e-3f);
      EXPECT_NEAR(by_table[i].y, by_matrix[i].y, 1e-3f);
    }
  }
}

TEST_F(FastMathTest, TranslateAndScaleDirectlyAndByMatrix) {
  std::vector<Vertex2D> a{{3, 4}, {-1, 2}}, b = a;
  Polygon2D direct = PolygonOf(a), by_matrix = PolygonOf(b);
  EXPECT_EQ(1, TranslatePolygon(&direct, 5, -3));
  EXPECT_EQ(1, TranslatePolygonMat(&by_matrix, 5, -3));
  EXPECT_EQ(1, ScalePolygon(&direct, 2, 0.5f));
  EXPECT_EQ(1, ScalePolygonMat(&by_matrix, 2, 0.5f));
  for (const Polygon2D* p : {&direct, &by_matrix}) {
    const std::vector<float> moved = {float(p->x0), float(p->y0), p->vertices[0].x, p->vertices[0].y,
                                      p->vertices[1].x, p->vertices[1].y};
    EXPECT_EQ((std::vector<float>{15, 17, 6, 2, -2, 1}), moved);
  }
  direct.x0 = INT_MAX - 1;
  TranslatePolygon(&direct, 10, 0);  // stops at the end of the range
  EXPECT_EQ(INT_MAX, direct.x0);
  Polygon2D empty{1, 3, 0, 0, 0, 0, 1, nullptr};
  for (Polygon2D* p : {&empty, static_cast<Polygon2D*>(nullptr)}) {
    const int result = p ? 1 : 0;  // a polygon without a vertex list is left alone
    EXPECT_EQ(result, RotatePolygon(p, 10));
    EXPECT_EQ(result, ScalePolygon(p, 2, 2));
    EXPECT_EQ(result, RotatePolygonMat(p, 10));
    EXPECT_EQ(result, ScalePolygonMat(p, 2, 2));
    EXPECT_EQ(result, TranslatePolygon(p, 1, 1));
    EXPECT_EQ(result, TranslatePolygonMat(p, 1, 1));
  }
}

// Products written over an input equal products into another record.
TEST(MatrixTest, ProductsInPlace) {
  const Matrix3x3 a{{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}};
  const Matrix3x3 b{{{2, 0, 1}, {1, 3, 0}, {0, 1, 4}}};
  const float expected[3][3] = {{4, 9, 13}, {13, 21, 28}, {22, 34, 47}};
  Matrix3x3 left = a, right = b;
  EXPECT_EQ(1, MulMatrix3x3(&left, &b, &left));
  EXPECT_EQ(1, MulMatrix3x3(&a, &right, &right));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(expected[i][j], left.m[i][j]) << i << j;
      EXPECT_EQ(expected[i][j], right.m[i][j]) << i << j;
    }
  float v[3] = {1, 2, 3};
  EXPECT_EQ(1, MulVector1x3Matrix3x3(v, &a, v));
  EXPECT_EQ((std::vector<float>{30, 36, 45}), std::vector<float>(v, v + 3));
  Matrix3x2 m;
  EXPECT_EQ(1, Matrix3x2Init(&m, 1, 2, 3, 4, 5, 6));
  float w[2] = {10, 100};
  EXPECT_EQ(1, MulVector1x2Matrix3x2(w, &m, w));
  EXPECT_EQ((std::vector<float>{10 + 300 + 5, 20 + 400 + 6}), std::vector<float>(w, w + 2));
  EXPECT_EQ(0, MulMatrix3x3(nullptr, &b, &left));
  EXPECT_EQ(0, MulVector1x3Matrix3x3(v, nullptr, v));
  EXPECT_EQ(0, Matrix3x2Init(nullptr, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(0, MulVector1x2Matrix3x2(nullptr, &m, w));
}

}  // namespace
