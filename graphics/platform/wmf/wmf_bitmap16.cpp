#include "graphics/platform/wmf/wmf_bitmap16.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace vx::gdi {

namespace {

constexpr size_t kBitmap16HeaderSize = 10;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kMaxSide = 1 << 15;

}  // namespace

std::optional<Bitmap16Dib> Bitmap16ToDib(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  ByteReader in(data, size);
  in.I16();  // type, always 0
  const int32_t width = in.I16();
  const int32_t height = in.I16();
  const int32_t width_bytes = in.I16();
  const uint8_t planes = in.U8();
  const uint8_t bits_per_pixel = in.U8();
  if (!in.Ok() || planes != 1 || (bits_per_pixel != 1 && bits_per_pixel != 24 && bits_per_pixel != 32))
    return std::nullopt;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  const int64_t row_bytes = (int64_t(width) * bits_per_pixel + 7) / 8;
  if (width_bytes < row_bytes) return std::nullopt;
  if (uint64_t(width_bytes) * uint64_t(height) > size - kBitmap16HeaderSize) return std::nullopt;

  const size_t stride = size_t((int64_t(width) * bits_per_pixel + 31) / 32 * 4);
  Bitmap16Dib dib;
  ByteWriter info;
  info.U32(kInfoHeaderSize);
  info.I32(width);
  info.I32(height);
  info.U16(1);
  info.U16(bits_per_pixel);
  info.U32(0);  // uncompressed
  info.U32(uint32_t(stride * size_t(height)));
  for (int i = 0; i < 4; ++i) info.U32(0);
  if (bits_per_pixel == 1) {
    info.U32(0x00000000);  // 0: black
    info.U32(0x00FFFFFF);  // 1: white
  }
  dib.info = std::move(info.Bytes());
  dib.bits.assign(stride * size_t(height), 0);
  const uint8_t* rows = data + kBitmap16HeaderSize;
  for (int32_t y = 0; y < height; ++y) {
    // The bitmap's rows run top-down, the DIB's bottom-up.
    std::memcpy(dib.bits.data() + size_t(height - 1 - y) * stride, rows + size_t(y) * size_t(width_bytes),
                size_t(row_bytes));
  }
  return dib;
}

}  // namespace vx::gdi
