// Conversion of an enhanced metafile back into a Windows metafile, as the
// platform's GetWinMetaFileBits does it with MM_ANISOTROPIC on the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx::gdi {

struct WinMetaFileBits {
  std::vector<uint8_t> wmf;         // standard header and records
  uint32_t skipped_records = 0;     // EMF records that have no WMF form here
};

// emf must be acceptable (IsAcceptableEnhMetaFile).
WinMetaFileBits ConvertEnhMetaFileToWin(const uint8_t* emf, size_t size);

}  // namespace vx::gdi
