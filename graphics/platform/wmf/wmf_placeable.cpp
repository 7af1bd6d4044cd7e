#include "graphics/platform/wmf/wmf_placeable.h"

#include "base/byte_reader.h"

namespace vx::gdi {

uint16_t PlaceableChecksum(const uint8_t* header) {
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= LoadU16(header + i);
  return sum;
}

std::optional<PlaceableHeader> ParsePlaceableHeader(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kPlaceableHeaderSize) return std::nullopt;
  ByteReader in(data, size);
  if (in.U32() != kPlaceableKey) return std::nullopt;
  PlaceableHeader h;
  h.handle = in.U16();
  h.left = in.I16();
  h.top = in.I16();
  h.right = in.I16();
  h.bottom = in.I16();
  h.units_per_inch = in.U16();
  h.reserved = in.U32();
  const uint16_t checksum = in.U16();
  if (!in.Ok() || checksum != PlaceableChecksum(data)) return std::nullopt;
  return h;
}

std::vector<uint8_t> EncodePlaceableHeader(const PlaceableHeader& header) {
  ByteWriter out;
  out.U32(kPlaceableKey);
  out.U16(header.handle);
  out.I16(header.left);
  out.I16(header.top);
  out.I16(header.right);
  out.I16(header.bottom);
  out.U16(header.units_per_inch);
  out.U32(header.reserved);
  out.U16(PlaceableChecksum(out.Bytes().data()));
  return std::move(out.Bytes());
}

}  // namespace vx::gdi
