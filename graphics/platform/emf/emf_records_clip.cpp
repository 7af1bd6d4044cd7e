// Clipping records.
#include "graphics/platform/emf/emf_record_handlers.h"

namespace vx::gdi::play {

void IntersectClipRect(Playback& p, ByteReader& r) {
  const Rect rect = ReadRect(r);
  if (r.Ok()) p.dc.IntersectClipRect(rect);
}
void ExcludeClipRect(Playback& p, ByteReader& r) {
  const Rect rect = ReadRect(r);
  if (r.Ok()) p.dc.ExcludeClipRect(rect);
}
void OffsetClipRgn(Playback& p, ByteReader& r) {
  const Point d = ReadPoint(r);
  if (r.Ok()) p.dc.OffsetClipRgn(d.x, d.y);
}
void SetMetaRgn(Playback& p, ByteReader&) { p.dc.SetMetaRgn(); }

// The region is in the reference device's pixels: it maps through the
// frame-to-rectangle transform only.
void ExtSelectClipRgn(Playback& p, ByteReader& r) {
  const uint32_t size = r.U32();
  const uint32_t mode = r.U32();
  if (!r.Ok()) return;
  if (size == 0 || (mode == RGN_COPY && size < 32)) {
    if (mode == RGN_COPY) p.dc.ExtSelectClipRgn(nullptr, RGN_COPY);
    return;
  }
  Region region;
  if (ReadRegion(r, size, p.init, region)) p.dc.ExtSelectClipRgn(&region, int(mode));
}


}  // namespace vx::gdi::play
