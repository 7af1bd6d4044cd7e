// Styled pens wider than one pixel: their dash patterns in device pixels and
// the cutting of a device polyline into the dashes the pattern leaves on.
// Each dash is then widened on its own, with the pen's end caps.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

// On/off lengths in device pixels of a geometric pen of the given device
// width: the stock styles scale with the width (dash 3, dot and gap 1, the
// caps counted in: with round or square caps the line part of a dash is one
// width shorter and the gap one width longer, so a dot is a lone cap); user
// styles give their entries in device pixels, caps added to each dash. Empty
// when the pen draws solid, also when the pattern is too short to draw dashes
// at all, and for pens not made by ExtCreatePen (a plain pen wider than a
// pixel is solid).
std::vector<double> GeometricDashPattern(const LogPen& pen, double width);

// The dashes of a polyline (closed: back to its first point), the pattern
// starting at the first point and running on across the vertices. Dashes are
// produced only where the line comes within reach; elsewhere the pattern is
// merely advanced, so the work follows the visible part.
std::vector<std::vector<PointF>> CutIntoDashes(const std::vector<PointF>& points, bool closed,
                                               const std::vector<double>& pattern, const Rect& reach);

}  // namespace vx::gdi
