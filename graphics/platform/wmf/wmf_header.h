// The standard header of a Windows metafile and the walk over its records,
// bounded by the data: a record that claims fewer than three words or more
// than remains ends the walk, like the end-of-file record does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "graphics/platform/wmf/wmf_records.h"

namespace vx::gdi {

struct WinMetaHeader {
  uint16_t type = 0;
  uint16_t header_words = 0;
  uint16_t version = 0;
  uint32_t size_words = 0;      // as stated; the data decides how far records go
  uint16_t objects = 0;
  uint32_t max_record_words = 0;
};

// The header of a metafile the platform converts: memory type, nine header
// words, version 0x300, an even length of at least the first three fields.
// The fields after the version are read as far as the data reaches.
std::optional<WinMetaHeader> ParseWinMetaHeader(const uint8_t* data, size_t size);

struct WmfRecord {
  uint16_t function = 0;
  const uint8_t* params = nullptr;   // the words after the function number
  size_t param_bytes = 0;
  uint32_t size_words = 0;
};

// Visits the records after the header; stops at the end-of-file record or at
// a record that does not fit. Returns the number of records visited.
template <typename Visitor>
size_t ForEachWmfRecord(const uint8_t* data, size_t size, Visitor&& visit);

// Reads the record at offset; none when it is the last (end of file, too
// small, or running past the data).
std::optional<WmfRecord> WmfRecordAt(const uint8_t* data, size_t size, size_t offset);

template <typename Visitor>
size_t ForEachWmfRecord(const uint8_t* data, size_t size, Visitor&& visit) {
  size_t count = 0;
  size_t offset = wmf::kHeaderSize;
  while (const auto record = WmfRecordAt(data, size, offset)) {
    visit(*record);
    ++count;
    offset += size_t(record->size_words) * 2;
  }
  return count;
}

}  // namespace vx::gdi
