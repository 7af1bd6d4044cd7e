#include "graphics/platform/raster/halftone_image_lookup.h"

#include <array>
#include <cstddef>

#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {

namespace {

std::array<uint8_t, 32768> BuildTable() {
  std::array<uint8_t, 32768> table{};
  for (int i = 0; i < 32768; ++i) {
    const auto channel = [i](int shift) { return uint8_t(((i >> shift) & 31) << 3); };
    table[size_t(i)] = NearestHalftoneIndexForImagePixel(channel(10), channel(5), channel(0));
  }
  return table;
}

}  // namespace

uint8_t ImagePixelHalftoneIndex(uint8_t r, uint8_t g, uint8_t b) {
  static const std::array<uint8_t, 32768> table = BuildTable();
  return table[ReducedColorKey(r, g, b)];
}

}  // namespace vx::gdi
