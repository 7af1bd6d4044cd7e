#include "graphics/platform/wmf/wmf_from_emf.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/arith.h"
#include "base/byte_reader.h"
#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_record_table.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "graphics/platform/text/code_page_text.h"

namespace vx::gdi {

namespace {

constexpr size_t kMaxObjects = 0xFFFF;

int16_t Clamp16(double v) {
  if (!(v > -32768.0)) return -32768;  // also NaN
  if (v > 32767.0) return 32767;
  return static_cast<int16_t>(std::lround(v));
}

// The EMF's logical-to-device mapping as far as the converter follows it.
struct Mapping {
  int32_t mode = MM_TEXT;
  Point window_org, viewport_org;
  Size window_ext{1, 1}, viewport_ext{1, 1};
  uint8_t charset = kAnsiCharset;
};

class EmfToWmf {
public:
  EmfToWmf(const EnhMetaHeader& header) : header_(header) {}
  void Start();
  void Translate(EmfRecord type, ByteReader& in);
  void Skip() { ++skipped_; }
  WinMetaFileBits Finish();

private:
  double ScaleX() const;
  double ScaleY() const;
  int16_t X(int32_t x) const { return Clamp16((x - map_.window_org.x) * ScaleX() + map_.viewport_org.x); }
  int16_t Y(int32_t y) const { return Clamp16((y - map_.window_org.y) * ScaleY() + map_.viewport_org.y); }

  void Record(uint16_t function, ByteWriter& params);
  void Words(uint16_t function, std::initializer_list<int32_t> words);
  void SetMapMode(int32_t mode);
  void Poly(uint16_t function, ByteReader& in, bool short_points);
  void PolyPolygon(ByteReader& in, bool short_points);
  void BoxRecord(uint16_t function, ByteReader& in, size_t extra_points);
  void CreateObject(EmfRecord type, ByteReader& in);
  void SelectOrDelete(uint32_t handle, bool select);
  void ExtTextOut(ByteReader& in, const uint8_t* record, size_t record_size);
  void StretchDiBits(ByteReader& in, const uint8_t* record, size_t record_size);
  void BitBlt(ByteReader& in, const uint8_t* record, size_t record_size);

  EnhMetaHeader header_;
  ByteWriter records_;
  uint32_t max_record_words_ = 3;
  uint32_t skipped_ = 0;
  Mapping map_;
  std::vector<Mapping> saved_;
  std::vector<int64_t> slot_of_handle_;   // EMF handle -> WMF slot (-1 none)
  std::vector<bool> slot_used_;
  std::vector<uint8_t> charset_of_slot_;
  size_t max_slots_ = 0;
};

double EmfToWmf::ScaleX() const {
  if (map_.mode == MM_TEXT || map_.window_ext.cx == 0) return 1.0;
  return double(map_.viewport_ext.cx) / map_.window_ext.cx;
}

double EmfToWmf::ScaleY() const {
  if (map_.mode == MM_TEXT || map_.window_ext.cy == 0) return 1.0;
  return double(map_.viewport_ext.cy) / map_.window_ext.cy;
}

void EmfToWmf::Record(uint16_t function, ByteWriter& params) {
  const uint32_t words = 3 + static_cast<uint32_t>((params.Size() + 1) / 2);
  records_.U32(words);
  records_.U16(function);
  const std::vector<uint8_t>& bytes = params.Bytes();
  records_.Append(bytes.data(), bytes.size());
  if (bytes.size() % 2) records_.U8(0);
  max_record_words_ = std::max(max_record_words_, words);
}

void EmfToWmf::Words(uint16_t function, std::initializer_list<int32_t> words) {
  ByteWriter w;
  for (const int32_t v : words) w.I16(static_cast<int16_t>(v));
  Record(function, w);
}

// The picture is drawn in the reference device's pixels, the window being
// the frame in those pixels.
void EmfToWmf::Start() {
  const auto px = [](int32_t hundredths, int32_t pixels, int32_t mm) {
    return mm > 0 ? MulDiv(hundredths, pixels, mm * 100) : hundredths;
  };
  const int32_t mm_x = header_.millimeters.cx, mm_y = header_.millimeters.cy;
  const int32_t left = px(header_.frame.left, header_.device.cx, mm_x);
  const int32_t top = px(header_.frame.top, header_.device.cy, mm_y);
  const int32_t right = px(header_.frame.right, header_.device.cx, mm_x);
  const int32_t bottom = px(header_.frame.bottom, header_.device.cy, mm_y);
  Words(wmf::kSetWindowOrg, {top, left});
  Words(wmf::kSetWindowExt, {bottom - top, right - left});
}

void EmfToWmf::SetMapMode(int32_t mode) {
  map_.mode = mode;
  if (mode == MM_TEXT || mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) return;
  // Fixed modes: logical units of a length, y growing upwards.
  double per_unit_mm = 0.1;  // MM_LOMETRIC
  switch (mode) {
    case MM_HIMETRIC: per_unit_mm = 0.01; break;
    case MM_LOENGLISH: per_unit_mm = 0.254; break;
    case MM_HIENGLISH: per_unit_mm = 0.0254; break;
    case MM_TWIPS: per_unit_mm = 25.4 / 1440; break;
    default: break;
  }
  const double mm_x = header_.millimeters.cx > 0 ? header_.millimeters.cx : 1;
  const double mm_y = header_.millimeters.cy > 0 ? header_.millimeters.cy : 1;
  map_.window_ext = {1000000, 1000000};
  map_.viewport_ext = {int32_t(std::lround(1000000 * per_unit_mm * header_.device.cx / mm_x)),
                       -int32_t(std::lround(1000000 * per_unit_mm * header_.device.cy / mm_y))};
  map_.mode = MM_ANISOTROPIC;
}

void EmfToWmf::Poly(uint16_t function, ByteReader& in, bool short_points) {
  in.Skip(16);
  const uint32_t count = in.U32();
  if (!in.Ok() || count > 32767 || uint64_t(count) * (short_points ? 4 : 8) > in.Remaining()) {
    ++skipped_;
    return;
  }
  ByteWriter w;
  w.I16(static_cast<int16_t>(count));
  for (uint32_t i = 0; i < count; ++i) {
    const int32_t x = short_points ? in.I16() : in.I32();
    const int32_t y = short_points ? in.I16() : in.I32();
    w.I16(X(x));
    w.I16(Y(y));
  }
  Record(function, w);
}

void EmfToWmf::PolyPolygon(ByteReader& in, bool short_points) {
  in.Skip(16);
  const uint32_t polygons = in.U32();
  const uint32_t total = in.U32();
  if (!in.Ok() || polygons > 32767 || total > 32767 || uint64_t(polygons) * 4 > in.Remaining()) {
    ++skipped_;
    return;
  }
  ByteWriter w;
  w.U16(static_cast<uint16_t>(polygons));
  uint64_t sum = 0;
  for (uint32_t i = 0; i < polygons; ++i) {
    const uint32_t c = in.U32();
    sum += c;
    w.U16(static_cast<uint16_t>(c));
  }
  if (sum != total || uint64_t(total) * (short_points ? 4 : 8) > in.Remaining()) {
    ++skipped_;
    return;
  }
  for (uint32_t i = 0; i < total; ++i) {
    const int32_t x = short_points ? in.I16() : in.I32();
    const int32_t y = short_points ? in.I16() : in.I32();
    w.I16(X(x));
    w.I16(Y(y));
  }
  Record(wmf::kPolyPolygon, w);
}

// Rectangle-based records: box first, then points (arcs) or a corner size;
// the WMF stores everything last-to-first.
void EmfToWmf::BoxRecord(uint16_t function, ByteReader& in, size_t extra_points) {
  const int32_t l = in.I32(), t = in.I32(), r = in.I32(), b = in.I32();
  std::vector<int32_t> words;
  for (size_t i = 0; i < extra_points; ++i) {
    const int32_t x = in.I32(), y = in.I32();
    if (function == wmf::kRoundRect) {
      words.insert(words.begin(), {Clamp16(y * std::fabs(ScaleY())), Clamp16(x * std::fabs(ScaleX()))});
    } else {
      words.insert(words.begin(), {Y(y), X(x)});
    }
  }
  if (!in.Ok()) {
    ++skipped_;
    return;
  }
  ByteWriter w;
  for (const int32_t v : words) w.I16(static_cast<int16_t>(v));
  w.I16(Y(b));
  w.I16(X(r));
  w.I16(Y(t));
  w.I16(X(l));
  Record(function, w);
}

void EmfToWmf::CreateObject(EmfRecord type, ByteReader& in) {
  const uint32_t handle = in.U32();
  ByteWriter w;
  uint16_t function = 0;
  uint8_t charset = kAnsiCharset;
  if (type == EmfRecord::kCreatePen) {
    const uint32_t style = in.U32();
    const int32_t width = in.I32();
    in.I32();
    const uint32_t color = in.U32();
    w.U16(static_cast<uint16_t>(style));
    w.I16(Clamp16(width * std::fabs(ScaleX())));
    w.I16(0);
    w.U32(color);
    function = wmf::kCreatePenIndirect;
  } else if (type == EmfRecord::kCreateBrushIndirect) {
    const uint32_t style = in.U32();
    const uint32_t color = in.U32();
    const uint32_t hatch = in.U32();
    w.U16(static_cast<uint16_t>(style));
    w.U32(color);
    w.U16(static_cast<uint16_t>(hatch));
    function = wmf::kCreateBrushIndirect;
  } else {
    int32_t numbers[5];
    for (auto& n : numbers) n = in.I32();
    uint8_t flags[8];
    for (auto& f : flags) f = in.U8();
    std::u16string face;
    for (int i = 0; i < 32; ++i) {
      const char16_t c = in.U16();
      if (c == 0) break;
      face.push_back(c);
    }
    numbers[0] = Clamp16(numbers[0] * std::fabs(ScaleY()));
    numbers[1] = Clamp16(numbers[1] * std::fabs(ScaleX()));
    for (const int32_t n : numbers) w.I16(static_cast<int16_t>(n));
    for (const uint8_t f : flags) w.U8(f);
    std::string name = EncodeWmfText(face, kAnsiCharset);
    name.resize(32, '\0');
    w.Append(name.data(), name.size());
    charset = flags[3];
    function = wmf::kCreateFontIndirect;
  }
  if (!in.Ok() || handle == 0 || handle >= 0x10000) {
    ++skipped_;
    return;
  }
  const auto free_slot = std::find(slot_used_.begin(), slot_used_.end(), false);
  const size_t slot = size_t(free_slot - slot_used_.begin());
  if (slot >= kMaxObjects) {
    ++skipped_;
    return;
  }
  if (slot == slot_used_.size()) {
    slot_used_.push_back(true);
    charset_of_slot_.push_back(charset);
  } else {
    slot_used_[slot] = true;
    charset_of_slot_[slot] = charset;
  }
  max_slots_ = std::max(max_slots_, slot + 1);
  if (slot_of_handle_.size() <= handle) slot_of_handle_.resize(handle + 1, -1);
  if (slot_of_handle_[handle] >= 0) SelectOrDelete(handle, false);
  slot_of_handle_[handle] = int64_t(slot);
  Record(function, w);
}

void EmfToWmf::SelectOrDelete(uint32_t handle, bool select) {
  if (handle >= slot_of_handle_.size() || slot_of_handle_[handle] < 0) {
    ++skipped_;  // stock objects have no table entry in a Windows metafile
    return;
  }
  const auto slot = static_cast<uint16_t>(slot_of_handle_[handle]);
  Words(select ? wmf::kSelectObject : wmf::kDeleteObject, {slot});
  if (select) {
    map_.charset = charset_of_slot_[slot];
    return;
  }
  slot_used_[slot] = false;
  slot_of_handle_[handle] = -1;
}

void EmfToWmf::ExtTextOut(ByteReader& in, const uint8_t* record, size_t record_size) {
  in.Skip(16 + 12);
  const int32_t x = in.I32(), y = in.I32();
  const uint32_t chars = in.U32();
  const uint32_t string_offset = in.U32();
  const uint32_t options = in.U32();
  const int32_t l = in.I32(), t = in.I32(), r = in.I32(), b = in.I32();
  const uint32_t dx_offset = in.U32();
  if (!in.Ok() || chars > 32767 || string_offset > record_size ||
      uint64_t(chars) * 2 > record_size - string_offset) {
    ++skipped_;
    return;
  }
  std::u16string text;
  for (uint32_t i = 0; i < chars; ++i) text.push_back(LoadU16(record + string_offset + 2 * i));
  const std::string bytes = EncodeWmfText(text, map_.charset);
  const bool has_dx = dx_offset != 0 && dx_offset <= record_size &&
                      uint64_t(chars) * 4 <= record_size - dx_offset;
  ByteWriter w;
  w.I16(Y(y));
  w.I16(X(x));
  w.I16(static_cast<int16_t>(chars));
  const uint16_t wmf_options = static_cast<uint16_t>(options & (ETO_OPAQUE | ETO_CLIPPED));
  w.U16(wmf_options);
  if (wmf_options != 0) {
    w.I16(X(l));
    w.I16(Y(t));
    w.I16(X(r));
    w.I16(Y(b));
  }
  w.Append(bytes.data(), bytes.size());
  if (bytes.size() % 2) w.U8(0);
  if (has_dx) {
    for (uint32_t i = 0; i < chars; ++i) {
      w.I16(Clamp16(LoadI32(record + dx_offset + 4 * i) * std::fabs(ScaleX())));
    }
  }
  Record(wmf::kExtTextOut, w);
}

// Bitmap-info and bits at the offsets the record states, both inside it.
bool DibPart(const uint8_t* record, size_t size, uint32_t off, uint32_t count) {
  return off <= size && count <= size - off && (count == 0 || record != nullptr);
}

void EmfToWmf::StretchDiBits(ByteReader& in, const uint8_t* record, size_t record_size) {
  in.Skip(16);
  const int32_t xd = in.I32(), yd = in.I32(), xs = in.I32(), ys = in.I32();
  const int32_t ws = in.I32(), hs = in.I32();
  const uint32_t off_bmi = in.U32(), cb_bmi = in.U32(), off_bits = in.U32(), cb_bits = in.U32();
  const uint32_t usage = in.U32(), rop = in.U32();
  const int32_t wd = in.I32(), hd = in.I32();
  if (!in.Ok() || cb_bmi == 0 || !DibPart(record, record_size, off_bmi, cb_bmi) ||
      !DibPart(record, record_size, off_bits, cb_bits)) {
    ++skipped_;
    return;
  }
  const int16_t x0 = X(xd), y0 = Y(yd);
  ByteWriter w;
  w.U32(rop);
  w.U16(static_cast<uint16_t>(usage));
  w.I16(Clamp16(hs));
  w.I16(Clamp16(ws));
  w.I16(Clamp16(ys));
  w.I16(Clamp16(xs));
  w.I16(static_cast<int16_t>(Y(yd + hd) - y0));
  w.I16(static_cast<int16_t>(X(xd + wd) - x0));
  w.I16(y0);
  w.I16(x0);
  w.Append(record + off_bmi, cb_bmi);
  w.Append(record + off_bits, cb_bits);
  Record(wmf::kStretchDib, w);
}

void EmfToWmf::BitBlt(ByteReader& in, const uint8_t* record, size_t record_size) {
  (void)record;
  (void)record_size;
  in.Skip(16);
  const int32_t xd = in.I32(), yd = in.I32(), wd = in.I32(), hd = in.I32();
  const uint32_t rop = in.U32();
  in.Skip(8 + 24 + 8 + 4);
  const uint32_t cb_bmi = in.U32();
  if (!in.Ok() || cb_bmi != 0) {
    ++skipped_;  // only the pattern form (no source) is carried over
    return;
  }
  const int16_t x0 = X(xd), y0 = Y(yd);
  ByteWriter w;
  w.U32(rop);
  w.I16(static_cast<int16_t>(Y(yd + hd) - y0));
  w.I16(static_cast<int16_t>(X(xd + wd) - x0));
  w.I16(y0);
  w.I16(x0);
  Record(wmf::kPatBlt, w);
}

void EmfToWmf::Translate(EmfRecord type, ByteReader& in) {
  const uint8_t* record = in.Data();
  const size_t size = in.Size();
  switch (type) {
    case EmfRecord::kHeader:
    case EmfRecord::kEof: return;
    case EmfRecord::kSetMapMode: SetMapMode(in.I32()); return;
    case EmfRecord::kSetBkMode: Words(wmf::kSetBkMode, {in.I32()}); return;
    case EmfRecord::kSetRop2: Words(wmf::kSetRop2, {in.I32()}); return;
    case EmfRecord::kSetPolyFillMode: Words(wmf::kSetPolyFillMode, {in.I32()}); return;
    case EmfRecord::kSetTextAlign: Words(wmf::kSetTextAlign, {in.I32()}); return;
    case EmfRecord::kSetStretchBltMode: Words(wmf::kSetStretchBltMode, {in.I32()}); return;
    case EmfRecord::kSetTextColor:
    case EmfRecord::kSetBkColor: {
      ByteWriter w;
      w.U32(in.U32());
      Record(type == EmfRecord::kSetTextColor ? wmf::kSetTextColor : wmf::kSetBkColor, w);
      return;
    }
    case EmfRecord::kSetWindowExtEx: map_.window_ext = {in.I32(), in.I32()}; return;
    case EmfRecord::kSetWindowOrgEx: map_.window_org = {in.I32(), in.I32()}; return;
    case EmfRecord::kSetViewportExtEx: map_.viewport_ext = {in.I32(), in.I32()}; return;
    case EmfRecord::kSetViewportOrgEx: map_.viewport_org = {in.I32(), in.I32()}; return;
    case EmfRecord::kScaleWindowExtEx:
    case EmfRecord::kScaleViewportExtEx: {
      const int32_t xn = in.I32(), xd = in.I32(), yn = in.I32(), yd = in.I32();
      if (xd == 0 || yd == 0) return;
      Size& ext = type == EmfRecord::kScaleWindowExtEx ? map_.window_ext : map_.viewport_ext;
      ext = {int32_t(int64_t(ext.cx) * xn / xd), int32_t(int64_t(ext.cy) * yn / yd)};
      return;
    }
    case EmfRecord::kSaveDC:
      saved_.push_back(map_);
      Words(wmf::kSaveDc, {});
      return;
    case EmfRecord::kRestoreDC: {
      const int32_t which = in.I32();
      const int64_t depth = int64_t(saved_.size());
      const int64_t target = which < 0 ? depth + which : int64_t(which) - 1;
      if (which == 0 || target < 0 || target >= depth) return;
      map_ = saved_[size_t(target)];
      saved_.resize(size_t(target));
      Words(wmf::kRestoreDc, {which});
      return;
    }
    case EmfRecord::kMoveToEx: { const int32_t x = in.I32(), y = in.I32(); Words(wmf::kMoveTo, {Y(y), X(x)}); return; }
    case EmfRecord::kLineTo: { const int32_t x = in.I32(), y = in.I32(); Words(wmf::kLineTo, {Y(y), X(x)}); return; }
    case EmfRecord::kPolyline: Poly(wmf::kPolyline, in, false); return;
    case EmfRecord::kPolygon: Poly(wmf::kPolygon, in, false); return;
    case EmfRecord::kPolyline16: Poly(wmf::kPolyline, in, true); return;
    case EmfRecord::kPolygon16: Poly(wmf::kPolygon, in, true); return;
    case EmfRecord::kPolyPolygon: PolyPolygon(in, false); return;
    case EmfRecord::kPolyPolygon16: PolyPolygon(in, true); return;
    case EmfRecord::kRectangle: BoxRecord(wmf::kRectangle, in, 0); return;
    case EmfRecord::kEllipse: BoxRecord(wmf::kEllipse, in, 0); return;
    case EmfRecord::kIntersectClipRect: BoxRecord(wmf::kIntersectClipRect, in, 0); return;
    case EmfRecord::kExcludeClipRect: BoxRecord(wmf::kExcludeClipRect, in, 0); return;
    case EmfRecord::kRoundRect: BoxRecord(wmf::kRoundRect, in, 1); return;
    case EmfRecord::kArc: BoxRecord(wmf::kArc, in, 2); return;
    case EmfRecord::kPie: BoxRecord(wmf::kPie, in, 2); return;
    case EmfRecord::kChord: BoxRecord(wmf::kChord, in, 2); return;
    case EmfRecord::kSetPixelV: {
      const int32_t x = in.I32(), y = in.I32();
      ByteWriter w;
      w.U32(in.U32());
      w.I16(Y(y));
      w.I16(X(x));
      Record(wmf::kSetPixel, w);
      return;
    }
    case EmfRecord::kCreatePen:
    case EmfRecord::kCreateBrushIndirect:
    case EmfRecord::kExtCreateFontIndirectW: CreateObject(type, in); return;
    case EmfRecord::kSelectObject: SelectOrDelete(in.U32(), true); return;
    case EmfRecord::kDeleteObject: SelectOrDelete(in.U32(), false); return;
    case EmfRecord::kExtTextOutW: ExtTextOut(in, record, size); return;
    case EmfRecord::kStretchDIBits: StretchDiBits(in, record, size); return;
    case EmfRecord::kBitBlt: BitBlt(in, record, size); return;
    default: ++skipped_; return;
  }
}

WinMetaFileBits EmfToWmf::Finish() {
  Words(wmf::kEof, {});
  WinMetaFileBits bits;
  ByteWriter out;
  out.U16(wmf::kMemoryMetafile);
  out.U16(wmf::kHeaderWords);
  out.U16(wmf::kVersion300);
  out.U32(static_cast<uint32_t>((wmf::kHeaderSize + records_.Size()) / 2));
  out.U16(static_cast<uint16_t>(max_slots_));
  out.U32(max_record_words_);
  out.U16(0);
  out.Append(records_.Bytes().data(), records_.Size());
  bits.wmf = std::move(out.Bytes());
  bits.skipped_records = skipped_;
  return bits;
}

}  // namespace

WinMetaFileBits ConvertEnhMetaFileToWin(const uint8_t* emf, size_t size) {
  const auto header = ParseEnhMetaHeader(emf, size);
  if (!header) return {};
  EmfToWmf converter(*header);
  converter.Start();
  const size_t end = std::min<size_t>(size, header->bytes);
  size_t offset = 0;
  while (end - offset >= 8) {
    const uint32_t type = LoadU32(emf + offset);
    const uint32_t record_size = LoadU32(emf + offset + 4);
    if (record_size < 8 || record_size > end - offset) break;
    // A record too short for its type is passed over, as playback does,
    // instead of being translated with made-up zero fields.
    const EmfRecordRow* row = FindEmfRecordRow(type);
    if (row && record_size < row->minimum_size) {
      converter.Skip();
    } else {
      ByteReader in(emf + offset, record_size);
      in.Skip(8);
      converter.Translate(static_cast<EmfRecord>(type), in);
    }
    if (type == TypeWord(EmfRecord::kEof)) break;
    offset += record_size;
  }
  return converter.Finish();
}

}  // namespace vx::gdi
