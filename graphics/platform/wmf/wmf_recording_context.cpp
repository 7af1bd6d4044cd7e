#include "graphics/platform/wmf/wmf_recording_context.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_playback.h"
#include "graphics/platform/emf/emf_record_table.h"
#include "graphics/platform/gdi/device_context.h"

namespace vx::gdi {

namespace {

bool ChangesMeasuring(EmfRecord type) {
  switch (type) {
    case EmfRecord::kSetMapMode:
    case EmfRecord::kSetWindowExtEx:
    case EmfRecord::kSetWindowOrgEx:
    case EmfRecord::kSetViewportExtEx:
    case EmfRecord::kSetViewportOrgEx:
    case EmfRecord::kScaleWindowExtEx:
    case EmfRecord::kScaleViewportExtEx:
    case EmfRecord::kSaveDC:
    case EmfRecord::kRestoreDC:
    case EmfRecord::kExtCreateFontIndirectW:
    case EmfRecord::kSelectObject:
    case EmfRecord::kDeleteObject:
    case EmfRecord::kSetTextAlign:
    case EmfRecord::kSetTextJustification: return true;
    default: return false;
  }
}

}  // namespace

// The context and a playback over it that keeps the fonts by handle.
struct WmfRecordingContext::State {
  TDeviceContext dc;
  PlaybackOptions options;
  Playback play{dc, options, {}, 0, XForm{}};
};

WmfRecordingContext::WmfRecordingContext() : state_(std::make_unique<State>()) {
  state_->play.handles.resize(1);  // index 0 is the metafile itself
}

WmfRecordingContext::~WmfRecordingContext() = default;

void WmfRecordingContext::Follow(EmfRecord type, const std::vector<uint8_t>& body) {
  if (!ChangesMeasuring(type)) return;
  const EmfRecordRow* row = FindEmfRecordRow(TypeWord(type));
  if (row == nullptr || row->handler == nullptr) return;
  ByteWriter record;
  record.U32(TypeWord(type));
  record.U32(static_cast<uint32_t>(8 + body.size()));
  record.Append(body.data(), body.size());
  if (record.Size() < row->minimum_size) return;
  // A font's handle gets its slot before the record is played.
  if (type == EmfRecord::kExtCreateFontIndirectW && body.size() >= 4) {
    const uint32_t index = LoadU32(body.data());
    auto& handles = state_->play.handles;
    if (index >= handles.size()) handles.resize(size_t(index) + 1);
  }
  ByteReader r(record.Bytes().data(), record.Size());
  r.Seek(8);
  row->handler(state_->play, r);
}

void WmfRecordingContext::SetCharacterExtra(int32_t extra) { state_->dc.SetTextCharacterExtra(extra); }

std::vector<int32_t> WmfRecordingContext::Advances(const std::u16string& text) const {
  return state_->dc.CharacterExtents(text);
}

Rect WmfRecordingContext::TextBounds(Point reference, const std::vector<int32_t>& advances) const {
  const TDeviceContext& dc = state_->dc;
  int64_t width = 0;
  for (const int32_t a : advances) width += a;
  const TDeviceContext::LogicalFontMetrics metrics = dc.FontMetrics();
  const int64_t x = reference.x, y = reference.y, height = metrics.height;
  int64_t left = x, right = x + width + 1, top = y, bottom = y + height + 1;
  switch (dc.TextAlign() & TA_CENTER) {
    case TA_CENTER:
      left = x - width / 2 - 1;
      right = x + width / 2 + 1;
      break;
    case TA_RIGHT:
      left = x - width - 1;
      right = x;
      break;
    default: break;
  }
  switch (VerticalAlignOf(dc.TextAlign())) {
    case VerticalTextAlign::Baseline:
      top = y - height - 1;
      bottom = y + metrics.descent + 1;
      break;
    case VerticalTextAlign::Bottom:
      top = y - height - 1;
      bottom = y;
      break;
    case VerticalTextAlign::Top: break;
  }
  const auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  const Point a = dc.LPtoDP({clamp(left), clamp(top)});
  const Point b = dc.LPtoDP({clamp(right), clamp(bottom)});
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace vx::gdi
