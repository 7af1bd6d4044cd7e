// Collects enhanced-metafile records and closes them into a whole metafile
// with header and end-of-file record: the output side of the converter from
// Windows metafiles and of anything else that records.
#pragma once

#include <cstdint>
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

  uint32_t RecordCount() const { return count_; }

  // The metafile: header (its size, byte and record counts filled in), the
  // records, the end-of-file record without palette.
  std::vector<uint8_t> Finish(EnhMetaHeader header) const;

private:
  std::vector<uint8_t> records_;
  uint32_t count_ = 0;
};

}  // namespace vx::gdi
