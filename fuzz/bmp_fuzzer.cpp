// Reads arbitrary bytes as a BMP. Whatever reads must write, read back and
// write again to the same bytes; nothing may crash, hang or overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"

namespace {

// Writing touches every pixel byte; keep the harness's memory modest.
constexpr int64_t kMaxWrittenPixelBytes = 64 << 20;

std::vector<uint8_t> Written(vx::TBitmap& bitmap) {
  vx::TMemoryStream out;
  bitmap.WriteToStream(out);
  return out.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TMemoryStream in;
  in.WriteBuffer(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  vx::TBitmap bitmap;
  try {
    bitmap.ReadFromStream(in);
  } catch (const vx::Exception&) {
    return 0;
  }
  const auto& h = bitmap.HeldHeader();
  if (int64_t(h.size_image) > kMaxWrittenPixelBytes) return 0;
  (void)bitmap.PixelIndex(bitmap.PixelWidth() - 1, bitmap.PixelHeight() - 1);

  const std::vector<uint8_t> first = Written(bitmap);
  vx::TMemoryStream again;
  again.WriteBuffer(first.data(), static_cast<int64_t>(first.size()));
  again.SetPosition(0);
  vx::TBitmap copy;
  try {
    copy.ReadFromStream(again);
  } catch (const vx::Exception&) {
    std::abort();  // what we wrote must read back
  }
  if (Written(copy) != first) std::abort();

  // Drawing drops a kept source; the image must then write uncompressed.
  if (bitmap.PixelWidth() <= 4096 && bitmap.PixelHeight() <= 4096) {
    bitmap.DrawingSurface().DeviceContext().FillSolidRect({0, 0, 3, 3}, vx::gdi::RGB(10, 200, 30));
    bitmap.SetPixelWidth(bitmap.PixelWidth() + 1);
    (void)Written(bitmap);
  }
  return 0;
}
