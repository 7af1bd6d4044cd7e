// Plays an enhanced metafile into a device context, as the platform's
// PlayEnhMetaFile does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

struct PlaybackOptions {
  bool verbose = false;                        // report skipped records through log
  std::function<void(const std::string&)> log;
  // Device-unscaled copies (SetDIBitsToDevice) cover their size in reference
  // pixels, scaled like the rest of the picture, as a recorder's bounds count
  // them: for measuring what a picture covers, not for drawing it.
  bool unscaled_blits_at_reference_size = false;
};

// rect is inclusive (right and bottom are the last pixel): the picture's frame
// maps onto it. Returns false when the data is not a playable metafile; damaged
// records end playback early. Never reads outside data.
bool PlayEnhMetaFile(TDeviceContext& dc, const uint8_t* data, size_t size, const Rect& rect,
                     const PlaybackOptions& options = {});

}  // namespace vx::gdi
