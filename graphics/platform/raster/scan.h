// Scan conversion with GDI's pixel rules. Everything here works in device
// pixels on integer vertices and knows nothing of pens, brushes or surfaces:
// it yields spans and pixels, limited to a bounding rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

struct Span {
  int32_t y = 0;
  int32_t x0 = 0;  // first pixel
  int32_t x1 = 0;  // one past the last pixel
};

struct LinePixel {
  int32_t x = 0;
  int32_t y = 0;
  int64_t step = 0;  // index along the line (for dash patterns)
};

// The pixels of a cosmetic line from a towards b, b itself excluded, as GDI's
// Bresenham walks it (ties broken by the octant). Only pixels inside bounds.
std::vector<LinePixel> ScanLine(Point a, Point b, const Rect& bounds);
// The number of pixels the whole line has (its major-axis length).
int64_t LineLength(Point a, Point b);

// Spans of polygons filled with ALTERNATE (1) or WINDING (2): a pixel is
// inside when its centre (the integer point) is; left and top edges inclusive.
std::vector<Span> ScanPolygons(const std::vector<std::vector<Point>>& polygons, int fill_mode,
                               const Rect& bounds);

// The pixels of an ellipse's one-pixel outline and the spans strictly inside
// it, for a bounding box whose right and bottom are exclusive.
struct EllipseShape {
  std::vector<Point> outline;
  std::vector<Span> interior;
};
// window: only the outline pixels and interior spans inside it, the same ones
// the whole ellipse has there (a draw passes its clip's bounds, so an
// ellipse far larger than the page costs its walk, not its size).
EllipseShape ScanEllipse(const Rect& box, const Rect* window = nullptr);
// Ellipses in wider or taller boxes are not rasterised: the outline walk's
// 64-bit error terms would overflow and its point list grow without bound.
constexpr int64_t kMaxEllipseExtent = int64_t(1) << 20;
// The outline points in order around the ellipse, counter-clockwise in device
// space starting at the rightmost point (for arcs and round rectangles); empty
// beyond kMaxEllipseExtent.
std::vector<Point> EllipseOutlinePath(int32_t width, int32_t height);

}  // namespace vx::gdi
