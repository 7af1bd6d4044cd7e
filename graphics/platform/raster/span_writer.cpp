#include "graphics/platform/raster/span_writer.h"

#include <algorithm>

namespace vx::gdi {

namespace {

// Rows of the six hatches; bit 7 is the leftmost pixel.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

}  // namespace

bool Paint::At(int32_t x, int32_t y, uint8_t& out) const {
  switch (kind) {
    case Kind::Solid:
      out = index;
      return true;
    case Kind::Hatch: {
      const uint8_t row = kHatches[hatch % 6][y & 7];
      if ((row >> (7 - (x & 7))) & 1) {
        out = index;
        return true;
      }
      out = background;
      return opaque;
    }
    case Kind::Pattern: {
      if (pattern_width <= 0 || pattern_height <= 0) return false;
      const int32_t px = ((x % pattern_width) + pattern_width) % pattern_width;
      const int32_t py = ((y % pattern_height) + pattern_height) % pattern_height;
      out = pattern[size_t(py) * size_t(pattern_width) + size_t(px)];
      return true;
    }
  }
  return false;
}

uint8_t ApplyRop2(int rop2, uint8_t pen, uint8_t dest) {
  const int t = (rop2 - 1) & 15;
  uint8_t r = 0;
  if (t & 1) r |= uint8_t(~pen & ~dest);
  if (t & 2) r |= uint8_t(~pen & dest);
  if (t & 4) r |= uint8_t(pen & ~dest);
  if (t & 8) r |= uint8_t(pen & dest);
  return r;
}

void SpanWriter::WriteRun(uint8_t* row, int32_t y, int32_t x0, int32_t x1) {
  if (paint_.kind == Paint::Kind::Solid && rop2_ == 13) {
    std::fill(row + x0, row + x1, paint_.index);
    return;
  }
  for (int32_t x = x0; x < x1; ++x) {
    uint8_t source;
    if (!paint_.At(x, y, source)) continue;
    row[x] = ApplyRop2(rop2_, source, row[x]);
  }
}

void SpanWriter::FillSpan(int32_t y, int32_t x0, int32_t x1) {
  if (y < 0 || y >= surface_.height || x0 >= x1) return;
  const Region::Band* band = clip_.BandAt(y);
  if (band == nullptr) return;
  uint8_t* row = surface_.Row(y);
  const auto& walls = band->walls;
  // The first interval that may overlap [x0, x1).
  auto it = std::upper_bound(walls.begin(), walls.end(), x0);
  size_t i = size_t(it - walls.begin());
  if (i & 1) --i;
  for (; i + 1 < walls.size() && walls[i] < x1; i += 2) {
    const int32_t a = std::max({x0, walls[i], 0});
    const int32_t b = std::min({x1, walls[i + 1], surface_.width});
    if (a < b) WriteRun(row, y, a, b);
  }
}

void SpanWriter::FillSpans(const std::vector<Span>& spans) {
  for (const Span& s : spans) FillSpan(s.y, s.x0, s.x1);
}

void SpanWriter::FillRegion(const Region& region) {
  const Region visible = region.Intersect(clip_);
  for (const Region::Band& band : visible.Bands()) {
    const int32_t top = std::max(band.top, 0);
    const int32_t bottom = std::min(band.bottom, surface_.height);
    for (int32_t y = top; y < bottom; ++y) {
      uint8_t* row = surface_.Row(y);
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t a = std::max(band.walls[i], 0);
        const int32_t b = std::min(band.walls[i + 1], surface_.width);
        if (a < b) WriteRun(row, y, a, b);
      }
    }
  }
}

void SpanWriter::Pixel(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= surface_.width || y >= surface_.height) return;
  if (!clip_.Contains(x, y)) return;
  WriteRun(surface_.Row(y), y, x, x + 1);
}

}  // namespace vx::gdi
