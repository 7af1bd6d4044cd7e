// Walks arbitrary bytes as an enhanced metafile's records for the fonts and
// EMF+ content --verbose reports; the walk must stay inside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "converter/metafile_survey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so that any read past the end is caught.
  const std::vector<uint8_t> bytes(data, data + size);
  const vx::TMetafileSurvey survey = vx::SurveyMetafile(bytes.data(), bytes.size());
  for (const auto& font : survey.fonts) {
    if (font.face_name.size() > 32) __builtin_trap();
  }
  return 0;
}
