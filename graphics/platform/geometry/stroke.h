// Geometry for pens: dash patterns of cosmetic pens and the widening of a
// path by a geometric pen into the device pixels it covers.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/region.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

// On/off run lengths in pixels of a cosmetic pen style; empty for solid.
std::vector<int32_t> CosmeticDashPattern(uint32_t style);

// The pixels a pen of the given device width covers along a polyline of
// device points (closed: back to the first point), with the pen's end caps
// and joins, limited to bounds.
Region WidenPolyline(const std::vector<PointF>& points, bool closed, double width, uint32_t pen_style,
                     const Rect& bounds);

// The same for several open polylines (the dashes of a styled pen), each
// with its own end caps.
Region WidenPolylines(const std::vector<std::vector<PointF>>& lines, double width, uint32_t pen_style,
                      const Rect& bounds);

// Rounds a device coordinate as GDI does (halves up), kept within a range
// that the rasteriser can handle without overflow.
inline constexpr int32_t kDeviceCoordinateLimit = 100000000;
int32_t RoundDevice(double v);
inline Point RoundPoint(PointF p) { return {RoundDevice(p.x), RoundDevice(p.y)}; }

// Spans to a region (one row each).
Region RegionFromSpans(std::vector<Span> spans);

}  // namespace vx::gdi
