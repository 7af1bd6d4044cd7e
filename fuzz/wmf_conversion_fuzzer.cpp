// Reads arbitrary bytes as a Windows metafile without its placeable header
// (the standard header first), converts it to an enhanced metafile as the
// reader does, measures what the conversion draws when the metafile sets its
// own viewport, and plays the result into a small 8-bit surface. Random bytes
// rarely pass the placeable header's checksum; this reaches the conversion
// of every record directly; the second conversion and the playback keep
// their logs, as --verbose does. Nothing may crash, hang, overrun or allocate
// without bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/wmf/wmf_drawn_extent.h"
#include "graphics/platform/wmf/wmf_to_emf.h"

namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
// The drawn extent plays the picture four times into 2048 x 2048 pixels:
// only small inputs take that road, so that each run stays quick.
constexpr size_t kMaxMeasuredSize = 4096;

void Note(const std::string& note) {
  volatile size_t length = note.size();
  (void)length;
}

void Play(const std::vector<uint8_t>& emf) {
  const int32_t stride = vx::gdi::DibStride(kWidth, 8);
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * kHeight, 0xFF);
  vx::gdi::PixelSurface8 surface{kWidth, kHeight, stride, bits.data()};
  vx::gdi::TDeviceContext dc;
  dc.SelectSurface(&surface);
  vx::gdi::PlaybackOptions options;
  options.verbose = true;
  options.log = Note;
  (void)vx::gdi::PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, kWidth - 1, kHeight - 1}, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto sizing = vx::gdi::ConvertWinMetaFileToEnh(data, size, 0, 0);
  if (!sizing) return 0;
  const auto header = vx::gdi::ParseEnhMetaHeader(sizing->data(), sizing->size());
  if (!header) return 0;
  vx::gdi::Size extents{header->frame.right, header->frame.bottom};
  if (size <= kMaxMeasuredSize &&
      (vx::gdi::WmfSetsViewport(data, size) || vx::gdi::WmfHasTextWithoutAdvances(data, size))) {
    if (const auto drawn = vx::gdi::DrawnExtent(*sizing)) extents = *drawn;
  }
  const auto emf = vx::gdi::ConvertWinMetaFileToEnh(data, size, extents.cx, extents.cy, Note);
  if (emf) Play(*emf);
  return 0;
}
