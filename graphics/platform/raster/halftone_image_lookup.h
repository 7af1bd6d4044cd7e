// NearestHalftoneIndexForImagePixel through a table built at build time:
// image pixels reduce to 5 bits per channel, so 32768 entries answer every
// colour.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

uint8_t ImagePixelHalftoneIndex(uint8_t r, uint8_t g, uint8_t b);
// The same for count colours.
void ImagePixelHalftoneIndices(const PaletteEntry* colors, size_t count, uint32_t* out);

}  // namespace vx::gdi
