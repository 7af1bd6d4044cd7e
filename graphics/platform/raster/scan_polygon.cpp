#include <algorithm>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

struct Edge {
  int64_t x0, y0, x1, y1;  // y0 < y1
  int winding;             // +1 downwards, -1 upwards
};

struct Crossing {
  int64_t x;  // first pixel at or right of the crossing: ceil of its x
  int winding;
};

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if (a % b != 0 && a > 0) ++q;
  return q;
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return std::min(std::max(v, lo), hi); }

// A closed polygon wholly beside the bounds changes no span inside them: its
// crossings of a scanline come in pairs that wind to nothing, so what lies to
// their right keeps its winding and parity. Wide pens make many such pieces.
bool OutsideBounds(const std::vector<Point>& poly, const Rect& bounds) {
  int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
  for (const Point& p : poly) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return right < bounds.left || left >= bounds.right || bottom <= bounds.top || top >= bounds.bottom;
}

}  // namespace

std::vector<Span> ScanPolygons(const std::vector<std::vector<Point>>& polygons, int fill_mode,
                               const Rect& bounds) {
  std::vector<Span> spans;
  if (bounds.IsEmpty()) return spans;
  std::vector<Edge> edges;
  int64_t ymin = INT64_MAX, ymax = INT64_MIN;
  for (const auto& poly : polygons) {
    const size_t n = poly.size();
    if (n < 2) continue;
    if (OutsideBounds(poly, bounds)) continue;
    for (size_t i = 0; i < n; ++i) {
      const Point& p = poly[i];
      const Point& q = poly[(i + 1) % n];
      if (p.y == q.y) continue;
      Edge e = p.y < q.y ? Edge{p.x, p.y, q.x, q.y, 1} : Edge{q.x, q.y, p.x, p.y, -1};
      edges.push_back(e);
      ymin = std::min(ymin, e.y0);
      ymax = std::max(ymax, e.y1);
    }
  }
  if (edges.empty()) return spans;
  ymin = std::max<int64_t>(ymin, bounds.top);
  ymax = std::min<int64_t>(ymax, bounds.bottom);
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });

  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  size_t next = 0;
  for (int64_t y = ymin; y < ymax; ++y) {
    while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->y1 <= y; }),
                 active.end());
    crossings.clear();
    for (const Edge* e : active) {
      if (e->y0 > y) continue;
      // x at this scanline = x0 + (y - y0) * (x1 - x0) / (y1 - y0); the first
      // pixel whose centre is at or right of it.
      const int64_t num = e->x0 * (e->y1 - e->y0) + (y - e->y0) * (e->x1 - e->x0);
      crossings.push_back({CeilDiv(num, e->y1 - e->y0), e->winding});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int wind = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      wind += fill_mode == 2 ? crossings[i].winding : 1;
      const bool inside = fill_mode == 2 ? wind != 0 : (wind & 1) != 0;
      if (!inside) continue;
      const int64_t x0 = Clamp(crossings[i].x, bounds.left, bounds.right);
      const int64_t x1 = Clamp(crossings[i + 1].x, bounds.left, bounds.right);
      if (x0 >= x1) continue;
      if (!spans.empty() && spans.back().y == y && spans.back().x1 >= x0) {
        spans.back().x1 = std::max<int32_t>(spans.back().x1, int32_t(x1));
        continue;
      }
      spans.push_back({int32_t(y), int32_t(x0), int32_t(x1)});
    }
  }
  return spans;
}

}  // namespace vx::gdi
