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
// result bit. Worked out as three bitwise choices (by pattern, then source,
// then destination) rather than minterm by minterm: blits run it per pixel.
inline uint32_t ApplyRop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  const auto bit = [code](int k) { return ((code >> k) & 1) ? ~uint32_t{0} : uint32_t{0}; };
  const auto choose = [](uint32_t by, uint32_t ones, uint32_t zeros) { return (by & ones) | (~by & zeros); };
  const uint32_t s0d0 = choose(p, bit(4), bit(0));
  const uint32_t s0d1 = choose(p, bit(5), bit(1));
  const uint32_t s1d0 = choose(p, bit(6), bit(2));
  const uint32_t s1d1 = choose(p, bit(7), bit(3));
  return choose(d, choose(s, s1d1, s0d1), choose(s, s1d0, s0d0));
}

inline bool Rop3UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool Rop3UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }
inline bool Rop3UsesDestination(uint8_t code) { return ((code >> 1) & 0x55) != (code & 0x55); }

}  // namespace vx::gdi
