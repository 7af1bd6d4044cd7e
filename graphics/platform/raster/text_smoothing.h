// Smoothed text on true-colour surfaces: glyph coverage comes in 17 levels
// (0 = none, 16 = full) and each channel of the text colour is blended over
// the destination through a fixed ramp, the way the platform's device
// independent bitmaps draw antialiased glyphs.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

inline constexpr uint8_t kFullCoverage = 16;

// A FreeType grey value (0..255) as one of the 17 coverage levels: the 256
// values fall into 17 bands of equal width (grey x 17 / 256, rounded down),
// as the reference's glyph levels do; rounding to nearest sixteenth puts
// about every second edge pixel one level off.
inline uint8_t CoverageLevel(uint8_t grey) { return uint8_t((uint32_t(grey) * (kFullCoverage + 1)) >> 8); }

// One channel of text colour t at coverage level (2..15) over destination d.
// The ramp was read off reference pixels of black text on white.
inline uint8_t SmoothedChannel(uint8_t d, uint8_t t, uint8_t level) {
  static constexpr uint8_t kRamp[17] = {0,    0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                                        0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};
  if (d == t) return d;
  if (d > t) {
    const uint32_t high = kRamp[16 - level] + (0xffu - kRamp[16 - level]) * t / 0xff;
    return uint8_t(t + uint32_t(d - t) * (high - t) / (0xffu - t));
  }
  const uint32_t low = uint32_t(kRamp[level]) * t / 0xff;
  return uint8_t(t - uint32_t(t - d) * (t - low) / t);
}

inline PaletteEntry SmoothedColor(PaletteEntry d, PaletteEntry t, uint8_t level) {
  return PaletteEntry{SmoothedChannel(d.r, t.r, level), SmoothedChannel(d.g, t.g, level),
                      SmoothedChannel(d.b, t.b, level)};
}

}  // namespace vx::gdi
