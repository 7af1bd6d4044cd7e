// Gradient rectangles and triangles in device pixels: each channel is
// interpolated in 16 bits and handed to the target, which turns the colour
// into its pixel (the halftone page dithers it with a 16x16 ordered matrix to
// three levels, 0, 127 and 254, and takes the nearest halftone entry).
#pragma once

#include <cstdint>

#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/region.h"

namespace vx::gdi {

struct DeviceVertex {
  int32_t x = 0;
  int32_t y = 0;
  uint16_t r = 0;
  uint16_t g = 0;
  uint16_t b = 0;
  uint16_t a = 0;
};

// The rectangle between the two vertices' positions; colours change from the
// left to the right edge (or the top to the bottom one when vertical).
void FillGradientRect(PixelTarget& target, const Region& clip, DeviceVertex a, DeviceVertex b,
                      bool vertical);

// Rows from the top to the bottom vertex, each from the ceiling of its left
// edge to (excluding) the ceiling of its right edge.
void FillGradientTriangle(PixelTarget& target, const Region& clip, const DeviceVertex& a,
                          const DeviceVertex& b, const DeviceVertex& c);

// The dithered halftone index of a 16-bit colour at device pixel x, y.
uint8_t DitheredGradientIndex(uint32_t r, uint32_t g, uint32_t b, int32_t x, int32_t y);

}  // namespace vx::gdi
