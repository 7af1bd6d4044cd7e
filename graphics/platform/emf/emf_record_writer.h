// Collects enhanced-metafile records and closes them into a whole metafile
// with header and end-of-file record: the output side of the converter from
// Windows metafiles and of anything else that records.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::gdi {

class EmfRecordWriter {
public:
  // Appends one record: type, size, the body padded to four bytes.
  void Add(EmfRecord type, const std::vector<uint8_t>& body);
  void Add(EmfRecord type, ByteWriter& body) { Add(type, body.Bytes()); }
  // The same with the body in two parts, so that a bitmap's bits are copied
  // once, straight from where they are read.
  void Add(EmfRecord type, ByteWriter& head, std::span<const uint8_t> tail);

  // Room for records of about this many bytes, so that large ones are not
  // copied again as the records grow.
  void Reserve(size_t bytes) { records_.reserve(bytes); }

  uint32_t RecordCount() const { return count_; }

  // The metafile: header (its size, byte and record counts filled in), the
  // records, the end-of-file record without palette. The records become the
  // metafile in place, so a large one is not copied into a second block.
  std::vector<uint8_t> Finish(EnhMetaHeader header) &&;

private:
  void AddParts(EmfRecord type, const std::vector<uint8_t>& body, std::span<const uint8_t> tail);

  std::vector<uint8_t> records_;
  uint32_t count_ = 0;
};

}  // namespace vx::gdi
