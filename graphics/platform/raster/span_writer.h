// Clipping in front of a pixel target: spans, regions, single pixels and
// coverage masks are cut to a clip region (and the target) and handed on as
// runs, with one binary raster operation and one paint.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/raster/paint.h"
#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/region.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

class SpanWriter {
public:
  SpanWriter(PixelTarget& target, const Region& clip, int rop2, const Paint& paint)
      : target_(target), clip_(clip), clip_rows_(clip_.Bounds()), rop2_(rop2), paint_(target.Realize(paint)) {}

  const Region& Clip() const { return clip_; }

  void FillSpan(int32_t y, int32_t x0, int32_t x1);
  void FillSpans(const std::vector<Span>& spans);
  void FillRegion(const Region& region);
  void Pixel(int32_t x, int32_t y);
  void Pixels(const std::vector<Point>& pixels);
  // The pixels whose coverage is not 0 of a width x height mask (row by
  // row) placed with its top-left pixel at x, y.
  void FillMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* coverage);
  // A mask of coverage levels (0..16) blended in the given colour (the
  // writer's raster operation and paint are not used).
  void BlendMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* levels, PaletteEntry color);

private:
  PixelTarget& target_;
  Region clip_;
  Rect clip_rows_;  // the clip's bounds
  int rop2_;
  PixelPaint paint_;
};

}  // namespace vx::gdi
