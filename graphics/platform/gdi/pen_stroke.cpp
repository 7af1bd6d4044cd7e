#include "graphics/platform/gdi/pen_stroke.h"

#include "graphics/platform/geometry/stroke.h"

#include <algorithm>

namespace vx::gdi {

namespace {
// A longer run is no different from an endless one on any surface.
constexpr uint32_t kLongestRun = 1u << 28;
constexpr int32_t kStyleUnit = 3;
}  // namespace

PenStroke ChoosePenStroke(const LogPen& pen) {
  PenStroke stroke;
  if ((pen.style & PS_STYLE_MASK) == PS_NULL) {
    stroke.stroker = PenStroker::None;
    return stroke;
  }
  const bool geometric = (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC || !pen.extended;
  // Only a width of zero is one pixel whatever the transform: a width of one
  // logical unit may still cover several device pixels.
  stroke.stroker = geometric && pen.width > 0 ? PenStroker::Geometric : PenStroker::OnePixel;
  // A geometric pen narrower than two device pixels falls back to one pixel
  // with the same dashes.
  stroke.dashes = CosmeticDashPattern(pen.style);
  // A user style counts in style units of three pixels, the unit of the
  // stock cosmetic patterns (a dash of 6 units and a gap of 2).
  if ((pen.style & PS_STYLE_MASK) == PS_USERSTYLE)
    for (const uint32_t entry : pen.style_entries)
      stroke.dashes.push_back(int32_t(std::min<uint32_t>(entry, kLongestRun)) * kStyleUnit);
  // An odd count swaps dash and gap on every second round.
  if (stroke.dashes.size() % 2 != 0) stroke.dashes.insert(stroke.dashes.end(), stroke.dashes.begin(), stroke.dashes.end());
  for (const int32_t d : stroke.dashes) stroke.period += d;
  return stroke;
}

}  // namespace vx::gdi
