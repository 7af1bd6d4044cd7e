#include "graphics/platform/wmf/wmf_header.h"

#include "base/byte_reader.h"
#include "graphics/platform/wmf/wmf_records.h"

namespace vx::gdi {

std::optional<WinMetaHeader> ParseWinMetaHeader(const uint8_t* data, size_t size) {
  // What the reference converter refuses: odd lengths, fewer than three words,
  // any type but memory, a header other than nine words, versions but 0x300.
  if (data == nullptr || size < 6 || size % 2 != 0) return std::nullopt;
  ByteReader in(data, size);
  WinMetaHeader h;
  h.type = in.U16();
  h.header_words = in.U16();
  h.version = in.U16();
  if (h.type != wmf::kMemoryMetafile || h.header_words != wmf::kHeaderWords ||
      h.version != wmf::kVersion300) {
    return std::nullopt;
  }
  if (size >= wmf::kHeaderSize) {
    h.size_words = in.U32();
    h.objects = in.U16();
    h.max_record_words = in.U32();
  }
  return h;
}

std::optional<WmfRecord> WmfRecordAt(const uint8_t* data, size_t size, size_t offset) {
  if (offset > size || size - offset < 6) return std::nullopt;
  WmfRecord r;
  r.size_words = LoadU32(data + offset);
  r.function = LoadU16(data + offset + 4);
  if (r.function == wmf::kEof || r.size_words < wmf::kMinRecordWords) return std::nullopt;
  if (uint64_t(r.size_words) * 2 > size - offset) return std::nullopt;
  r.params = data + offset + 6;
  r.param_bytes = size_t(r.size_words) * 2 - 6;
  return r;
}

}  // namespace vx::gdi
