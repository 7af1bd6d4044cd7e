// Mapping, transform, save stack and attribute records.
#include "graphics/platform/emf/emf_record_handlers.h"

namespace vx::gdi::play {

void SetWindowExtEx(Playback& p, ByteReader& r) {
  const int32_t cx = r.I32(), cy = r.I32();
  if (r.Ok()) p.dc.SetWindowExt({cx, cy});
}
void SetWindowOrgEx(Playback& p, ByteReader& r) {
  const Point o = ReadPoint(r);
  if (r.Ok()) p.dc.SetWindowOrg(o);
}
void SetViewportExtEx(Playback& p, ByteReader& r) {
  const int32_t cx = r.I32(), cy = r.I32();
  if (r.Ok()) p.dc.SetViewportExt({cx, cy});
}
void SetViewportOrgEx(Playback& p, ByteReader& r) {
  const Point o = ReadPoint(r);
  if (r.Ok()) p.dc.SetViewportOrg(o);
}
void ScaleViewportExtEx(Playback& p, ByteReader& r) {
  const int32_t xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
  if (r.Ok()) p.dc.ScaleViewportExt(xn, xd, yn, yd);
}
void ScaleWindowExtEx(Playback& p, ByteReader& r) {
  const int32_t xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
  if (r.Ok()) p.dc.ScaleWindowExt(xn, xd, yn, yd);
}
void SetMapMode(Playback& p, ByteReader& r) {
  const uint32_t mode = r.U32();
  if (r.Ok()) p.dc.SetMapMode(int(mode));
}
void SetWorldTransform(Playback& p, ByteReader& r) {
  const XForm x = ReadXForm(r);
  if (r.Ok()) p.dc.SetWorldTransform(x);
}
void ModifyWorldTransform(Playback& p, ByteReader& r) {
  const XForm x = ReadXForm(r);
  const uint32_t mode = r.U32();
  if (r.Ok()) p.dc.ModifyWorldTransform(x, int(mode));
}
void SaveDC(Playback& p, ByteReader&) {
  p.dc.SaveDC();
  ++p.save_depth;
}
void RestoreDC(Playback& p, ByteReader& r) {
  const int32_t level = r.I32();
  if (!r.Ok()) return;
  // Only levels within what the metafile saved itself; negative is relative.
  if (level == 0 || level < -p.save_depth || level > p.save_depth) return;
  const int32_t pops = level < 0 ? -level : p.save_depth - level + 1;
  for (int32_t i = 0; i < pops; ++i) p.dc.RestoreDC(-1);
  p.save_depth -= pops;
}
void SetTextColor(Playback& p, ByteReader& r) {
  const uint32_t c = r.U32();
  if (r.Ok()) p.dc.SetTextColor(c);  // palette colours resolve when drawn
}
void SetBkColor(Playback& p, ByteReader& r) {
  const uint32_t c = r.U32();
  if (r.Ok()) p.dc.SetBkColor(c);
}
void SetBkMode(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetBkMode(int(v));
}
void SetPolyFillMode(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetPolyFillMode(int(v));
}
void SetROP2(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetROP2(int(v));
}
void SetStretchBltMode(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetStretchBltMode(int(v));
}
void SetTextAlign(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetTextAlign(v);
}
void SetArcDirection(Playback& p, ByteReader& r) {
  const uint32_t v = r.U32();
  if (r.Ok()) p.dc.SetArcDirection(int(v));
}
void MoveToEx(Playback& p, ByteReader& r) {
  const Point pt = ReadPoint(r);
  if (r.Ok()) p.dc.MoveTo(pt);
}


}  // namespace vx::gdi::play
