// Test support: one drawing script that uses every operation of a canvas,
// drawn the same way on any backend.
#pragma once

#include "graphics/canvas.h"

namespace vx::test {

// Fits an 800 x 600 page.
void DrawEveryOperation(TCanvas& canvas);

}  // namespace vx::test
