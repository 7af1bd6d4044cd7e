#include "graphics/bmp_codec.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/stream.h"
#include "graphics/platform/raster/pixel_surface.h"

namespace vx::bmp {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(msg::kInvalidBitmap); }

bool IsValidDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsValidCompression(uint32_t compression, int bits) {
  switch (compression) {
    case kRgb: return true;
    case kRle8: return bits == 8;
    case kRle4: return bits == 4;
    case kBitFields: return bits == 16 || bits == 32;
    default: return false;
  }
}

uint32_t DefaultColorCount(int bits) { return bits <= 8 ? 1u << bits : 0u; }

// The header bytes after the 4-byte size field, widened to the 40-byte form.
struct HeaderRead {
  InfoHeader header;
  std::vector<uint8_t> bytes;  // the info header as it stands in the source
};

HeaderRead ReadInfoHeader(TStream& stream, int64_t available) {
  HeaderRead result;
  uint8_t size_field[4];
  if (available < 4) Invalid();
  stream.ReadBuffer(size_field, 4);
  const uint32_t size = LoadU32(size_field);
  if (size != kCoreHeaderSize && size < kInfoHeaderSize) Invalid();
  if (size > available) Invalid();  // a header cut short
  result.bytes.resize(size);
  std::memcpy(result.bytes.data(), size_field, 4);
  stream.ReadBuffer(result.bytes.data() + 4, size - 4);
  const uint8_t* p = result.bytes.data();
  if (size == kCoreHeaderSize) {
    result.header.size = kInfoHeaderSize;
    result.header.width = LoadU16(p + 4);
    result.header.height = LoadU16(p + 6);
    result.header.planes = LoadU16(p + 8);
    result.header.bit_count = LoadU16(p + 10);
    return result;
  }
  result.header = GetInfoHeader(p);
  return result;
}

void ReadColors(ByteReader& reader, uint32_t count, bool core, std::vector<gdi::PaletteEntry>& colors) {
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t b = reader.U8(), g = reader.U8(), r = reader.U8();
    if (!core) reader.U8();
    if (i < colors.size()) colors[i] = {r, g, b};
  }
  if (!reader.Ok()) throw EReadError(msg::kStreamRead);
}

// A bounded piece of the stream, read in one go.
std::vector<uint8_t> ReadBytes(TStream& stream, int64_t count) {
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), count);
  return bytes;
}

void PutRleNibble(uint8_t* row, int32_t x, uint8_t value) {
  uint8_t& byte = row[x >> 1];
  byte = (x & 1) ? uint8_t((byte & 0xF0) | (value & 0x0F)) : uint8_t((byte & 0x0F) | (value << 4));
}

}  // namespace

int64_t RowStride(int64_t width, int bits) { return gdi::DibRowStride(width, bits); }

int32_t AbsHeight(int32_t height) { return height == INT32_MIN ? INT32_MAX : (height < 0 ? -height : height); }

int64_t PixelBytes(int32_t width, int32_t height, int bits) {
  if (width < 0 || height == INT32_MIN) return -1;
  const int64_t bytes = RowStride(width, bits) * AbsHeight(height);
  return bytes < kPixelBytesLimit ? bytes : -1;
}

void PutInfoHeader(uint8_t* p, const InfoHeader& h) {
  StoreU32(p + 0, h.size);
  StoreU32(p + 4, static_cast<uint32_t>(h.width));
  StoreU32(p + 8, static_cast<uint32_t>(h.height));
  StoreU16(p + 12, h.planes);
  StoreU16(p + 14, h.bit_count);
  StoreU32(p + 16, h.compression);
  StoreU32(p + 20, h.size_image);
  StoreU32(p + 24, static_cast<uint32_t>(h.x_pels_per_meter));
  StoreU32(p + 28, static_cast<uint32_t>(h.y_pels_per_meter));
  StoreU32(p + 32, h.clr_used);
  StoreU32(p + 36, h.clr_important);
}

InfoHeader GetInfoHeader(const uint8_t* p) {
  InfoHeader h;
  h.size = LoadU32(p + 0);
  h.width = LoadI32(p + 4);
  h.height = LoadI32(p + 8);
  h.planes = LoadU16(p + 12);
  h.bit_count = LoadU16(p + 14);
  h.compression = LoadU32(p + 16);
  h.size_image = LoadU32(p + 20);
  h.x_pels_per_meter = LoadI32(p + 24);
  h.y_pels_per_meter = LoadI32(p + 28);
  h.clr_used = LoadU32(p + 32);
  h.clr_important = LoadU32(p + 36);
  return h;
}

std::vector<uint8_t> EncodeHeaders(const BmpParts& parts) {
  const bool masks = !parts.core_header && parts.masks != nullptr && parts.header.compression == kBitFields;
  const uint32_t info_size = parts.core_header ? kCoreHeaderSize : kInfoHeaderSize;
  const uint32_t entry_size = parts.core_header ? 3 : 4;
  const uint32_t offset = kFileHeaderSize + info_size + (masks ? kMaskBytes : 0) +
                          entry_size * static_cast<uint32_t>(parts.colors.size());
  ByteWriter w;
  w.U8('B');
  w.U8('M');
  w.U32(offset + static_cast<uint32_t>(parts.pixel_bytes));
  w.U16(0);
  w.U16(0);
  w.U32(offset);
  if (parts.core_header) {
    w.U32(kCoreHeaderSize);
    w.U16(static_cast<uint16_t>(parts.header.width));
    w.U16(static_cast<uint16_t>(parts.header.height));
    w.U16(parts.header.planes);
    w.U16(parts.header.bit_count);
  } else {
    uint8_t info[kInfoHeaderSize];
    PutInfoHeader(info, parts.header);
    w.Append(info, sizeof info);
  }
  if (masks) {
    for (int i = 0; i < 3; ++i) w.U32(parts.masks[i]);
  }
  for (const gdi::PaletteEntry& c : parts.colors) {
    w.U8(c.b);
    w.U8(c.g);
    w.U8(c.r);
    if (!parts.core_header) w.U8(0);
  }
  return std::move(w.Bytes());
}

void WriteBmp(TStream& stream, const BmpParts& parts) {
  const std::vector<uint8_t> headers = EncodeHeaders(parts);
  stream.WriteBuffer(headers.data(), static_cast<int64_t>(headers.size()));
  if (parts.pixel_bytes > 0) stream.WriteBuffer(parts.pixels, static_cast<int64_t>(parts.pixel_bytes));
}

DecodedBmp ReadBmp(TStream& stream, int64_t available) {
  uint8_t file_header[kFileHeaderSize];
  stream.ReadBuffer(file_header, kFileHeaderSize);
  if (file_header[0] != 'B' || file_header[1] != 'M') Invalid();
  int64_t left = available - kFileHeaderSize;

  HeaderRead info = ReadInfoHeader(stream, left);
  left -= static_cast<int64_t>(info.bytes.size());
  DecodedBmp result;
  InfoHeader& h = result.header;
  h = info.header;
  result.core_header = info.bytes.size() == kCoreHeaderSize;
  const bool compressed = h.compression != kRgb && h.compression != kBitFields;
  if (h.planes != 1) Invalid();
  if (!IsValidDepth(h.bit_count) || !IsValidCompression(h.compression, h.bit_count)) Invalid();
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) Invalid();
  if (compressed && h.height < 0) Invalid();  // compressed rows are always bottom-up
  const int64_t pixel_bytes = PixelBytes(h.width, h.height, h.bit_count);
  if (pixel_bytes < 0) throw EOutOfResources(msg::kOutOfResources);
  if (h.clr_used > kMaxColors) Invalid();

  // The rest of the data: in memory for a compressed source (kept verbatim),
  // otherwise the small parts only and the pixels straight into the image.
  std::vector<uint8_t> rest;
  if (compressed) {
    if (left >= kPixelBytesLimit) throw EOutOfResources(msg::kOutOfResources);
    rest = ReadBytes(stream, left);
  }

  if (h.compression == kBitFields) {
    result.has_masks = true;
    if (info.bytes.size() == kInfoHeaderSize) {
      if (left < kMaskBytes) throw EReadError(msg::kStreamRead);
      const std::vector<uint8_t> masks = ReadBytes(stream, kMaskBytes);
      for (int i = 0; i < 3; ++i) result.masks[i] = LoadU32(masks.data() + 4 * i);
      left -= kMaskBytes;
    } else if (info.bytes.size() >= kInfoHeaderSize + kMaskBytes) {
      for (int i = 0; i < 3; ++i) result.masks[i] = LoadU32(info.bytes.data() + kInfoHeaderSize + 4 * i);
    } else {
      Invalid();
    }
  }

  if (h.clr_used == 0) h.clr_used = DefaultColorCount(h.bit_count);
  const uint32_t entry_size = result.core_header ? 3 : 4;
  const int64_t table_bytes = int64_t(h.clr_used) * entry_size;
  result.colors.resize(h.bit_count <= 8 ? DefaultColorCount(h.bit_count) : h.clr_used);
  size_t data_start = 0;
  if (compressed) {
    ByteReader reader(rest.data(), rest.size());
    ReadColors(reader, h.clr_used, result.core_header, result.colors);
    data_start = reader.Offset();
  } else {
    if (left < table_bytes) throw EReadError(msg::kStreamRead);
    const std::vector<uint8_t> table = ReadBytes(stream, table_bytes);
    ByteReader reader(table.data(), table.size());
    ReadColors(reader, h.clr_used, result.core_header, result.colors);
  }
  left -= table_bytes;

  const int64_t image_size = h.size_image != 0 ? int64_t(h.size_image) : pixel_bytes;
  const int64_t data_bytes = std::min(image_size, left);
  result.pixels = ZeroedBytes(static_cast<size_t>(pixel_bytes));
  if (compressed) {
    DecodeRle(rest.data() + data_start, static_cast<size_t>(data_bytes), h.compression, h.width,
              h.height, RowStride(h.width, h.bit_count), result.pixels.Data());
    result.source.reserve(kFileHeaderSize + info.bytes.size() + rest.size());
    result.source.insert(result.source.end(), file_header, file_header + kFileHeaderSize);
    result.source.insert(result.source.end(), info.bytes.begin(), info.bytes.end());
    result.source.insert(result.source.end(), rest.begin(), rest.end());
  } else {
    stream.ReadBuffer(result.pixels.Data(), std::min(data_bytes, pixel_bytes));
  }

  // The platform's description of the new image, with the source's resolution
  // and colour counts.
  h.size = kInfoHeaderSize;
  h.compression = compressed ? kRgb : h.compression;
  h.size_image = static_cast<uint32_t>(pixel_bytes);
  return result;
}

void DecodeRle(const uint8_t* data, size_t size, uint32_t compression, int32_t width, int32_t height,
               int64_t stride, uint8_t* rows) {
  const bool four = compression == kRle4;
  size_t i = 0;
  int64_t x = 0;
  int64_t y = 0;  // stored row, bottom first
  auto put = [&](uint8_t value) {
    if (x < width && y < height) {
      uint8_t* row = rows + y * stride;
      if (four) PutRleNibble(row, static_cast<int32_t>(x), value);
      else row[x] = value;
    }
    ++x;
  };
  while (i + 1 < size && y < height) {
    const uint8_t count = data[i];
    const uint8_t value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? uint8_t((k & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (i + 1 >= size) return;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (value + 1u) / 2 : value;
      if (bytes > size - i) return;
      for (int k = 0; k < value; ++k) {
        const uint8_t b = data[i + (four ? size_t(k) / 2 : size_t(k))];
        put(four ? uint8_t((k & 1) ? b & 0x0F : b >> 4) : b);
      }
      i += (bytes + 1) & ~size_t(1);
    }
  }
}

}  // namespace vx::bmp
