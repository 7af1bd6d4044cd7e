// Block transfers: pattern fills, stretched copies of images with raster
// operations on palette indices.
#include <algorithm>
#include <cmath>

#include "graphics/platform/device_context.h"
#include "graphics/platform/halftone_palette.h"
#include "graphics/platform/stroke.h"

namespace vx::gdi {

namespace {

// d = rop3(p, s, d) applied bitwise to indices; the operation code's bit
// (p << 2 | s << 1 | d) gives each result bit.
uint8_t ApplyRop3(uint8_t code, uint8_t p, uint8_t s, uint8_t d) {
  uint8_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if (!((code >> k) & 1)) continue;
    const uint8_t mp = (k & 4) ? p : uint8_t(~p);
    const uint8_t ms = (k & 2) ? s : uint8_t(~s);
    const uint8_t md = (k & 1) ? d : uint8_t(~d);
    r |= uint8_t(mp & ms & md);
  }
  return r;
}

bool UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
bool UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

}  // namespace

void TDeviceContext::BlitPixels(const Rect& dest, const DibImage* source, double sx0, double sy0,
                                double sx_step, double sy_step, uint32_t rop) {
  if (surface_ == nullptr) return;
  const uint8_t code = uint8_t(rop >> 16);
  const bool uses_source = UsesSource(code);
  if (uses_source && source == nullptr) return;
  bool pattern_draws = true;
  const Paint pattern = BrushPaint(state_.brush, pattern_draws);
  const Region clip = EffectiveClip().Intersect(Region::FromRect(dest));
  for (const Region::Band& band : clip.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      uint8_t* row = surface_->Row(y);
      const int32_t sy = int32_t(std::floor(sy0 + (y - dest.top + 0.5) * sy_step));
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        for (int32_t x = band.walls[i]; x < band.walls[i + 1]; ++x) {
          uint8_t s = 0, p = 0;
          if (uses_source) {
            const int32_t sx = int32_t(std::floor(sx0 + (x - dest.left + 0.5) * sx_step));
            if (sx < 0 || sy < 0 || sx >= source->Width() || sy >= source->Height()) continue;
            const PaletteEntry c = source->Color(sx, sy);
            s = NearestHalftoneIndexForImagePixel(c.r, c.g, c.b);
          }
          if (UsesPattern(code)) {
            if (!pattern_draws || !pattern.At(x, y, p)) p = 0;
          }
          row[x] = code == 0xCC ? s : ApplyRop3(code, p, s, row[x]);
        }
      }
    }
  }
}

void TDeviceContext::PatBlt(const Rect& r, uint32_t rop) {
  const PointF a = Apply(LogicalToDevice(), {double(r.left), double(r.top)});
  const PointF b = Apply(LogicalToDevice(), {double(r.left) + r.right, double(r.top) + r.bottom});
  const Point pa = RoundPoint(a), pb = RoundPoint(b);
  const Rect dest{std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::max(pa.x, pb.x), std::max(pa.y, pb.y)};
  BlitPixels(dest, nullptr, 0, 0, 0, 0, rop);
}

void TDeviceContext::StretchBlt(const Rect& d, const DibImage* source, const Rect& s, uint32_t rop,
                                const XForm* source_xform) {
  (void)source_xform;
  const PointF a = Apply(LogicalToDevice(), {double(d.left), double(d.top)});
  const PointF b = Apply(LogicalToDevice(), {double(d.left) + d.right, double(d.top) + d.bottom});
  const Point pa = RoundPoint(a), pb = RoundPoint(b);
  const Rect dest{std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::max(pa.x, pb.x), std::max(pa.y, pb.y)};
  if (dest.IsEmpty()) return;
  // Source coordinates run from the source rectangle's start at the device
  // rectangle's edge that the logical start maps to.
  double sx0 = s.left, sy0 = s.top;
  double sx_step = double(s.right) / dest.Width();
  double sy_step = double(s.bottom) / dest.Height();
  if (pb.x < pa.x) { sx0 = s.left + s.right; sx_step = -sx_step; }
  if (pb.y < pa.y) { sy0 = s.top + s.bottom; sy_step = -sy_step; }
  BlitPixels(dest, source, sx0, sy0, sx_step, sy_step, rop);
}

void TDeviceContext::StretchDIBits(const Rect& dest, const DibImage& source, const Rect& s, uint32_t rop) {
  // The source rectangle counts rows from the image's bottom line.
  const Rect top_down{s.left, source.Height() - (s.top + s.bottom), s.right, s.bottom};
  StretchBlt(dest, &source, top_down, rop);
}

void TDeviceContext::SetDIBitsToDevice(Point dest, const DibImage& source, const Rect& s) {
  const Point d = LPtoDP(dest);
  const Rect device{d.x, d.y, d.x + s.right, d.y + s.bottom};
  if (device.IsEmpty()) return;
  const int32_t top = source.Height() - (s.top + s.bottom);
  BlitPixels(device, &source, s.left, top, 1, 1, SRCCOPY);
}

}  // namespace vx::gdi
