// Rounding of extended-precision report values to 32-bit integers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/arith.h"

namespace vx {

// Nearest integer, halves to even. Values beyond the 32-bit range saturate and
// a value that is not a number gives 0, so no input can overflow the result.
inline int32_t RoundToInt32(Extended value) {
  if (std::isnan(value)) return 0;
  constexpr Extended kMin = std::numeric_limits<int32_t>::min();
  constexpr Extended kMax = std::numeric_limits<int32_t>::max();
  if (value <= kMin) return std::numeric_limits<int32_t>::min();
  if (value >= kMax) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(RoundHalfEven(value));
}

// Toward zero, with the same protection.
inline int32_t TruncToInt32(Extended value) {
  if (std::isnan(value)) return 0;
  constexpr Extended kMin = std::numeric_limits<int32_t>::min();
  constexpr Extended kMax = std::numeric_limits<int32_t>::max();
  if (value <= kMin) return std::numeric_limits<int32_t>::min();
  if (value >= kMax) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::trunc(value));
}

}  // namespace vx
