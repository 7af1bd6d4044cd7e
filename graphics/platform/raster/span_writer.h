// Writes spans and pixels into an 8-bit surface: clipped by a region, with a
// binary raster operation on palette indices and a paint (solid index, 8x8
// hatch or a pattern image), patterns aligned to the device origin.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/region.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

struct Paint {
  enum class Kind { Solid, Hatch, Pattern };
  Kind kind = Kind::Solid;
  uint8_t index = 0;              // solid colour, or the hatch lines' colour
  uint8_t background = 255;       // hatch background
  bool opaque = true;             // hatch background drawn
  uint32_t hatch = 0;
  std::vector<uint8_t> pattern;   // Pattern: indices, pattern_width x pattern_height
  int32_t pattern_width = 0;
  int32_t pattern_height = 0;

  static Paint Solid(uint8_t index) { Paint p; p.index = index; return p; }
  // The source colour of pixel x, y, or false where nothing is drawn.
  bool At(int32_t x, int32_t y, uint8_t& out) const;
};

// d = rop2(p, d) applied bitwise to indices.
uint8_t ApplyRop2(int rop2, uint8_t pen, uint8_t dest);

class SpanWriter {
public:
  SpanWriter(const PixelSurface8& surface, const Region& clip, int rop2, const Paint& paint)
      : surface_(surface), clip_(clip), rop2_(rop2), paint_(paint) {}

  void FillSpan(int32_t y, int32_t x0, int32_t x1);
  void FillSpans(const std::vector<Span>& spans);
  void FillRegion(const Region& region);
  void Pixel(int32_t x, int32_t y);

private:
  void WriteRun(uint8_t* row, int32_t y, int32_t x0, int32_t x1);

  const PixelSurface8& surface_;
  Region clip_;
  int rop2_;
  Paint paint_;
};

}  // namespace vx::gdi
