/// \file
/// Solid shapes in locked pixel buffers: filled triangles (float and 16.16 fixed-point edge
/// stepping) clipped to the display's clip rectangle, filled and outlined polygons, a polygon's
/// bounding box, colour scans of a rectangle, and the copy of one sheet cell into a surface.
#pragma once

#include <cstdint>

#include "ddraw.h"

/// One vertex in a polygon's local coordinates.
struct Vertex2D {
  float x;  ///< column offset from the local origin
  float y;  ///< row offset from the local origin
};

/// A polygon: its local origin on the screen, its colour and its outline.
struct Polygon2D {
  int32_t state;         ///< nonzero when the polygon may be drawn; outlines draw nothing while 0
  int32_t vertex_count;  ///< number of vertices
  int32_t x0;            ///< column of the local origin on the screen
  int32_t y0;            ///< row of the local origin
  int32_t x_velocity;    ///< free for the owner
  int32_t y_velocity;    ///< free for the owner
  int32_t color;         ///< low byte in 8-bit buffers, low 16 bits in 16-bit buffers
  Vertex2D* vertices;    ///< vertex_count vertices in order, owned by the caller
};

/// A float truncated toward zero into int range (far-off values stop at the ends, NaN gives 0).
int32_t TruncateToInt(double value);
/// The screen position of vertex `index`: (int)(x0 + x), (int)(y0 + y), the sum in float.
void VertexOnScreen(const Polygon2D* polygon, int index, int32_t* x, int32_t* y);

/// Fills a triangle in an 8-bit buffer with float edge stepping, clipped to the clip rectangle.
void DrawTriangle8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// The 16-bit twin of DrawTriangle8.
void DrawTriangle16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// Fills a triangle in an 8-bit buffer with 16.16 fixed-point edge stepping.
void DrawTriangleFixed8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// Top edge (x1, y1)-(x2, y1), apex (x3, y3) below; y2 is not read.
void FillFlatTopTriangle8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// Apex (x1, y1), bottom edge x2..x3 on row y3; y2 is not read.
void FillFlatBottomTriangle8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// 16-bit flat-top half.
void FillFlatTopTriangle16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// 16-bit flat-bottom half.
void FillFlatBottomTriangle16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer, int pitch);
/// Fixed-point flat-top half.
void FillFlatTopTriangleFixed8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                               int pitch);
/// Fixed-point flat-bottom half.
void FillFlatBottomTriangleFixed8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                                  int pitch);

/// Fills a convex polygon in an 8-bit buffer, rows between its edges, clipped to the clip rectangle.
void FillPolygon8(const Polygon2D* polygon, uint8_t* buffer, int pitch);
/// The 16-bit twin of FillPolygon8.
void FillPolygon16(const Polygon2D* polygon, uint8_t* buffer, int pitch);
/// Closed outline with clipped lines; 0 when state is 0 or there is no vertex, else 1.
int DrawPolygonOutline8(const Polygon2D* polygon, uint8_t* buffer, int pitch);
/// The 16-bit twin of DrawPolygonOutline8.
int DrawPolygonOutline16(const Polygon2D* polygon, uint8_t* buffer, int pitch);
/// The box around the local vertices and the local origin; 0 (outputs untouched) without vertices.
int PolygonBounds(const Polygon2D* polygon, float* min_x, float* max_x, float* min_y, float* max_y);
/// 1 when some byte of the rectangle x1..x2 x y1..y2 (clamped to the screen) lies in low..high.
int ScanColorRange8(int x1, int y1, int x2, int y2, int low, int high, const uint8_t* buffer, int pitch);
/// 1 when some 16-bit unit of the rectangle (clamped to the screen) equals color_a or color_b.
int ScanColors16(int x1, int y1, int x2, int y2, int color_a, int color_b, const uint8_t* buffer, int pitch);
