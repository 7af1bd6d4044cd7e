// Shared state of one metafile playback, the record handlers' signature and
// the record readers the handlers share.
#pragma once

#include "graphics/platform/core/gdi_field_reader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/emf/emf_player.h"

namespace vx::gdi {

struct PaletteObject {
  std::vector<PaletteEntry> entries;
};

using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont, PaletteObject>;

struct Playback {
  TDeviceContext& dc;
  const PlaybackOptions& options;
  std::vector<GdiObject> handles;  // index 0 is the metafile itself
  int save_depth = 0;              // SaveDC levels the metafile opened
  XForm init;                      // frame to target rectangle
  uint32_t selected_palette = 0;   // handle index of the palette selected; 0: none of the metafile's

  bool Logging() const { return options.verbose && options.log; }
  void Log(const std::string& message) const {
    if (Logging()) options.log(message);
  }
  // The object behind a handle index, or nullptr for a bad or empty slot.
  const GdiObject* Object(uint32_t index) const {
    if (index >= handles.size() || std::holds_alternative<std::monostate>(handles[index])) return nullptr;
    return &handles[index];
  }
  // Index 0 stands for the metafile, but some writers number their objects
  // from 0 and expect them to be used like any other.
  void Store(uint32_t index, GdiObject object) {
    if (index >= handles.size()) return;
    handles[index] = std::move(object);
  }
};

// A handler reads its record's parameters from r (positioned after the type
// and size fields; reading past the record fails r) and calls the context.
using RecordHandler = void (*)(Playback& play, ByteReader& r);

// Record readers shared by the handlers; they fail r on short data.
// count points of 32-bit or 16-bit coordinates; empty (r failed) when the
// record cannot hold them.
std::vector<Point> ReadPoints(ByteReader& r, uint32_t count, bool sixteen_bit);
XForm ReadXForm(ByteReader& r);
// A region from RGNDATA: its rectangles mapped through xform.
bool ReadRegion(ByteReader& r, uint32_t size, const XForm& xform, Region& out);

}  // namespace vx::gdi
