#include "graphics/platform/geometry/stroke.h"

#include <algorithm>
#include <cmath>

#include "base/arith.h"
namespace vx::gdi {

namespace {

std::vector<Point> Oriented(std::vector<Point> poly) {
  int64_t area2 = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const Point& p = poly[i];
    const Point& q = poly[(i + 1) % poly.size()];
    area2 += int64_t(p.x) * q.y - int64_t(q.x) * p.y;
  }
  if (area2 < 0) std::reverse(poly.begin(), poly.end());
  return poly;
}

// The disc a round cap or join adds, of one width for the whole polyline:
// scanned once, then placed at each vertex for the rows within bounds only,
// so that pens far wider than the surface cost no more than the surface.
class RoundStamp {
public:
  explicit RoundStamp(double width) : width_(std::max(1, int32_t(std::lround(std::min(width, 2e9))))) {}

  void AddAt(std::vector<Span>& spans, PointF c, const Rect& bounds) {
    if (width_ > kMaxEllipseExtent) return;  // not rasterised (see ScanEllipse)
    const int32_t left = RoundDevice(c.x - width_ / 2.0);
    const int32_t top = RoundDevice(c.y - width_ / 2.0);
    const int64_t right = int64_t(left) + width_, bottom = int64_t(top) + width_;
    if (right <= bounds.left || left >= bounds.right || bottom <= bounds.top || top >= bounds.bottom) return;
    const int32_t first = std::max(top, bounds.top);
    const int32_t last = int32_t(std::min<int64_t>(bottom, bounds.bottom));
    if (width_ > kExactDiscLimit) {
      AddLargeDisc(spans, left, top, first, last, bounds);
      return;
    }
    if (row_start_.empty()) Scan();
    for (int32_t y = first; y < last; ++y)
      for (size_t i = row_start_[y - top]; i < row_start_[y - top + 1]; ++i)
        spans.push_back({y, left + runs_[i].x0, left + runs_[i].x1});
  }

private:
  // Beyond this width the disc is not scanned whole: its rows inside the
  // bounds come from the circle's equation, so the work follows the surface.
  static constexpr int32_t kExactDiscLimit = 4096;

  void AddLargeDisc(std::vector<Span>& spans, int32_t left, int32_t top, int32_t first, int32_t last,
                    const Rect& bounds) const {
    const double r = width_ / 2.0;
    const double cx = left + r, cy = top + r;
    for (int32_t y = first; y < last; ++y) {
      const double dy = y + 0.5 - cy;
      if (std::abs(dy) >= r) continue;
      const double half = std::sqrt(r * r - dy * dy);
      const int32_t x0 = std::max(RoundDevice(cx - half), bounds.left);
      const int32_t x1 = std::min(RoundDevice(cx + half), bounds.right);
      if (x0 < x1) spans.push_back({y, x0, x1});
    }
  }

  // Runs of the disc in a box at the origin, merged per row, indexed by row.
  void Scan() {
    const EllipseShape shape = ScanEllipse({0, 0, width_, width_});
    std::vector<Span> all = shape.interior;
    for (const Point& p : shape.outline) all.push_back({p.y, p.x, p.x + 1});
    std::sort(all.begin(), all.end(), [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    for (const Span& sp : all) {
      if (!runs_.empty() && runs_.back().y == sp.y && sp.x0 <= runs_.back().x1)
        runs_.back().x1 = std::max(runs_.back().x1, sp.x1);
      else
        runs_.push_back(sp);
    }
    row_start_.assign(size_t(width_) + 2, 0);
    for (const Span& run : runs_)
      if (run.y >= 0 && run.y <= width_) ++row_start_[size_t(run.y) + 1];
    for (size_t y = 1; y < row_start_.size(); ++y) row_start_[y] += row_start_[y - 1];
  }

  int32_t width_;
  std::vector<Span> runs_;
  std::vector<size_t> row_start_;
};

}  // namespace

int32_t RoundDevice(double v) { return RoundHalfUp(v, kDeviceCoordinateLimit); }

std::vector<int32_t> CosmeticDashPattern(uint32_t style) {
  switch (style & PS_STYLE_MASK) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    default: return {};
  }
}

Region RegionFromSpans(std::vector<Span> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  std::vector<Rect> rows;
  rows.reserve(spans.size());
  for (const Span& s : spans) rows.push_back({s.x0, s.y, s.x1, s.y + 1});
  return Region::FromRows(rows);
}

namespace {

void AddWidenedSpans(std::vector<Span>& spans, const std::vector<PointF>& points, bool closed, double width,
                     uint32_t pen_style, const Rect& bounds) {
  const double hw = width / 2.0;
  const uint32_t cap = pen_style & PS_ENDCAP_MASK;
  const uint32_t join = pen_style & PS_JOIN_MASK;
  std::vector<PointF> pts;
  for (const PointF& p : points)
    if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y) pts.push_back(p);
  if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
    pts.pop_back();
  RoundStamp round(width);
  if (pts.size() == 1) {
    if (cap == PS_ENDCAP_ROUND) round.AddAt(spans, pts[0], bounds);
    return;
  }
  const size_t n = pts.size();
  const size_t segments = closed ? n : n - 1;
  std::vector<std::vector<Point>> quads;
  for (size_t i = 0; i < segments; ++i) {
    PointF a = pts[i], b = pts[(i + 1) % n];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len == 0) continue;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    if (!closed && cap == PS_ENDCAP_SQUARE) {
      if (i == 0) { a.x -= ux * hw; a.y -= uy * hw; }
      if (i + 1 == segments) { b.x += ux * hw; b.y += uy * hw; }
    }
    const double nx = -uy * hw, ny = ux * hw;
    quads.push_back(Oriented({RoundPoint({a.x + nx, a.y + ny}), RoundPoint({b.x + nx, b.y + ny}),
                              RoundPoint({b.x - nx, b.y - ny}), RoundPoint({a.x - nx, a.y - ny})}));
  }
  // Joins at inner vertices (all vertices of a closed figure).
  for (size_t i = 0; i < n; ++i) {
    const bool end = !closed && (i == 0 || i + 1 == n);
    if (end) {
      if (cap == PS_ENDCAP_ROUND) round.AddAt(spans, pts[i], bounds);
      continue;
    }
    if (join == PS_JOIN_ROUND) {
      round.AddAt(spans, pts[i], bounds);
      continue;
    }
    const PointF p = pts[(i + n - 1) % n], c = pts[i], q = pts[(i + 1) % n];
    const double l1 = std::hypot(c.x - p.x, c.y - p.y), l2 = std::hypot(q.x - c.x, q.y - c.y);
    if (l1 == 0 || l2 == 0) continue;
    const PointF n1{-(c.y - p.y) / l1 * hw, (c.x - p.x) / l1 * hw};
    const PointF n2{-(q.y - c.y) / l2 * hw, (q.x - c.x) / l2 * hw};
    for (double s : {1.0, -1.0}) {
      const PointF e1{c.x + s * n1.x, c.y + s * n1.y};
      const PointF e2{c.x + s * n2.x, c.y + s * n2.y};
      std::vector<Point> piece{RoundPoint(c), RoundPoint(e1)};
      if (join == PS_JOIN_MITER) {
        // The tip where both outer edges meet, when it is not too far out.
        const double d1x = (c.x - p.x) / l1, d1y = (c.y - p.y) / l1;
        const double d2x = (q.x - c.x) / l2, d2y = (q.y - c.y) / l2;
        const double den = d1x * d2y - d1y * d2x;
        if (std::fabs(den) > 1e-9) {
          const double t = ((e2.x - e1.x) * d2y - (e2.y - e1.y) * d2x) / den;
          const PointF tip{e1.x + d1x * t, e1.y + d1y * t};
          if (std::hypot(tip.x - c.x, tip.y - c.y) <= 10.0 * hw) piece.push_back(RoundPoint(tip));
        }
      }
      piece.push_back(RoundPoint(e2));
      quads.push_back(Oriented(piece));
    }
  }
  std::vector<Span> body = ScanPolygons(quads, 2, bounds);
  spans.insert(spans.end(), body.begin(), body.end());
}

}  // namespace

Region WidenPolyline(const std::vector<PointF>& points, bool closed, double width, uint32_t pen_style,
                     const Rect& bounds) {
  std::vector<Span> spans;
  AddWidenedSpans(spans, points, closed, width, pen_style, bounds);
  return RegionFromSpans(std::move(spans)).Intersect(Region::FromRect(bounds));
}

Region WidenPolylines(const std::vector<std::vector<PointF>>& lines, double width, uint32_t pen_style,
                      const Rect& bounds) {
  std::vector<Span> spans;
  for (const std::vector<PointF>& line : lines) AddWidenedSpans(spans, line, false, width, pen_style, bounds);
  return RegionFromSpans(std::move(spans)).Intersect(Region::FromRect(bounds));
}

}  // namespace vx::gdi
