// The widths of characters in a logical font drawn without a transform, as a
// context measures text (GetTextExtentPoint32 of each character) on the
// reference screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

// One advance per UTF-16 unit; the second unit of a surrogate pair gets 0.
std::vector<int32_t> UntransformedAdvances(const LogFont& font, const std::u16string& text);
// The font's cell height (ascent + descent).
int32_t UntransformedFontHeight(const LogFont& font);

}  // namespace vx::gdi
