// The resolution typed on the command line, as a signed 32-bit number.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

// Dots per inch used when the command line names no resolution.
inline constexpr int32_t DefaultResolution = 300;

// Leading blanks, an optional sign, then decimal digits or a hexadecimal prefix
// ($, x, X, 0x, 0X) with hexadecimal digits; nothing after. Hexadecimal values are
// 32-bit patterns ($FFFFFFFF is -1). Raises EConvertError for anything else.
int32_t ParseResolution(const std::string& text);

}  // namespace vx
