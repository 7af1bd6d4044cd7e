// Names of the page files of a saved-report conversion.
#pragma once

#include <cstdint>
#include <string>

#include "converter/conversion_options.h"

namespace vx {

// The destination's directory part (up to and including its last '/') followed
// by its file name without the extension (from the file name's last '.').
std::string PageFilePrefix(const std::string& destination);

// The prefix, the page number with at least five digits, then ".bmp".
std::string PageFileName(const std::string& prefix, int32_t page);
// The same with the extension of the format: ".bmp" or ".png".
std::string PageFileName(const std::string& prefix, int32_t page, TOutputFormat format);

}  // namespace vx
