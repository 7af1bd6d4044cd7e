// The two conversions the entry dispatches to.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

// Saved report to one BMP file per page, named from the destination.
void ConvertReportFile(const std::string& source, const std::string& destination, int32_t resolution);

// One .wmf / .emf source to one BMP file under the destination name as given.
void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution);

}  // namespace vx
