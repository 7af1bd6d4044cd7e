#include "graphics/platform/raster/span_writer.h"

#include <algorithm>

namespace vx::gdi {

void SpanWriter::FillSpan(int32_t y, int32_t x0, int32_t x1) {
  if (y < 0 || y >= target_.Height() || x0 >= x1) return;
  const Region::Band* band = clip_.BandAt(y);
  if (band == nullptr) return;
  const auto& walls = band->walls;
  // The first interval that may overlap [x0, x1).
  auto it = std::upper_bound(walls.begin(), walls.end(), x0);
  size_t i = size_t(it - walls.begin());
  if (i & 1) --i;
  const int32_t width = target_.Width();
  for (; i + 1 < walls.size() && walls[i] < x1; i += 2) {
    const int32_t a = std::max({x0, walls[i], 0});
    const int32_t b = std::min({x1, walls[i + 1], width});
    if (a < b) target_.FillRun(y, a, b, rop2_, paint_);
  }
}

void SpanWriter::FillSpans(const std::vector<Span>& spans) {
  for (const Span& s : spans) FillSpan(s.y, s.x0, s.x1);
}

void SpanWriter::FillRegion(const Region& region) {
  const Region visible = region.Intersect(clip_);
  const int32_t width = target_.Width(), height = target_.Height();
  for (const Region::Band& band : visible.Bands()) {
    const int32_t top = std::max(band.top, 0);
    const int32_t bottom = std::min(band.bottom, height);
    for (int32_t y = top; y < bottom; ++y) {
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t a = std::max(band.walls[i], 0);
        const int32_t b = std::min(band.walls[i + 1], width);
        if (a < b) target_.FillRun(y, a, b, rop2_, paint_);
      }
    }
  }
}

void SpanWriter::Pixel(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return;
  if (!clip_.Contains(x, y)) return;
  target_.FillRun(y, x, x + 1, rop2_, paint_);
}

void SpanWriter::Pixels(const std::vector<Point>& pixels) {
  for (const Point& p : pixels) Pixel(p.x, p.y);
}

void SpanWriter::FillMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* coverage) {
  // Rows outside the clip's bounds draw nothing; a band of a page skips most.
  const int32_t first = int32_t(std::clamp<int64_t>(int64_t(clip_rows_.top) - y, 0, std::max(height, 0)));
  const int32_t last = int32_t(std::clamp<int64_t>(int64_t(clip_rows_.bottom) - y, first, std::max(height, first)));
  for (int32_t row = first; row < last; ++row) {
    const uint8_t* line = coverage + int64_t(row) * width;
    for (int32_t col = 0; col < width;) {
      if (line[col] == 0) {
        ++col;
        continue;
      }
      const int32_t start = col;
      while (col < width && line[col] != 0) ++col;
      FillSpan(y + row, x + start, x + col);
    }
  }
}

void SpanWriter::BlendMask(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* levels,
                           PaletteEntry color) {
  const int32_t target_width = target_.Width();
  for (int32_t row = 0; row < height; ++row) {
    const int32_t ty = y + row;
    if (ty < 0 || ty >= target_.Height()) continue;
    const Region::Band* band = clip_.BandAt(ty);
    if (band == nullptr) continue;
    const uint8_t* line = levels + int64_t(row) * width;
    const auto& walls = band->walls;
    for (size_t i = 0; i + 1 < walls.size(); i += 2) {
      const int32_t a = std::max({x, walls[i], 0});
      const int32_t b = std::min({x + width, walls[i + 1], target_width});
      if (a < b) target_.CoverageRun(ty, a, b, line + (a - x), color);
    }
  }
}

}  // namespace vx::gdi
