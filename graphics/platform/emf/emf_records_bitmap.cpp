// Bitmap records: blits with and without a source image, DIB stretches.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/emf/emf_record_handlers.h"
#include "graphics/platform/emf/emf_record_dib.h"

namespace vx::gdi {

std::optional<DibImage> RecordDib(const ByteReader& r, uint32_t off_bmi, uint32_t cb_bmi, uint32_t off_bits,
                                  uint32_t cb_bits, uint32_t usage) {
  const size_t size = r.Size();
  if (cb_bmi == 0 || off_bmi > size || cb_bmi > size - off_bmi || off_bits > size || cb_bits > size - off_bits)
    return std::nullopt;
  return DibImage::Parse(r.Data() + off_bmi, size - off_bmi, r.Data() + off_bits, cb_bits, usage);
}

BitmapFields BitmapFields::Read(ByteReader& r) {
  BitmapFields f;
  f.usage = r.U32();
  f.off_bmi = r.U32();
  f.cb_bmi = r.U32();
  f.off_bits = r.U32();
  f.cb_bits = r.U32();
  return f;
}

BlitFields BlitFields::Read(ByteReader& r, bool stretch) {
  BlitFields f;
  ReadRect(r);  // bounds
  const Point d = ReadPoint(r);
  const Size ds = ReadSize(r);
  f.dest = {d.x, d.y, ds.cx, ds.cy};
  f.operation = r.U32();
  f.source_origin = ReadPoint(r);
  f.source_xform = ReadXForm(r);
  r.U32();  // background colour of the source
  f.bitmap = BitmapFields::Read(r);
  f.source_size = stretch ? ReadSize(r) : ds;
  return f;
}

Rect BlitFields::SourceRect() const {
  return SourceRectInPixels(source_xform, {source_origin.x, source_origin.y, source_size.cx, source_size.cy});
}

namespace play {

namespace {

template <bool kStretch>
void Blt(Playback& p, ByteReader& r) {
  const BlitFields f = BlitFields::Read(r, kStretch);
  if (!r.Ok()) return;
  if (!f.bitmap.Present()) {
    p.dc.StretchBlt(f.dest, nullptr, {}, f.operation);
    return;
  }
  const auto dib = f.bitmap.Image(r);
  if (!dib) return;
  p.dc.StretchBlt(f.dest, &*dib, f.SourceRect(), f.operation);
}

}  // namespace

void BitBlt(Playback& p, ByteReader& r) { Blt<false>(p, r); }
void StretchBlt(Playback& p, ByteReader& r) { Blt<true>(p, r); }

void StretchDIBits(Playback& p, ByteReader& r) {
  ReadRect(r);
  const int32_t x = r.I32(), y = r.I32(), sx = r.I32(), sy = r.I32(), scx = r.I32(), scy = r.I32();
  const uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  const uint32_t usage = r.U32();
  const uint32_t rop = r.U32();
  const int32_t cx = r.I32(), cy = r.I32();
  if (!r.Ok()) return;
  const auto dib = RecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, usage);
  if (!dib) {
    if (cb_bmi == 0) p.dc.StretchBlt({x, y, cx, cy}, nullptr, {}, rop);
    return;
  }
  p.dc.StretchDIBits({x, y, cx, cy}, *dib, {sx, sy, scx, scy}, rop);
}

void SetDIBitsToDevice(Playback& p, ByteReader& r) {
  ReadRect(r);
  const int32_t x = r.I32(), y = r.I32(), sx = r.I32(), sy = r.I32(), scx = r.I32(), scy = r.I32();
  const uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  const uint32_t usage = r.U32();
  const uint32_t start_scan = r.U32(), scans = r.U32();
  if (!r.Ok()) return;
  if (p.options.unscaled_blits_at_reference_size) {
    // The origin maps as usual; the size is in reference pixels.
    const Point d = p.dc.LPtoDP({x, y});
    const double w = double(scx) * p.init.m11, h = double(scy) * p.init.m22;
    const auto edge = [](double v) { return int32_t(std::clamp(std::ceil(v), -1e9, 1e9)); };
    p.dc.FillSolidRect({d.x, d.y, edge(d.x + w), edge(d.y + h)}, RGB(128, 128, 128));
    return;
  }
  const size_t size = r.Size();
  if (cb_bmi < 12 || off_bmi > size || cb_bmi > size - off_bmi) return;
  // The record holds only the scans it draws: describe them as the image.
  std::vector<uint8_t> info(r.Data() + off_bmi, r.Data() + size);
  int32_t full_height = 0;
  if (LoadU32(info.data()) >= 40 && info.size() >= 12) {
    full_height = LoadI32(info.data() + 8);
    const int32_t h = full_height < 0 ? -int32_t(scans) : int32_t(scans);
    StoreU32(info.data() + 8, uint32_t(h));
  }
  if (off_bits > size || cb_bits > size - off_bits) return;
  const auto dib = DibImage::Parse(info.data(), info.size(), r.Data() + off_bits, cb_bits, usage);
  if (!dib) return;
  // Source rows count from the bottom of the whole image; the scans start at start_scan.
  p.dc.SetDIBitsToDevice({x, y}, *dib, {sx, sy - int32_t(start_scan), scx, scy});
}

}  // namespace play

}  // namespace vx::gdi
