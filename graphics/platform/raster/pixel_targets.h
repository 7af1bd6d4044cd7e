// Choosing the pixel target for a bitmap: one per format (1, 4 and 8 bits
// with any colour table, the 8-bit halftone page, 16 bits 5-5-5 or 5-6-5 or
// bit fields, 24 bits, 32 bits).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/pixel_target.h"

namespace vx::gdi {

struct PixelLayout {
  PixelRows rows;
  int bit_count = 0;
  std::vector<PaletteEntry> colors;  // colour table of indexed formats
  bool has_masks = false;            // BI_BITFIELDS masks for 16 and 32 bits
  uint32_t masks[3] = {0, 0, 0};     // red, green, blue
};

// The target drawing into the layout's rows; nullptr for a depth no target
// writes or rows without pixels. An 8-bit table equal to the halftone
// palette gets the halftone target.
std::unique_ptr<PixelTarget> MakePixelTarget(const PixelLayout& layout);

// The 8-bit halftone page.
std::unique_ptr<PixelTarget> MakeHalftoneTarget(const PixelSurface8& surface);

// Whether a colour table is the halftone palette's 256 entries.
bool IsHalftoneTable(const std::vector<PaletteEntry>& table);

}  // namespace vx::gdi
