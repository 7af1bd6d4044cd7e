#include "graphics/platform/emf/emf_header.h"

#include "base/byte_reader.h"
#include "graphics/platform/core/gdi_field_reader.h"

namespace vx::gdi {

std::optional<EnhMetaHeader> ParseEnhMetaHeader(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kEmfBaseHeaderSize) return std::nullopt;
  ByteReader in(data, size);
  EnhMetaHeader h;
  h.type = in.U32();
  h.size = in.U32();
  h.bounds = ReadRect(in);
  h.frame = ReadRect(in);
  h.signature = in.U32();
  h.version = in.U32();
  h.bytes = in.U32();
  h.records = in.U32();
  h.handles = in.U16();
  h.reserved = in.U16();
  h.description_chars = in.U32();
  h.description_offset = in.U32();
  h.palette_entries = in.U32();
  h.device = ReadSize(in);
  h.millimeters = ReadSize(in);
  if (!in.Ok()) return std::nullopt;
  // The extensions count only when the record itself says it is long enough.
  const size_t record_size = h.size < size ? h.size : size;
  if (record_size >= kEmfPixelFormatHeaderSize) {
    h.pixel_format_size = in.U32();
    h.pixel_format_offset = in.U32();
    h.open_gl = in.U32();
  }
  if (record_size >= kEmfMicrometersHeaderSize) h.micrometers = ReadSize(in);
  if (!in.Ok()) return std::nullopt;
  return h;
}

bool IsAcceptableEnhMetaFile(const uint8_t* data, size_t size) {
  const auto h = ParseEnhMetaHeader(data, size);
  if (!h) return false;
  if (h->type != TypeWord(EmfRecord::kHeader) || h->signature != kEnhMetaSignature) return false;
  if (h->bytes < kEmfPixelFormatHeaderSize || h->bytes > size) return false;
  if (h->bytes % 4 != 0) return false;
  if (h->size < kEmfBaseHeaderSize || h->size > h->bytes || h->size % 4 != 0) return false;
  if (h->description_chars != 0) {
    const uint64_t end = uint64_t(h->description_offset) + uint64_t(h->description_chars) * 2;
    if (h->description_offset < kEmfBaseHeaderSize || end > h->bytes) return false;
  }
  return true;
}

std::vector<uint8_t> EncodeEnhMetaHeader(const EnhMetaHeader& h) {
  ByteWriter out;
  const auto rect = [&out](const Rect& r) {
    out.I32(r.left);
    out.I32(r.top);
    out.I32(r.right);
    out.I32(r.bottom);
  };
  const bool has_pixel_format = h.pixel_format_size || h.micrometers;
  const uint32_t size = h.micrometers ? kEmfMicrometersHeaderSize
                        : has_pixel_format ? kEmfPixelFormatHeaderSize
                                           : kEmfBaseHeaderSize;
  out.U32(h.type);
  out.U32(static_cast<uint32_t>(size));
  rect(h.bounds);
  rect(h.frame);
  out.U32(h.signature);
  out.U32(h.version);
  out.U32(h.bytes);
  out.U32(h.records);
  out.U16(h.handles);
  out.U16(h.reserved);
  out.U32(h.description_chars);
  out.U32(h.description_offset);
  out.U32(h.palette_entries);
  out.I32(h.device.cx);
  out.I32(h.device.cy);
  out.I32(h.millimeters.cx);
  out.I32(h.millimeters.cy);
  if (has_pixel_format) {
    out.U32(h.pixel_format_size.value_or(0));
    out.U32(h.pixel_format_offset.value_or(0));
    out.U32(h.open_gl.value_or(0));
  }
  if (h.micrometers) {
    out.I32(h.micrometers->cx);
    out.I32(h.micrometers->cy);
  }
  return std::move(out.Bytes());
}

}  // namespace vx::gdi
