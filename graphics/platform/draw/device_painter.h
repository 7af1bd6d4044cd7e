// The drawing layer between the device context and the pixel targets: device
// geometry (polygons, rectangles, regions, pixels, glyph masks) painted into a
// target with one clip region, one binary raster operation and one paint in
// colours. The layer owns scan conversion and clipping, so the device context
// above it deals only in device-space geometry and colour references.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/paint.h"
#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/region.h"
#include "graphics/platform/raster/span_writer.h"

namespace vx::gdi {

class DevicePainter {
public:
  // The paint is realised into the target's pixel values once, here.
  DevicePainter(PixelTarget& target, const Region& clip, int rop2, const Paint& paint)
      : target_(target), writer_(target, clip, rop2, paint) {}

  int32_t TargetWidth() const { return target_.Width(); }
  int32_t TargetHeight() const { return target_.Height(); }
  // The bounding box of the clip region.
  Rect ClipBounds() const { return writer_.Clip().Bounds(); }

  // Polygons on device pixels filled with ALTERNATE or WINDING.
  void FillPolygons(const std::vector<std::vector<Point>>& polygons, int fill_mode);
  // The pixels of the rectangle (right and bottom exclusive).
  void FillRect(const Rect& rect);
  void FillRegion(const Region& region) { writer_.FillRegion(region); }
  void FillPixel(Point p) { writer_.Pixel(p.x, p.y); }
  void FillPixels(const std::vector<Point>& pixels) { writer_.Pixels(pixels); }
  void FillSpans(const std::vector<Span>& spans) { writer_.FillSpans(spans); }
  // Spans that may overlap, each pixel painted once (what matters for the
  // raster operations that read the destination).
  void FillSpanUnion(const std::vector<Span>& spans);
  // The pixels whose coverage is not 0 of a width x height mask (row by row)
  // placed with its top-left pixel at x, y.
  void FillMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* coverage) {
    writer_.FillMask(x, y, width, height, coverage);
  }
  // A mask of coverage levels (0..16) blended in the given colour; the
  // painter's raster operation and paint are not used.
  void BlendMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* levels, PaletteEntry color) {
    writer_.BlendMask(x, y, width, height, levels, color);
  }

private:
  PixelTarget& target_;
  SpanWriter writer_;
};

}  // namespace vx::gdi
