// Device-dependent bitmaps (Bitmap16) of the oldest Windows-metafile blits,
// META_BITBLT and META_STRETCHBLT, as device-independent bitmaps the enhanced
// records can carry: rows turned bottom-up and padded to 32 bits; a
// monochrome bitmap gets black for 0 and white for 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vx::gdi {

struct Bitmap16Dib {
  std::vector<uint8_t> info;  // 40-byte header and colour table
  std::vector<uint8_t> bits;
};

// None unless the bitmap is one plane of 1, 24 or 32 bits per pixel whose
// rows (of its stated byte width, at least as wide as its pixels) all fit.
std::optional<Bitmap16Dib> Bitmap16ToDib(const uint8_t* data, size_t size);

}  // namespace vx::gdi
