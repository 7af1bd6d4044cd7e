// The nearest-colour rule of every palette: the entry at the least squared
// RGB distance, ties to the lowest index. Image pixels are first reduced to
// 5 bits per channel ((c & ~7) + 4), so 32768 answers cover every colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

uint8_t NearestColorIndex(const PaletteEntry* table, size_t count, uint8_t r, uint8_t g, uint8_t b);
inline uint8_t NearestColorIndex(const std::vector<PaletteEntry>& table, uint8_t r, uint8_t g, uint8_t b) {
  return NearestColorIndex(table.data(), table.size(), r, g, b);
}

// An image pixel's channel at the precision palettes match it with.
constexpr uint8_t ReducedImageChannel(uint8_t c) { return uint8_t((c & ~7) + 4); }
// The index of a reduced colour in a 32768-entry table.
constexpr size_t ReducedColorKey(uint8_t r, uint8_t g, uint8_t b) {
  return size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}

// Image pixels matched against one colour table, remembered as they are asked.
class ImageColorCache {
public:
  uint8_t Lookup(const std::vector<PaletteEntry>& table, PaletteEntry c) const;

private:
  mutable std::vector<int16_t> answers_;  // -1: not asked yet
};

}  // namespace vx::gdi
