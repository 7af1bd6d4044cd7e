#include "graphics/platform/raster/halftone_image_lookup.h"

#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {

namespace {

// Indexed by ReducedColorKey; written by tools/make_halftone_tables.cpp.
constexpr uint8_t kImagePixelIndices[32768] = {
#include "halftone_image_lookup_data.inc"
};

}  // namespace

uint8_t ImagePixelHalftoneIndex(uint8_t r, uint8_t g, uint8_t b) { return kImagePixelIndices[ReducedColorKey(r, g, b)]; }

void ImagePixelHalftoneIndices(const PaletteEntry* colors, size_t count, uint32_t* out) {
  for (size_t i = 0; i < count; ++i) out[i] = kImagePixelIndices[ReducedColorKey(colors[i].r, colors[i].g, colors[i].b)];
}

}  // namespace vx::gdi
