// One vector picture held as an enhanced metafile, read from EMF or placeable
// WMF data, sized in screen pixels and played into a rectangle of a canvas.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/note_tally.h"
#include "graphics/graphic.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx {

class TMetafile : public TGraphic {
public:
  TMetafile() = default;

  void DrawInto(TCanvas& canvas, const gdi::Rect& rect) override;
  int32_t PixelHeight() const override;
  bool HasPalette() const override;
  int32_t PixelWidth() const override;
  void SetPixelHeight(int32_t value) override;
  void SetPixelWidth(int32_t value) override;
  // Writes the placeable form when the name ends in ".wmf" (any case).
  void WriteToFile(const std::string& path) override;
  // Replaces the picture by the EMF or placeable WMF at the stream's position;
  // a failed read leaves no picture.
  void ReadFromStream(TStream& stream) override;
  // The EMF bytes, or with EnhancedFormat false a placeable WMF; nothing
  // without a picture.
  void WriteToStream(TStream& stream) override;

  // Frame in 0.01 mm; setting one clears the pending pixel size.
  int32_t FrameWidth() const { return image_.frame_width; }
  int32_t FrameHeight() const { return image_.frame_height; }
  void SetFrameWidth(int32_t value);
  void SetFrameHeight(int32_t value);

  // Units per inch of a placeable WMF header as read (may be 0); 0 for an EMF.
  uint16_t UnitsPerInch() const { return image_.units_per_inch; }
  bool EnhancedFormat() const { return enhanced_format_; }
  void SetEnhancedFormat(bool value) { enhanced_format_ = value; }

  bool Empty() const { return image_.emf.empty(); }
  // The enhanced-metafile bytes of the picture (empty without one).
  const std::vector<uint8_t>& Bytes() const { return image_.emf; }
  // The header of the picture, when there is one.
  std::optional<gdi::EnhMetaHeader> Header() const;
  // The metafile's palette, at most its first 256 entries; empty when it has none.
  std::vector<gdi::PaletteEntry> PaletteEntries() const;

  // What reading a Windows metafile dropped (records without an enhanced
  // form, not supported or cut short), each note with its count; empty for an
  // enhanced metafile.
  const TCountedNotes& ReadNotes() const { return image_.read_notes; }

  // Receives the playback's notes (records skipped, cut short or refused) while
  // the picture draws; none when unset.
  using TPlaybackLog = std::function<void(const std::string& note)>;
  void SetPlaybackLog(TPlaybackLog log) { playback_log_ = std::move(log); }

  // Installs a finished enhanced metafile (the recording canvas's result): the
  // frame comes from its header and the pending size is cleared. Bytes the
  // platform would not accept fail with "Metafile is not valid".
  void InstallEnhMetaFile(std::vector<uint8_t> emf);

private:
  struct TMetafileImage {
    std::vector<uint8_t> emf;          // the picture; empty while there is none
    int32_t frame_width = 0;
    int32_t frame_height = 0;
    uint16_t units_per_inch = 0;
    TCountedNotes read_notes;
    int32_t pending_width = 0;
    int32_t pending_height = 0;
    // Built on first request and kept with the picture.
    mutable std::optional<std::vector<gdi::PaletteEntry>> palette;
  };

  void ReadEnhanced(TStream& stream);
  void ReadPlaceable(TStream& stream, int64_t length);
  void WritePlaceable(TStream& stream) const;
  int32_t PixelSize(int32_t frame, int32_t pending, bool horizontal) const;
  void SetPixelSize(int32_t value, bool horizontal);

  TMetafileImage image_;
  bool enhanced_format_ = true;
  TPlaybackLog playback_log_;
};

}  // namespace vx
