#include <algorithm>
#include <map>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

// One quadrant of an ellipse inscribed in a width x height pixel box, from
// the rightmost pixel (x = width - 1, y = height / 2) down to the bottom
// (x = width / 2), in box coordinates: the integer error walk of the
// rasterising algorithm for axis-aligned ellipses in a rectangle.
std::vector<Point> FirstQuadrant(int32_t width, int32_t height) {
  std::vector<Point> points;
  const int64_t a = width - 1;
  const int64_t b = height - 1;
  const int64_t asq = 8 * a * a;
  const int64_t bsq = 8 * b * b;
  int64_t dx = 4 * b * b * (1 - a);
  int64_t dy = 4 * a * a * (1 + (b % 2));
  int64_t err = dx + dy + a * a * (b % 2);
  Point pt{int32_t(a), height / 2};
  while (pt.x >= width / 2) {
    const int64_t e2 = 2 * err;
    points.push_back(pt);
    if (e2 >= dx) {
      pt.x--;
      err += dx += bsq;
    }
    if (e2 <= dy) {
      pt.y++;
      err += dy += asq;
    }
  }
  return points;
}

}  // namespace

std::vector<Point> EllipseOutlinePath(int32_t width, int32_t height) {
  std::vector<Point> path;
  if (width <= 0 || height <= 0 || width > kMaxEllipseExtent || height > kMaxEllipseExtent) return path;
  const std::vector<Point> q = FirstQuadrant(width, height);
  const int32_t w1 = width - 1, h1 = height - 1;
  // Counter-clockwise on screen (y down): right -> top -> left -> bottom.
  for (auto it = q.begin(); it != q.end(); ++it) path.push_back({it->x, h1 - it->y});
  for (auto it = q.rbegin(); it != q.rend(); ++it) path.push_back({w1 - it->x, h1 - it->y});
  for (auto it = q.begin(); it != q.end(); ++it) path.push_back({w1 - it->x, it->y});
  for (auto it = q.rbegin(); it != q.rend(); ++it) path.push_back({it->x, it->y});
  // Drop repeats where quadrants meet.
  std::vector<Point> unique;
  for (const Point& p : path)
    if (unique.empty() || !(unique.back() == p)) unique.push_back(p);
  while (unique.size() > 1 && unique.front() == unique.back()) unique.pop_back();
  return unique;
}

EllipseShape ScanEllipse(const Rect& box) {
  EllipseShape shape;
  const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
  if (w <= 0 || h <= 0 || w > kMaxEllipseExtent || h > kMaxEllipseExtent) return shape;
  const std::vector<Point> path = EllipseOutlinePath(int32_t(w), int32_t(h));
  std::map<int32_t, std::pair<int32_t, int32_t>> rows;  // y -> min, max outline x
  for (const Point& p : path) {
    const Point d{p.x + box.left, p.y + box.top};
    shape.outline.push_back(d);
    auto [it, fresh] = rows.try_emplace(d.y, d.x, d.x);
    if (!fresh) {
      it->second.first = std::min(it->second.first, d.x);
      it->second.second = std::max(it->second.second, d.x);
    }
  }
  // The interior of each row lies between the outline's innermost pixels on
  // either side of the centre.
  const int32_t cx2 = box.left + box.right - 1;  // twice the centre x
  std::map<int32_t, std::pair<int32_t, int32_t>> inner;  // y -> left inner edge, right inner edge
  for (const Point& p : shape.outline) {
    auto [it, fresh] = inner.try_emplace(p.y, INT32_MIN, INT32_MAX);
    (void)fresh;
    if (2 * p.x <= cx2) it->second.first = std::max(it->second.first, p.x);
    if (2 * p.x >= cx2) it->second.second = std::min(it->second.second, p.x);
  }
  for (const auto& [y, edges] : inner) {
    if (edges.first == INT32_MIN || edges.second == INT32_MAX) continue;
    if (edges.first + 1 < edges.second) shape.interior.push_back({y, edges.first + 1, edges.second});
  }
  return shape;
}

}  // namespace vx::gdi
