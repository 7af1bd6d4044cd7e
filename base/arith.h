// Integer scaling and rounding rules shared by every subsystem.
#pragma once

#include <cstdint>

namespace vx {

// Extended-precision real (80-bit on x86-64), used for report-unit factors.
using Extended = long double;

// a * b / c from the 64-bit product, rounded to nearest with halves away from
// zero; -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(long double value);

}  // namespace vx
