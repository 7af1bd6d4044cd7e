// How the selected pen strokes, decided once when it is selected: not at all
// (PS_NULL), one pixel wide along the line's Bresenham walk with its dash
// pattern (cosmetic pens and pens of width zero), or widened into the polygon
// it covers when its width in device pixels exceeds one (geometric pens; the
// width depends on the transform in force when drawing).
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

enum class PenStroker { None, OnePixel, Geometric };

struct PenStroke {
  PenStroker stroker = PenStroker::OnePixel;
  std::vector<int32_t> dashes;  // on/off runs of a one-pixel stroke; empty for solid
  int64_t period = 0;           // the sum of the runs
};

PenStroke ChoosePenStroke(const LogPen& pen);

}  // namespace vx::gdi
