#include "graphics/platform/raster/gradient_fill.h"

#include <algorithm>
#include <array>
#include <utility>

#include "graphics/platform/raster/halftone_gradient_levels.h"

namespace vx::gdi {

namespace {

__extension__ typedef __int128 Int128;

// The recursive ordered-dither matrix: each quadrant step places 4m, 4m+2
// on the top row and 4m+3, 4m+1 below.
constexpr std::array<std::array<uint8_t, 16>, 16> BuildBayer() {
  std::array<std::array<uint8_t, 16>, 16> m{};
  for (int size = 1; size < 16; size *= 2) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int v = 4 * m[size_t(y)][size_t(x)];
        m[size_t(y)][size_t(x)] = uint8_t(v);
        m[size_t(y)][size_t(x + size)] = uint8_t(v + 2);
        m[size_t(y + size)][size_t(x)] = uint8_t(v + 3);
        m[size_t(y + size)][size_t(x + size)] = uint8_t(v + 1);
      }
    }
  }
  return m;
}

constexpr auto kBayer = BuildBayer();

int Level(uint32_t channel16, int threshold) { return int((channel16 / 128 + uint32_t(threshold)) / 256); }

uint32_t Lerp(uint16_t c0, uint16_t c1, int64_t pos, int64_t len) {
  return uint32_t((int64_t(c0) * (len - pos) + int64_t(c1) * pos) / len);
}

// Walls of row y of the clip region (empty when the row is outside it).
const std::vector<int32_t>* ClipWalls(const Region& clip, int32_t y) {
  const Region::Band* band = clip.BandAt(y);
  return band == nullptr ? nullptr : &band->walls;
}

Int128 CeilDiv(Int128 num, Int128 den) {  // den > 0
  const Int128 q = num / den;
  return (num % den != 0 && num > 0) ? q + 1 : q;
}

// Ceiling of the x where the edge from a to b (a.y < b.y) crosses row y.
Int128 EdgeCeil(const DeviceVertex& a, const DeviceVertex& b, int32_t y) {
  const Int128 dy = Int128(b.y) - a.y;
  return CeilDiv(Int128(a.x) * dy + (Int128(y) - a.y) * (Int128(b.x) - a.x), dy);
}

int32_t ClampToInt32(Int128 v) {
  return int32_t(std::clamp<Int128>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

uint8_t DitheredGradientIndex(uint32_t r, uint32_t g, uint32_t b, int32_t x, int32_t y) {
  const int threshold = kBayer[size_t(y & 15)][size_t(x & 15)];
  return HalftoneGradientLevelIndex(Level(r, threshold), Level(g, threshold), Level(b, threshold));
}

void FillGradientRect(PixelTarget& target, const Region& clip, DeviceVertex a, DeviceVertex b,
                      bool vertical) {
  if (vertical ? a.y > b.y : a.x > b.x) std::swap(a, b);
  const Rect rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  if (rect.IsEmpty()) return;
  const Region area = clip.Intersect(Region::FromRect(rect));
  const int64_t len = vertical ? int64_t(rect.bottom) - rect.top : int64_t(rect.right) - rect.left;
  const Region visible = area.Intersect(Region::FromRect({0, 0, target.Width(), target.Height()}));
  std::vector<GradientColor> colors;
  for (const Region::Band& band : visible.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        const int32_t x0 = band.walls[i], x1 = band.walls[i + 1];
        colors.resize(size_t(x1 - x0));
        for (int32_t x = x0; x < x1; ++x) {
          const int64_t pos = vertical ? int64_t(y) - rect.top : int64_t(x) - rect.left;
          colors[size_t(x - x0)] = {Lerp(a.r, b.r, pos, len), Lerp(a.g, b.g, pos, len), Lerp(a.b, b.b, pos, len),
                                    Lerp(a.a, b.a, pos, len)};
        }
        target.GradientRun(y, x0, x1, colors.data());
      }
    }
  }
}

void FillGradientTriangle(PixelTarget& target, const Region& clip, const DeviceVertex& a,
                          const DeviceVertex& b, const DeviceVertex& c) {
  const Int128 det = (Int128(b.x) - a.x) * (Int128(c.y) - a.y) - (Int128(c.x) - a.x) * (Int128(b.y) - a.y);
  if (det == 0 || clip.IsEmpty()) return;
  DeviceVertex v[3] = {a, b, c};
  std::stable_sort(v, v + 3, [](const DeviceVertex& p, const DeviceVertex& q) { return p.y < q.y; });
  const Rect bounds = clip.Intersect(Region::FromRect({0, 0, target.Width(), target.Height()})).Bounds();
  const int32_t y0 = std::max(v[0].y, bounds.top);
  const int32_t y1 = std::min(v[2].y, bounds.bottom - 1);
  const auto channel = [&](uint16_t ca, uint16_t cb, uint16_t cc, Int128 l1, Int128 l2) {
    Int128 num = Int128(ca) * (det - l1 - l2) + Int128(cb) * l1 + Int128(cc) * l2;
    Int128 den = det;
    if (den < 0) { num = -num; den = -den; }
    return uint32_t(std::clamp<Int128>(num / den, 0, 65535));
  };
  std::vector<GradientColor> colors;
  for (int32_t y = y0; y <= y1; ++y) {
    const std::vector<int32_t>* walls = ClipWalls(clip, y);
    if (walls == nullptr) continue;
    const bool upper = y < v[1].y || v[1].y == v[2].y;
    const Int128 e1 = EdgeCeil(v[0], v[2], y);
    const Int128 e2 = upper ? EdgeCeil(v[0], v[1], y) : EdgeCeil(v[1], v[2], y);
    const int32_t left = ClampToInt32(std::min(e1, e2)), right = ClampToInt32(std::max(e1, e2));
    for (size_t i = 0; i + 1 < walls->size(); i += 2) {
      const int32_t x0 = std::max({left, (*walls)[i], 0});
      const int32_t x1 = std::min({right, (*walls)[i + 1], target.Width()});
      if (x0 >= x1) continue;
      colors.resize(size_t(x1 - x0));
      for (int32_t x = x0; x < x1; ++x) {
        const Int128 l1 = (Int128(x) - a.x) * (Int128(c.y) - a.y) - (Int128(y) - a.y) * (Int128(c.x) - a.x);
        const Int128 l2 = (Int128(y) - a.y) * (Int128(b.x) - a.x) - (Int128(x) - a.x) * (Int128(b.y) - a.y);
        colors[size_t(x - x0)] = {channel(a.r, b.r, c.r, l1, l2), channel(a.g, b.g, c.g, l1, l2),
                                  channel(a.b, b.b, c.b, l1, l2), channel(a.a, b.a, c.a, l1, l2)};
      }
      target.GradientRun(y, x0, x1, colors.data());
    }
  }
}

}  // namespace vx::gdi
