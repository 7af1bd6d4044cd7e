#include "graphics/platform/draw/round_rect_pixels.h"

#include <algorithm>
#include <climits>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

std::vector<Point> CornerOutline(const Rect& box, Size corner) {
  const std::vector<Point> path = EllipseOutlinePath(corner.cx, corner.cy);
  const int32_t w = box.Width(), h = box.Height();
  std::vector<Point> outline;
  for (const Point& p : path) {
    const int32_t dx = 2 * p.x >= corner.cx - 1 ? w - corner.cx : 0;
    const int32_t dy = 2 * p.y >= corner.cy - 1 ? h - corner.cy : 0;
    outline.push_back({box.left + p.x + dx, box.top + p.y + dy});
  }
  return outline;
}

// The outline's pixels with the straight edges between the corners. The
// edges may be far longer than the surface: only their pixels within a pixel
// of it matter (a vertical edge off to one side still bounds its rows'
// interior, so it is limited in rows only).
std::vector<Point> OutlinePixels(const std::vector<Point>& outline, Size surface) {
  const Rect unbounded{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
  const Rect rows_near_surface{unbounded.left, -1, unbounded.right, surface.cy + 1};
  const Rect columns_near_surface{-1, unbounded.top, surface.cx + 1, unbounded.bottom};
  std::vector<Point> pixels;
  for (size_t i = 0; i < outline.size(); ++i) {
    const Point a = outline[i], b = outline[(i + 1) % outline.size()];
    pixels.push_back(a);
    const Rect& bounds = a.x == b.x ? rows_near_surface : a.y == b.y ? columns_near_surface : unbounded;
    for (const LinePixel& lp : ScanLine(a, b, bounds))
      if (lp.step > 0) pixels.push_back({lp.x, lp.y});
  }
  std::sort(pixels.begin(), pixels.end(), [](Point a, Point b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return pixels;
}

// Per row, between the outline's innermost pixels on both sides.
std::vector<Span> InteriorOf(const std::vector<Point>& sorted_pixels, const Rect& box) {
  const int32_t cx2 = box.left + box.right - 1;
  std::vector<Span> interior;
  for (size_t i = 0; i < sorted_pixels.size();) {
    const int32_t y = sorted_pixels[i].y;
    int32_t left = INT32_MIN, right = INT32_MAX;
    for (; i < sorted_pixels.size() && sorted_pixels[i].y == y; ++i) {
      if (2 * sorted_pixels[i].x <= cx2) left = std::max(left, sorted_pixels[i].x);
      if (2 * sorted_pixels[i].x >= cx2) right = std::min(right, sorted_pixels[i].x);
    }
    if (left != INT32_MIN && right != INT32_MAX && left + 1 < right) interior.push_back({y, left + 1, right});
  }
  return interior;
}

}  // namespace

RoundRectPixels ScanRoundRect(const Rect& box, Size corner, Size surface) {
  RoundRectPixels shape;
  shape.outline = CornerOutline(box, corner);
  shape.pixels = OutlinePixels(shape.outline, surface);
  shape.interior = InteriorOf(shape.pixels, box);
  return shape;
}

void FillRoundRectInterior(DevicePainter& painter, const RoundRectPixels& shape) {
  painter.FillSpans(shape.interior);
}

void FillRoundRect(DevicePainter& painter, const RoundRectPixels& shape) {
  std::vector<Span> spans = shape.interior;
  for (const Point& p : shape.pixels) spans.push_back({p.y, p.x, p.x + 1});
  painter.FillSpanUnion(spans);
}

}  // namespace vx::gdi
