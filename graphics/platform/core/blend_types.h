// Parameters of the blending and gradient operations, as the metafile
// records carry them.
#pragma once

#include <cstdint>

namespace vx::gdi {

enum : uint8_t { AC_SRC_OVER = 0, AC_SRC_ALPHA = 1 };
enum : uint32_t { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2 };

struct BlendFunction {
  uint8_t op = AC_SRC_OVER;
  uint8_t flags = 0;
  uint8_t source_constant_alpha = 255;
  uint8_t alpha_format = 0;  // AC_SRC_ALPHA: 32-bit source with premultiplied alpha
};

// A gradient vertex: logical position, 16-bit colour channels.
struct TriVertex {
  int32_t x = 0;
  int32_t y = 0;
  uint16_t red = 0;
  uint16_t green = 0;
  uint16_t blue = 0;
  uint16_t alpha = 0;
};

// Vertex indices of one rectangle (the first two) or triangle.
struct GradientMesh {
  uint32_t v[3] = {0, 0, 0};
};

}  // namespace vx::gdi
