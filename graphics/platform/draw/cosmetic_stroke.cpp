#include "graphics/platform/draw/cosmetic_stroke.h"

#include <cstddef>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {

namespace {

bool IsDashOn(int64_t position, const DashPattern& dashes) {
  int64_t phase = position % dashes.period;
  bool on = true;
  for (int32_t d : dashes.runs) {
    if (phase < d) break;
    phase -= d;
    on = !on;
  }
  return on;
}

}  // namespace

void StrokeCosmeticPolyline(const std::vector<Point>& points, const DashPattern& dashes, DevicePainter& pen,
                            DevicePainter* gaps) {
  const Rect bounds = pen.ClipBounds();
  int64_t position = 0;  // the dash pattern runs on across the segments
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    for (const LinePixel& px : ScanLine(points[i], points[i + 1], bounds)) {
      if (dashes.period == 0 || IsDashOn(position + px.step, dashes)) pen.FillPixel({px.x, px.y});
      else if (gaps != nullptr) gaps->FillPixel({px.x, px.y});
    }
    position += LineLength(points[i], points[i + 1]);
  }
}

}  // namespace vx::gdi
