// What a metafile asks for beyond what its playback reports: the fonts it
// creates and the EMF+ content its comment records carry, found by one
// bounds-checked walk over its records (for --verbose).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"

namespace vx {

struct TMetafileSurvey {
  std::vector<gdi::LogFont> fonts;  // every font record's font, in record order
  int64_t emf_plus_records = 0;     // comment records that carry EMF+ data
  bool emf_plus_dual = false;       // its header says the EMF records draw the picture too
};

// Walks the records of an enhanced metafile; the walk ends at the first record
// whose size does not fit.
TMetafileSurvey SurveyMetafile(const uint8_t* data, size_t size);

}  // namespace vx
