// Views of a device-independent bitmap's rows as the raster engine draws into
// them. PixelSurface8 is the 8-bit bottom-up page of the halftone path;
// PixelRows describes rows of any depth and order, possibly only a band of a
// taller page. Row(y) addresses rows from the top in both.
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

struct PixelRows {
  int32_t width = 0;
  int32_t height = 0;       // rows, always positive
  int64_t stride = 0;       // bytes per stored row
  bool top_down = false;    // the first stored row is the top one
  uint8_t* bits = nullptr;  // first stored row
  int32_t top = 0;          // page row of the first row from the top: rows [top, top + height) are held

  // y is a page row within the rows held.
  uint8_t* Row(int32_t y) const {
    const int64_t held = int64_t(y) - top;
    return bits + (top_down ? held : int64_t(height) - 1 - held) * stride;
  }
  bool IsEmpty() const { return width <= 0 || height <= 0 || bits == nullptr; }
};

// Bytes per row of a DIB: whole 32-bit words.
inline int64_t DibRowStride(int64_t width, int32_t bits_per_pixel) {
  return ((width * bits_per_pixel + 31) & ~int64_t(31)) / 8;
}
inline int32_t DibStride(int32_t width, int32_t bits_per_pixel) {
  return static_cast<int32_t>(DibRowStride(width, bits_per_pixel));
}

}  // namespace vx::gdi
