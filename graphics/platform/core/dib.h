// A device-independent bitmap as a source of pixels: the parsed header, the
// colour table and a bounds-checked view of the rows (top-down or bottom-up).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };
enum : uint32_t { DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1 };

class DibImage {
public:
  // Reads a BITMAPINFO (header, masks, colour table) and the pixel bytes.
  // Uncompressed 1/4/8/16/24/32 bits per pixel only. The pixels are copied, so
  // the image outlives the buffer. Nothing on malformed or short data.
  static std::optional<DibImage> Parse(const uint8_t* info, size_t info_size,
                                       const uint8_t* bits, size_t bits_size,
                                       uint32_t usage = DIB_RGB_COLORS);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int BitCount() const { return bit_count_; }
  const std::vector<PaletteEntry>& Colors() const { return colors_; }
  // The red, green and blue bit masks of 16-, 24- and 32-bit pixels.
  uint32_t Mask(int channel) const { return masks_[channel]; }

  // Pixel x, y counted from the top row. Colour-table index for depths <= 8.
  uint32_t Index(int32_t x, int32_t y) const;
  // The colour of a pixel; out of range gives black.
  PaletteEntry Color(int32_t x, int32_t y) const;
  // The colours of row y at count columns, as Color gives them (black
  // outside the image), by a loop made for the image's format: a stretched
  // copy fetches whole rows this way instead of pixel by pixel.
  void RowColors(int32_t y, const int32_t* columns, size_t count, PaletteEntry* out) const;

private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool top_down_ = false;
  int bit_count_ = 0;
  uint32_t masks_[3] = {0, 0, 0};
  int shifts_[3] = {0, 0, 0};
  int widths_[3] = {0, 0, 0};
  size_t stride_ = 0;
  std::vector<PaletteEntry> colors_;
  std::vector<uint8_t> bits_;
};

}  // namespace vx::gdi
