// NearestHalftoneIndexForImagePixel through a table built at build time:
// image pixels reduce to 5 bits per channel, so 32768 entries answer every
// colour.
#pragma once

#include <cstdint>

namespace vx::gdi {

uint8_t ImagePixelHalftoneIndex(uint8_t r, uint8_t g, uint8_t b);

}  // namespace vx::gdi
