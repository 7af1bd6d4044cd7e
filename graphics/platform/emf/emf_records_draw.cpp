// Drawing records: lines, polygons, shapes, pixels and region fills.
#include "graphics/platform/emf/emf_record_handlers.h"

namespace vx::gdi::play {

namespace {

template <bool kSixteen>
std::vector<Point> ReadPolyRecord(ByteReader& r) {
  ReadRect(r);  // bounds
  const uint32_t count = r.U32();
  if (!r.Ok()) return {};
  return ReadPoints(r, count, kSixteen);
}

template <bool kSixteen>
std::vector<std::vector<Point>> ReadPolyPolyRecord(ByteReader& r) {
  ReadRect(r);
  const uint32_t polys = r.U32();
  const uint32_t total = r.U32();
  std::vector<std::vector<Point>> out;
  if (!r.Ok() || uint64_t(polys) * 4 > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return out;
  }
  std::vector<uint32_t> counts(polys);
  uint64_t sum = 0;
  for (uint32_t& c : counts) {
    c = r.U32();
    sum += c;
  }
  if (sum > total) {
    r.Skip(r.Remaining() + 1);
    return out;
  }
  std::vector<Point> points = ReadPoints(r, total, kSixteen);
  if (!r.Ok()) return out;
  size_t at = 0;
  for (uint32_t c : counts) {
    out.emplace_back(points.begin() + long(at), points.begin() + long(at + c));
    at += c;
  }
  return out;
}

template <bool k16> void PolylineOf(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.Polyline(pts);
}
template <bool k16> void PolylineToOf(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolylineTo(pts);
}
template <bool k16> void PolygonOf(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.Polygon(pts);
}
template <bool k16> void PolyBezierOf(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyBezier(pts);
}
template <bool k16> void PolyBezierToOf(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyBezierTo(pts);
}
template <bool k16> void PolyPolylineOf(Playback& p, ByteReader& r) {
  auto polys = ReadPolyPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyPolyline(polys);
}
template <bool k16> void PolyPolygonOf(Playback& p, ByteReader& r) {
  auto polys = ReadPolyPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyPolygon(polys);
}

// The box, then the start and end points of the arc.
struct ArcRecord {
  Rect box;
  Point start, end;
  static ArcRecord Read(ByteReader& r) {
    ArcRecord a;
    a.box = ReadRect(r);
    a.start = ReadPoint(r);
    a.end = ReadPoint(r);
    return a;
  }
};

const LogBrush* BrushAt(Playback& p, uint32_t index, LogBrush& stock) {
  if (index & 0x80000000u) {
    const uint32_t s = index & 0x7FFFFFFFu;
    static const ColorRef kGreys[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                      RGB(64, 64, 64), RGB(0, 0, 0)};
    if (s <= BLACK_BRUSH) stock = LogBrush{BS_SOLID, kGreys[s], 0, nullptr};
    else stock = LogBrush{BS_NULL, 0, 0, nullptr};
    return &stock;
  }
  const GdiObject* object = p.Object(index);
  return object ? std::get_if<LogBrush>(object) : nullptr;
}

}  // namespace

void PolyBezier(Playback& p, ByteReader& r) { PolyBezierOf<false>(p, r); }
void PolyBezier16(Playback& p, ByteReader& r) { PolyBezierOf<true>(p, r); }
void Polygon(Playback& p, ByteReader& r) { PolygonOf<false>(p, r); }
void Polygon16(Playback& p, ByteReader& r) { PolygonOf<true>(p, r); }
void Polyline(Playback& p, ByteReader& r) { PolylineOf<false>(p, r); }
void Polyline16(Playback& p, ByteReader& r) { PolylineOf<true>(p, r); }
void PolyBezierTo(Playback& p, ByteReader& r) { PolyBezierToOf<false>(p, r); }
void PolyBezierTo16(Playback& p, ByteReader& r) { PolyBezierToOf<true>(p, r); }
void PolylineTo(Playback& p, ByteReader& r) { PolylineToOf<false>(p, r); }
void PolylineTo16(Playback& p, ByteReader& r) { PolylineToOf<true>(p, r); }
void PolyPolyline(Playback& p, ByteReader& r) { PolyPolylineOf<false>(p, r); }
void PolyPolyline16(Playback& p, ByteReader& r) { PolyPolylineOf<true>(p, r); }
void PolyPolygon(Playback& p, ByteReader& r) { PolyPolygonOf<false>(p, r); }
void PolyPolygon16(Playback& p, ByteReader& r) { PolyPolygonOf<true>(p, r); }

void LineTo(Playback& p, ByteReader& r) {
  const Point pt = ReadPoint(r);
  if (r.Ok()) p.dc.LineTo(pt);
}
void Rectangle(Playback& p, ByteReader& r) {
  const Rect box = ReadRect(r);
  if (r.Ok()) p.dc.Rectangle(box);
}
void Ellipse(Playback& p, ByteReader& r) {
  const Rect box = ReadRect(r);
  if (r.Ok()) p.dc.Ellipse(box);
}
void RoundRect(Playback& p, ByteReader& r) {
  const Rect box = ReadRect(r);
  const int32_t cx = r.I32(), cy = r.I32();
  if (r.Ok()) p.dc.RoundRect(box, {cx, cy});
}

void Arc(Playback& p, ByteReader& r) {
  const ArcRecord a = ArcRecord::Read(r);
  if (r.Ok()) p.dc.Arc(a.box, a.start, a.end);
}
void Chord(Playback& p, ByteReader& r) {
  const ArcRecord a = ArcRecord::Read(r);
  if (r.Ok()) p.dc.Chord(a.box, a.start, a.end);
}
void Pie(Playback& p, ByteReader& r) {
  const ArcRecord a = ArcRecord::Read(r);
  if (r.Ok()) p.dc.Pie(a.box, a.start, a.end);
}
void ArcTo(Playback& p, ByteReader& r) {
  const ArcRecord a = ArcRecord::Read(r);
  if (r.Ok()) p.dc.ArcTo(a.box, a.start, a.end);
}

void SetPixelV(Playback& p, ByteReader& r) {
  const Point pt = ReadPoint(r);
  const uint32_t color = r.U32();
  if (r.Ok()) p.dc.SetPixelV(pt, color);
}

void FillRgn(Playback& p, ByteReader& r) {
  ReadRect(r);
  const uint32_t size = r.U32();
  const uint32_t brush_index = r.U32();
  Region region;
  if (!r.Ok() || !ReadRegion(r, size, p.dc.LogicalToDevice(), region)) return;
  LogBrush stock;
  if (const LogBrush* brush = BrushAt(p, brush_index, stock)) p.dc.FillRgn(region, *brush);
}

void FrameRgn(Playback& p, ByteReader& r) {
  ReadRect(r);
  const uint32_t size = r.U32();
  const uint32_t brush_index = r.U32();
  const int32_t w = r.I32(), h = r.I32();
  Region region;
  if (!r.Ok() || !ReadRegion(r, size, p.dc.LogicalToDevice(), region)) return;
  LogBrush stock;
  if (const LogBrush* brush = BrushAt(p, brush_index, stock)) p.dc.FrameRgn(region, *brush, {w, h});
}

void PaintRgn(Playback& p, ByteReader& r) {
  ReadRect(r);
  const uint32_t size = r.U32();
  Region region;
  if (r.Ok() && ReadRegion(r, size, p.dc.LogicalToDevice(), region)) p.dc.PaintRgn(region);
}

void InvertRgn(Playback& p, ByteReader& r) {
  ReadRect(r);
  const uint32_t size = r.U32();
  Region region;
  if (r.Ok() && ReadRegion(r, size, p.dc.LogicalToDevice(), region)) p.dc.InvertRgn(region);
}

}  // namespace vx::gdi::play
