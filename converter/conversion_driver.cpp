#include "converter/conversion_driver.h"

#include "base/errors.h"

namespace vx {

void ConvertReportFile(const std::string&, const std::string&, int32_t) {
  throw EVXError("Converting saved reports is not available yet");
}

void ConvertMetafileFile(const std::string&, const std::string&, int32_t) {
  throw EVXError("Converting metafiles is not available yet");
}

}  // namespace vx
