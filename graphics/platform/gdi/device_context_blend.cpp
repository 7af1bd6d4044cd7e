// Blending, transparent, masked and parallelogram block transfers and
// gradient fills. Colours blend on the RGB values the destination's pixels
// show; the target maps results back to pixels as it maps image pixels.
#include <algorithm>
#include <cmath>

#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/format_target.h"
#include "graphics/platform/raster/gradient_fill.h"
#include "graphics/platform/raster/rop.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

bool InImage(const DibImage& image, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
}

bool SourceRectInImage(const DibImage& image, const Rect& r) {
  return r.right > 0 && r.bottom > 0 && r.left >= 0 && r.top >= 0 &&
         int64_t(r.left) + r.right <= image.Width() && int64_t(r.top) + r.bottom <= image.Height();
}

// Copies one image colour to device pixel x, y.
void PutImagePixel(PixelTarget& target, int32_t x, int32_t y, const PaletteEntry& c) {
  target.BlitRun(y, x, x + 1, uint8_t(SRCCOPY >> 16), &c, nullptr, PixelPaint{});
}

// A monochrome mask's bit: 1 where the pixel is nearer white than black. The
// mask repeats beyond its size.
bool MaskBit(const DibImage& mask, int64_t x, int64_t y) {
  const int64_t w = mask.Width(), h = mask.Height();
  const PaletteEntry c = mask.Color(int32_t(((x % w) + w) % w), int32_t(((y % h) + h) % h));
  const int dark = c.r * c.r + c.g * c.g + c.b * c.b;
  const int light = (255 - c.r) * (255 - c.r) + (255 - c.g) * (255 - c.g) + (255 - c.b) * (255 - c.b);
  return light < dark;
}

// Whether a source pixel has the transparent colour, compared at the
// precision of the image's pixels.
class TransparentTest {
public:
  TransparentTest(const DibImage& image, ColorRef color) : image_(image), color_(color) {
    if (image.BitCount() > 8) return;
    const PaletteEntry want{GetRValue(color), GetGValue(color), GetBValue(color)};
    int best = 1 << 30;
    for (size_t i = 0; i < image.Colors().size(); ++i) {
      const PaletteEntry& c = image.Colors()[i];
      const int d = (c.r - want.r) * (c.r - want.r) + (c.g - want.g) * (c.g - want.g) + (c.b - want.b) * (c.b - want.b);
      if (d < best) { best = d; index_ = uint32_t(i); }
    }
  }
  bool operator()(int32_t x, int32_t y) const {
    if (image_.BitCount() <= 8) return image_.Index(x, y) == index_;
    const PaletteEntry c = image_.Color(x, y);
    const int shift = image_.BitCount() == 16 ? 3 : 0;
    return (c.r >> shift) == (GetRValue(color_) >> shift) && (c.g >> shift) == (GetGValue(color_) >> shift) &&
           (c.b >> shift) == (GetBValue(color_) >> shift);
  }

private:
  const DibImage& image_;
  ColorRef color_;
  uint32_t index_ = 0;
};

}  // namespace

void TDeviceContext::AlphaBlend(const Rect& dest, const DibImage& source, const Rect& source_rect,
                                const BlendFunction& blend) {
  if (blend.op != AC_SRC_OVER || !SourceRectInImage(source, source_rect)) return;
  const StretchMapping m = MapStretch(LogicalToDevice(), dest, source_rect);
  if (m.Dest().IsEmpty()) return;
  const bool per_pixel = (blend.alpha_format & AC_SRC_ALPHA) != 0 && source.BitCount() == 32;
  const uint8_t constant = blend.source_constant_alpha;
  std::vector<BlendPixel> row;
  const Region visible = EffectiveClip().Intersect(Region::FromRect(m.Dest()));
  for (const Region::Band& band : visible.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const int32_t sy = m.SourceY(y);
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t x0 = band.walls[i], x1 = band.walls[i + 1];
        row.assign(size_t(x1 - x0), BlendPixel{});
        for (int32_t x = x0; x < x1; ++x) {
          const int32_t sx = m.SourceX(x);
          if (!InImage(source, sx, sy)) continue;
          BlendPixel& p = row[size_t(x - x0)];
          p.present = true;
          p.color = source.Color(sx, sy);
          p.alpha = constant;
          p.source_alpha = source.BitCount() == 32 ? uint8_t(source.Index(sx, sy) >> 24) : 255;
          if (!per_pixel) continue;
          p.alpha = p.source_alpha;
          if (constant != 255) {
            p.color = {Div255(p.color.r * constant), Div255(p.color.g * constant), Div255(p.color.b * constant)};
            p.alpha = Div255(p.alpha * constant);
          }
          p.source_alpha = p.alpha;
        }
        target_->BlendRun(y, x0, x1, row.data(), per_pixel);
      }
    }
  }
}

void TDeviceContext::TransparentBlt(const Rect& dest, const DibImage& source, const Rect& source_rect,
                                    ColorRef transparent) {
  if (!SourceRectInImage(source, source_rect)) return;
  const StretchMapping m = MapStretch(LogicalToDevice(), dest, source_rect);
  if (m.Dest().IsEmpty()) return;
  const TransparentTest is_transparent(source, transparent);
  ForEachPixel(EffectiveClip().Intersect(Region::FromRect(m.Dest())), [&](int32_t x, int32_t y) {
    const int32_t sx = m.SourceX(x), sy = m.SourceY(y);
    if (!InImage(source, sx, sy) || is_transparent(sx, sy)) return;
    PutImagePixel(*target_, x, y, source.Color(sx, sy));
  });
}

void TDeviceContext::MaskBlt(const Rect& dest, const DibImage* source, Point source_origin,
                             const DibImage* mask, Point mask_origin, uint32_t rop4) {
  const uint8_t fore = uint8_t(rop4 >> 16);
  const uint8_t back = mask != nullptr ? uint8_t(rop4 >> 24) : fore;
  if ((Rop3UsesSource(fore) || Rop3UsesSource(back)) && source == nullptr) return;
  const StretchMapping m = MapStretch(LogicalToDevice(), dest, {source_origin.x, source_origin.y, dest.right, dest.bottom});
  if (m.Dest().IsEmpty()) return;
  bool pattern_draws = true;
  const Paint brush = BrushPaint(state_.brush, pattern_draws);
  const PixelPaint pattern = pattern_draws ? target_->Realize(brush) : PixelPaint::Solid(0);
  ForEachPixel(EffectiveClip().Intersect(Region::FromRect(m.Dest())), [&](int32_t x, int32_t y) {
    const int32_t sx = m.SourceX(x), sy = m.SourceY(y);
    const bool bit = mask == nullptr ||
                     MaskBit(*mask, int64_t(mask_origin.x) + sx - source_origin.x,
                             int64_t(mask_origin.y) + sy - source_origin.y);
    const uint8_t code = bit ? fore : back;
    PaletteEntry s;
    const bool uses_source = Rop3UsesSource(code);
    if (uses_source) {
      if (!InImage(*source, sx, sy)) return;
      s = source->Color(sx, sy);
    }
    target_->BlitRun(y, x, x + 1, code, uses_source ? &s : nullptr, nullptr, pattern);
  });
}

void TDeviceContext::PlgBlt(const Point (&corners)[3], const DibImage& source, const Rect& source_rect,
                            const DibImage* mask, Point mask_origin) {
  if (source_rect.right == 0 || source_rect.bottom == 0) return;
  const XForm to_device = LogicalToDevice();
  const PointF p0 = Apply(to_device, {double(corners[0].x), double(corners[0].y)});
  const PointF p1 = Apply(to_device, {double(corners[1].x), double(corners[1].y)});
  const PointF p2 = Apply(to_device, {double(corners[2].x), double(corners[2].y)});
  const double ux = p1.x - p0.x, uy = p1.y - p0.y, vx = p2.x - p0.x, vy = p2.y - p0.y;
  const double det = ux * vy - uy * vx;
  if (!std::isfinite(det) || std::fabs(det) < 1e-9) return;
  const double xs[4] = {p0.x, p1.x, p2.x, p1.x + vx}, ys[4] = {p0.y, p1.y, p2.y, p1.y + vy};
  const Rect clip_box = EffectiveClip().Bounds();
  const auto bound = [](double v, int32_t lo, int32_t hi) {
    return int32_t(std::clamp(v, double(lo), double(hi)));
  };
  const Rect box{bound(std::floor(*std::min_element(xs, xs + 4)), clip_box.left, clip_box.right),
                 bound(std::floor(*std::min_element(ys, ys + 4)), clip_box.top, clip_box.bottom),
                 bound(std::ceil(*std::max_element(xs, xs + 4)), clip_box.left, clip_box.right),
                 bound(std::ceil(*std::max_element(ys, ys + 4)), clip_box.top, clip_box.bottom)};
  if (box.IsEmpty()) return;
  ForEachPixel(EffectiveClip().Intersect(Region::FromRect(box)), [&](int32_t x, int32_t y) {
    const double cx = x + 0.5 - p0.x, cy = y + 0.5 - p0.y;
    const double u = (cx * vy - cy * vx) / det, v = (ux * cy - uy * cx) / det;
    if (u < 0 || u >= 1 || v < 0 || v >= 1) return;
    const int32_t dx = int32_t(std::clamp(std::floor(u * source_rect.right), -2147483647.0, 2147483647.0));
    const int32_t dy = int32_t(std::clamp(std::floor(v * source_rect.bottom), -2147483647.0, 2147483647.0));
    const int64_t sx = int64_t(source_rect.left) + dx, sy = int64_t(source_rect.top) + dy;
    if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height()) return;
    if (mask != nullptr && !MaskBit(*mask, int64_t(mask_origin.x) + dx, int64_t(mask_origin.y) + dy)) return;
    PutImagePixel(*target_, x, y, source.Color(int32_t(sx), int32_t(sy)));
  });
}

void TDeviceContext::GradientFill(const std::vector<TriVertex>& vertices, const std::vector<GradientMesh>& mesh,
                                  uint32_t mode) {
  if (mode > GRADIENT_FILL_TRIANGLE) return;
  const size_t corners = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
  for (const GradientMesh& item : mesh) {
    for (size_t k = 0; k < corners; ++k) {
      if (item.v[k] >= vertices.size()) return;
    }
  }
  const XForm to_device = LogicalToDevice();
  const auto device = [&](uint32_t index) {
    const TriVertex& t = vertices[index];
    const Point p = RoundPoint(Apply(to_device, {double(t.x), double(t.y)}));
    return DeviceVertex{p.x, p.y, t.red, t.green, t.blue, t.alpha};
  };
  const Region clip = EffectiveClip();
  for (const GradientMesh& item : mesh) {
    if (mode == GRADIENT_FILL_TRIANGLE) {
      FillGradientTriangle(*target_, clip, device(item.v[0]), device(item.v[1]), device(item.v[2]));
    } else {
      FillGradientRect(*target_, clip, device(item.v[0]), device(item.v[1]), mode == GRADIENT_FILL_RECT_V);
    }
  }
}

}  // namespace vx::gdi
