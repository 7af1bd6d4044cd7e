#include "graphics/platform/draw/device_painter.h"

#include <algorithm>

#include "graphics/platform/geometry/stroke.h"
#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

std::vector<Span> RegionSpans(const Region& region) {
  std::vector<Span> spans;
  for (const Region::Band& band : region.Bands())
    for (int32_t y = band.top; y < band.bottom; ++y)
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) spans.push_back({y, band.walls[i], band.walls[i + 1]});
  return spans;
}

}  // namespace

void DevicePainter::FillPolygons(const std::vector<std::vector<Point>>& polygons, int fill_mode) {
  writer_.FillSpans(ScanPolygons(polygons, fill_mode, {0, 0, target_.Width(), target_.Height()}));
}

void DevicePainter::FillRect(const Rect& rect) {
  // Only the rows of the target are visited, however tall the rectangle.
  for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, target_.Height()); ++y)
    writer_.FillSpan(y, rect.left, rect.right);
}

void DevicePainter::FillSpanUnion(const std::vector<Span>& spans) {
  writer_.FillSpans(RegionSpans(RegionFromSpans(spans)));
}

}  // namespace vx::gdi
