// One-pixel strokes: a polyline on device pixels walked as the platform's
// Bresenham walks it, its dash pattern running on across the segments.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/draw/device_painter.h"

namespace vx::gdi {

// On/off runs in pixels (starting with "on") and their sum; period 0 is a
// solid line.
struct DashPattern {
  const std::vector<int32_t>& runs;
  int64_t period = 0;
};

// Each segment's pixels, its end excluded, within the pen painter's clip;
// dashes with the pen, gaps with the gap painter (nullptr: gaps left as
// they are).
void StrokeCosmeticPolyline(const std::vector<Point>& points, const DashPattern& dashes, DevicePainter& pen,
                            DevicePainter* gaps);

}  // namespace vx::gdi
