// A band of a page: a pixel target of the whole page's size that holds only
// rows [top, bottom). Drawing keeps full-page device coordinates, so clipping,
// brush origins, hatches and gradient dithering count from the page origin and
// a page drawn band by band gets the pixels of a page drawn whole. Runs on
// rows outside the band are dropped.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi {

// The band's rows are layout.rows: layout.rows.top is the page row of the
// first, layout.rows.height the number of rows. nullptr when the layout gets
// no target (pixel_targets.h) or the band does not lie within the page.
std::unique_ptr<PixelTarget> MakeBandTarget(const PixelLayout& layout, int32_t page_height);

}  // namespace vx::gdi
