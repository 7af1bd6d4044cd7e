// Test support: decodes PNG bytes with libpng, keeping what was stored (the
// palette indices or RGB samples, the palette, pHYs) without transforms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx::test {

struct DecodedPng {
  uint32_t width = 0;
  uint32_t height = 0;
  int bit_depth = 0;
  int color_type = -1;
  std::vector<uint8_t> palette;  // r, g, b per entry
  std::vector<std::vector<uint8_t>> rows;  // top-down, as stored
  bool has_phys = false;
  uint32_t x_ppu = 0;
  uint32_t y_ppu = 0;
  int phys_unit = -1;

  // The sample of pixel x, y: a palette index (1, 4 or 8 bits) or, for RGB,
  // the packed 0xRRGGBB.
  uint32_t At(uint32_t x, uint32_t y) const;
};

// Empty when libpng refuses the data.
std::optional<DecodedPng> DecodePng(const std::vector<uint8_t>& bytes);

}  // namespace vx::test
