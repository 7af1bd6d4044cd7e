// The two conversions the entry dispatches to.
#pragma once

#include <cstdint>
#include <string>

#include "converter/conversion_options.h"

namespace vx {

// Saved report to one BMP file per page, named from the destination.
void ConvertReportFile(const std::string& source, const std::string& destination, int32_t resolution,
                       const TConversionOptions& options = {});

// One .wmf / .emf source to one BMP file under the destination name as given.
void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution,
                         const TConversionOptions& options = {});

}  // namespace vx
