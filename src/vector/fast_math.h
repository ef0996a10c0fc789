/// \file
/// The vector library's numeric toolkit: sine and cosine tables by whole degrees, distance
/// estimates without a square root, moving, rotating and scaling polygons directly or through
/// matrices, and small matrix products.
#pragma once

#include <cstdint>

#include "vector/polygon.h"

/// Entries of each table: whole degrees 0..360.
constexpr int TRIG_TABLE_SIZE = 361;

/// Cosine by whole degree; all 0 until BuildSinCosTables.
extern float cos_table[TRIG_TABLE_SIZE];
/// Sine by whole degree; all 0 until BuildSinCosTables.
extern float sin_table[TRIG_TABLE_SIZE];

/// A 3 x 2 matrix in row order; a point (x, y) is the row (x, y, 1), the last row the translation.
struct Matrix3x2 {
  float m[3][2];  ///< m[row][column]
};

/// A 3 x 3 matrix in row order.
struct Matrix3x3 {
  float m[3][3];  ///< m[row][column]
};

/// Fills both tables.
void BuildSinCosTables();
/// The table index of an angle in degrees: negative angles count from 360, others are reduced modulo 360.
int TableAngle(int angle);
/// Distance estimate in the plane, within a few percent of the true length.
int FastDistance2D(int dx, int dy);
/// Distance estimate in space.
int FastDistance3D(float dx, float dy, float dz);
/// Moves the local origin by (dx, dy); 0 for a null polygon.
int TranslatePolygon(Polygon2D* polygon, int dx, int dy);
/// Rotates every vertex about the local origin with the tables; 0 for a null polygon.
int RotatePolygon(Polygon2D* polygon, int angle);
/// Scales every vertex: x *= sx, y *= sy; 0 for a null polygon.
int ScalePolygon(Polygon2D* polygon, float sx, float sy);
/// Stores the six values in row order; 0 for a null matrix.
int Matrix3x2Init(Matrix3x2* matrix, float m00, float m01, float m10, float m11, float m20, float m21);
/// out = (v0, v1, 1) x m; out may be v.
int MulVector1x2Matrix3x2(const float v[2], const Matrix3x2* matrix, float out[2]);
/// out = a x b; out may be a or b.
int MulMatrix3x3(const Matrix3x3* a, const Matrix3x3* b, Matrix3x3* out);
/// out = v x m; out may be v.
int MulVector1x3Matrix3x3(const float v[3], const Matrix3x3* matrix, float out[3]);
/// Moves the local origin through a translation matrix; 0 for a null polygon.
int TranslatePolygonMat(Polygon2D* polygon, int dx, int dy);
/// Rotates the vertices through a rotation matrix built from the tables; 0 for a null polygon.
int RotatePolygonMat(Polygon2D* polygon, int angle);
/// Scales the vertices through a scaling matrix; 0 for a null polygon.
int ScalePolygonMat(Polygon2D* polygon, float sx, float sy);
