#include "graphics/platform/geometry/ellipse_outline.h"

#include <algorithm>
#include <cmath>

namespace vx::gdi {

namespace {

constexpr int kMinSegments = 16;
constexpr int kMaxSegments = 4096;

// Segments for a curve whose device radii are at most radius pixels: about
// one per two pixels of the full ellipse.
int SegmentsFor(double device_radius, double sweep) {
  const double full = 2 * M_PI * std::max(device_radius, 1.0) / 2.0;
  const int n = int(std::ceil(full * sweep / (2 * M_PI)));
  return std::clamp(n, kMinSegments, kMaxSegments);
}

double DeviceScale(const XForm& x) {
  return std::max(std::hypot(x.m11, x.m12), std::hypot(x.m21, x.m22));
}

}  // namespace

std::vector<PointF> EllipseArcOutline(const XForm& to_device, const Rect& rect, Point start,
                                      Point end, bool clockwise, ArcKind kind) {
  const double left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
  const double top = std::min(rect.top, rect.bottom), bottom = std::max(rect.top, rect.bottom);
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) return {};
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  // Parameter of the ellipse point on the radial through p; y grows down,
  // so the angle counts counter-clockwise as the plane is shown.
  const auto parameter = [&](Point p) {
    const double dx = p.x - cx, dy = p.y - cy;
    if (dx == 0 && dy == 0) return 0.0;
    return std::atan2(-dy / ry, dx / rx);
  };
  const double t0 = parameter(start);
  double sweep = parameter(end) - t0;
  if (clockwise) sweep = -sweep;
  if (sweep <= 0) sweep += 2 * M_PI;  // equal radials make the full ellipse
  const double direction = clockwise ? -1.0 : 1.0;
  const int n = SegmentsFor(std::max(rx, ry) * DeviceScale(to_device), sweep);
  std::vector<PointF> out;
  out.reserve(size_t(n) + 2);
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + direction * sweep * i / n;
    out.push_back(Apply(to_device, {cx + rx * std::cos(t), cy - ry * std::sin(t)}));
  }
  if (kind == ArcKind::Pie) out.push_back(Apply(to_device, {cx, cy}));
  return out;
}

std::vector<PointF> RoundRectOutline(const XForm& to_device, const Rect& rect, Size corner) {
  const double left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
  const double top = std::min(rect.top, rect.bottom), bottom = std::max(rect.top, rect.bottom);
  const double rx = std::min(std::abs(double(corner.cx)), right - left) / 2.0;
  const double ry = std::min(std::abs(double(corner.cy)), bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) {
    return {Apply(to_device, {right, top}), Apply(to_device, {left, top}),
            Apply(to_device, {left, bottom}), Apply(to_device, {right, bottom})};
  }
  const int n = SegmentsFor(std::max(rx, ry) * DeviceScale(to_device), M_PI / 2);
  // Corner centres counter-clockwise from the top right, each corner a
  // quarter turn further.
  const PointF centres[4] = {{right - rx, top + ry}, {left + rx, top + ry},
                             {left + rx, bottom - ry}, {right - rx, bottom - ry}};
  std::vector<PointF> out;
  out.reserve(size_t(4 * (n + 1)));
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i <= n; ++i) {
      const double t = c * M_PI / 2 + (M_PI / 2) * i / n;
      out.push_back(Apply(to_device, {centres[c].x + rx * std::cos(t), centres[c].y - ry * std::sin(t)}));
    }
  }
  return out;
}

}  // namespace vx::gdi
