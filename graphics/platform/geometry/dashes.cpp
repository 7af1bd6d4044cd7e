#include "graphics/platform/geometry/dashes.h"

#include <algorithm>
#include <cmath>

namespace vx::gdi {

namespace {

// Shorter patterns would cut a line into more dashes than it has pixels.
constexpr double kShortestPeriod = 1.0;

// Where along the pattern the walk stands: the entry, how much of it is
// left, and whether it is a dash (entries alternate on and off; an odd count
// swaps the roles on every second round).
class PatternPosition {
public:
  explicit PatternPosition(const std::vector<double>& pattern) : pattern_(pattern), left_(pattern[0]) {
    for (const double d : pattern_) cycle_ += d;
    if (pattern_.size() % 2 != 0) cycle_ *= 2;
  }

  bool On() const { return on_; }
  double Left() const { return left_; }
  void Use(double length) { left_ -= length; }

  void NextEntry() {
    index_ = (index_ + 1) % pattern_.size();
    left_ = pattern_[index_];
    on_ = !on_;
  }

  // Moves on by a length without producing dashes.
  void Skip(double length) {
    if (length < left_) {
      left_ -= length;
      return;
    }
    length -= left_;
    NextEntry();
    length = std::fmod(length, cycle_);
    while (length >= left_) {
      length -= left_;
      NextEntry();
    }
    left_ -= length;
  }

private:
  const std::vector<double>& pattern_;
  size_t index_ = 0;
  double left_;
  double cycle_ = 0;
  bool on_ = true;
};

// The part [u0, u1] (0..1) of the segment a→b inside the rectangle; false
// when none.
bool ClipSegment(PointF a, PointF b, const Rect& r, double& u0, double& u1) {
  u0 = 0;
  u1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) u0 = std::max(u0, t);
    else u1 = std::min(u1, t);
  }
  return u0 <= u1;
}

}  // namespace

std::vector<double> GeometricDashPattern(const LogPen& pen, double width) {
  // A plain pen wider than a pixel draws solid whatever its style.
  if (!pen.extended) return {};
  std::vector<double> pattern;
  double scale = width;
  switch (pen.style & PS_STYLE_MASK) {
    case PS_DASH: pattern = {3, 1}; break;
    case PS_DOT: pattern = {1, 1}; break;
    case PS_DASHDOT: pattern = {3, 1, 1, 1}; break;
    case PS_DASHDOTDOT: pattern = {3, 1, 1, 1, 1, 1}; break;
    case PS_USERSTYLE:
      for (const uint32_t entry : pen.style_entries) pattern.push_back(double(entry));
      scale = 1;
      break;
    default: return {};
  }
  // With round or square caps a stock dash keeps its length including the
  // caps: the line part is one width shorter and the gap one width longer.
  const bool capped = (pen.style & PS_STYLE_MASK) != PS_USERSTYLE && (pen.style & PS_ENDCAP_MASK) != PS_ENDCAP_FLAT;
  double period = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    pattern[i] *= scale;
    if (capped) pattern[i] += i % 2 == 0 ? -width : width;
    period += pattern[i];
  }
  if (!(period >= kShortestPeriod) || !std::isfinite(period)) return {};
  return pattern;
}

std::vector<std::vector<PointF>> CutIntoDashes(const std::vector<PointF>& points, bool closed,
                                               const std::vector<double>& pattern, const Rect& reach) {
  std::vector<std::vector<PointF>> dashes;
  if (points.empty() || pattern.empty()) return dashes;
  std::vector<PointF> pts;
  for (const PointF& p : points)
    if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y) pts.push_back(p);
  if (closed && pts.size() > 1 && (pts.front().x != pts.back().x || pts.front().y != pts.back().y))
    pts.push_back(pts.front());
  if (pts.size() == 1) {
    dashes.push_back(pts);
    return dashes;
  }
  PatternPosition at(pattern);
  std::vector<PointF> dash;  // the dash being drawn, while it runs within reach
  auto finish = [&] {
    if (dash.size() >= 2) dashes.push_back(dash);
    dash.clear();
  };
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const PointF a = pts[i], b = pts[i + 1];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    auto point_at = [&](double t) { return PointF{a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length}; };
    double u0 = 0, u1 = 0;
    if (!ClipSegment(a, b, reach, u0, u1)) {
      finish();
      at.Skip(length);
      continue;
    }
    double t = u0 * length;
    const double end = u1 * length;
    if (t > 0) {
      finish();
      at.Skip(t);
    }
    if (at.On() && dash.empty()) dash.push_back(point_at(t));
    while (end - t > at.Left()) {
      t += at.Left();
      const PointF q = point_at(t);
      if (at.On()) {
        dash.push_back(q);
        finish();
      } else {
        dash.push_back(q);
      }
      at.NextEntry();
    }
    at.Use(end - t);
    if (at.On()) dash.push_back(end == length ? b : point_at(end));
    if (end < length) {
      finish();
      at.Skip(length - end);
    }
  }
  finish();
  return dashes;
}

}  // namespace vx::gdi
