#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {

uint8_t NearestColorIndex(const PaletteEntry* table, size_t count, uint8_t r, uint8_t g, uint8_t b) {
  int best = 0;
  int best_distance = 1 << 30;
  for (size_t i = 0; i < count && i < 256; ++i) {
    const int dr = int(table[i].r) - r, dg = int(table[i].g) - g, db = int(table[i].b) - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best_distance) {  // strict: ties keep the lowest index
      best_distance = d;
      best = int(i);
      if (d == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

uint8_t ImageColorCache::Lookup(const std::vector<PaletteEntry>& table, PaletteEntry c) const {
  if (answers_.empty()) answers_.assign(32768, -1);
  int16_t& answer = answers_[ReducedColorKey(c.r, c.g, c.b)];
  if (answer < 0)
    answer = NearestColorIndex(table, ReducedImageChannel(c.r), ReducedImageChannel(c.g), ReducedImageChannel(c.b));
  return uint8_t(answer);
}

}  // namespace vx::gdi
