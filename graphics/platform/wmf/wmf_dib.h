// Packed device-independent bitmaps inside Windows metafile records: the
// bitmap-info part (header, masks, colour table) and the pixel bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vx::gdi {

inline constexpr uint16_t kDibRgbColors = 0;
inline constexpr uint16_t kDibPalColors = 1;

struct PackedDib {
  std::vector<uint8_t> info;   // a BITMAPINFOHEADER (or larger) with masks and colours
  const uint8_t* bits = nullptr;
  size_t bits_size = 0;
};

// Splits data into info and bits. A 12-byte core header is widened to a
// 40-byte info header with four-byte colour entries. None when the header or
// its colour table does not fit in the data.
std::optional<PackedDib> SplitPackedDib(const uint8_t* data, size_t size, uint16_t usage);

}  // namespace vx::gdi
