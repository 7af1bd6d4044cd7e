#include <algorithm>
#include <cstdlib>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

// Octants 1..8 going round from +x towards +y; ties between two candidate
// pixels go the other way in octants 3, 5, 6 and 8 so that a line drawn in
// either direction covers the same pixels.
int Octant(int64_t dx, int64_t dy) {
  if (dy > 0) {
    if (dx > 0) return dx > dy ? 1 : 2;
    return -dx > dy ? 4 : 3;
  }
  if (dx < 0) return -dx > -dy ? 5 : 6;
  return dx > -dy ? 8 : 7;
}

int Bias(int octant) { return (0xB4 >> (octant - 1)) & 1; }

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

int64_t LineLength(Point a, Point b) {
  return std::max(std::llabs(int64_t(b.x) - a.x), std::llabs(int64_t(b.y) - a.y));
}

std::vector<LinePixel> ScanLine(Point a, Point b, const Rect& bounds) {
  std::vector<LinePixel> pixels;
  const int64_t dx = int64_t(b.x) - a.x;
  const int64_t dy = int64_t(b.y) - a.y;
  const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  const int64_t length = std::max(adx, ady);
  if (length == 0 || bounds.IsEmpty()) return pixels;
  const int bias = Bias(Octant(dx, dy));
  const bool x_major = adx >= ady;
  const int64_t major_inc = x_major ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
  const int64_t minor_inc = x_major ? (dy > 0 ? 1 : -1) : (dx > 0 ? 1 : -1);
  const int64_t major = x_major ? adx : ady;
  const int64_t minor = x_major ? ady : adx;
  const int64_t major0 = x_major ? a.x : a.y;
  const int64_t minor0 = x_major ? a.y : a.x;
  const int64_t lo = x_major ? bounds.left : bounds.top;
  const int64_t hi = (x_major ? bounds.right : bounds.bottom) - 1;
  // The minor coordinate moves from minor0 by up to `minor` steps: a line
  // wholly beside the bounds (a rule outside a band of the page) has no pixel.
  const int64_t minor_lo = x_major ? bounds.top : bounds.left;
  const int64_t minor_hi = (x_major ? bounds.bottom : bounds.right) - 1;
  const int64_t minor_end = minor0 + minor_inc * minor;
  if (std::max(minor0, minor_end) < minor_lo || std::min(minor0, minor_end) > minor_hi) return pixels;

  // The steps whose major coordinate lies within the bounds.
  int64_t first = 0, last = length - 1;
  if (major_inc > 0) {
    first = std::max(first, lo - major0);
    last = std::min(last, hi - major0);
  } else {
    first = std::max(first, major0 - hi);
    last = std::min(last, major0 - lo);
  }
  for (int64_t i = first; i <= last; ++i) {
    // Minor steps taken after i major steps of the Bresenham walk.
    const int64_t k = FloorDiv(2 * minor * i + major - 1 + bias, 2 * major);
    const int64_t mj = major0 + major_inc * i;
    const int64_t mn = minor0 + minor_inc * k;
    const int64_t x = x_major ? mj : mn;
    const int64_t y = x_major ? mn : mj;
    if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom) continue;
    pixels.push_back({int32_t(x), int32_t(y), i});
  }
  return pixels;
}

}  // namespace vx::gdi
