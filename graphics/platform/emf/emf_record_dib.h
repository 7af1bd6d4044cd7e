// A bitmap carried inside a metafile record: its BITMAPINFO and bits at
// offsets from the record's start, each checked against the record's size.
#pragma once

#include <cstdint>
#include <optional>

#include "base/byte_reader.h"
#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// Nothing when a part lies outside the record or the bitmap is malformed.
std::optional<DibImage> RecordDib(const ByteReader& record, uint32_t off_bmi, uint32_t cb_bmi,
                                  uint32_t off_bits, uint32_t cb_bits, uint32_t usage);

// The source bitmap fields of the blit records: usage, then the offsets and
// sizes of the BITMAPINFO and the bits.
struct BitmapFields {
  uint32_t usage = 0, off_bmi = 0, cb_bmi = 0, off_bits = 0, cb_bits = 0;

  static BitmapFields Read(ByteReader& r);
  bool Present() const { return cb_bmi != 0; }
  std::optional<DibImage> Image(const ByteReader& r) const {
    return RecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, usage);
  }
};

// The layout of EMR_BITBLT and EMR_STRETCHBLT, which EMR_ALPHABLEND and
// EMR_TRANSPARENTBLT share; the raster operation's place holds the blend
// function or the transparent colour there.
struct BlitFields {
  Rect dest;  // left, top, width, height
  uint32_t operation = 0;
  Point source_origin;
  XForm source_xform;
  BitmapFields bitmap;
  Size source_size;  // the destination's size for EMR_BITBLT

  static BlitFields Read(ByteReader& r, bool stretch);
  // The source rectangle in the bitmap's pixels, through the source transform.
  Rect SourceRect() const;
};

}  // namespace vx::gdi
