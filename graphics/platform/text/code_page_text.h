// 8-bit text of Windows metafile records in UTF-16, by the selected font's
// character set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "graphics/platform/core/charset.h"

namespace vx::gdi {

// Symbol fonts address their glyphs at U+F000 + code; every other character
// set is read as Windows-1252 (the ANSI code page of the system).
std::u16string DecodeWmfText(const uint8_t* text, size_t count, uint8_t charset);

// The reverse for text written back into a Windows metafile; characters
// without an 8-bit form become '?'.
std::string EncodeWmfText(const std::u16string& text, uint8_t charset);

}  // namespace vx::gdi
