#include <algorithm>
#include <utility>
#include <vector>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

__extension__ typedef __int128 Int128;

// One quadrant of an ellipse inscribed in a width x height pixel box, from
// the rightmost pixel (x = width - 1, y = height / 2) down to the bottom
// (x = width / 2), in box coordinates: the integer error walk of the
// rasterising algorithm for axis-aligned ellipses in a rectangle.
std::vector<Point> FirstQuadrant(int32_t width, int32_t height) {
  std::vector<Point> points;
  points.reserve(size_t(width / 2) + size_t(height / 2) + 2);
  // The error terms reach 16 a^2 b: beyond 64 bits for boxes near the limit.
  const Int128 a = width - 1;
  const Int128 b = height - 1;
  const Int128 asq = 8 * a * a;
  const Int128 bsq = 8 * b * b;
  Int128 dx = 4 * b * b * (1 - a);
  Int128 dy = 4 * a * a * (1 + (b % 2));
  Int128 err = dx + dy + a * a * (b % 2);
  Point pt{int32_t(a), height / 2};
  while (pt.x >= width / 2) {
    const Int128 e2 = 2 * err;
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

// Calls visit for each outline point in order around the ellipse,
// counter-clockwise on screen (y down: right -> top -> left -> bottom), with
// repeats where the quadrants meet dropped, as EllipseOutlinePath lists them.
// Returns whether the last point visited closes onto the first, which the
// list leaves out.
template <class Visit>
bool WalkOutline(int32_t width, int32_t height, Visit&& visit) {
  const std::vector<Point> q = FirstQuadrant(width, height);
  const int32_t w1 = width - 1, h1 = height - 1;
  bool any = false;
  Point first{}, last{};
  size_t count = 0;
  const auto put = [&](Point p) {
    if (any && p == last) return;
    if (!any) first = p;
    any = true;
    last = p;
    ++count;
    visit(p);
  };
  for (auto it = q.begin(); it != q.end(); ++it) put({it->x, h1 - it->y});
  for (auto it = q.rbegin(); it != q.rend(); ++it) put({w1 - it->x, h1 - it->y});
  for (auto it = q.begin(); it != q.end(); ++it) put({w1 - it->x, it->y});
  for (auto it = q.rbegin(); it != q.rend(); ++it) put({it->x, it->y});
  return count > 1 && last == first;
}

}  // namespace

std::vector<Point> EllipseOutlinePath(int32_t width, int32_t height) {
  std::vector<Point> path;
  if (width <= 0 || height <= 0 || width > kMaxEllipseExtent || height > kMaxEllipseExtent) return path;
  path.reserve(2 * (size_t(width) + size_t(height)));
  if (WalkOutline(width, height, [&path](Point p) { path.push_back(p); })) path.pop_back();
  return path;
}

EllipseShape ScanEllipse(const Rect& box, const Rect* window) {
  EllipseShape shape;
  const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
  if (w <= 0 || h <= 0 || w > kMaxEllipseExtent || h > kMaxEllipseExtent) return shape;
  // The rows of the box the window keeps.
  int64_t first_row = 0, end_row = h;
  if (window != nullptr) {
    first_row = std::clamp<int64_t>(int64_t(window->top) - box.top, 0, h);
    end_row = std::clamp<int64_t>(int64_t(window->bottom) - box.top, first_row, h);
  }
  // The interior of each row lies between the outline's innermost pixels on
  // either side of the centre, found from all of the row's outline pixels.
  const int64_t cx2 = int64_t(box.left) + box.right - 1;  // twice the centre x
  std::vector<std::pair<int32_t, int32_t>> inner(size_t(end_row - first_row), {INT32_MIN, INT32_MAX});
  bool last_kept = false;
  const bool closes = WalkOutline(int32_t(w), int32_t(h), [&](Point p) {
    last_kept = false;
    if (p.y < first_row || p.y >= end_row) return;
    const Point d{p.x + box.left, p.y + box.top};
    if (window == nullptr || (d.x >= window->left && d.x < window->right)) {
      shape.outline.push_back(d);
      last_kept = true;
    }
    auto& edges = inner[size_t(p.y - first_row)];
    if (2 * int64_t(d.x) <= cx2) edges.first = std::max(edges.first, d.x);
    if (2 * int64_t(d.x) >= cx2) edges.second = std::min(edges.second, d.x);
  });
  // The closing point repeats the first one: the outline lists it once.
  if (closes && last_kept) shape.outline.pop_back();
  for (size_t row = 0; row < inner.size(); ++row) {
    const auto [left_edge, right_edge] = inner[row];
    if (left_edge == INT32_MIN || right_edge == INT32_MAX) continue;
    int32_t x0 = left_edge + 1, x1 = right_edge;
    if (window != nullptr) {
      x0 = std::max(x0, window->left);
      x1 = std::min(x1, window->right);
    }
    if (x0 < x1) shape.interior.push_back({int32_t(first_row + int64_t(row) + box.top), x0, x1});
  }
  return shape;
}

}  // namespace vx::gdi
