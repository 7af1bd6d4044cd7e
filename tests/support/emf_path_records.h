// Record helpers for tests of paths and the drawing records around them:
// each appends one record to an EmfBuilder, with logical coordinates.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "support/emf_builder.h"

namespace vx::test {

using PointList = std::vector<std::pair<int32_t, int32_t>>;

// A builder whose 100 x 100 page maps logical units as the converter does
// (0.99 device pixels each at 96 dpi).
EmfBuilder PathPage();

// The bracket and the records that use the path (type numbers of the format).
EmfBuilder& BeginPath(EmfBuilder& b);
EmfBuilder& EndPath(EmfBuilder& b);
EmfBuilder& CloseFigure(EmfBuilder& b);
EmfBuilder& AbortPath(EmfBuilder& b);
EmfBuilder& FillPath(EmfBuilder& b);
EmfBuilder& StrokePath(EmfBuilder& b);
EmfBuilder& StrokeAndFillPath(EmfBuilder& b);
EmfBuilder& FlattenPath(EmfBuilder& b);
EmfBuilder& WidenPath(EmfBuilder& b);
EmfBuilder& SelectClipPath(EmfBuilder& b, int32_t mode);

// Objects: a cosmetic pen (CreatePen), a solid brush, stock objects.
EmfBuilder& CreatePen(EmfBuilder& b, uint32_t index, uint32_t style, int32_t width, uint32_t color);
EmfBuilder& CreateSolidBrush(EmfBuilder& b, uint32_t index, uint32_t color);
EmfBuilder& SelectObject(EmfBuilder& b, uint32_t index);
EmfBuilder& SelectStockObject(EmfBuilder& b, uint32_t stock);

// State.
EmfBuilder& SaveDC(EmfBuilder& b);
EmfBuilder& RestoreDC(EmfBuilder& b, int32_t level);
EmfBuilder& SetPolyFillMode(EmfBuilder& b, int32_t mode);
EmfBuilder& IntersectClipRect(EmfBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bottom);

// Drawing.
EmfBuilder& MoveTo(EmfBuilder& b, int32_t x, int32_t y);
EmfBuilder& LineTo(EmfBuilder& b, int32_t x, int32_t y);
EmfBuilder& Rectangle(EmfBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bottom);
EmfBuilder& Polygon(EmfBuilder& b, const PointList& points);
EmfBuilder& AngleArc(EmfBuilder& b, int32_t x, int32_t y, uint32_t radius, float start, float sweep);
// types: one per point (PT_MOVETO 6, PT_LINETO 2, PT_BEZIERTO 4, | PT_CLOSEFIGURE 1).
EmfBuilder& PolyDraw(EmfBuilder& b, const PointList& points, const std::vector<uint8_t>& types,
                     bool sixteen_bit = false);

}  // namespace vx::test
