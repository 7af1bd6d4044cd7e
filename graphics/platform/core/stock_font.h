// The logical fonts behind the stock font objects. A new device context has
// SYSTEM_FONT selected: text drawn before any font is chosen uses it, and its
// height is in logical units like any other request's, and its glyphs are
// narrowed to an average width of 7.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

// Any index that is not a stock font gives SYSTEM_FONT.
LogFont StockFont(uint32_t stock);

}  // namespace vx::gdi
