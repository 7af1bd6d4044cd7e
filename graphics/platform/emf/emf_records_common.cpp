#include <cmath>

#include "graphics/platform/emf/emf_playback.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

std::vector<Point> ReadPoints(ByteReader& r, uint32_t count, bool sixteen_bit) {
  std::vector<Point> points;
  const uint64_t bytes = uint64_t(count) * (sixteen_bit ? 4 : 8);
  if (bytes > r.Remaining()) {
    r.Skip(r.Remaining() + 1);  // fails the reader
    return points;
  }
  points.resize(count);
  for (Point& p : points) {
    if (sixteen_bit) {
      p.x = r.I16();
      p.y = r.I16();
    } else {
      p.x = r.I32();
      p.y = r.I32();
    }
  }
  return points;
}

XForm ReadXForm(ByteReader& r) {
  XForm x;
  x.m11 = r.F32();
  x.m12 = r.F32();
  x.m21 = r.F32();
  x.m22 = r.F32();
  x.dx = r.F32();
  x.dy = r.F32();
  return x;
}

bool ReadRegion(ByteReader& r, uint32_t size, const XForm& xform, Region& out) {
  const size_t start = r.Offset();
  const uint32_t header_size = r.U32();
  r.U32();  // type
  const uint32_t count = r.U32();
  r.U32();  // size of the rectangles
  ReadRect(r);  // bounds
  if (!r.Ok() || header_size < 32 || size < header_size) return false;
  r.Seek(start + header_size);
  if (uint64_t(count) * 16 > size - header_size || uint64_t(count) * 16 > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return false;
  }
  std::vector<Rect> rects;
  rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const Rect rc = ReadRect(r);
    const PointF a = Apply(xform, {double(rc.left), double(rc.top)});
    const PointF b = Apply(xform, {double(rc.right), double(rc.bottom)});
    const Point pa = RoundPoint(a), pb = RoundPoint(b);
    rects.push_back({std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::max(pa.x, pb.x), std::max(pa.y, pb.y)});
  }
  out = Region::FromRects(rects);
  return r.Ok();
}

}  // namespace vx::gdi
