// The extent of what a converted Windows metafile draws. Converting without
// extents, the platform records the picture's frame from the drawing's own
// bounds, and the second conversion gets that frame as its reference
// resolution. As long as the metafile leaves the viewport alone the window
// fills that frame whatever it holds, but a metafile that sets its own
// viewport can draw far outside the reference screen, and text without
// advances is measured at that resolution: for those the frame follows what
// the first conversion draws and the bounds its text records reserve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// Whether the metafile (standard header first) sets or moves its viewport.
bool WmfSetsViewport(const uint8_t* wmf, size_t size);
// Whether the metafile draws text without advances (TextOut, or ExtTextOut
// without its spacing array), which is measured at the frame's resolution.
bool WmfHasTextWithoutAdvances(const uint8_t* wmf, size_t size);

// The right and bottom edges, in 0.01 mm of the reference screen, of what the
// enhanced metafile (a conversion made without extents) draws or its text
// records' bounds reserve; none when it draws nothing there. Drawing is first sampled every 16 reference pixels, over
// 32768 pixels right and down from the origin, then again as finely as the
// drawing's size allows (to the pixel up to 2048 pixels).
std::optional<Size> DrawnExtent(const std::vector<uint8_t>& emf);

}  // namespace vx::gdi
