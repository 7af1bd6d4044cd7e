// Block transfers: pattern fills, stretched copies of images with raster
// operations on the target's pixel values.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/gdi/device_context.h"
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

// HALFTONE stretching interpolates between the four source pixels around the
// device pixel's source position (columns first, then rows, in 16-bit
// fixed point), clamped to the image's edges. On true-colour surfaces each
// step rounds to nearest, which the reference's 24-bit pictures show exactly;
// the halftone-palette page truncates, which its 8-bit pictures match better.
PaletteEntry InterpolatedColor(const DibImage& image, int64_t fx, int64_t fy, bool rounded) {
  const auto clamp_x = [&](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, image.Width() - 1)); };
  const auto clamp_y = [&](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, image.Height() - 1)); };
  const int64_t ix = fx >> 16, iy = fy >> 16;
  const uint32_t tx = uint32_t(fx & 0xFFFF), ty = uint32_t(fy & 0xFFFF);
  const PaletteEntry c00 = image.Color(clamp_x(ix), clamp_y(iy)), c10 = image.Color(clamp_x(ix + 1), clamp_y(iy));
  const PaletteEntry c01 = image.Color(clamp_x(ix), clamp_y(iy + 1)), c11 = image.Color(clamp_x(ix + 1), clamp_y(iy + 1));
  const uint32_t half = rounded ? 32768 : 0;
  const auto lerp = [half](uint32_t a, uint32_t b, uint32_t t) { return (a * (65536 - t) + b * t + half) >> 16; };
  const auto channel = [&](uint8_t PaletteEntry::*c) {
    return uint8_t(lerp(lerp(c00.*c, c01.*c, ty), lerp(c10.*c, c11.*c, ty), tx));
  };
  return {channel(&PaletteEntry::r), channel(&PaletteEntry::g), channel(&PaletteEntry::b)};
}

}  // namespace

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
  const bool rounded = target_->BitsPerPixel() >= 16;
  const Region clip = EffectiveClip().Intersect(Region::FromRect(m.Dest()));
  if (clip.IsEmpty()) return;
  // Each column's source position is the same on every row: work it out once
  // per column of the clipped area instead of once per pixel.
  const Rect area = clip.Bounds();
  std::vector<int32_t> source_x;
  std::vector<int64_t> source_x_fixed;
  if (uses_source) {
    source_x.resize(size_t(area.Width()));
    for (int32_t x = area.left; x < area.right; ++x) source_x[size_t(x - area.left)] = m.SourceX(x);
    if (interpolate) {
      source_x_fixed.resize(size_t(area.Width()));
      for (int32_t x = area.left; x < area.right; ++x) source_x_fixed[size_t(x - area.left)] = m.SourceXFixed(x);
    }
  }
  // Enlarged images repeat a source row on several device rows: a column's
  // colour is fetched once per source row (and, when interpolating, per
  // source position between rows) and kept while the rows map alike.
  std::vector<PaletteEntry> colors;
  std::vector<uint8_t> skip;
  std::vector<uint32_t> fetched;  // the row generation each column was fetched in
  if (uses_source) {
    colors.resize(size_t(area.Width()));
    skip.resize(size_t(area.Width()));
    fetched.assign(size_t(area.Width()), 0);
  }
  uint32_t generation = 0;
  int32_t row_sy = 0;
  int64_t row_fy = 0;
  for (const Region::Band& band : clip.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const int32_t sy = m.SourceY(y);
      const int64_t fy = interpolate ? m.SourceYFixed(y) : 0;
      if (uses_source && (generation == 0 || sy != row_sy || fy != row_fy)) {
        if (++generation == 0) {  // wrapped: forget every column
          std::fill(fetched.begin(), fetched.end(), 0u);
          generation = 1;
        }
        row_sy = sy;
        row_fy = fy;
      }
      const bool row_inside = uses_source && sy >= 0 && sy < source->Height();
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t x0 = band.walls[i], x1 = band.walls[i + 1];
        if (!uses_source) {
          target_->BlitRun(y, x0, x1, code, nullptr, nullptr, pattern);
          continue;
        }
        for (int32_t x = x0; x < x1; ++x) {
          const size_t column = size_t(x - area.left);
          if (fetched[column] == generation) continue;
          fetched[column] = generation;
          const int32_t sx = source_x[column];
          skip[column] = !row_inside || sx < 0 || sx >= source->Width();
          if (skip[column]) continue;
          colors[column] = interpolate ? InterpolatedColor(*source, source_x_fixed[column], fy, rounded) : source->Color(sx, sy);
        }
        const size_t first = size_t(x0 - area.left);
        target_->BlitRun(y, x0, x1, code, colors.data() + first, skip.data() + first, pattern);
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
