#include "graphics/platform/gdi/pen_stroke.h"

#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

PenStroke ChoosePenStroke(const LogPen& pen) {
  PenStroke stroke;
  if ((pen.style & PS_STYLE_MASK) == PS_NULL) {
    stroke.stroker = PenStroker::None;
    return stroke;
  }
  const bool geometric = (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC || !pen.extended;
  stroke.stroker = geometric && pen.width > 1 ? PenStroker::Geometric : PenStroker::OnePixel;
  // A geometric pen narrower than two device pixels falls back to one pixel
  // with the same dashes.
  stroke.dashes = CosmeticDashPattern(pen.style);
  for (const int32_t d : stroke.dashes) stroke.period += d;
  return stroke;
}

}  // namespace vx::gdi
