// The context a Windows metafile is recorded into while it is converted: an
// enhanced-metafile context on the reference screen. It follows the records
// the conversion writes that change how text is measured (mapping, save
// levels, fonts, alignment, justification) and keeps the character extra
// spacing, which an enhanced metafile has no record for. Text the metafile
// draws without advances gets the widths this context measures, as the
// platform's recording context fills them in, and every text record gets the
// bounds that context estimates (which decide the frame of a picture
// converted without extents).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::gdi {

class WmfRecordingContext {
public:
  WmfRecordingContext();
  ~WmfRecordingContext();
  WmfRecordingContext(const WmfRecordingContext&) = delete;
  WmfRecordingContext& operator=(const WmfRecordingContext&) = delete;

  // A record just written (its body, without type and size); the types that
  // do not change the measuring are passed over.
  void Follow(EmfRecord type, const std::vector<uint8_t>& body);
  void SetCharacterExtra(int32_t extra);
  // The logical width of each character measured on its own.
  std::vector<int32_t> Advances(const std::u16string& text) const;
  // The device rectangle (inclusive) a recording context reserves for text
  // at reference with these advances: their sum and one unit more across,
  // the font's height and one unit more from the reference point the way
  // the alignment points (with the descent below a baseline).
  Rect TextBounds(Point reference, const std::vector<int32_t>& advances) const;

private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vx::gdi
