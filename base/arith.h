// Integer scaling and rounding rules shared by every subsystem.
#pragma once

#include <cmath>
#include <cstdint>

namespace vx {

// Extended-precision real (80-bit on x86-64), used for report-unit factors.
using Extended = long double;

// a * b / c from the 64-bit product, rounded to nearest with halves away from
// zero; -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(long double value);

// Nearest integer, halves upwards (towards +infinity): the rule for device
// coordinates. The result stays within -limit..limit so that later integer
// arithmetic cannot overflow; NaN gives -limit. limit must be positive.
inline int32_t RoundHalfUp(double value, int32_t limit) {
  const double r = std::floor(value + 0.5);
  if (!(r > -double(limit))) return -limit;
  if (r > double(limit)) return limit;
  return static_cast<int32_t>(r);
}

}  // namespace vx
