// Test support: a 300 x 200 pixel EMF page of drawing whose pixels depend on
// where they lie on the page: a hatched and a pattern brush from an odd
// brush origin, dashed and wide lines, horizontal, vertical and triangle
// gradients (dithered by position at 8 bits) and a stretched true-colour image.
#pragma once

#include <cstdint>
#include <vector>

namespace vx::test {

std::vector<uint8_t> BusyPageEmf();

}  // namespace vx::test
