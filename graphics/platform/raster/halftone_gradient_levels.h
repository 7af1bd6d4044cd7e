// Halftone indices of the 27 colours dithered gradients are drawn with
// (levels 0, 127 and 254 per channel), worked out at build time.
#pragma once

#include <cstdint>

namespace vx::gdi {

// level_r, level_g, level_b in 0..2.
uint8_t HalftoneGradientLevelIndex(int level_r, int level_g, int level_b);

}  // namespace vx::gdi
