// The outline of one glyph as path figures: what ExtTextOut adds to an open
// path instead of drawing the glyph.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

// Figures one after another, each a move-to followed by line-tos and cubic
// Bézier triples, its last point carrying the close-figure bit (the point
// types of geometry/path.h). Device pixels from the pen position, y down.
struct GlyphOutline {
  std::vector<PointF> points;
  std::vector<uint8_t> types;

  bool IsEmpty() const { return points.empty(); }
};

}  // namespace vx::gdi
