#include "graphics/platform/wmf/wmf_dib.h"

#include "base/byte_reader.h"

namespace vx::gdi {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiBitfields = 3;

uint64_t DefaultColorCount(uint16_t bit_count) {
  return bit_count >= 1 && bit_count <= 8 ? uint64_t(1) << bit_count : 0;
}

std::optional<PackedDib> SplitCoreDib(const uint8_t* data, size_t size, uint16_t usage) {
  ByteReader in(data, size);
  in.Skip(4);
  const uint16_t width = in.U16();
  const uint16_t height = in.U16();
  const uint16_t planes = in.U16();
  const uint16_t bit_count = in.U16();
  if (!in.Ok()) return std::nullopt;
  const uint64_t colors = DefaultColorCount(bit_count);
  const uint64_t entry = usage == kDibPalColors ? 2 : 3;
  if (kCoreHeaderSize + colors * entry > size) return std::nullopt;

  ByteWriter info;
  info.U32(kInfoHeaderSize);
  info.I32(width);
  info.I32(height);
  info.U16(planes);
  info.U16(bit_count);
  for (int i = 0; i < 6; ++i) info.U32(0);  // compression .. important colours
  const uint8_t* table = data + kCoreHeaderSize;
  for (uint64_t i = 0; i < colors; ++i) {
    if (usage == kDibPalColors) {
      info.U16(LoadU16(table + 2 * i));
    } else {
      info.Append(table + 3 * i, 3);
      info.U8(0);
    }
  }
  PackedDib dib;
  dib.info = std::move(info.Bytes());
  const size_t used = size_t(kCoreHeaderSize + colors * entry);
  dib.bits = data + used;
  dib.bits_size = size - used;
  return dib;
}

}  // namespace

std::optional<PackedDib> SplitPackedDib(const uint8_t* data, size_t size, uint16_t usage) {
  if (data == nullptr || size < 4) return std::nullopt;
  const uint32_t header_size = LoadU32(data);
  if (header_size == kCoreHeaderSize) return SplitCoreDib(data, size, usage);
  if (header_size < kInfoHeaderSize || header_size > size) return std::nullopt;
  const uint16_t bit_count = LoadU16(data + 14);
  const uint32_t compression = LoadU32(data + 16);
  const uint32_t colors_used = LoadU32(data + 32);
  const uint64_t colors = colors_used != 0 ? colors_used : DefaultColorCount(bit_count);
  const uint64_t masks = (header_size == kInfoHeaderSize && compression == kBiBitfields) ? 12 : 0;
  const uint64_t entry = usage == kDibPalColors ? 2 : 4;
  const uint64_t info_size = header_size + masks + colors * entry;
  if (info_size > size) return std::nullopt;
  PackedDib dib;
  dib.info.assign(data, data + info_size);
  dib.bits = data + info_size;
  dib.bits_size = size - size_t(info_size);
  return dib;
}

}  // namespace vx::gdi
