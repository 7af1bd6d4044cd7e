#include "graphics/metafile_canvas.h"

#include "base/arith.h"
#include "base/byte_reader.h"
#include "base/errors.h"
#include "graphics/metafile.h"
#include "graphics/platform/gdi/device_context.h"

namespace vx {

namespace {

constexpr int32_t kHundredthsPerMillimetre = 100;

int ReferenceCaps(const gdi::TDeviceContext* reference, int index) {
  return reference != nullptr ? reference->GetDeviceCaps(index) : gdi::ScreenDeviceCaps(index);
}

// The creator and description texts of a picture the metafile already holds:
// its header's description is the creator, a zero, the description, a zero.
std::u16string DescriptionOf(const TMetafile& metafile) {
  const auto header = metafile.Header();
  if (!header || header->description_chars == 0) return {};
  const std::vector<uint8_t>& bytes = metafile.Bytes();
  const uint64_t end = uint64_t(header->description_offset) + uint64_t(header->description_chars) * 2;
  if (end > bytes.size()) return {};
  std::u16string stored;
  for (uint32_t i = 0; i < header->description_chars; ++i)
    stored.push_back(char16_t(LoadU16(bytes.data() + header->description_offset + 2 * i)));
  const size_t creator_end = std::min(stored.find(u'\0'), stored.size());
  const std::u16string creator = stored.substr(0, creator_end);
  std::u16string text;
  if (creator_end < stored.size()) {
    text = stored.substr(creator_end + 1);
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
  }
  if (creator.empty() && text.empty()) return {};
  std::u16string description = creator;
  description.push_back(u'\0');
  description += text;
  description.push_back(u'\0');
  description.push_back(u'\0');
  return description;
}

}  // namespace

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, const gdi::TDeviceContext* reference)
    : metafile_(metafile) {
  const int horz_size = ReferenceCaps(reference, gdi::HORZSIZE);
  const int vert_size = ReferenceCaps(reference, gdi::VERTSIZE);
  const int horz_res = ReferenceCaps(reference, gdi::HORZRES);
  const int vert_res = ReferenceCaps(reference, gdi::VERTRES);
  // Width and height each on their own: a frame kept, else the pixel size
  // through the reference device, else the whole device.
  if (metafile_.FrameWidth() == 0) {
    const int32_t pixels = metafile_.PixelWidth();
    metafile_.SetFrameWidth(pixels != 0 ? MulDiv(pixels, horz_size * kHundredthsPerMillimetre, horz_res)
                                        : horz_size * kHundredthsPerMillimetre);
  }
  if (metafile_.FrameHeight() == 0) {
    const int32_t pixels = metafile_.PixelHeight();
    metafile_.SetFrameHeight(pixels != 0 ? MulDiv(pixels, vert_size * kHundredthsPerMillimetre, vert_res)
                                         : vert_size * kHundredthsPerMillimetre);
  }
  description_ = DescriptionOf(metafile_);
  frame_ = {0, 0, metafile_.FrameWidth(), metafile_.FrameHeight()};
  recorder_ = std::make_unique<gdi::EmfRecorder>(gdi::Size{horz_res, vert_res}, gdi::Size{horz_size, vert_size},
                                                 frame_, description_);
}

TMetafileCanvas::~TMetafileCanvas() {
  try {
    Release();
  } catch (...) {
    // A destructor cannot report; Release() called by the owner does.
  }
}

gdi::TDeviceContext& TMetafileCanvas::DeviceContext() { throw EInvalidOperation(msg::kCanvasNoDrawing); }

gdi::DrawingBackend& TMetafileCanvas::Backend() {
  if (!recorder_) throw EInvalidOperation(msg::kCanvasNoDrawing);
  return *recorder_;
}

void TMetafileCanvas::Release() {
  if (!recorder_) return;
  DeselectObjects();
  const std::unique_ptr<gdi::EmfRecorder> recorder = std::move(recorder_);
  metafile_.InstallEnhMetaFile(recorder->Close());
}

}  // namespace vx
