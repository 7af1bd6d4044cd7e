// The region of device pixels polygons cover under a fill mode (what a clip
// path selects), by the same pixel rules as a polygon fill.
#pragma once

#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/region.h"

namespace vx::gdi {

// fill_mode ALTERNATE or WINDING; only pixels within bounds.
Region PolygonRegion(const std::vector<std::vector<Point>>& polygons, int fill_mode, const Rect& bounds);

}  // namespace vx::gdi
