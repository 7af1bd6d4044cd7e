// What a span is filled with: a solid colour, one of the six hatches, or a
// tiled pattern image, first as colours (what the device context knows) and
// then as pixel values of one target format (what a target writes).
// Patterns and hatches start at the brush origin, in device pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// A paint in colours, as the device context describes its pen or brush.
struct Paint {
  enum class Kind { Solid, Hatch, Pattern };
  Kind kind = Kind::Solid;
  ColorRef color = 0;              // solid colour, or the hatch lines' colour
  ColorRef background = 0xFFFFFF;  // hatch background
  bool opaque = true;              // hatch background drawn
  uint32_t hatch = 0;              // HS_HORIZONTAL..HS_DIAGCROSS
  std::vector<PaletteEntry> pattern;  // Pattern: colours, pattern_width x pattern_height
  int32_t pattern_width = 0;
  int32_t pattern_height = 0;
  Point origin;  // device pixel where the hatch or pattern cell starts

  static Paint Solid(ColorRef color) {
    Paint p;
    p.color = color;
    return p;
  }
};

// The same paint in the pixel values of one target.
struct PixelPaint {
  Paint::Kind kind = Paint::Kind::Solid;
  uint32_t pixel = 0;
  uint32_t background = 0;
  bool opaque = true;
  uint32_t hatch = 0;
  std::vector<uint32_t> pattern;
  int32_t pattern_width = 0;
  int32_t pattern_height = 0;
  Point origin;

  static PixelPaint Solid(uint32_t pixel) {
    PixelPaint p;
    p.pixel = pixel;
    return p;
  }
  bool IsSolid() const { return kind == Paint::Kind::Solid; }
  // The source pixel at x, y, or false where nothing is drawn.
  bool At(int32_t x, int32_t y, uint32_t& out) const;
};

}  // namespace vx::gdi
