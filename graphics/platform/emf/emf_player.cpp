#include "graphics/platform/emf/emf_player.h"

#include <cmath>

#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_playback.h"
#include "graphics/platform/emf/emf_record_table.h"

namespace vx::gdi {

namespace {

constexpr uint32_t kMaxHandles = 65535;

// Maps the frame (0.01 mm) onto the target rectangle, as the platform does:
// the rectangle's width and height are right - left and bottom - top. The
// platform holds this mapping as a world transform, which refuses a singular
// matrix: into a rectangle without width or height the picture plays unscaled.
XForm FrameTransform(const EnhMetaHeader& h, const Rect& rect) {
  XForm x;
  const double fw = double(h.frame.right) - h.frame.left;
  const double fh = double(h.frame.bottom) - h.frame.top;
  if (fw == 0 || fh == 0 || h.device.cx == 0 || h.device.cy == 0) return x;
  const double xpix = double(h.millimeters.cx) / h.device.cx;
  const double ypix = double(h.millimeters.cy) / h.device.cy;
  const double rw = double(rect.right) - rect.left, rh = double(rect.bottom) - rect.top;
  x.m11 = rw * 100.0 / fw * xpix;
  x.m22 = rh * 100.0 / fh * ypix;
  x.dx = rect.left - rw / fw * h.frame.left;
  x.dy = rect.top - rh / fh * h.frame.top;
  if (!std::isfinite(x.m11) || !std::isfinite(x.m22) || x.m11 * x.m22 == 0) return XForm{};
  return x;
}

void ResetPlaybackState(TDeviceContext& dc) {
  dc.SetTextColor(RGB(0, 0, 0));
  dc.SetBkColor(RGB(255, 255, 255));
  dc.SetTextAlign(0);
  dc.SetROP2(R2_COPYPEN);
  dc.SetArcDirection(AD_COUNTERCLOCKWISE);
  dc.SetPolyFillMode(ALTERNATE);
  dc.SetStretchBltMode(BLACKONWHITE);
  dc.SetMapMode(MM_TEXT);
  dc.SetWindowOrg({0, 0});
  dc.SetViewportOrg({0, 0});
  dc.ModifyWorldTransform({}, MWT_IDENTITY);
  dc.SetGraphicsMode(GM_ADVANCED);
}

// One record through its row of the record table: too short for its type,
// it is skipped before the handler runs.
void PlayRecord(Playback& play, uint32_t type, const uint8_t* record, uint32_t record_size) {
  const EmfRecordRow* row = FindEmfRecordRow(type);
  if (row == nullptr || row->handler == nullptr) {
    if (!play.Logging()) return;
    const IgnoredEmfRecord* ignored = FindIgnoredEmfRecord(type);
    if (ignored == nullptr)
      play.Log("skipped " + EmfRecordName(type));
    else if (ignored->noted)
      play.Log(EmfRecordName(type) + " played as a no-op");
    return;
  }
  if (record_size < row->minimum_size) {
    play.Log(std::string(row->name) + " is too short; skipped");
    return;
  }
  ByteReader r(record, record_size);
  r.Seek(8);
  row->handler(play, r);
  if (!r.Ok()) play.Log(std::string(row->name) + " is too short; skipped");
}

}  // namespace

bool PlayEnhMetaFile(TDeviceContext& dc, const uint8_t* data, size_t size, const Rect& rect,
                     const PlaybackOptions& options) {
  if (data == nullptr || !IsAcceptableEnhMetaFile(data, size)) return false;
  const std::optional<EnhMetaHeader> header = ParseEnhMetaHeader(data, size);
  if (!header) return false;
  const size_t total = std::min<size_t>(header->bytes, size);

  Playback play{dc, options, {}, 0, FrameTransform(*header, rect)};
  play.handles.resize(std::max<uint32_t>(1, std::min<uint32_t>(header->handles, kMaxHandles)));

  const int base_level = dc.SaveDC();
  const XForm previous_base = XForm{};
  const Size previous_pixels = dc.ReferencePixels(), previous_mm = dc.ReferenceMillimeters();
  ResetPlaybackState(dc);
  // The metric mapping modes measure in the recording device's units.
  dc.SetReferenceDevice(header->device, header->millimeters);
  dc.SetBaseTransform(play.init);

  size_t offset = 0;
  while (offset + 8 <= total) {
    const uint32_t type = LoadU32(data + offset);
    const uint32_t record_size = LoadU32(data + offset + 4);
    if (record_size < 8 || record_size % 4 != 0 || record_size > total - offset) {
      play.Log("record at offset " + std::to_string(offset) + " has a bad size; playback ends");
      break;
    }
    if (type == TypeWord(EmfRecord::kEof)) break;
    if (offset == 0) {
      if (type != TypeWord(EmfRecord::kHeader)) break;
    } else {
      PlayRecord(play, type, data + offset, record_size);
    }
    offset += record_size;
  }

  dc.RestoreDC(base_level);
  dc.SetBaseTransform(previous_base);
  dc.SetReferenceDevice(previous_pixels, previous_mm);
  return true;
}

}  // namespace vx::gdi
