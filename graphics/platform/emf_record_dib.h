// A bitmap carried inside a metafile record: its BITMAPINFO and bits at
// offsets from the record's start, each checked against the record's size.
#pragma once

#include <cstdint>
#include <optional>

#include "base/byte_reader.h"
#include "graphics/platform/dib.h"

namespace vx::gdi {

// Nothing when a part lies outside the record or the bitmap is malformed.
std::optional<DibImage> RecordDib(const ByteReader& record, uint32_t off_bmi, uint32_t cb_bmi,
                                  uint32_t off_bits, uint32_t cb_bits, uint32_t usage);

}  // namespace vx::gdi
