// A view of an 8-bit device-independent bitmap's pixels as the raster engine
// draws into them. Rows are stored bottom-up as in a BMP; Row(y) addresses them
// from the top.
#pragma once

#include <cstdint>

namespace vx::gdi {

struct PixelSurface8 {
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;      // bytes per stored row, a multiple of 4
  uint8_t* bits = nullptr; // first stored row (the bottom one)

  uint8_t* Row(int32_t y) const { return bits + static_cast<int64_t>(height - 1 - y) * stride; }
  bool IsEmpty() const { return width <= 0 || height <= 0 || bits == nullptr; }
};

inline int32_t DibStride(int32_t width, int32_t bitsPerPixel) {
  return static_cast<int32_t>(((static_cast<int64_t>(width) * bitsPerPixel + 31) & ~int64_t(31)) / 8);
}

}  // namespace vx::gdi
