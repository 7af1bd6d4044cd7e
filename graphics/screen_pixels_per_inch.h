// The screen's vertical logical pixels per inch, the reference of report units.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_types.h"

namespace vx {

inline int32_t ScreenPixelsPerInch() { return gdi::ScreenDeviceCaps(gdi::LOGPIXELSY); }

}  // namespace vx
