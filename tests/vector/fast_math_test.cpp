// Sine and cosine tables, distance estimates, polygon transforms and matrix products.
#include "vector/fast_math.h"

#include <climits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr float EPSILON = 1e-5f;

class FastMathTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildSinCosTables(); }
  Polygon2D PolygonOf(std::vector<Vertex2D>& vertices) {
    return Polygon2D{1, static_cast<int32_t>(vertices.size()), 10, 20, 0, 0, 1, vertices.data()};
  }
};

TEST_F(FastMathTest, TablesByWholeDegrees) {
  EXPECT_EQ(cos_table[0], 1.0f);
  EXPECT_EQ(sin_table[0], 0.0f);
  EXPECT_NEAR(sin_table[90], 1.0f, EPSILON);
  EXPECT_NEAR(cos_table[90], 0.0f, EPSILON);
  EXPECT_NEAR(cos_table[360], cos_table[0], EPSILON);
  EXPECT_NEAR(sin_table[30], 0.5f, EPSILON);
  EXPECT_NEAR(cos_table[180], -1.0f, EPSILON);
  EXPECT_NEAR(sin_table[270], -1.0f, EPSILON);
  // Every entry is the double-precision value at the float angle, rounded once to float.
  for (int i = 0; i < 361; ++i) {
    const double angle = static_cast<float>(i * 3.1415927 / 180);
    EXPECT_EQ(cos_table[i], static_cast<float>(std::cos(angle))) << i;
    EXPECT_EQ(sin_table[i], static_cast<float>(std::sin(angle))) << i;
  }
}

TEST_F(FastMathTest, AnglesReduceIntoTheTables) {
  EXPECT_EQ(TableAngle(0), 0);
  EXPECT_EQ(TableAngle(360), 360);
  EXPECT_EQ(TableAngle(-90), 270);
  EXPECT_EQ(TableAngle(-360), 0);
  EXPECT_EQ(TableAngle(361), 1);
  EXPECT_EQ(TableAngle(-361), 359);
  EXPECT_EQ(TableAngle(450), 90);
  EXPECT_EQ(TableAngle(-450), 270);
  EXPECT_EQ(TableAngle(INT_MIN), 232);  // -2147483648 = -5965232 x 360 - 128
  EXPECT_EQ(TableAngle(INT_MAX), 127);
}

TEST_F(FastMathTest, DistanceEstimates) {
  EXPECT_EQ(FastDistance2D(-3, 4), 6);
  EXPECT_EQ(FastDistance2D(3, -4), 6);
  EXPECT_EQ(FastDistance2D(0, 0), 0);
  EXPECT_EQ(FastDistance2D(100, 0), 100);
  EXPECT_EQ(FastDistance2D(100, 100), 100 + 100 - 50 - 25 + 6);
  EXPECT_EQ(FastDistance2D(1500000000, -1500000000), 1968750000);  // the sum alone passes 32 bits
  EXPECT_EQ(FastDistance2D(INT_MIN, INT_MIN), INT_MAX);
  EXPECT_EQ(FastDistance3D(1, 2, 2), 2);
  EXPECT_EQ(FastDistance3D(-3, 4, 0), 5);
  EXPECT_EQ(FastDistance3D(0, 0, -10), 10);
  EXPECT_EQ(FastDistance3D(10, 0, 0), 10);
  EXPECT_EQ(FastDistance3D(0, 10, 0), 10);
  EXPECT_EQ(FastDistance3D(6, 3, 2), 7);  // z 6144, y 3072, x 2048: 6144 + 1056 + 512 = 7712 -> 7
  EXPECT_EQ(FastDistance3D(10, 10, 10), 15);  // 10240 + 11 x 320 + 2560 = 16320 -> 15
  EXPECT_EQ(FastDistance3D(1e30f, 0, 0), INT_MAX >> 10);
  EXPECT_EQ(FastDistance3D(NAN, 0, 0), 0);
}

TEST_F(FastMathTest, RotationsByTableAndByMatrixAgree) {
  std::vector<Vertex2D> a{{1, 0}};
  Polygon2D p = PolygonOf(a);
  EXPECT_EQ(RotatePolygon(&p, 90), 1);
  EXPECT_NEAR(a[0].x, 0, EPSILON);
  EXPECT_NEAR(a[0].y, 1, EPSILON);
  a[0] = {1, 0};
  RotatePolygon(&p, -90);
  EXPECT_NEAR(a[0].x, 0, EPSILON);
  EXPECT_NEAR(a[0].y, -1, EPSILON);
  a[0] = {1, 0};
  RotatePolygon(&p, 450);  // out of the tables' range: reduced to 90
  EXPECT_NEAR(a[0].y, 1, EPSILON);
  EXPECT_EQ(p.x0, 10);
  EXPECT_EQ(p.y0, 20);

  std::mt19937 random(3);
  std::uniform_int_distribution<int> angle_of(-1000, 1000);
  std::uniform_real_distribution<float> coordinate(-100, 100);
  for (int n = 0; n < 200; ++n) {
    std::vector<Vertex2D> by_table, by_matrix;
    for (int i = 0; i < 5; ++i) by_table.push_back({coordinate(random), coordinate(random)});
    by_matrix = by_table;
    Polygon2D table_polygon = PolygonOf(by_table), matrix_polygon = PolygonOf(by_matrix);
    const int angle = angle_of(random);
    EXPECT_EQ(RotatePolygon(&table_polygon, angle), 1);
    EXPECT_EQ(RotatePolygonMat(&matrix_polygon, angle), 1);
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(by_table[i].x, by_matrix[i].x, 1e-3f);
      EXPECT_NEAR(by_table[i].y, by_matrix[i].y, 1e-3f);
    }
  }
}

TEST_F(FastMathTest, MatrixRotationTurnsTheRightWay) {
  std::vector<Vertex2D> a{{2, 0}, {0, 3}};
  Polygon2D p = PolygonOf(a);
  RotatePolygonMat(&p, 90);
  EXPECT_NEAR(a[0].x, 0, EPSILON);
  EXPECT_NEAR(a[0].y, 2, EPSILON);
  EXPECT_NEAR(a[1].x, -3, EPSILON);
  EXPECT_NEAR(a[1].y, 0, EPSILON);
  RotatePolygonMat(&p, -810);  // -90 after reduction
  EXPECT_NEAR(a[0].x, 2, EPSILON);
  EXPECT_NEAR(a[1].y, 3, EPSILON);
}

TEST_F(FastMathTest, TranslateAndScaleDirectlyAndByMatrix) {
  std::vector<Vertex2D> a{{3, 4}, {-1, 2}}, b = a;
  Polygon2D direct = PolygonOf(a), by_matrix = PolygonOf(b);
  EXPECT_EQ(TranslatePolygon(&direct, 5, -3), 1);
  EXPECT_EQ(TranslatePolygonMat(&by_matrix, 5, -3), 1);
  EXPECT_EQ(direct.x0, 15);
  EXPECT_EQ(direct.y0, 17);
  EXPECT_EQ(by_matrix.x0, 15);
  EXPECT_EQ(by_matrix.y0, 17);
  EXPECT_EQ(ScalePolygon(&direct, 2, 0.5f), 1);
  EXPECT_EQ(ScalePolygonMat(&by_matrix, 2, 0.5f), 1);
  for (const auto* v : {&a, &b}) {
    EXPECT_EQ((*v)[0].x, 6.0f);
    EXPECT_EQ((*v)[0].y, 2.0f);
    EXPECT_EQ((*v)[1].x, -2.0f);
    EXPECT_EQ((*v)[1].y, 1.0f);
  }
  EXPECT_EQ(a[0].x, 6.0f);
  direct.x0 = INT_MAX - 1;
  TranslatePolygon(&direct, 10, 0);  // stops at the end of the range
  EXPECT_EQ(direct.x0, INT_MAX);
}

TEST_F(FastMathTest, NullPolygonsAndEmptyVertexLists) {
  EXPECT_EQ(TranslatePolygon(nullptr, 1, 1), 0);
  EXPECT_EQ(RotatePolygon(nullptr, 1), 0);
  EXPECT_EQ(ScalePolygon(nullptr, 1, 1), 0);
  EXPECT_EQ(TranslatePolygonMat(nullptr, 1, 1), 0);
  EXPECT_EQ(RotatePolygonMat(nullptr, 1), 0);
  EXPECT_EQ(ScalePolygonMat(nullptr, 1, 1), 0);
  Polygon2D empty{1, 3, 0, 0, 0, 0, 1, nullptr};
  EXPECT_EQ(RotatePolygon(&empty, 10), 1);
  EXPECT_EQ(ScalePolygon(&empty, 2, 2), 1);
  EXPECT_EQ(RotatePolygonMat(&empty, 10), 1);
  EXPECT_EQ(ScalePolygonMat(&empty, 2, 2), 1);
}

TEST(MatrixTest, ProductsInPlaceEqualProductsIntoAnotherRecord) {
  const Matrix3x3 a{{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}};
  const Matrix3x3 b{{{2, 0, 1}, {1, 3, 0}, {0, 1, 4}}};
  Matrix3x3 out;
  EXPECT_EQ(MulMatrix3x3(&a, &b, &out), 1);
  const float expected[3][3] = {{4, 9, 13}, {13, 21, 28}, {22, 34, 47}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(out.m[i][j], expected[i][j]) << i << j;
  Matrix3x3 in_place = a;
  MulMatrix3x3(&in_place, &b, &in_place);
  Matrix3x3 right = b;
  MulMatrix3x3(&a, &right, &right);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(in_place.m[i][j], expected[i][j]);
      EXPECT_EQ(right.m[i][j], expected[i][j]);
    }
  float v[3] = {1, 2, 3};
  EXPECT_EQ(MulVector1x3Matrix3x3(v, &a, v), 1);
  EXPECT_EQ(v[0], 30.0f);  // 1 + 8 + 21
  EXPECT_EQ(v[1], 36.0f);  // 2 + 10 + 24
  EXPECT_EQ(v[2], 45.0f);  // 3 + 12 + 30
  EXPECT_EQ(MulMatrix3x3(nullptr, &b, &out), 0);
  EXPECT_EQ(MulVector1x3Matrix3x3(v, nullptr, v), 0);
}

TEST(MatrixTest, VectorTimesThreeByTwoInPlace) {
  Matrix3x2 m;
  EXPECT_EQ(Matrix3x2Init(&m, 1, 2, 3, 4, 5, 6), 1);
  EXPECT_EQ(m.m[1][0], 3.0f);
  EXPECT_EQ(m.m[2][1], 6.0f);
  float v[2] = {10, 100};
  EXPECT_EQ(MulVector1x2Matrix3x2(v, &m, v), 1);
  EXPECT_EQ(v[0], 10 + 300 + 5.0f);
  EXPECT_EQ(v[1], 20 + 400 + 6.0f);
  EXPECT_EQ(Matrix3x2Init(nullptr, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(MulVector1x2Matrix3x2(nullptr, &m, v), 0);
}

}  // namespace
