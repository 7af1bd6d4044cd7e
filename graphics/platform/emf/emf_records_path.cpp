// Path records: the bracket, painting and clipping with the path, and the
// curve records that draw or add to it.
#include "graphics/platform/emf/emf_record_handlers.h"

namespace vx::gdi::play {

void BeginPath(Playback& p, ByteReader&) { p.dc.BeginPath(); }
void EndPath(Playback& p, ByteReader&) { p.dc.EndPath(); }
void CloseFigure(Playback& p, ByteReader&) { p.dc.CloseFigure(); }
void FlattenPath(Playback& p, ByteReader&) { p.dc.FlattenPath(); }
void WidenPath(Playback& p, ByteReader&) { p.dc.WidenPath(); }
void AbortPath(Playback& p, ByteReader&) { p.dc.AbortPath(); }

// These three carry the bounds of what they paint, which playback does not need.
void FillPath(Playback& p, ByteReader& r) {
  ReadRect(r);
  if (r.Ok()) p.dc.FillPath();
}
void StrokeAndFillPath(Playback& p, ByteReader& r) {
  ReadRect(r);
  if (r.Ok()) p.dc.StrokeAndFillPath();
}
void StrokePath(Playback& p, ByteReader& r) {
  ReadRect(r);
  if (r.Ok()) p.dc.StrokePath();
}

void SelectClipPath(Playback& p, ByteReader& r) {
  const uint32_t mode = r.U32();
  if (!r.Ok()) return;
  if (!p.dc.SelectClipPath(int(mode))) p.Log("EMR_SELECTCLIPPATH without a path or with a bad mode; skipped");
}

void AngleArc(Playback& p, ByteReader& r) {
  const Point center = ReadPoint(r);
  const uint32_t radius = r.U32();
  const float start = r.F32();
  const float sweep = r.F32();
  if (r.Ok()) p.dc.AngleArc(center, radius, start, sweep);
}

namespace {

// Bounds, count, the points, then one type byte per point.
template <bool kSixteen>
void PolyDrawOf(Playback& p, ByteReader& r) {
  ReadRect(r);
  const uint32_t count = r.U32();
  if (!r.Ok()) return;
  // Each point needs its coordinates and its type byte within the record.
  if (uint64_t(count) * ((kSixteen ? 4 : 8) + 1) > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  const std::vector<Point> points = ReadPoints(r, count, kSixteen);
  std::vector<uint8_t> types(count);
  for (uint8_t& t : types) t = r.U8();
  if (r.Ok()) p.dc.PolyDraw(points, types);
}

}  // namespace

void PolyDraw(Playback& p, ByteReader& r) { PolyDrawOf<false>(p, r); }
void PolyDraw16(Playback& p, ByteReader& r) { PolyDrawOf<true>(p, r); }

}  // namespace vx::gdi::play
