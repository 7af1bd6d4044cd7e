#include "graphics/platform/wmf/wmf_drawn_extent.h"

#include <algorithm>

#include "base/arith.h"
#include "base/byte_reader.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/raster/two_tone_pages.h"
#include "graphics/platform/wmf/wmf_header.h"
#include "graphics/platform/wmf/wmf_records.h"

namespace vx::gdi {

namespace {

constexpr int32_t kCoarseSampling = 16;  // reference pixels per sample, at first
constexpr int32_t kSamples = 2048;        // samples across and down

// The highest sample column and row that playback changes on a page of
// either colour, dark or light; -1 where nothing changes. sampling divides the
// screen's size.
Point LastChangedSample(const std::vector<uint8_t>& emf, int32_t sampling) {
  TwoTonePages pages(kSamples, kSamples);
  TDeviceContext dc;
  dc.SelectTarget(&pages);
  // The frame is the whole reference screen; this rectangle scales it down.
  PlaybackOptions measuring;
  measuring.unscaled_blits_at_reference_size = true;
  PlayEnhMetaFile(dc, emf.data(), emf.size(),
                  {0, 0, kScreenWidthPixels / sampling, kScreenHeightPixels / sampling}, measuring);
  return pages.LastChanged();
}

// The last reference pixel drawn to the right and down (exclusive), at the
// given sampling; zero where nothing is drawn.
Size DrawnPixels(const std::vector<uint8_t>& emf, int32_t sampling) {
  const Point last = LastChangedSample(emf, sampling);
  if (last.x < 0 || last.y < 0) return {};
  return {(last.x + 1) * sampling, (last.y + 1) * sampling};
}

// The right and bottom edges of the bounds the text records reserve; zero
// without text. Text reserves more than its glyphs cover, and the frame
// takes that in.
Size ReservedForText(const std::vector<uint8_t>& emf) {
  Size reserved{};
  const auto header = ParseEnhMetaHeader(emf.data(), emf.size());
  if (!header) return reserved;
  const size_t total = std::min<size_t>(header->bytes, emf.size());
  size_t offset = 0;
  while (offset + 8 <= total) {
    const uint32_t type = LoadU32(emf.data() + offset);
    const uint32_t size = LoadU32(emf.data() + offset + 4);
    if (size < 8 || size > total - offset) break;
    if (type == TypeWord(EmfRecord::kExtTextOutW) && size >= 24) {
      const int32_t left = LoadI32(emf.data() + offset + 8), top = LoadI32(emf.data() + offset + 12);
      const int32_t right = LoadI32(emf.data() + offset + 16), bottom = LoadI32(emf.data() + offset + 20);
      if (left <= right && top <= bottom) reserved = {std::max(reserved.cx, right), std::max(reserved.cy, bottom)};
    }
    offset += size;
  }
  return reserved;
}

}  // namespace

bool WmfSetsViewport(const uint8_t* wmf, size_t size) {
  bool sets = false;
  ForEachWmfRecord(wmf, size, [&sets](const WmfRecord& r) {
    switch (r.function) {
      case wmf::kSetViewportOrg:
      case wmf::kSetViewportExt:
      case wmf::kOffsetViewportOrg:
      case wmf::kScaleViewportExt: sets = true; break;
      default: break;
    }
  });
  return sets;
}

bool WmfHasTextWithoutAdvances(const uint8_t* wmf, size_t size) {
  bool found = false;
  ForEachWmfRecord(wmf, size, [&found](const WmfRecord& r) {
    if (r.function == wmf::kTextOut) found = true;
    if (r.function != wmf::kExtTextOut || r.param_bytes < 8) return;
    const int32_t count = int16_t(LoadU16(r.params + 4));
    const uint16_t options = LoadU16(r.params + 6);
    const size_t chars = 8 + ((options & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 0) + size_t(std::max(count, 0));
    const size_t padded = chars + (size_t(std::max(count, 0)) & 1);
    if (count > 0 && (padded > r.param_bytes || r.param_bytes - padded < size_t(count) * 2)) found = true;
  });
  return found;
}

std::optional<Size> DrawnExtent(const std::vector<uint8_t>& emf) {
  Size drawn = DrawnPixels(emf, kCoarseSampling);
  const Size text = ReservedForText(emf);
  if (drawn.cx <= 0 && text.cx <= 0) return std::nullopt;
  // A second look as finely as the drawing's size allows.
  int32_t sampling = 1;
  while (sampling < kCoarseSampling && std::max(drawn.cx, drawn.cy) > sampling * kSamples) sampling *= 2;
  if (sampling < kCoarseSampling) {
    const Size fine = DrawnPixels(emf, sampling);
    if (fine.cx > 0) drawn = fine;
  }
  drawn = {std::max(drawn.cx, text.cx), std::max(drawn.cy, text.cy)};
  return Size{MulDiv(drawn.cx, kScreenWidthMM * 100, kScreenWidthPixels),
              MulDiv(drawn.cy, kScreenHeightMM * 100, kScreenHeightPixels)};
}

}  // namespace vx::gdi
