// A round rectangle on device pixels: the corner ellipse's quarters placed at
// the four corners of the box and joined by straight edges, as the platform
// sets its pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/draw/device_painter.h"

namespace vx::gdi {

struct RoundRectPixels {
  std::vector<Point> outline;  // the corners' outline in order (what a wide pen follows)
  std::vector<Point> pixels;   // the one-pixel outline, edges included, sorted by row
  std::vector<Span> interior;  // strictly inside the outline
};

// For a box (exclusive right and bottom) and a corner ellipse of corner.cx x
// corner.cy pixels (both above 1); edges are walked only near the surface
// of the given size.
RoundRectPixels ScanRoundRect(const Rect& box, Size corner, Size surface);

// The interior only (beneath a pen's outline).
void FillRoundRectInterior(DevicePainter& painter, const RoundRectPixels& shape);
// Outline and interior as one fill.
void FillRoundRect(DevicePainter& painter, const RoundRectPixels& shape);

}  // namespace vx::gdi
