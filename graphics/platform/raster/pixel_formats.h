// The pixel formats a target can write. Each format says, in one place, how
// a pixel value is loaded from and stored into a row, and how colours become
// pixel values: indexed formats by the nearest colour-table entry, packed
// formats by placing the channels' bits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {

// 1, 4 or 8 bits of colour-table index per pixel, the leftmost pixel in the
// highest bits of its byte.
template <int Bits>
struct IndexedFormat {
  static_assert(Bits == 1 || Bits == 4 || Bits == 8);
  static constexpr int kBitsPerPixel = Bits;
  static constexpr uint32_t kMask = (1u << Bits) - 1;

  explicit IndexedFormat(std::vector<PaletteEntry> table) : colors(std::move(table)) {}

  static uint32_t Load(const uint8_t* row, int32_t x) {
    if constexpr (Bits == 8) {
      return row[x];
    } else {
      const int shift = 8 - Bits - (x * Bits) % 8;
      return (row[x * Bits / 8] >> shift) & kMask;
    }
  }
  static void Store(uint8_t* row, int32_t x, uint32_t v) {
    if constexpr (Bits == 8) {
      row[x] = uint8_t(v);
    } else {
      const int shift = 8 - Bits - (x * Bits) % 8;
      uint8_t& byte = row[x * Bits / 8];
      byte = uint8_t((byte & ~(kMask << shift)) | ((v & kMask) << shift));
    }
  }

  uint32_t PixelOfColor(ColorRef c) const { return NearestColorIndex(colors, GetRValue(c), GetGValue(c), GetBValue(c)); }
  uint32_t PixelOfImageColor(PaletteEntry c) const { return image_colors.Lookup(colors, c); }
  uint32_t PixelOfTableColor(PaletteEntry c) const { return NearestColorIndex(colors, c.r, c.g, c.b); }
  PaletteEntry ColorOfPixel(uint32_t v) const { return v < colors.size() ? colors[v] : PaletteEntry{}; }
  uint32_t PixelOfGradient(uint32_t r, uint32_t g, uint32_t b, int32_t, int32_t) const {
    return PixelOfColor(RGB(uint8_t(r >> 8), uint8_t(g >> 8), uint8_t(b >> 8)));
  }
  // Same depth, and every index shows the same colour in both tables.
  bool SharesFormatOf(const DibImage& image) const {
    if (image.BitCount() != Bits || image.Colors().size() > (size_t(1) << Bits)) return false;
    for (uint32_t v = 0; v < (1u << Bits); ++v) {
      const PaletteEntry a = ColorOfPixel(v);
      const PaletteEntry b = v < image.Colors().size() ? image.Colors()[v] : PaletteEntry{};
      if (a.r != b.r || a.g != b.g || a.b != b.b) return false;
    }
    return true;
  }

  std::vector<PaletteEntry> colors;
  ImageColorCache image_colors;
};

// The screen's 8-bit halftone page: indices of the halftone palette through
// its lookup tables, gradients dithered to its 27 levels.
struct Halftone8Format {
  static constexpr int kBitsPerPixel = 8;
  static constexpr uint32_t kMask = 0xFF;
  static uint32_t Load(const uint8_t* row, int32_t x) { return row[x]; }
  static void Store(uint8_t* row, int32_t x, uint32_t v) { row[x] = uint8_t(v); }
  uint32_t PixelOfColor(ColorRef c) const;
  uint32_t PixelOfImageColor(PaletteEntry c) const;
  // Colour-table entries match at full precision, as solid colours do.
  uint32_t PixelOfTableColor(PaletteEntry c) const { return PixelOfColor(RGB(c.r, c.g, c.b)); }
  void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const;
  PaletteEntry ColorOfPixel(uint32_t v) const;
  uint32_t PixelOfGradient(uint32_t r, uint32_t g, uint32_t b, int32_t x, int32_t y) const;
  // The page keeps its one colour path for every image.
  bool SharesFormatOf(const DibImage&) const { return false; }
};

// 16 or 32 bits per pixel with one bit field per channel (5-5-5, 5-6-5,
// 8-8-8 or any masks of BI_BITFIELDS), little-endian.
template <int Bytes>
struct PackedFormat {
  static_assert(Bytes == 2 || Bytes == 4);
  static constexpr int kBitsPerPixel = 8 * Bytes;
  static constexpr uint32_t kMask = Bytes == 2 ? 0xFFFFu : 0xFFFFFFFFu;

  PackedFormat(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask, bool with_alpha_byte = false)
      : red(red_mask), green(green_mask), blue(blue_mask), alpha_byte(Bytes == 4 && with_alpha_byte) {}

  static uint32_t Load(const uint8_t* row, int32_t x) {
    const uint8_t* p = row + int64_t(x) * Bytes;
    if constexpr (Bytes == 2) return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    else return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  static void Store(uint8_t* row, int32_t x, uint32_t v) {
    uint8_t* p = row + int64_t(x) * Bytes;
    for (int i = 0; i < Bytes; ++i) p[i] = uint8_t(v >> (8 * i));
  }

  uint32_t PixelOfColor(ColorRef c) const { return Pack(GetRValue(c), GetGValue(c), GetBValue(c)); }
  uint32_t PixelOfImageColor(PaletteEntry c) const { return Pack(c.r, c.g, c.b); }
  uint32_t PixelOfTableColor(PaletteEntry c) const { return Pack(c.r, c.g, c.b); }
  PaletteEntry ColorOfPixel(uint32_t v) const { return {red.Get(v), green.Get(v), blue.Get(v)}; }
  uint32_t PixelOfGradient(uint32_t r, uint32_t g, uint32_t b, int32_t, int32_t) const {
    return Pack(uint8_t(r >> 8), uint8_t(g >> 8), uint8_t(b >> 8));
  }
  uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) const { return red.Put(r) | green.Put(g) | blue.Put(b); }
  bool SharesFormatOf(const DibImage& image) const {
    return image.BitCount() == kBitsPerPixel && image.Mask(0) == red.Mask() && image.Mask(1) == green.Mask() &&
           image.Mask(2) == blue.Mask();
  }

  // One channel's bits: a channel value keeps its top bits; reading one back
  // repeats its bits downwards, so 5 bits of 31 read as 255.
  struct Field {
    explicit Field(uint32_t mask);
    uint32_t Put(uint8_t c) const;
    uint8_t Get(uint32_t v) const;
    uint32_t Mask() const { return width == 0 ? 0 : uint32_t((uint64_t(1) << width) - 1) << shift; }
    int shift = 0;
    int width = 0;
  };
  Field red, green, blue;
  // 32 bits without bit fields: the top byte is alpha to blends and
  // gradients (other drawing leaves it 0).
  bool alpha_byte = false;
};

// 24 bits per pixel: blue, green, red bytes.
struct Rgb24Format {
  static constexpr int kBitsPerPixel = 24;
  static constexpr uint32_t kMask = 0xFFFFFF;
  static uint32_t Load(const uint8_t* row, int32_t x) {
    const uint8_t* p = row + int64_t(x) * 3;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  }
  static void Store(uint8_t* row, int32_t x, uint32_t v) {
    uint8_t* p = row + int64_t(x) * 3;
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
  }
  uint32_t PixelOfColor(ColorRef c) const { return Pack(GetRValue(c), GetGValue(c), GetBValue(c)); }
  uint32_t PixelOfImageColor(PaletteEntry c) const { return Pack(c.r, c.g, c.b); }
  uint32_t PixelOfTableColor(PaletteEntry c) const { return Pack(c.r, c.g, c.b); }
  PaletteEntry ColorOfPixel(uint32_t v) const { return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
  uint32_t PixelOfGradient(uint32_t r, uint32_t g, uint32_t b, int32_t, int32_t) const {
    return Pack(uint8_t(r >> 8), uint8_t(g >> 8), uint8_t(b >> 8));
  }
  static uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | b; }
  static bool SharesFormatOf(const DibImage& image) { return image.BitCount() == kBitsPerPixel; }
};

}  // namespace vx::gdi
