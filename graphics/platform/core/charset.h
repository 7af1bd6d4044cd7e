// Character sets of logical fonts, as the records of both metafile formats
// store them: which code page 8-bit text is in and which fonts can map.
#pragma once

#include <cstdint>

namespace vx::gdi {

inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kSymbolCharset = 2;

}  // namespace vx::gdi
