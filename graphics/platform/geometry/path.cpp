#include "graphics/platform/geometry/path.h"

#include <algorithm>
#include <cmath>

#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

PointF Mid(PointF a, PointF b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// Whether the curve's control points all lie on one side of the visible
// rectangle: the curve, its chord and everything between them lie in their
// hull, so the chord can stand for the curve there.
bool Invisible(PointF p0, PointF p1, PointF p2, PointF p3, const Rect* visible) {
  if (visible == nullptr) return false;
  const double xs[4] = {p0.x, p1.x, p2.x, p3.x}, ys[4] = {p0.y, p1.y, p2.y, p3.y};
  return *std::max_element(xs, xs + 4) < visible->left || *std::min_element(xs, xs + 4) > visible->right ||
         *std::max_element(ys, ys + 4) < visible->top || *std::min_element(ys, ys + 4) > visible->bottom;
}

void Halve(PointF p0, PointF p1, PointF p2, PointF p3, std::vector<PointF>& out, size_t limit, const Rect* visible,
           int depth) {
  if (out.size() >= limit) return;
  if (Invisible(p0, p1, p2, p3, visible)) {
    out.push_back(p3);
    return;
  }
  // Flat enough when both control points lie within a pixel of the chord
  // (of the start point when the chord is empty); NaN distances end here too.
  const double dx = p3.x - p0.x, dy = p3.y - p0.y, length = std::hypot(dx, dy);
  auto distance = [&](PointF p) {
    return length == 0 ? std::hypot(p.x - p0.x, p.y - p0.y) : std::fabs((p.x - p0.x) * dy - (p.y - p0.y) * dx) / length;
  };
  const double d = std::max(distance(p1), distance(p2));
  if (depth >= 12 || !(d > 1.0)) {
    out.push_back(p3);
    return;
  }
  const PointF a = Mid(p0, p1), b = Mid(p1, p2), c = Mid(p2, p3);
  const PointF ab = Mid(a, b), bc = Mid(b, c);
  const PointF m = Mid(ab, bc);
  Halve(p0, a, ab, m, out, limit, visible, depth + 1);
  Halve(m, bc, c, p3, out, limit, visible, depth + 1);
}

}  // namespace

PointF OnPixelGrid(PointF p) {
  auto round = [](double v) { return std::isfinite(v) ? double(RoundDevice(v)) : 0.0; };
  return {round(p.x), round(p.y)};
}

void FlattenBezier(PointF p0, PointF p1, PointF p2, PointF p3, std::vector<PointF>& out, size_t limit,
                   const Rect* visible) {
  Halve(p0, p1, p2, p3, out, limit, visible, 0);
}

std::vector<PointF> ArcBeziers(PointF c, double rx, double ry, double a0, double sweep) {
  std::vector<PointF> out;
  if (!std::isfinite(a0) || !std::isfinite(sweep)) return out;
  auto at = [&](double a) { return PointF{c.x + rx * std::cos(a), c.y - ry * std::sin(a)}; };
  out.push_back(at(a0));
  // Enough pieces of at most 90° each; a sweep beyond a few turns repeats the circle.
  sweep = std::clamp(sweep, -8 * M_PI, 8 * M_PI);
  const int pieces = std::max(1, int(std::ceil(std::fabs(sweep) / (M_PI / 2) - 1e-9)));
  const double step = sweep / pieces;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    const double s = a0 + step * i, e = s + step;
    // Tangents of the point (rx cos a, -ry sin a): (-rx sin a, -ry cos a).
    out.push_back({c.x + rx * (std::cos(s) - k * std::sin(s)), c.y - ry * (std::sin(s) + k * std::cos(s))});
    out.push_back({c.x + rx * (std::cos(e) + k * std::sin(e)), c.y - ry * (std::sin(e) - k * std::cos(e))});
    out.push_back(at(e));
  }
  return out;
}

bool Path::Add(PointF p, uint8_t type) {
  if (points_.size() >= kMaxPoints) {
    overflowed_ = true;
    return false;
  }
  points_.push_back(OnPixelGrid(p));
  types_.push_back(type);
  return true;
}

void Path::StartFigure(PointF p) { figure_open_ = Add(p, PT_MOVETO); }

void Path::LineTo(PointF p) {
  if (figure_open_) Add(p, PT_LINETO);
}

void Path::BezierTo(PointF c1, PointF c2, PointF end) {
  if (!figure_open_ || points_.size() + 3 > kMaxPoints) {
    if (figure_open_) overflowed_ = true;
    return;
  }
  Add(c1, PT_BEZIERTO);
  Add(c2, PT_BEZIERTO);
  Add(end, PT_BEZIERTO);
}

void Path::CloseFigure() {
  if (!figure_open_ || types_.empty()) return;
  types_.back() |= PT_CLOSEFIGURE;
  figure_open_ = false;
}

std::vector<Path::Figure> Path::Figures(const Rect* visible) const {
  std::vector<Figure> figures;
  size_t total = 0;
  for (size_t i = 0; i < points_.size() && total < kMaxFlatPoints;) {
    const uint8_t type = types_[i] & ~PT_CLOSEFIGURE;
    // A figure starts at a move and, defensively, at any point after a close.
    if (type == PT_MOVETO || figures.empty() || figures.back().closed) {
      figures.push_back({{points_[i]}, false});
      ++total;
    } else if (type == PT_BEZIERTO && i + 2 < points_.size()) {
      std::vector<PointF>& pts = figures.back().points;
      const size_t before = pts.size();
      FlattenBezier(pts.back(), points_[i], points_[i + 1], points_[i + 2], pts,
                    before + (kMaxFlatPoints - total), visible);
      total += pts.size() - before;
      i += 2;
    } else {
      figures.back().points.push_back(points_[i]);
      ++total;
    }
    if (types_[i] & PT_CLOSEFIGURE) figures.back().closed = true;
    ++i;
  }
  return figures;
}

Path Path::Flattened() const {
  Path out;
  for (const Figure& figure : Figures()) {
    out.StartFigure(figure.points.front());
    for (size_t i = 1; i < figure.points.size(); ++i) out.LineTo(figure.points[i]);
    if (figure.closed) out.CloseFigure();
  }
  out.figure_open_ = figure_open_ && out.figure_open_;
  out.overflowed_ = out.overflowed_ || overflowed_;
  return out;
}

}  // namespace vx::gdi
