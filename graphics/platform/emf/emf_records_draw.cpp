// Drawing records: lines, polygons, shapes, pixels and region fills.
#include "graphics/platform/emf/emf_playback.h"

namespace vx::gdi {

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

template <bool k16> void Polyline(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.Polyline(pts);
}
template <bool k16> void PolylineTo(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolylineTo(pts);
}
template <bool k16> void Polygon(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.Polygon(pts);
}
template <bool k16> void PolyBezier(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyBezier(pts);
}
template <bool k16> void PolyBezierTo(Playback& p, ByteReader& r) {
  auto pts = ReadPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyBezierTo(pts);
}
template <bool k16> void PolyPolyline(Playback& p, ByteReader& r) {
  auto polys = ReadPolyPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyPolyline(polys);
}
template <bool k16> void PolyPolygon(Playback& p, ByteReader& r) {
  auto polys = ReadPolyPolyRecord<k16>(r);
  if (r.Ok()) p.dc.PolyPolygon(polys);
}

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

template <int kKind> void ArcFamily(Playback& p, ByteReader& r) {
  const Rect box = ReadRect(r);
  const Point a = ReadPoint(r), b = ReadPoint(r);
  if (!r.Ok()) return;
  switch (kKind) {
    case 0: p.dc.Arc(box, a, b); break;
    case 1: p.dc.Chord(box, a, b); break;
    case 2: p.dc.Pie(box, a, b); break;
    default: p.dc.ArcTo(box, a, b); break;
  }
}

void SetPixelV(Playback& p, ByteReader& r) {
  const Point pt = ReadPoint(r);
  const uint32_t color = r.U32();
  if (r.Ok()) p.dc.SetPixelV(pt, color);
}

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

}  // namespace

RecordHandler FindDrawHandler(uint32_t type) {
  switch (type) {
    case 2: return PolyBezier<false>;
    case 3: return Polygon<false>;
    case 4: return Polyline<false>;
    case 5: return PolyBezierTo<false>;
    case 6: return PolylineTo<false>;
    case 7: return PolyPolyline<false>;
    case 8: return PolyPolygon<false>;
    case 15: return SetPixelV;
    case 42: return Ellipse;
    case 43: return Rectangle;
    case 44: return RoundRect;
    case 45: return ArcFamily<0>;
    case 46: return ArcFamily<1>;
    case 47: return ArcFamily<2>;
    case 54: return LineTo;
    case 55: return ArcFamily<3>;
    case 71: return FillRgn;
    case 72: return FrameRgn;
    case 73: return InvertRgn;
    case 74: return PaintRgn;
    case 85: return PolyBezier<true>;
    case 86: return Polygon<true>;
    case 87: return Polyline<true>;
    case 88: return PolyBezierTo<true>;
    case 89: return PolylineTo<true>;
    case 90: return PolyPolyline<true>;
    case 91: return PolyPolygon<true>;
    default: return nullptr;
  }
}

}  // namespace vx::gdi
