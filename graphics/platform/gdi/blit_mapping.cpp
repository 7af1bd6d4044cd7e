#include "graphics/platform/gdi/blit_mapping.h"

#include <algorithm>
#include <cmath>

#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

__extension__ typedef __int128 Int128;

Int128 FloorDiv(Int128 num, Int128 den) {  // den > 0
  const Int128 q = num / den;
  return (num % den != 0 && num < 0) ? q - 1 : q;
}

}  // namespace

int32_t StretchMapping::Source(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror) {
  if (span <= 0) return int32_t(std::clamp<int64_t>(start, INT32_MIN, INT32_MAX));
  if (length < 0) {  // a source rectangle running backwards
    start += length;
    length = -length;
    mirror = !mirror;
  }
  if (mirror) k = span - 1 - k;
  Int128 offset;
  if (length > span) {
    // Shrinking keeps the last source pixel of each device pixel's share:
    // round((k + 1) * length / span) - 1.
    offset = FloorDiv(Int128(2 * k + 2) * length + span, Int128(2) * span) - 1;
  } else {
    // Enlarging takes the pixel under the centre, a tie going to the lower one.
    offset = FloorDiv(Int128(2 * k + 1) * length - 1, Int128(2) * span);
  }
  return int32_t(std::clamp<Int128>(Int128(start) + offset, INT32_MIN, INT32_MAX));
}

int32_t StretchMapping::First(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror) {
  if (span <= 0 || (length >= 0 ? length : -length) <= span) return Source(k, start, length, span, mirror);
  const bool backwards = mirror != (length < 0);
  const int64_t neighbour = backwards ? k + 1 : k - 1;
  if (neighbour < 0 || neighbour >= span) return int32_t(std::clamp<int64_t>(length < 0 ? start + length : start, INT32_MIN, INT32_MAX));
  const int32_t last = Source(neighbour, start, length, span, mirror);
  return last == INT32_MAX ? last : last + 1;
}

int64_t StretchMapping::Fixed(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror) {
  if (span <= 0) return 0;
  if (length < 0) {
    start += length;
    length = -length;
    mirror = !mirror;
  }
  if (mirror) k = span - 1 - k;
  const Int128 pos = Int128(start) * 65536 + Int128(k) * length * 65536 / span;
  return int64_t(std::clamp<Int128>(pos, -(Int128(1) << 50), Int128(1) << 50));
}

StretchMapping StretchMapping::Copy(const Rect& dest, Point origin) {
  StretchMapping m;
  m.dest_ = dest;
  m.source_ = {origin.x, origin.y, dest.Width(), dest.Height()};
  return m;
}

Rect SourceRectInPixels(const XForm& x, const Rect& r) {
  if (x == XForm{}) return r;
  const double left = r.left * x.m11 + x.dx, top = r.top * x.m22 + x.dy;
  const double right = (double(r.left) + r.right) * x.m11 + x.dx;
  const double bottom = (double(r.top) + r.bottom) * x.m22 + x.dy;
  if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom)) return r;
  const int32_t l = RoundDevice(left), t = RoundDevice(top);
  return {l, t, RoundDevice(right) - l, RoundDevice(bottom) - t};
}

StretchMapping MapStretch(const XForm& to_device, const Rect& d, const Rect& s) {
  StretchMapping m;
  const PointF a = Apply(to_device, {double(d.left), double(d.top)});
  const PointF b = Apply(to_device, {double(d.left) + d.right, double(d.top) + d.bottom});
  const Point pa = RoundPoint(a), pb = RoundPoint(b);
  m.dest_ = {std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::max(pa.x, pb.x), std::max(pa.y, pb.y)};
  m.source_ = s;
  m.mirror_x_ = pb.x < pa.x;
  m.mirror_y_ = pb.y < pa.y;
  return m;
}

}  // namespace vx::gdi
