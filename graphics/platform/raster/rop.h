// Binary and ternary raster operations on pixel values, applied bitwise (on
// palette indices for indexed formats, on packed colour bits otherwise).
// Targets mask the result to their pixel width when they store it.
#pragma once

#include <cstdint>

namespace vx::gdi {

// d = rop2(p, d): bit k of (rop2 - 1) is the result for (p, d) = (k >> 1, k & 1).
inline uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest) {
  const int t = (rop2 - 1) & 15;
  uint32_t r = 0;
  if (t & 1) r |= ~pen & ~dest;
  if (t & 2) r |= ~pen & dest;
  if (t & 4) r |= pen & ~dest;
  if (t & 8) r |= pen & dest;
  return r;
}

// d = rop3(p, s, d); the operation code's bit (p << 2 | s << 1 | d) gives each
// result bit.
inline uint32_t ApplyRop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if (!((code >> k) & 1)) continue;
    const uint32_t mp = (k & 4) ? p : ~p;
    const uint32_t ms = (k & 2) ? s : ~s;
    const uint32_t md = (k & 1) ? d : ~d;
    r |= mp & ms & md;
  }
  return r;
}

inline bool Rop3UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool Rop3UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

}  // namespace vx::gdi
