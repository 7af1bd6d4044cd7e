#include "graphics/platform/raster/halftone_gradient_levels.h"

#include <cstddef>

namespace vx::gdi {

namespace {

// Red slowest, blue fastest; written by tools/make_halftone_tables.cpp.
constexpr uint8_t kLevelIndices[27] = {
#include "halftone_gradient_levels_data.inc"
};

}  // namespace

uint8_t HalftoneGradientLevelIndex(int level_r, int level_g, int level_b) {
  return kLevelIndices[size_t(level_r * 9 + level_g * 3 + level_b)];
}

}  // namespace vx::gdi
