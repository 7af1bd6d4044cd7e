#include "graphics/platform/draw/polygon_region.h"

#include "graphics/platform/geometry/stroke.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

Region PolygonRegion(const std::vector<std::vector<Point>>& polygons, int fill_mode, const Rect& bounds) {
  return RegionFromSpans(ScanPolygons(polygons, fill_mode, bounds));
}

}  // namespace vx::gdi
