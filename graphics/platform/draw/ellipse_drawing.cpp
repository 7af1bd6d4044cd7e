#include "graphics/platform/draw/ellipse_drawing.h"

#include <algorithm>
#include <cmath>

#include "graphics/platform/geometry/stroke.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

// Angle of a point seen from the centre, counter-clockwise on screen, in [0, 2pi).
double ScreenAngle(double x, double y, double cx, double cy) {
  double a = std::atan2(cy - y, x - cx);
  if (a < 0) a += 2 * M_PI;
  return a;
}

std::vector<Span> FilledSpans(const EllipseShape& shape) {
  std::vector<Span> spans = shape.interior;
  for (const Point& p : shape.outline) spans.push_back({p.y, p.x, p.x + 1});
  return spans;
}

// What the painters can show; nothing outside it need be scanned.
Rect ShownBounds(const DevicePainter* brush, const DevicePainter* pen) {
  if (brush == nullptr) return pen != nullptr ? pen->ClipBounds() : Rect{};
  if (pen == nullptr) return brush->ClipBounds();
  const Rect a = brush->ClipBounds(), b = pen->ClipBounds();
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

void FillEllipse(DevicePainter& painter, const Rect& box) {
  const Rect shown = painter.ClipBounds();
  painter.FillSpanUnion(FilledSpans(ScanEllipse(box, &shown)));
}

void DrawEllipse(const Rect& box, DevicePainter* brush, DevicePainter* pen, double pen_width) {
  const Rect shown = ShownBounds(brush, pen);
  const EllipseShape shape = ScanEllipse(box, &shown);
  if (brush != nullptr) brush->FillSpans(shape.interior);
  if (pen == nullptr) return;
  if (pen_width <= 1) {
    pen->FillPixels(shape.outline);
    return;
  }
  // From four times the walk's limit the outer ellipse is beyond it and the
  // ring is empty; stopping here keeps the widths below within int range.
  if (pen_width >= 4.0 * double(kMaxEllipseExtent)) return;
  const int32_t grow = int32_t(pen_width) / 2;
  const int32_t shrink = int32_t(pen_width) - grow;
  const EllipseShape outer =
      ScanEllipse({box.left - grow, box.top - grow, box.right + grow, box.bottom + grow}, &shown);
  const EllipseShape inner =
      ScanEllipse({box.left + shrink, box.top + shrink, box.right - shrink, box.bottom - shrink}, &shown);
  const Region ring = RegionFromSpans(FilledSpans(outer)).Difference(RegionFromSpans(FilledSpans(inner)));
  pen->FillRegion(ring);
}

std::optional<std::vector<Point>> EllipseArcPixels(const Rect& box, PointF start, PointF end,
                                                   bool counter_clockwise) {
  const int64_t width = int64_t(box.right) - box.left, height = int64_t(box.bottom) - box.top;
  if (width <= 0 || height <= 0 || width > kMaxEllipseExtent || height > kMaxEllipseExtent) return std::nullopt;
  const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
  double a0 = ScreenAngle(start.x, start.y, cx, cy), a1 = ScreenAngle(end.x, end.y, cx, cy);
  if (!counter_clockwise) std::swap(a0, a1);
  double sweep = a1 - a0;
  if (sweep <= 0) sweep += 2 * M_PI;
  const std::vector<Point> path = EllipseOutlinePath(box.Width(), box.Height());
  // Walk the outline from the point nearest the start angle for the sweep.
  size_t first = 0;
  double best = 1e9;
  for (size_t i = 0; i < path.size(); ++i) {
    const double a = ScreenAngle(path[i].x + box.left, path[i].y + box.top, cx, cy);
    double d = std::fabs(a - a0);
    d = std::min(d, 2 * M_PI - d);
    if (d < best) {
      best = d;
      first = i;
    }
  }
  std::vector<Point> arc;
  for (size_t k = 0; k < path.size(); ++k) {
    const Point p = path[(first + k) % path.size()];
    const Point d{p.x + box.left, p.y + box.top};
    double a = ScreenAngle(d.x, d.y, cx, cy) - a0;
    if (a < -1e-9) a += 2 * M_PI;
    if (k > 0 && a > sweep + 1e-9) break;
    arc.push_back(d);
  }
  return arc;
}

}  // namespace vx::gdi
