#include "graphics/metafile.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/arith.h"
#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/stream.h"
#include "graphics/canvas.h"
#include "graphics/platform/wmf/wmf_drawn_extent.h"
#include "graphics/platform/wmf/wmf_from_emf.h"
#include "graphics/platform/wmf/wmf_placeable.h"
#include "graphics/platform/wmf/wmf_to_emf.h"

#if __has_include("graphics/platform/emf/emf_player.h")
#include "graphics/platform/emf/emf_player.h"
#define VX_HAVE_EMF_PLAYER 1
#endif

namespace vx {

namespace {

constexpr int32_t kHundredthsPerInch = 2540;
constexpr size_t kEmfProbeSize = 100;
constexpr size_t kMaxPaletteEntries = 256;

[[noreturn]] void FailInvalid() { throw EInvalidGraphic(msg::kInvalidMetafile); }

int32_t ScreenPixelsPerInch() { return gdi::ScreenDeviceCaps(gdi::LOGPIXELSY); }

// MulDiv with a divisor that may not fit 32 bits (a header's millimetres x 100).
int32_t MulDivWide(int32_t a, int32_t b, int64_t c) {
  if (c >= INT32_MIN && c <= INT32_MAX) return MulDiv(a, b, static_cast<int32_t>(c));
  const int64_t product = static_cast<int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const uint64_t num = product < 0 ? uint64_t(0) - uint64_t(product) : uint64_t(product);
  const uint64_t den = c < 0 ? uint64_t(0) - uint64_t(c) : uint64_t(c);
  const uint64_t quotient = (num + den / 2) / den;  // below 2^31 since den > 2^31
  return negative ? -static_cast<int32_t>(quotient) : static_cast<int32_t>(quotient);
}

// Extension of a file name: from the last '.' after the directory part.
std::string LowerExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

// The palette of an enhanced metafile lives in its end-of-file record.
std::vector<gdi::PaletteEntry> ReadEmfPalette(const std::vector<uint8_t>& emf, uint32_t count) {
  std::vector<gdi::PaletteEntry> entries;
  if (count == 0) return entries;
  ByteReader in(emf.data(), emf.size());
  while (in.Remaining() >= 8) {
    const size_t start = in.Offset();
    const uint32_t type = in.U32();
    const uint32_t size = in.U32();
    if (size < 8 || size % 4 != 0 || size > emf.size() - start) break;
    if (type == gdi::TypeWord(gdi::EmfRecord::kEof) && size >= 12) {
      const uint32_t stored = in.U32();
      const uint32_t offset = in.U32();
      if (!in.Ok() || offset < 16 || offset > size) break;
      const uint64_t usable = std::min<uint64_t>({count, stored, kMaxPaletteEntries,
                                                  (size - offset) / 4});
      for (uint64_t i = 0; i < usable; ++i) {
        const uint8_t* p = emf.data() + start + offset + 4 * i;
        entries.push_back({p[0], p[1], p[2]});
      }
      break;
    }
    in.Seek(start + size);
  }
  return entries;
}

}  // namespace

void TMetafile::ReadFromStream(TStream& stream) {
  image_ = TMetafileImage{};
  const int64_t position = stream.Position();
  const int64_t left = stream.Size() - position;
  if (left > static_cast<int64_t>(kEmfProbeSize)) {
    std::array<uint8_t, kEmfProbeSize> probe{};
    stream.ReadBuffer(probe.data(), probe.size());
    stream.Seek64(-static_cast<int64_t>(kEmfProbeSize), soCurrent);
    if (LoadU32(probe.data()) == gdi::TypeWord(gdi::EmfRecord::kHeader) &&
        LoadU32(probe.data() + gdi::kEmfSignatureOffset) == gdi::kEnhMetaSignature) {
      ReadEnhanced(stream);
      return;
    }
  }
  ReadPlaceable(stream, left);
}

void TMetafile::ReadEnhanced(TStream& stream) {
  std::array<uint8_t, kEmfProbeSize> head{};
  stream.ReadBuffer(head.data(), head.size());
  if (LoadU32(head.data() + gdi::kEmfSignatureOffset) != gdi::kEnhMetaSignature) FailInvalid();
  const uint32_t total = LoadU32(head.data() + gdi::kEmfBytesOffset);
  const uint32_t record_size = LoadU32(head.data() + 4);
  // Refused before anything is allocated: a total below the header or its own
  // record, or one larger than the data that follows.
  if (total < kEmfProbeSize || total < record_size) FailInvalid();
  const int64_t available = stream.Size() - stream.Position();
  if (static_cast<int64_t>(total - kEmfProbeSize) > available) throw EReadError(msg::kStreamRead);

  std::vector<uint8_t> emf(total);
  std::copy(head.begin(), head.end(), emf.begin());
  stream.ReadBuffer(emf.data() + kEmfProbeSize, total - kEmfProbeSize);
  if (!gdi::IsAcceptableEnhMetaFile(emf.data(), emf.size())) FailInvalid();

  const gdi::Rect frame = gdi::ParseEnhMetaHeader(emf.data(), emf.size())->frame;
  image_.emf = std::move(emf);
  image_.frame_width = static_cast<int32_t>(uint32_t(frame.right) - uint32_t(frame.left));
  image_.frame_height = static_cast<int32_t>(uint32_t(frame.bottom) - uint32_t(frame.top));
  image_.units_per_inch = 0;
  enhanced_format_ = true;
}

void TMetafile::ReadPlaceable(TStream& stream, int64_t length) {
  if (length < static_cast<int64_t>(gdi::kPlaceableHeaderSize)) FailInvalid();
  std::array<uint8_t, gdi::kPlaceableHeaderSize> head{};
  stream.ReadBuffer(head.data(), head.size());
  const auto placeable = gdi::ParsePlaceableHeader(head.data(), head.size());
  if (!placeable) FailInvalid();

  std::vector<uint8_t> wmf(static_cast<size_t>(length) - gdi::kPlaceableHeaderSize);
  stream.ReadBuffer(wmf.data(), static_cast<int64_t>(wmf.size()));

  const uint16_t upi = placeable->units_per_inch;
  const int32_t u = upi != 0 ? upi : ScreenPixelsPerInch();
  const int32_t frame_width = MulDiv(int32_t(placeable->right) - placeable->left, kHundredthsPerInch, u);
  const int32_t frame_height = MulDiv(int32_t(placeable->bottom) - placeable->top, kHundredthsPerInch, u);

  // Without extents the platform gives the picture the whole reference screen
  // as its frame, and that frame is the picture's extents unless the metafile
  // sets its own viewport or has text without advances (measured at the
  // frame's reference resolution): then a first conversion is played to find
  // where it draws and what its text reserves. One conversion less matters
  // for metafiles full of bitmaps.
  gdi::Size extents = gdi::kWholeScreenFrame;
  if (gdi::WmfSetsViewport(wmf.data(), wmf.size()) || gdi::WmfHasTextWithoutAdvances(wmf.data(), wmf.size())) {
    const auto sizing = gdi::ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0);
    if (!sizing) FailInvalid();
    if (const auto drawn = gdi::DrawnExtent(*sizing)) extents = *drawn;
  }
  TNoteTally notes;
  auto emf = gdi::ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), extents.cx, extents.cy,
                                          [&notes](const std::string& note) { notes.Add(note); });
  if (!emf) FailInvalid();

  image_.emf = std::move(*emf);
  image_.frame_width = frame_width;
  image_.frame_height = frame_height;
  image_.units_per_inch = upi;
  image_.read_notes = notes.Take();
  enhanced_format_ = false;
}

std::optional<gdi::EnhMetaHeader> TMetafile::Header() const {
  if (Empty()) return std::nullopt;
  return gdi::ParseEnhMetaHeader(image_.emf.data(), image_.emf.size());
}

int32_t TMetafile::PixelSize(int32_t frame, int32_t pending, bool horizontal) const {
  if (image_.units_per_inch != 0) return MulDiv(frame, ScreenPixelsPerInch(), kHundredthsPerInch);
  const auto header = Header();
  if (!header) return pending;
  const int32_t pixels = horizontal ? header->device.cx : header->device.cy;
  const int32_t mm = horizontal ? header->millimeters.cx : header->millimeters.cy;
  return MulDivWide(frame, pixels, int64_t(mm) * 100);
}

int32_t TMetafile::PixelWidth() const {
  return PixelSize(image_.frame_width, image_.pending_width, true);
}

int32_t TMetafile::PixelHeight() const {
  return PixelSize(image_.frame_height, image_.pending_height, false);
}

void TMetafile::SetPixelSize(int32_t value, bool horizontal) {
  int32_t frame = 0;
  if (image_.units_per_inch != 0) {
    frame = MulDiv(value, kHundredthsPerInch, ScreenPixelsPerInch());
  } else if (const auto header = Header()) {
    const int32_t pixels = horizontal ? header->device.cx : header->device.cy;
    const int64_t hundredths = int64_t(horizontal ? header->millimeters.cx : header->millimeters.cy) * 100;
    // Millimetres x 100 that do not fit 32 bits give MulDiv's failure value.
    frame = hundredths >= INT32_MIN && hundredths <= INT32_MAX
                ? MulDiv(value, static_cast<int32_t>(hundredths), pixels)
                : -1;
  } else {
    (horizontal ? image_.pending_width : image_.pending_height) = value;
    Changed();
    return;
  }
  if (horizontal) SetFrameWidth(frame);
  else SetFrameHeight(frame);
}

void TMetafile::SetPixelWidth(int32_t value) { SetPixelSize(value, true); }
void TMetafile::SetPixelHeight(int32_t value) { SetPixelSize(value, false); }

void TMetafile::SetFrameWidth(int32_t value) {
  image_.frame_width = value;
  image_.pending_width = 0;
  Changed();
}

void TMetafile::SetFrameHeight(int32_t value) {
  image_.frame_height = value;
  image_.pending_height = 0;
  Changed();
}

std::vector<gdi::PaletteEntry> TMetafile::PaletteEntries() const {
  if (Empty()) return {};
  if (!image_.palette) image_.palette = ReadEmfPalette(image_.emf, Header()->palette_entries);
  return *image_.palette;
}

bool TMetafile::HasPalette() const { return !PaletteEntries().empty(); }

void TMetafile::InstallEnhMetaFile(std::vector<uint8_t> emf) {
  if (!gdi::IsAcceptableEnhMetaFile(emf.data(), emf.size())) FailInvalid();
  const gdi::Rect frame = gdi::ParseEnhMetaHeader(emf.data(), emf.size())->frame;
  emf.resize(gdi::ParseEnhMetaHeader(emf.data(), emf.size())->bytes);
  const uint16_t upi = image_.units_per_inch;
  image_ = TMetafileImage{};
  image_.emf = std::move(emf);
  image_.units_per_inch = upi;
  image_.frame_width = static_cast<int32_t>(uint32_t(frame.right) - uint32_t(frame.left));
  image_.frame_height = static_cast<int32_t>(uint32_t(frame.bottom) - uint32_t(frame.top));
  Changed();
}

void TMetafile::DrawInto(TCanvas& canvas, const gdi::Rect& rect) {
  if (Empty()) return;
#ifdef VX_HAVE_EMF_PLAYER
  // The metafile's own palette is selected (as a background palette) while it
  // plays: the surface keeps its colours, but palette-index colours name
  // entries of it.
  canvas.Backend().PlayMetafile(image_.emf, {rect.left, rect.top, rect.right - 1, rect.bottom - 1},
                                PaletteEntries(), playback_log_);
#else
  (void)canvas;
  (void)rect;
#endif
}

void TMetafile::WriteToStream(TStream& stream) {
  if (Empty()) return;
  if (enhanced_format_) {
    stream.WriteBuffer(image_.emf.data(), static_cast<int64_t>(image_.emf.size()));
    return;
  }
  WritePlaceable(stream);
}

void TMetafile::WritePlaceable(TStream& stream) const {
  const int32_t u = image_.units_per_inch != 0 ? image_.units_per_inch : ScreenPixelsPerInch();
  gdi::PlaceableHeader header;
  header.right = static_cast<int16_t>(MulDiv(image_.frame_width, u, kHundredthsPerInch));
  header.bottom = static_cast<int16_t>(MulDiv(image_.frame_height, u, kHundredthsPerInch));
  header.units_per_inch = static_cast<uint16_t>(u);
  const gdi::WinMetaFileBits bits = gdi::ConvertEnhMetaFileToWin(image_.emf.data(), image_.emf.size());
  std::vector<uint8_t> out = gdi::EncodePlaceableHeader(header);
  out.insert(out.end(), bits.wmf.begin(), bits.wmf.end());
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TMetafile::WriteToFile(const std::string& path) {
  if (LowerExtension(path) != ".wmf") {
    TGraphic::WriteToFile(path);
    return;
  }
  const bool saved = enhanced_format_;
  enhanced_format_ = false;
  try {
    TGraphic::WriteToFile(path);
  } catch (...) {
    enhanced_format_ = saved;
    throw;
  }
  enhanced_format_ = saved;
}

}  // namespace vx
