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

}  // namespace vx::gdi
