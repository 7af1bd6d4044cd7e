// Block transfers: pattern fills, stretched copies of images with raster
// operations on the target's pixel values.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/gdi/stretched_source.h"
#include "graphics/platform/raster/rop.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

// The top row, counted from the image's top, of rows counted from its bottom
// line (kept in range for absurd record values).
int32_t TopDownRow(const DibImage& image, int32_t bottom_up_top, int32_t height) {
  const int64_t top = int64_t(image.Height()) - (int64_t(bottom_up_top) + height);
  return int32_t(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
}

}  // namespace

void TDeviceContext::MarkReached(const StretchMapping& m, const DibImage& source, const Region& clip) {
  // The stretches of columns whose source lies within the image's sides, as
  // the copy leaves the others (StretchedSource::Skip).
  const Rect area = clip.Bounds();
  std::vector<std::pair<int32_t, int32_t>> inside;
  for (int32_t x = area.left; x < area.right; ++x) {
    const int32_t sx = m.SourceX(x);
    if (sx < 0 || sx >= source.Width()) continue;
    if (!inside.empty() && inside.back().second == x) {
      inside.back().second = x + 1;
    } else {
      inside.push_back({x, x + 1});
    }
  }
  const PixelPaint any = PixelPaint::Solid(0);
  for (const Region::Band& band : clip.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const int32_t sy = m.SourceY(y);
      if (sy < 0 || sy >= source.Height()) continue;
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        for (const auto& [left, right] : inside) {
          const int32_t x0 = std::max(left, band.walls[i]), x1 = std::min(right, band.walls[i + 1]);
          if (x0 < x1) target_->FillRun(y, x0, x1, R2_COPYPEN, any);
        }
      }
    }
  }
}

void TDeviceContext::BlitPixels(const StretchMapping& m, const DibImage* source, uint32_t rop) {
  if (m.Dest().IsEmpty()) return;
  const uint8_t code = uint8_t(rop >> 16);
  const bool uses_source = Rop3UsesSource(code);
  if (uses_source && source == nullptr) return;
  bool pattern_draws = true;
  const Paint brush = BrushPaint(state_.brush, pattern_draws);
  // A brush that draws nothing gives the pattern 0.
  const PixelPaint pattern = pattern_draws ? target_->Realize(brush) : PixelPaint::Solid(0);
  const bool interpolate = uses_source && state_.stretch_mode == HALFTONE;
  const Region clip = EffectiveClip().Intersect(Region::FromRect(m.Dest()));
  if (clip.IsEmpty()) return;
  if (!uses_source) {
    for (const Region::Band& band : clip.Bands()) {
      for (int32_t y = band.top; y < band.bottom; ++y) {
        for (size_t i = 0; i + 1 < band.walls.size(); i += 2)
          target_->BlitRun(y, band.walls[i], band.walls[i + 1], code, nullptr, nullptr, pattern);
      }
    }
    return;
  }
  // Every pixel the image reaches takes a value whatever the destination held:
  // a target that shows only where drawing changed needs no image colour.
  if (target_->ShowsOnlyChange() && !Rop3UsesDestination(code)) {
    MarkReached(m, *source, clip);
    return;
  }
  // Shrinking in the BLACKONWHITE (WHITEONBLACK) mode ANDs (ORs) the pixels a
  // device pixel's share drops into the one it keeps.
  const bool shrinks = m.ScaleX() > 1 || m.ScaleY() > 1;
  const auto shrink = !shrinks                                  ? StretchedSource::Shrink::kKeepLast
                      : state_.stretch_mode == BLACKONWHITE     ? StretchedSource::Shrink::kAnd
                      : state_.stretch_mode == WHITEONBLACK     ? StretchedSource::Shrink::kOr
                                                                : StretchedSource::Shrink::kKeepLast;
  StretchedSource pixels(m, *source, *target_, clip.Bounds(), interpolate, shrink);
  for (const Region::Band& band : clip.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const int32_t sy = m.SourceY(y);
      // A row whose source lies above or below the image is left as it is.
      if (sy < 0 || sy >= source->Height()) continue;
      pixels.StartRow(sy, interpolate ? m.SourceYFixed(y) : 0, m.FirstSourceY(y));
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t x0 = band.walls[i], x1 = band.walls[i + 1];
        target_->BlitPixelRun(y, x0, x1, code, pixels.Pixels(x0, x1), pixels.Skip(x0), pattern);
      }
    }
  }
}

void TDeviceContext::PatBlt(const Rect& r, uint32_t rop) {
  BlitPixels(MapStretch(LogicalToDevice(), r, {}), nullptr, rop);
}

void TDeviceContext::StretchBlt(const Rect& d, const DibImage* source, const Rect& s, uint32_t rop) {
  BlitPixels(MapStretch(LogicalToDevice(), d, s), source, rop);
}

void TDeviceContext::StretchDIBits(const Rect& dest, const DibImage& source, const Rect& s, uint32_t rop) {
  // The source rectangle counts rows from the image's bottom line.
  const Rect top_down{s.left, TopDownRow(source, s.top, s.bottom), s.right, s.bottom};
  StretchBlt(dest, &source, top_down, rop);
}

void TDeviceContext::SetDIBitsToDevice(Point dest, const DibImage& source, const Rect& s) {
  const Point d = LPtoDP(dest);
  const auto end = [](int32_t start, int32_t size) {
    return int32_t(std::clamp<int64_t>(int64_t(start) + size, INT32_MIN, INT32_MAX));
  };
  const Rect device{d.x, d.y, end(d.x, s.right), end(d.y, s.bottom)};
  if (device.IsEmpty()) return;
  BlitPixels(StretchMapping::Copy(device, {s.left, TopDownRow(source, s.top, s.bottom)}), &source, SRCCOPY);
}

}  // namespace vx::gdi
