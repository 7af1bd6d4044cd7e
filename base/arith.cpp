#include "base/arith.h"

#include <cmath>
#include <cstdlib>

namespace vx {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const uint64_t num = static_cast<uint64_t>(product < 0 ? -product : product);
  const uint64_t den = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
  const uint64_t quotient = (num + den / 2) / den;
  if (quotient > (negative ? 2147483648ULL : 2147483647ULL)) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient))
                  : static_cast<int32_t>(quotient);
}

int64_t RoundHalfEven(long double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even.
  return static_cast<int64_t>(std::nearbyintl(value));
}

}  // namespace vx
