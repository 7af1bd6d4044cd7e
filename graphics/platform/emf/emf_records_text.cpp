// Text records.
#include "graphics/platform/emf/emf_record_handlers.h"
#include "graphics/platform/text/code_page_text.h"

namespace vx::gdi::play {

namespace {

constexpr uint32_t kEtoNoRect = 0x100;      // small text: no bounds stored
constexpr uint32_t kEtoSmallChars = 0x200;  // small text: 8-bit characters
constexpr uint32_t kMaxPolyTextStrings = 1u << 16;

// 8-bit text is in the code page of the selected font's character set.
std::u16string DecodeText(const Playback& p, const uint8_t* s, uint32_t chars, bool wide,
                          std::vector<uint8_t>* bytes_per_char = nullptr) {
  if (!wide) return DecodeWmfText(s, chars, p.dc.Font().char_set, bytes_per_char);
  std::u16string text;
  text.reserve(chars);
  for (uint32_t i = 0; i < chars; ++i) text.push_back(char16_t(LoadU16(s + 2 * i)));
  return text;
}

// One EMRTEXT: the reference point, the string and its advances, with the
// offsets counted from the start of the record.
void DrawEmrText(Playback& p, ByteReader& r, bool wide) {
  const Point reference = ReadPoint(r);
  const uint32_t chars = r.U32();
  const uint32_t off_string = r.U32();
  const uint32_t options = r.U32();
  const Rect rect = ReadRect(r);
  const uint32_t off_dx = r.U32();
  if (!r.Ok()) return;
  const size_t size = r.Size();
  const uint64_t string_bytes = uint64_t(chars) * (wide ? 2 : 1);
  if (off_string > size || string_bytes > size - off_string) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  std::vector<uint8_t> bytes_per_char;
  const std::u16string text = DecodeText(p, r.Data() + off_string, chars, wide, &bytes_per_char);
  std::vector<int32_t> dx;
  const uint64_t dx_count = (options & ETO_PDY) ? uint64_t(chars) * 2 : chars;
  if (off_dx != 0 && off_dx <= size && dx_count * 4 <= size - off_dx) {
    dx.resize(size_t(dx_count));
    for (size_t i = 0; i < dx.size(); ++i) dx[i] = LoadI32(r.Data() + off_dx + 4 * i);
  }
  // A double-byte character advances by the sum of its bytes' advances.
  if (!wide && !dx.empty() && text.size() != chars)
    dx = AdvancesPerCharacter(dx, bytes_per_char, (options & ETO_PDY) != 0);
  const bool has_rect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  p.dc.ExtTextOut(reference, options, has_rect ? &rect : nullptr, text, dx);
}

// The text is drawn in the graphics mode it was recorded in (it decides how
// the font is sized through the transform); the context's own mode returns
// afterwards.
class RecordedGraphicsMode {
public:
  RecordedGraphicsMode(TDeviceContext& dc, int32_t mode) : dc_(dc), previous_(dc.SetGraphicsMode(mode)) {}
  ~RecordedGraphicsMode() {
    if (previous_ != 0) dc_.SetGraphicsMode(previous_);
  }
  RecordedGraphicsMode(const RecordedGraphicsMode&) = delete;
  RecordedGraphicsMode& operator=(const RecordedGraphicsMode&) = delete;

private:
  TDeviceContext& dc_;
  int previous_;
};

// Bounds (not needed), the graphics mode, and the two scales (not needed).
int32_t ReadTextPrologue(ByteReader& r) {
  r.Skip(16);
  const int32_t mode = r.I32();
  r.Skip(4 + 4);
  return mode;
}

template <bool kWide>
void ExtTextOutOf(Playback& p, ByteReader& r) {
  const int32_t mode = ReadTextPrologue(r);
  if (!r.Ok()) return;
  RecordedGraphicsMode recorded(p.dc, mode);
  DrawEmrText(p, r, kWide);
}

template <bool kWide>
void PolyTextOutOf(Playback& p, ByteReader& r) {
  const int32_t mode = ReadTextPrologue(r);
  const uint32_t strings = r.U32();
  if (!r.Ok()) return;
  RecordedGraphicsMode recorded(p.dc, mode);
  constexpr size_t kEmrTextSize = 40;
  if (strings > kMaxPolyTextStrings || uint64_t(strings) * kEmrTextSize > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  for (uint32_t i = 0; i < strings && r.Ok(); ++i) DrawEmrText(p, r, kWide);
}

}  // namespace

void ExtTextOutA(Playback& p, ByteReader& r) { ExtTextOutOf<false>(p, r); }
void ExtTextOutW(Playback& p, ByteReader& r) { ExtTextOutOf<true>(p, r); }
void PolyTextOutA(Playback& p, ByteReader& r) { PolyTextOutOf<false>(p, r); }
void PolyTextOutW(Playback& p, ByteReader& r) { PolyTextOutOf<true>(p, r); }

// Text without advances: the platform spaces it by the font's own widths.
void SmallTextOut(Playback& p, ByteReader& r) {
  const Point reference = ReadPoint(r);
  const uint32_t chars = r.U32();
  const uint32_t options = r.U32();
  const int32_t mode = r.I32();
  r.F32();  // x scale
  r.F32();  // y scale
  Rect rect;
  if (!(options & kEtoNoRect)) rect = ReadRect(r);
  if (!r.Ok()) return;
  const bool wide = !(options & kEtoSmallChars);
  const uint64_t string_bytes = uint64_t(chars) * (wide ? 2 : 1);
  if (string_bytes > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  const std::u16string text = DecodeText(p, r.Data() + r.Offset(), chars, wide);
  const uint32_t draw_options = options & ~(kEtoNoRect | kEtoSmallChars | ETO_PDY);
  RecordedGraphicsMode recorded(p.dc, mode);
  const bool has_rect = !(options & kEtoNoRect) && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  p.dc.ExtTextOut(reference, draw_options, has_rect ? &rect : nullptr, text, {});
}

void SetTextJustification(Playback& p, ByteReader& r) {
  const int32_t extra = r.I32();
  const int32_t breaks = r.I32();
  if (r.Ok()) p.dc.SetTextJustification(extra, breaks);
}

}  // namespace vx::gdi::play
