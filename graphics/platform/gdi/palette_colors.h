// Colours given through a logical palette. A COLORREF whose high byte is 1
// (PALETTEINDEX) names an entry of the palette selected in the device
// context, an index past its end meaning entry 0; high byte 2 (PALETTERGB)
// is the plain colour on a surface with a colour table. The device context
// resolves these to plain colours before they reach the pixel code.
#pragma once

#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// The stock DEFAULT_PALETTE: the 20 static colours.
const std::vector<PaletteEntry>& DefaultPaletteEntries();

// The plain colour (high byte 0) that color stands for with the palette
// selected (empty: the default palette).
ColorRef ResolvePaletteColor(ColorRef color, const std::vector<PaletteEntry>& selected);

}  // namespace vx::gdi
