// Rows [top, bottom) of an 8-bit halftone bitmap that is never held whole: a
// page too large for memory is drawn band by band. The band's drawing surface
// has the whole bitmap's size and device coordinates, so a picture drawn over
// the whole rectangle into every band gives, band for band, the rows of the
// same picture drawn into a whole bitmap (white where nothing is drawn).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/zeroed_bytes.h"

namespace vx {

class TBitmapBand {
public:
  // No rows yet. The row buffer is kept from band to band and grows when a
  // band needs more.
  TBitmapBand();
  ~TBitmapBand();
  TBitmapBand(const TBitmapBand&) = delete;
  TBitmapBand& operator=(const TBitmapBand&) = delete;

  // Makes the band rows [top, bottom) of a bitmap of width x height, all
  // white, with a new drawing surface. Raises EOutOfResources for rows
  // outside the bitmap or memory that cannot be had.
  void SelectRows(int32_t width, int32_t height, int32_t top, int32_t bottom);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Top() const { return top_; }
  int32_t Bottom() const { return bottom_; }
  int64_t Stride() const;
  // Draws the graphic over rect (in the whole bitmap's coordinates) into the band.
  void DrawStretched(const gdi::Rect& rect, TGraphic& graphic);
  // The band's rows bottom-up, as a BMP file stores them: Stride() x rows bytes.
  const uint8_t* StoredRows() const { return rows_.Data(); }
  size_t StoredBytes() const;
  // Colour-table index of pixel x of page row y (inside the band).
  uint8_t PixelIndex(int32_t x, int32_t y) const;

private:
  class Surface;

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t top_ = 0;
  int32_t bottom_ = 0;
  ZeroedBytes rows_;
  std::unique_ptr<Surface> surface_;
};

// Everything a BMP file of the whole width x height bitmap holds before its
// pixel rows, byte for byte as the bitmap itself would write it: file and
// info header with the given pixels per metre, and the halftone colour table.
std::vector<uint8_t> BandedBitmapHeaders(int32_t width, int32_t height, int32_t x_pixels_per_meter,
                                         int32_t y_pixels_per_meter);

}  // namespace vx
