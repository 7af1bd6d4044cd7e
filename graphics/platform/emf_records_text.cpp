// Text records.
#include "graphics/platform/emf_playback.h"

namespace vx::gdi {

namespace {

template <bool kWide>
void ExtTextOut(Playback& p, ByteReader& r) {
  ReadRect(r);  // bounds
  r.U32();      // graphics mode
  r.F32();      // x scale
  r.F32();      // y scale
  const Point reference = ReadPoint(r);
  const uint32_t chars = r.U32();
  const uint32_t off_string = r.U32();
  const uint32_t options = r.U32();
  const Rect rect = ReadRect(r);
  const uint32_t off_dx = r.U32();
  if (!r.Ok()) return;
  const size_t size = r.Size();
  const uint64_t string_bytes = uint64_t(chars) * (kWide ? 2 : 1);
  if (off_string > size || string_bytes > size - off_string) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  std::u16string text;
  text.reserve(chars);
  const uint8_t* s = r.Data() + off_string;
  for (uint32_t i = 0; i < chars; ++i)
    text.push_back(kWide ? char16_t(LoadU16(s + 2 * i)) : char16_t(s[i]));
  std::vector<int32_t> dx;
  const uint64_t dx_count = (options & ETO_PDY) ? uint64_t(chars) * 2 : chars;
  if (off_dx != 0 && off_dx <= size && dx_count * 4 <= size - off_dx) {
    dx.resize(size_t(dx_count));
    for (size_t i = 0; i < dx.size(); ++i) dx[i] = LoadI32(r.Data() + off_dx + 4 * i);
  }
  const bool has_rect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  p.dc.ExtTextOut(reference, options, has_rect ? &rect : nullptr, text, dx);
}

}  // namespace

RecordHandler FindTextHandler(uint32_t type) {
  switch (type) {
    case 83: return ExtTextOut<false>;
    case 84: return ExtTextOut<true>;
    default: return nullptr;
  }
}

}  // namespace vx::gdi
