// Axis-aligned ellipses and elliptic arcs on device pixels, with the pixel
// rules of the platform's ellipse walk. Boxes have exclusive right and bottom
// edges.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/draw/device_painter.h"

namespace vx::gdi {

// The ellipse with its outline, as one fill.
void FillEllipse(DevicePainter& painter, const Rect& box);

// The interior with the brush and the outline with the pen, either one
// absent (nullptr). A pen wider than one pixel covers a ring pen_width wide
// centred on the outline.
void DrawEllipse(const Rect& box, DevicePainter* brush, DevicePainter* pen, double pen_width);

// The outline pixels of the ellipse in the box from the angle of start to
// the angle of end as seen from the centre (counter-clockwise on screen, or
// clockwise), in order along the arc. None for a box that is empty or beyond
// the ellipse walk's limit.
std::optional<std::vector<Point>> EllipseArcPixels(const Rect& box, PointF start, PointF end,
                                                   bool counter_clockwise);

}  // namespace vx::gdi
