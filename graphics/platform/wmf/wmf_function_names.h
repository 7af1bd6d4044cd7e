// Names of Windows-metafile record functions for diagnostics, as the
// published format spells them ("META_SETRELABS").
#pragma once

#include <cstdint>
#include <string>

namespace vx::gdi {

// "META_..." for every function of the format, "WMF function 0xNNNN" for a
// number outside it.
std::string WmfFunctionName(uint16_t function);

}  // namespace vx::gdi
