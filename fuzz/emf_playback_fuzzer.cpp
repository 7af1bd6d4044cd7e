// Reads arbitrary bytes as a metafile (enhanced or placeable WMF) and plays it
// into a small 8-bit bitmap, as the converter does. Bytes that look like an
// enhanced metafile are also played directly into a device context, so that
// whatever the reader refuses still reaches the player. Nothing may crash,
// hang, overrun or allocate without bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/raster/pixel_surface.h"

namespace {

// Small targets keep each run fast; the picture's own size (capped) varies the
// frame-to-rectangle scale.
constexpr int32_t kMaxWidth = 80;
constexpr int32_t kMaxHeight = 60;

int32_t Capped(int32_t pixels, int32_t limit) { return std::clamp(pixels, 1, limit); }

bool LooksLikeEnhancedMetafile(const uint8_t* data, size_t size) {
  using vx::gdi::EmfRecord;
  return size >= vx::gdi::kEmfSignatureOffset + 4 && vx::LoadU32(data) == vx::gdi::TypeWord(EmfRecord::kHeader) &&
         vx::LoadU32(data + vx::gdi::kEmfSignatureOffset) == vx::gdi::kEnhMetaSignature;
}

void DrawThroughBitmap(const uint8_t* data, size_t size) {
  vx::TMemoryStream input;
  input.WriteBuffer(data, static_cast<int64_t>(size));
  input.SetPosition(0);
  vx::TMetafile metafile;
  try {
    metafile.ReadFromStream(input);
    vx::TBitmap bitmap;
    bitmap.SetPixelDepth(8);
    bitmap.SetPixelWidth(Capped(metafile.PixelWidth(), kMaxWidth));
    bitmap.SetPixelHeight(Capped(metafile.PixelHeight(), kMaxHeight));
    bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  } catch (const vx::Exception&) {
  }
}

void PlayDirectly(const uint8_t* data, size_t size) {
  constexpr int32_t kWidth = 64;
  constexpr int32_t kHeight = 48;
  const int32_t stride = vx::gdi::DibStride(kWidth, 8);
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * kHeight, 0xFF);
  vx::gdi::PixelSurface8 surface{kWidth, kHeight, stride, bits.data()};
  vx::gdi::TDeviceContext dc;
  dc.SelectSurface(&surface);
  (void)vx::gdi::PlayEnhMetaFile(dc, data, size, {0, 0, kWidth - 1, kHeight - 1});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DrawThroughBitmap(data, size);
  if (LooksLikeEnhancedMetafile(data, size)) PlayDirectly(data, size);
  return 0;
}
