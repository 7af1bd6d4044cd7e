// Conversion of a Windows metafile into an enhanced metafile, as the
// platform's SetWinMetaFileBits does it with MM_ANISOTROPIC and no reference
// context: the virtual screen is the reference device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// Receives one note per record the conversion drops: "skipped META_..." for
// a record without an enhanced form or one not supported, "META_... is too
// short; skipped" and the like for a record that cannot be converted.
using WmfConversionLog = std::function<void(const std::string& note)>;

// The frame, in 0.01 mm, of a conversion made without extents: the whole
// reference screen.
inline constexpr Size kWholeScreenFrame{kScreenWidthMM * 100, kScreenHeightMM * 100};

// wmf is the metafile proper (standard header first, no placeable header).
// x_ext and y_ext are the picture's size in 0.01 mm; both 0 make the frame
// the whole reference screen. None when the metafile is refused.
std::optional<std::vector<uint8_t>> ConvertWinMetaFileToEnh(const uint8_t* wmf, size_t size,
                                                            int32_t x_ext, int32_t y_ext,
                                                            const WmfConversionLog& log = {});

}  // namespace vx::gdi
