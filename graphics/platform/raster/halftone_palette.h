// The halftone palette of the screen and the nearest-colour rule.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// 256 entries.
const PaletteEntry* HalftonePalette();

// Nearest entry by squared RGB distance, ties to the lowest index. Used for pens,
// brushes, text and background colours.
uint8_t NearestHalftoneIndex(ColorRef color);
uint8_t NearestHalftoneIndex(uint8_t r, uint8_t g, uint8_t b);

// Image pixels are first reduced to 5 bits per channel ((c & ~7) + 4).
uint8_t NearestHalftoneIndexForImagePixel(uint8_t r, uint8_t g, uint8_t b);

}  // namespace vx::gdi
