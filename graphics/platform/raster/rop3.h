// Ternary raster operations on palette indices.
#pragma once

#include <cstdint>

namespace vx::gdi {

// d = rop3(p, s, d) applied bitwise; the operation code's bit (p << 2 | s << 1 | d)
// gives each result bit.
inline uint8_t ApplyRop3(uint8_t code, uint8_t p, uint8_t s, uint8_t d) {
  uint8_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if (!((code >> k) & 1)) continue;
    const uint8_t mp = (k & 4) ? p : uint8_t(~p);
    const uint8_t ms = (k & 2) ? s : uint8_t(~s);
    const uint8_t md = (k & 1) ? d : uint8_t(~d);
    r |= uint8_t(mp & ms & md);
  }
  return r;
}

inline bool Rop3UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool Rop3UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

}  // namespace vx::gdi
