// Reads arbitrary bytes as a BMP. Whatever reads must write, read back and
// write again to the same bytes; nothing may crash, hang or overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"

namespace {

// Images up to 2 GiB are legitimate, but allocating (and, under the address
// sanitizer, poisoning) that much for every input makes fuzzing crawl: inputs
// that declare more than this are left out.
constexpr int64_t kMaxPixelBytes = 16 << 20;

int64_t DeclaredPixelBytes(const uint8_t* data, size_t size) {
  if (size < 30) return 0;
  int64_t width = 0, height = 0, bits = 0;
  if (vx::LoadU32(data + 14) == 12) {
    width = vx::LoadU16(data + 18);
    height = vx::LoadU16(data + 20);
    bits = vx::LoadU16(data + 24);
  } else {
    width = vx::LoadI32(data + 18);
    height = vx::LoadI32(data + 22);
    bits = vx::LoadU16(data + 28);
  }
  if (width < 0 || bits > 64) return 0;  // refused by the reader anyway
  return (width * bits + 31) / 32 * 4 * (height < 0 ? -height : height);
}

std::vector<uint8_t> Written(vx::TBitmap& bitmap) {
  vx::TMemoryStream out;
  bitmap.WriteToStream(out);
  return out.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (DeclaredPixelBytes(data, size) > kMaxPixelBytes) return 0;
  vx::TMemoryStream in;
  in.WriteBuffer(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  vx::TBitmap bitmap;
  try {
    bitmap.ReadFromStream(in);
  } catch (const vx::Exception&) {
    return 0;
  }
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
  if (bitmap.PixelWidth() <= 1024 && bitmap.PixelHeight() <= 1024) {
    bitmap.DrawingSurface().DeviceContext().FillSolidRect({0, 0, 3, 3}, vx::gdi::RGB(10, 200, 30));
    bitmap.SetPixelWidth(bitmap.PixelWidth() + 1);
    (void)Written(bitmap);
  }
  return 0;
}
