// The one table of enhanced-metafile records: for every record type its
// name, the fewest bytes a record of it must have to be played, and the
// handler that plays it. Playback, the verbose log and the tests read it; a
// new record costs a handler and a row.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "graphics/platform/emf/emf_playback.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::gdi {

struct EmfRecordRow {
  EmfRecord type;
  const char* name;           // as the published format spells it
  uint32_t minimum_size;      // bytes, type and size fields included
  RecordHandler handler;      // nullptr: playback passes over the record
};

// One row per type from kFirstEmfRecord to kLastEmfRecord, in type order.
std::span<const EmfRecordRow> EmfRecordTable();

// The row of a record type word; nullptr for a type outside the format.
const EmfRecordRow* FindEmfRecordRow(uint32_t type);

// The record's name for diagnostics ("EMR_..." or "record type N").
std::string EmfRecordName(uint32_t type);

// The types playback passes over on purpose, each with its reason; every
// other type without a handler is reported as skipped in the verbose log.
// Those that would change the drawing are named there as played as no-ops;
// the header, the end and comments are passed over silently.
struct IgnoredEmfRecord {
  EmfRecord type;
  const char* reason;
  bool noted = true;  // named in the verbose log
};
std::span<const IgnoredEmfRecord> IgnoredEmfRecords();
bool IsIgnoredEmfRecord(uint32_t type);
// The row of an ignored type; nullptr for any other type.
const IgnoredEmfRecord* FindIgnoredEmfRecord(uint32_t type);

}  // namespace vx::gdi
