#include "graphics/platform/wmf/wmf_to_emf.h"

#include <algorithm>
#include <string>

#include "base/arith.h"
#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_record_sizes.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/emf/emf_record_writer.h"
#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/wmf/wmf_bitmap16.h"
#include "graphics/platform/wmf/wmf_dib.h"
#include "graphics/platform/wmf/wmf_function_names.h"
#include "graphics/platform/wmf/wmf_header.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "graphics/platform/wmf/wmf_recording_context.h"
#include "graphics/platform/text/code_page_text.h"

namespace vx::gdi {

namespace {

constexpr size_t kMaxObjects = 0xFFFF;  // a WMF object index is 16 bits

struct DcOrigins {
  Point window;
  Point viewport;
  uint8_t charset = kAnsiCharset;
  int palette = -1;  // slot of the selected palette; -1: the default one
};

// Parameters of WMF records, most stored last-to-first.
class Params {
public:
  explicit Params(const WmfRecord& r) : in_(r.params, r.param_bytes) {}
  int32_t S() { return in_.I16(); }
  uint32_t U() { return in_.U16(); }
  uint32_t U32() { return in_.U32(); }
  bool Ok() const { return in_.Ok(); }
  ByteReader& Reader() { return in_; }

private:
  ByteReader in_;
};

void PutRect(ByteWriter& w, int32_t l, int32_t t, int32_t r, int32_t b) {
  w.I32(l);
  w.I32(t);
  w.I32(r);
  w.I32(b);
}

class WmfToEmf {
public:
  WmfToEmf(Size frame, const WmfConversionLog& log) : frame_(frame), log_(log) {}

  void Start();
  // Records grow to about the Windows metafile's size, twice that at most for
  // 16-bit coordinates widened; reserved pages are only paid when written.
  void Reserve(size_t wmf_size) { out_.Reserve(2 * wmf_size); }
  void Translate(const WmfRecord& r);
  std::vector<uint8_t> Finish() &&;

private:
  // A region is no object in an enhanced metafile: its records carry the
  // rectangles, so the slot keeps them.
  enum class SlotState : uint8_t { kFree, kEmitted, kSkipped, kRegion };
  // Why a record gives no enhanced record.
  enum class Drop : uint8_t {
    kNoEnhancedForm,
    kNotSupported,
    kRegion,
    kDeviceBitmap,
    kTooShort,
    kBadBitmap,
    kNoObject,
    kObjectNotConverted,
    kLevelNotSaved,
    kNoPalette,
    kObjectTableFull,
  };
  struct Slot {
    SlotState state = SlotState::kFree;
    bool font = false;
    uint8_t charset = kAnsiCharset;
    std::vector<Rect> region;
  };

  void Dropped(const WmfRecord& r, Drop why) const;
  // The parameters were all there; a record cut short is logged.
  bool Fits(const Params& p, const WmfRecord& r) const;
  bool Fits(const ByteReader& in, const WmfRecord& r) const;

  // Every record goes out through here, so that the recording context
  // follows the ones that change how text is measured.
  void Add(EmfRecord type, const std::vector<uint8_t>& body);
  void Add(EmfRecord type, ByteWriter& body) { Add(type, body.Bytes()); }
  // A bitmap record, its bits copied once; nothing in it changes how text
  // is measured, so the recording context does not follow it.
  void Add(EmfRecord type, ByteWriter& head, std::span<const uint8_t> bits) { out_.Add(type, head, bits); }
  void Value(EmfRecord type, uint32_t value);
  void Pair(EmfRecord type, int32_t a, int32_t b);
  void Box(EmfRecord type, int32_t l, int32_t t, int32_t r, int32_t b);

  void SetOrigin(Point& origin, EmfRecord type, Point value);
  void SaveDc();
  void RestoreDc(const WmfRecord& r, int32_t which);
  void Poly(EmfRecord type, const WmfRecord& r);
  void PolyPolygon(const WmfRecord& r);
  void Boxed(EmfRecord type, const WmfRecord& r);
  void RoundRect(const WmfRecord& r);
  void ArcLike(EmfRecord type, const WmfRecord& r);
  void SetPixel(const WmfRecord& r);
  void ClipRect(EmfRecord type, const WmfRecord& r);
  void SelectClipRegion(const WmfRecord& r);
  void SelectClipRects(const std::vector<Rect>& rects);
  const std::vector<Rect>* RegionAt(uint32_t index) const;
  int32_t BrushHandle(uint32_t index) const;
  void CreateRegion(const WmfRecord& r);
  void DrawRegion(EmfRecord type, const WmfRecord& r);

  // Objects: each creation takes the lowest free slot, emitted or not, so
  // later indices stay those of the metafile.
  int AllocateSlot(SlotState state, bool font = false, uint8_t charset = 0);
  // An emitted object's slot for record r; -1, logged, when the table is full.
  int EmittedSlot(const WmfRecord& r, bool font = false, uint8_t charset = 0);
  // The object a select or delete names; logs why there is none.
  bool EmittedObject(const WmfRecord& r, uint32_t index) const;
  void CreatePen(const WmfRecord& r);
  void CreateBrush(const WmfRecord& r);
  void CreateFont(const WmfRecord& r);
  void CreateDibPatternBrush(const WmfRecord& r);
  void SelectObject(const WmfRecord& r);
  void CreatePalette(const WmfRecord& r);
  void SelectPalette(const WmfRecord& r);
  void SetPaletteEntries(const WmfRecord& r);
  void ResizePalette(const WmfRecord& r);
  void DeleteObject(const WmfRecord& r);

  void Text(int32_t x, int32_t y, uint16_t options, const Rect* clip, const uint8_t* chars,
            size_t count, const std::vector<int32_t>* dx);
  void TextOut(const WmfRecord& r);
  void ExtTextOut(const WmfRecord& r);

  void BitBltNoSource(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop);
  void StretchBltDib(int32_t xd, int32_t yd, int32_t wd, int32_t hd, int32_t xs, int32_t ys,
                     int32_t ws, int32_t hs, uint32_t rop, const PackedDib& dib, bool stretch);
  void StretchDib(const WmfRecord& r);
  // bitmap16: the source is a device-dependent Bitmap16, not a packed DIB.
  void DibStretchBlt(const WmfRecord& r, bool bitmap16);
  void DibBitBlt(const WmfRecord& r, bool bitmap16);
  void BlitSource(const WmfRecord& r, size_t offset, bool bitmap16, int32_t xd, int32_t yd, int32_t wd,
                  int32_t hd, int32_t xs, int32_t ys, int32_t ws, int32_t hs, uint32_t rop, bool stretch);
  void PatBlt(const WmfRecord& r);
  void SetDibToDev(const WmfRecord& r);

  Size frame_;
  const WmfConversionLog& log_;
  Size viewport_;
  EmfRecordWriter out_;
  WmfRecordingContext recording_;
  std::vector<Slot> slots_;
  size_t max_handle_ = 0;
  DcOrigins dc_;
  std::vector<DcOrigins> saved_;
};

void WmfToEmf::Dropped(const WmfRecord& r, Drop why) const {
  if (!log_) return;
  const std::string name = WmfFunctionName(r.function);
  switch (why) {
    case Drop::kNoEnhancedForm:
    case Drop::kNotSupported: log_("skipped " + name); break;
    case Drop::kRegion: log_("skipped " + name + " of a region"); break;
    case Drop::kDeviceBitmap: log_("skipped " + name + " of a device-dependent bitmap"); break;
    case Drop::kTooShort: log_(name + " is too short; skipped"); break;
    case Drop::kBadBitmap: log_(name + " holds a bitmap that cannot be read; skipped"); break;
    case Drop::kNoObject: log_(name + " of no object; skipped"); break;
    case Drop::kObjectNotConverted: log_(name + " of an object not converted; skipped"); break;
    case Drop::kLevelNotSaved: log_(name + " of a level not saved; skipped"); break;
    case Drop::kNoPalette: log_(name + " without a selected palette; skipped"); break;
    case Drop::kObjectTableFull: log_(name + " beyond the object table; skipped"); break;
  }
}

bool WmfToEmf::Fits(const Params& p, const WmfRecord& r) const {
  if (!p.Ok()) Dropped(r, Drop::kTooShort);
  return p.Ok();
}

bool WmfToEmf::Fits(const ByteReader& in, const WmfRecord& r) const {
  if (!in.Ok()) Dropped(r, Drop::kTooShort);
  return in.Ok();
}

void WmfToEmf::Add(EmfRecord type, const std::vector<uint8_t>& body) {
  out_.Add(type, body);
  recording_.Follow(type, body);
}

void WmfToEmf::Value(EmfRecord type, uint32_t value) {
  ByteWriter w;
  w.U32(value);
  Add(type, w);
}

void WmfToEmf::Pair(EmfRecord type, int32_t a, int32_t b) {
  ByteWriter w;
  w.I32(a);
  w.I32(b);
  Add(type, w);
}

void WmfToEmf::Box(EmfRecord type, int32_t l, int32_t t, int32_t r, int32_t b) {
  ByteWriter w;
  PutRect(w, l, t, r, b);
  Add(type, w);
}

// The window maps onto the whole frame in reference pixels; until the
// metafile sets its own window, one logical unit is one pixel.
void WmfToEmf::Start() {
  viewport_.cx = std::max(1, MulDiv(frame_.cx, kScreenWidthPixels, kScreenWidthMM * 100));
  viewport_.cy = std::max(1, MulDiv(frame_.cy, kScreenHeightPixels, kScreenHeightMM * 100));
  Value(EmfRecord::kSetMapMode, MM_ANISOTROPIC);
  Pair(EmfRecord::kSetWindowExtEx, viewport_.cx, viewport_.cy);
  Pair(EmfRecord::kSetViewportExtEx, viewport_.cx, viewport_.cy);
}

std::vector<uint8_t> WmfToEmf::Finish() && {
  EnhMetaHeader h;
  h.bounds = {0, 0, viewport_.cx - 1, viewport_.cy - 1};
  h.frame = {0, 0, frame_.cx, frame_.cy};
  h.handles = static_cast<uint16_t>(std::min<size_t>(max_handle_ + 1, 0xFFFF));
  h.device = {kScreenWidthPixels, kScreenHeightPixels};
  h.millimeters = {kScreenWidthMM, kScreenHeightMM};
  h.pixel_format_size = 0;
  h.pixel_format_offset = 0;
  h.open_gl = 0;
  h.micrometers = Size{kScreenWidthMM * 1000, kScreenHeightMM * 1000};
  return std::move(out_).Finish(h);
}

void WmfToEmf::SetOrigin(Point& origin, EmfRecord type, Point value) {
  origin = value;
  Pair(type, value.x, value.y);
}

void WmfToEmf::SaveDc() {
  saved_.push_back(dc_);
  Add(EmfRecord::kSaveDC, std::vector<uint8_t>{});
}

void WmfToEmf::RestoreDc(const WmfRecord& r, int32_t which) {
  const int64_t depth = static_cast<int64_t>(saved_.size());
  const int64_t target = which < 0 ? depth + which : int64_t(which) - 1;
  if (which == 0 || target < 0 || target >= depth) {  // the platform refuses these
    Dropped(r, Drop::kLevelNotSaved);
    return;
  }
  dc_ = saved_[size_t(target)];
  saved_.resize(size_t(target));
  Value(EmfRecord::kRestoreDC, static_cast<uint32_t>(which));
}

void WmfToEmf::Poly(EmfRecord type, const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const int32_t count = in.I16();
  if (!in.Ok() || count < 0 || size_t(count) * 4 > in.Remaining()) {
    Dropped(r, Drop::kTooShort);
    return;
  }
  std::vector<Point> points(static_cast<size_t>(count));
  for (auto& p : points) {
    p.x = in.I16();
    p.y = in.I16();
  }
  Rect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const auto& p : points) {
    bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
              std::max(bounds.bottom, p.y)};
  }
  if (points.empty()) bounds = {};
  ByteWriter w;
  PutRect(w, bounds.left, bounds.top, bounds.right, bounds.bottom);
  w.U32(static_cast<uint32_t>(count));
  for (const auto& p : points) {
    w.I32(p.x);
    w.I32(p.y);
  }
  Add(type, w);
}

void WmfToEmf::PolyPolygon(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const uint16_t polygons = in.U16();
  std::vector<uint32_t> counts(polygons);
  uint64_t total = 0;
  for (auto& c : counts) {
    c = in.U16();
    total += c;
  }
  if (!in.Ok() || total * 4 > in.Remaining()) {
    Dropped(r, Drop::kTooShort);
    return;
  }
  ByteWriter points;
  Rect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (uint64_t i = 0; i < total; ++i) {
    const int32_t x = in.I16();
    const int32_t y = in.I16();
    bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
              std::max(bounds.bottom, y)};
    points.I32(x);
    points.I32(y);
  }
  if (total == 0) bounds = {};
  ByteWriter w;
  PutRect(w, bounds.left, bounds.top, bounds.right, bounds.bottom);
  w.U32(polygons);
  w.U32(static_cast<uint32_t>(total));
  for (const uint32_t c : counts) w.U32(c);
  w.Append(points.Bytes().data(), points.Size());
  Add(EmfRecord::kPolyPolygon, w);
}

void WmfToEmf::Boxed(EmfRecord type, const WmfRecord& r) {
  Params p(r);
  const int32_t bottom = p.S(), right = p.S(), top = p.S(), left = p.S();
  if (Fits(p, r)) Box(type, left, top, right, bottom);
}

void WmfToEmf::RoundRect(const WmfRecord& r) {
  Params p(r);
  const int32_t height = p.S(), width = p.S();
  const int32_t bottom = p.S(), right = p.S(), top = p.S(), left = p.S();
  if (!Fits(p, r)) return;
  ByteWriter w;
  PutRect(w, left, top, right, bottom);
  w.I32(width);
  w.I32(height);
  Add(EmfRecord::kRoundRect, w);
}

void WmfToEmf::ArcLike(EmfRecord type, const WmfRecord& r) {
  Params p(r);
  const int32_t y_end = p.S(), x_end = p.S(), y_start = p.S(), x_start = p.S();
  const int32_t bottom = p.S(), right = p.S(), top = p.S(), left = p.S();
  if (!Fits(p, r)) return;
  ByteWriter w;
  PutRect(w, left, top, right, bottom);
  w.I32(x_start);
  w.I32(y_start);
  w.I32(x_end);
  w.I32(y_end);
  Add(type, w);
}

void WmfToEmf::SetPixel(const WmfRecord& r) {
  Params p(r);
  const uint32_t color = p.U32();
  const int32_t y = p.S(), x = p.S();
  if (!Fits(p, r)) return;
  ByteWriter w;
  w.I32(x);
  w.I32(y);
  w.U32(color);
  Add(EmfRecord::kSetPixelV, w);
}

void WmfToEmf::ClipRect(EmfRecord type, const WmfRecord& r) { Boxed(type, r); }

// Region data of an enhanced record: a 32-byte header (size, type 1 =
// rectangles, count, bytes of the rectangles, bounds), then the rectangles.
void PutRegionData(ByteWriter& w, const std::vector<Rect>& rects) {
  Rect bounds{0, 0, 0, 0};
  for (size_t i = 0; i < rects.size(); ++i) {
    const Rect& rc = rects[i];
    bounds = i == 0 ? rc
                    : Rect{std::min(bounds.left, rc.left), std::min(bounds.top, rc.top),
                           std::max(bounds.right, rc.right), std::max(bounds.bottom, rc.bottom)};
  }
  w.U32(32);
  w.U32(1);
  w.U32(static_cast<uint32_t>(rects.size()));
  w.U32(static_cast<uint32_t>(rects.size() * 16));
  PutRect(w, bounds.left, bounds.top, bounds.right, bounds.bottom);
  for (const Rect& rc : rects) PutRect(w, rc.left, rc.top, rc.right, rc.bottom);
}

uint32_t RegionDataSize(const std::vector<Rect>& rects) { return static_cast<uint32_t>(32 + rects.size() * 16); }

// Object index 0 stands for no region: the clipping is removed, as the
// platform's player passes a null region for it.
void WmfToEmf::SelectClipRegion(const WmfRecord& r) {
  Params p(r);
  const uint32_t index = p.U();
  if (!Fits(p, r)) return;
  if (index == 0) {
    ByteWriter w;
    w.U32(0);  // no region data
    w.U32(RGN_COPY);
    Add(EmfRecord::kExtSelectClipRgn, w);
    return;
  }
  if (const std::vector<Rect>* rects = RegionAt(index)) {
    SelectClipRects(*rects);
  } else {
    Dropped(r, Drop::kRegion);
  }
}

// The clip region is given in device units, as the platform's player hands
// the region object to the context unchanged.
void WmfToEmf::SelectClipRects(const std::vector<Rect>& rects) {
  ByteWriter w;
  w.U32(RegionDataSize(rects));
  w.U32(RGN_COPY);
  PutRegionData(w, rects);
  Add(EmfRecord::kExtSelectClipRgn, w);
}

const std::vector<Rect>* WmfToEmf::RegionAt(uint32_t index) const {
  if (index >= slots_.size() || slots_[index].state != SlotState::kRegion) return nullptr;
  return &slots_[index].region;
}

// The enhanced handle of a brush slot; -1 when the slot holds no brush that
// was written.
int32_t WmfToEmf::BrushHandle(uint32_t index) const {
  if (index >= slots_.size() || slots_[index].state != SlotState::kEmitted || slots_[index].font) return -1;
  return int32_t(index) + 1;
}

// A region object: next in chain, type (6), object count, size, scan count,
// largest scan, bounds (left, top, right, bottom), then the scans: count of
// x coordinates, top, bottom, the left-right pairs, the count again.
void WmfToEmf::CreateRegion(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  in.U16();  // next in chain
  in.U16();  // object type
  in.U32();  // object count
  in.U16();  // region size
  const uint16_t scans = in.U16();
  in.U16();  // largest scan
  for (int i = 0; i < 4; ++i) in.I16();  // bounds
  std::vector<Rect> rects;
  for (uint32_t i = 0; i < scans && in.Ok(); ++i) {
    const uint16_t count = in.U16();
    const int32_t top = in.I16();
    const int32_t bottom = in.I16();
    if (!in.Ok() || count % 2 != 0 || size_t(count) * 2 > in.Remaining()) {
      in.Skip(in.Remaining() + 1);
      break;
    }
    for (uint32_t k = 0; k < count / 2u; ++k) {
      const int32_t left = in.I16();
      const int32_t right = in.I16();
      if (left < right && top < bottom) rects.push_back({left, top, right, bottom});
    }
    in.U16();  // the count repeated
  }
  if (!in.Ok()) {
    AllocateSlot(SlotState::kSkipped);
    Dropped(r, Drop::kTooShort);
    return;
  }
  const int slot = AllocateSlot(SlotState::kRegion);
  if (slot >= 0) slots_[size_t(slot)].region = std::move(rects);
}

// FillRegion (brush, region), FrameRegion (brush, region, height, width),
// InvertRegion and PaintRegion (region): the region in logical units. The
// brush comes first, as the platform's player reads these records.
void WmfToEmf::DrawRegion(EmfRecord type, const WmfRecord& r) {
  Params p(r);
  const bool with_brush = type == EmfRecord::kFillRgn || type == EmfRecord::kFrameRgn;
  const uint32_t brush_index = with_brush ? p.U() : 0;
  const uint32_t region_index = p.U();
  const int32_t height = type == EmfRecord::kFrameRgn ? p.S() : 0;
  const int32_t width = type == EmfRecord::kFrameRgn ? p.S() : 0;
  if (!p.Ok()) return;
  const std::vector<Rect>* rects = RegionAt(region_index);
  if (rects == nullptr) return;
  const int32_t brush = with_brush ? BrushHandle(brush_index) : 0;
  if (brush < 0) return;
  ByteWriter w;
  PutRect(w, 0, 0, -1, -1);  // bounds not computed
  w.U32(RegionDataSize(*rects));
  if (with_brush) w.U32(uint32_t(brush));
  if (type == EmfRecord::kFrameRgn) {
    w.I32(width);
    w.I32(height);
  }
  PutRegionData(w, *rects);
  Add(type, w);
}

int WmfToEmf::AllocateSlot(SlotState state, bool font, uint8_t charset) {
  auto free_slot = std::find_if(slots_.begin(), slots_.end(),
                                [](const Slot& s) { return s.state == SlotState::kFree; });
  if (free_slot == slots_.end()) {
    if (slots_.size() >= kMaxObjects) return -1;
    free_slot = slots_.insert(slots_.end(), Slot{});
  }
  *free_slot = Slot{state, font, charset};
  const int index = static_cast<int>(free_slot - slots_.begin());
  if (state == SlotState::kEmitted) max_handle_ = std::max(max_handle_, size_t(index) + 1);
  return index;
}

int WmfToEmf::EmittedSlot(const WmfRecord& r, bool font, uint8_t charset) {
  const int slot = AllocateSlot(SlotState::kEmitted, font, charset);
  if (slot < 0) Dropped(r, Drop::kObjectTableFull);
  return slot;
}

void WmfToEmf::CreatePen(const WmfRecord& r) {
  Params p(r);
  const uint32_t style = p.U();
  const int32_t width = p.S();
  p.S();  // the height of the width point is unused
  const uint32_t color = p.U32();
  if (!Fits(p, r)) {
    AllocateSlot(SlotState::kSkipped);
    return;
  }
  const int slot = EmittedSlot(r);
  if (slot < 0) return;
  ByteWriter w;
  w.U32(uint32_t(slot) + 1);
  w.U32(style);
  w.I32(width);
  w.I32(0);
  w.U32(color);
  Add(EmfRecord::kCreatePen, w);
}

void WmfToEmf::CreateBrush(const WmfRecord& r) {
  Params p(r);
  const uint32_t style = p.U();
  const uint32_t color = p.U32();
  const uint32_t hatch = p.U();
  if (!Fits(p, r)) {
    AllocateSlot(SlotState::kSkipped);
    return;
  }
  const int slot = EmittedSlot(r);
  if (slot < 0) return;
  ByteWriter w;
  w.U32(uint32_t(slot) + 1);
  w.U32(style);
  w.U32(color);
  w.U32(hatch);
  Add(EmfRecord::kCreateBrushIndirect, w);
}

void WmfToEmf::CreateFont(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  int32_t numbers[5];
  for (auto& n : numbers) n = in.I16();
  uint8_t flags[8];
  for (auto& f : flags) f = in.U8();
  if (!Fits(in, r)) {
    AllocateSlot(SlotState::kSkipped);
    return;
  }
  const uint8_t charset = flags[3];
  const int slot = EmittedSlot(r, true, charset);
  if (slot < 0) return;
  // The face name runs to its terminating zero, at most 32 bytes, within the record.
  std::string face;
  while (face.size() < 32 && in.Remaining() > 0) {
    const uint8_t c = in.U8();
    if (c == 0) break;
    face.push_back(static_cast<char>(c));
  }
  std::u16string wide = DecodeWmfText(reinterpret_cast<const uint8_t*>(face.data()), face.size(),
                                      kAnsiCharset);
  wide.resize(31);
  ByteWriter w;
  w.U32(uint32_t(slot) + 1);
  for (const int32_t n : numbers) w.I32(n);
  for (const uint8_t f : flags) w.U8(f);
  for (const char16_t c : wide) w.U16(c);
  w.U16(0);
  Add(EmfRecord::kExtCreateFontIndirectW, w);
}

void WmfToEmf::CreateDibPatternBrush(const WmfRecord& r) {
  Params p(r);
  const uint32_t style = p.U();
  const uint16_t usage = static_cast<uint16_t>(p.U());
  ByteReader& in = p.Reader();
  const auto dib = p.Ok() && style != BS_PATTERN
                       ? SplitPackedDib(r.params + in.Offset(), in.Remaining(), usage)
                       : std::nullopt;
  if (!dib) {
    AllocateSlot(SlotState::kSkipped);
    Dropped(r, !p.Ok() ? Drop::kTooShort : style == BS_PATTERN ? Drop::kDeviceBitmap : Drop::kBadBitmap);
    return;
  }
  const int slot = EmittedSlot(r);
  if (slot < 0) return;
  constexpr uint32_t kFixed = 32;
  const uint32_t info_size = static_cast<uint32_t>(dib->info.size());
  ByteWriter w;
  w.U32(uint32_t(slot) + 1);
  w.U32(usage);
  w.U32(kFixed);
  w.U32(info_size);
  w.U32(kFixed + info_size);
  w.U32(static_cast<uint32_t>(dib->bits_size));
  w.Append(dib->info.data(), dib->info.size());
  Add(EmfRecord::kCreateDIBPatternBrushPt, w, {dib->bits, dib->bits_size});
}

bool WmfToEmf::EmittedObject(const WmfRecord& r, uint32_t index) const {
  if (index >= slots_.size() || slots_[index].state == SlotState::kFree) {
    Dropped(r, Drop::kNoObject);
    return false;
  }
  if (slots_[index].state == SlotState::kSkipped) {
    Dropped(r, Drop::kObjectNotConverted);
    return false;
  }
  return true;
}

// Selecting a region selects it as the clip region.
void WmfToEmf::SelectObject(const WmfRecord& r) {
  Params p(r);
  const uint32_t index = p.U();
  if (!Fits(p, r)) return;
  if (const std::vector<Rect>* rects = RegionAt(index)) {
    SelectClipRects(*rects);
    return;
  }
  if (!EmittedObject(r, index)) return;
  if (slots_[index].font) dc_.charset = slots_[index].charset;
  Value(EmfRecord::kSelectObject, index + 1);
}

// A logical palette: version, entry count, then red, green, blue, flags per
// entry, as the enhanced record holds it.
void WmfToEmf::CreatePalette(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const uint16_t version = in.U16();
  const uint16_t count = in.U16();
  if (!in.Ok() || size_t(count) * 4 > in.Remaining()) {
    AllocateSlot(SlotState::kSkipped);
    Dropped(r, Drop::kTooShort);
    return;
  }
  const int slot = EmittedSlot(r);
  if (slot < 0) return;
  ByteWriter w;
  w.U32(uint32_t(slot) + 1);
  w.U16(version);
  w.U16(count);
  w.Append(in.Bytes(size_t(count) * 4), size_t(count) * 4);
  Add(EmfRecord::kCreatePalette, w);
}

void WmfToEmf::SelectPalette(const WmfRecord& r) {
  Params p(r);
  const uint32_t index = p.U();
  if (!Fits(p, r) || !EmittedObject(r, index)) return;
  dc_.palette = int(index);
  Value(EmfRecord::kSelectPalette, index + 1);
}

// Both apply to the palette selected in the context.
void WmfToEmf::SetPaletteEntries(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const uint16_t start = in.U16();
  const uint16_t count = in.U16();
  if (!in.Ok() || size_t(count) * 4 > in.Remaining()) {
    Dropped(r, Drop::kTooShort);
    return;
  }
  if (dc_.palette < 0) {
    Dropped(r, Drop::kNoPalette);
    return;
  }
  ByteWriter w;
  w.U32(uint32_t(dc_.palette) + 1);
  w.U32(start);
  w.U32(count);
  w.Append(in.Bytes(size_t(count) * 4), size_t(count) * 4);
  Add(EmfRecord::kSetPaletteEntries, w);
}

void WmfToEmf::ResizePalette(const WmfRecord& r) {
  Params p(r);
  const uint32_t count = p.U();
  if (!Fits(p, r)) return;
  if (dc_.palette < 0) {
    Dropped(r, Drop::kNoPalette);
    return;
  }
  Pair(EmfRecord::kResizePalette, dc_.palette + 1, int32_t(count));
}

void WmfToEmf::DeleteObject(const WmfRecord& r) {
  Params p(r);
  const uint32_t index = p.U();
  if (!Fits(p, r)) return;
  if (index >= slots_.size() || slots_[index].state == SlotState::kFree) {
    Dropped(r, Drop::kNoObject);
    return;
  }
  if (slots_[index].state == SlotState::kEmitted) Value(EmfRecord::kDeleteObject, index + 1);
  slots_[index] = Slot{};
  if (dc_.palette == int(index)) dc_.palette = -1;
}

void WmfToEmf::Text(int32_t x, int32_t y, uint16_t options, const Rect* clip,
                    const uint8_t* chars, size_t count, const std::vector<int32_t>* dx) {
  std::vector<uint8_t> bytes_per_char;
  const std::u16string text = DecodeWmfText(chars, count, dc_.charset, &bytes_per_char);
  // A double-byte character advances by the sum of its bytes' advances.
  std::vector<int32_t> merged;
  if (dx && text.size() != count) {
    merged = AdvancesPerCharacter(*dx, bytes_per_char, false);
    dx = &merged;
  }
  // Text without advances gets those the recording context measures, so it
  // keeps the reference screen's layout at any output resolution.
  std::vector<int32_t> measured;
  if (!dx && !text.empty()) {
    measured = recording_.Advances(text);
    dx = &measured;
  }
  const uint32_t string_offset = kExtTextOutFixedSize;
  const uint32_t string_bytes = static_cast<uint32_t>((text.size() * 2 + 3) & ~size_t(3));
  const uint32_t dx_offset = dx ? string_offset + string_bytes : 0;
  const Rect rect = clip ? *clip : Rect{0, 0, -1, -1};
  const Rect bounds = dx && !text.empty() ? recording_.TextBounds({x, y}, *dx) : Rect{0, 0, -1, -1};
  ByteWriter w;
  PutRect(w, bounds.left, bounds.top, bounds.right, bounds.bottom);
  w.I32(GM_COMPATIBLE);
  w.F32(0.0f);
  w.F32(0.0f);
  w.I32(x);
  w.I32(y);
  w.U32(static_cast<uint32_t>(text.size()));
  w.U32(string_offset);
  w.U32(options);
  PutRect(w, rect.left, rect.top, rect.right, rect.bottom);
  w.U32(dx_offset);
  for (const char16_t c : text) w.U16(c);
  while (w.Size() + 8 < string_offset + string_bytes) w.U8(0);
  if (dx) {
    for (const int32_t d : *dx) w.I32(d);
  }
  Add(EmfRecord::kExtTextOutW, w);
}

void WmfToEmf::TextOut(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const int32_t count = in.I16();
  if (count < 0) {
    Dropped(r, Drop::kTooShort);
    return;
  }
  const uint8_t* chars = in.Bytes(size_t(count));
  in.Skip(size_t(count) & 1);
  const int32_t y = in.I16();
  const int32_t x = in.I16();
  if (!Fits(in, r)) return;
  Text(x, y, 0, nullptr, chars, size_t(count), nullptr);
}

void WmfToEmf::ExtTextOut(const WmfRecord& r) {
  ByteReader in(r.params, r.param_bytes);
  const int32_t y = in.I16();
  const int32_t x = in.I16();
  const int32_t count = in.I16();
  const uint16_t options = in.U16();
  Rect clip;
  const bool has_rect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  if (has_rect) {
    clip.left = in.I16();
    clip.top = in.I16();
    clip.right = in.I16();
    clip.bottom = in.I16();
  }
  if (!in.Ok() || count < 0) {
    Dropped(r, Drop::kTooShort);
    return;
  }
  const uint8_t* chars = in.Bytes(size_t(count));
  if (!Fits(in, r)) return;
  in.Skip(size_t(count) & 1);
  std::vector<int32_t> dx;
  if (in.Ok() && in.Remaining() >= size_t(count) * 2) {
    dx.resize(size_t(count));
    for (auto& d : dx) d = in.I16();
  }
  Text(x, y, options, has_rect ? &clip : nullptr, chars, size_t(count),
       dx.empty() ? nullptr : &dx);
}

// A raster operation without a source bitmap, recorded as a bit-block
// transfer with no source (as the platform records PatBlt).
void WmfToEmf::BitBltNoSource(int32_t x, int32_t y, int32_t w_, int32_t h, uint32_t rop) {
  ByteWriter w;
  PutRect(w, x, y, x + w_ - 1, y + h - 1);
  w.I32(x);
  w.I32(y);
  w.I32(w_);
  w.I32(h);
  w.U32(rop);
  w.I32(0);
  w.I32(0);
  for (int i = 0; i < 6; ++i) w.F32(i == 0 || i == 3 ? 1.0f : 0.0f);
  w.U32(0);  // background colour of the source
  w.U32(0);  // usage
  for (int i = 0; i < 4; ++i) w.U32(0);
  Add(EmfRecord::kBitBlt, w);
}

void WmfToEmf::StretchBltDib(int32_t xd, int32_t yd, int32_t wd, int32_t hd, int32_t xs, int32_t ys,
                             int32_t ws, int32_t hs, uint32_t rop, const PackedDib& dib,
                             bool stretch) {
  const uint32_t fixed = stretch ? kStretchBltFixedSize : kBitBltFixedSize;
  const uint32_t info_size = static_cast<uint32_t>(dib.info.size());
  ByteWriter w;
  PutRect(w, xd, yd, xd + wd - 1, yd + hd - 1);
  w.I32(xd);
  w.I32(yd);
  w.I32(wd);
  w.I32(hd);
  w.U32(rop);
  w.I32(xs);
  w.I32(ys);
  for (int i = 0; i < 6; ++i) w.F32(i == 0 || i == 3 ? 1.0f : 0.0f);
  w.U32(0);
  w.U32(kDibRgbColors);
  w.U32(fixed);
  w.U32(info_size);
  w.U32(fixed + info_size);
  w.U32(static_cast<uint32_t>(dib.bits_size));
  if (stretch) {
    w.I32(ws);
    w.I32(hs);
  }
  w.Append(dib.info.data(), dib.info.size());
  Add(stretch ? EmfRecord::kStretchBlt : EmfRecord::kBitBlt, w, {dib.bits, dib.bits_size});
}

// A record without a bitmap is exactly its fixed words plus the size and
// function: RecordSize == (function >> 8) + 3.
bool HasNoBitmap(const WmfRecord& r) { return r.size_words == uint32_t(r.function >> 8) + 3; }

void WmfToEmf::StretchDib(const WmfRecord& r) {
  Params p(r);
  const uint32_t rop = p.U32();
  const uint16_t usage = static_cast<uint16_t>(p.U());
  const int32_t hs = p.S(), ws = p.S(), ys = p.S(), xs = p.S();
  const int32_t hd = p.S(), wd = p.S(), yd = p.S(), xd = p.S();
  if (!Fits(p, r)) return;
  ByteReader& in = p.Reader();
  const auto dib = SplitPackedDib(r.params + in.Offset(), in.Remaining(), usage);
  if (!dib) {
    Dropped(r, Drop::kBadBitmap);
    return;
  }
  const uint32_t info_size = static_cast<uint32_t>(dib->info.size());
  ByteWriter w;
  PutRect(w, xd, yd, xd + wd - 1, yd + hd - 1);
  w.I32(xd);
  w.I32(yd);
  w.I32(xs);
  w.I32(ys);
  w.I32(ws);
  w.I32(hs);
  w.U32(kStretchDIBitsFixedSize);
  w.U32(info_size);
  w.U32(kStretchDIBitsFixedSize + info_size);
  w.U32(static_cast<uint32_t>(dib->bits_size));
  w.U32(usage);
  w.U32(rop);
  w.I32(wd);
  w.I32(hd);
  w.Append(dib->info.data(), dib->info.size());
  Add(EmfRecord::kStretchDIBits, w, {dib->bits, dib->bits_size});
}

void WmfToEmf::BlitSource(const WmfRecord& r, size_t offset, bool bitmap16, int32_t xd, int32_t yd,
                          int32_t wd, int32_t hd, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                          uint32_t rop, bool stretch) {
  const uint8_t* data = r.params + offset;
  const size_t size = r.param_bytes - offset;
  if (!bitmap16) {
    const auto dib = SplitPackedDib(data, size, kDibRgbColors);
    if (dib)
      StretchBltDib(xd, yd, wd, hd, xs, ys, ws, hs, rop, *dib, stretch);
    else
      Dropped(r, Drop::kBadBitmap);
    return;
  }
  const auto converted = Bitmap16ToDib(data, size);
  if (!converted) {
    Dropped(r, Drop::kBadBitmap);
    return;
  }
  PackedDib dib;
  dib.info = converted->info;
  dib.bits = converted->bits.data();
  dib.bits_size = converted->bits.size();
  StretchBltDib(xd, yd, wd, hd, xs, ys, ws, hs, rop, dib, stretch);
}

void WmfToEmf::DibStretchBlt(const WmfRecord& r, bool bitmap16) {
  Params p(r);
  const uint32_t rop = p.U32();
  const int32_t hs = p.S(), ws = p.S(), ys = p.S(), xs = p.S();
  const bool no_bitmap = HasNoBitmap(r);
  if (no_bitmap) p.S();
  const int32_t hd = p.S(), wd = p.S(), yd = p.S(), xd = p.S();
  if (!Fits(p, r)) return;
  if (no_bitmap) {
    BitBltNoSource(xd, yd, wd, hd, rop);
    return;
  }
  BlitSource(r, p.Reader().Offset(), bitmap16, xd, yd, wd, hd, xs, ys, ws, hs, rop, true);
}

void WmfToEmf::DibBitBlt(const WmfRecord& r, bool bitmap16) {
  Params p(r);
  const uint32_t rop = p.U32();
  const int32_t ys = p.S(), xs = p.S();
  const bool no_bitmap = HasNoBitmap(r);
  if (no_bitmap) p.S();
  const int32_t h = p.S(), w = p.S(), yd = p.S(), xd = p.S();
  if (!Fits(p, r)) return;
  if (no_bitmap) {
    BitBltNoSource(xd, yd, w, h, rop);
    return;
  }
  BlitSource(r, p.Reader().Offset(), bitmap16, xd, yd, w, h, xs, ys, w, h, rop, false);
}

void WmfToEmf::PatBlt(const WmfRecord& r) {
  Params p(r);
  const uint32_t rop = p.U32();
  const int32_t h = p.S(), w = p.S(), y = p.S(), x = p.S();
  if (Fits(p, r)) BitBltNoSource(x, y, w, h, rop);
}

void WmfToEmf::SetDibToDev(const WmfRecord& r) {
  Params p(r);
  const uint16_t usage = static_cast<uint16_t>(p.U());
  const uint32_t scans = p.U(), start = p.U();
  const int32_t ys = p.S(), xs = p.S(), h = p.S(), w_ = p.S(), yd = p.S(), xd = p.S();
  if (!Fits(p, r)) return;
  ByteReader& in = p.Reader();
  const auto dib = SplitPackedDib(r.params + in.Offset(), in.Remaining(), usage);
  if (!dib) {
    Dropped(r, Drop::kBadBitmap);
    return;
  }
  const uint32_t info_size = static_cast<uint32_t>(dib->info.size());
  ByteWriter w;
  PutRect(w, xd, yd, xd + w_ - 1, yd + h - 1);
  w.I32(xd);
  w.I32(yd);
  w.I32(xs);
  w.I32(ys);
  w.I32(w_);
  w.I32(h);
  w.U32(kSetDIBitsToDeviceFixedSize);
  w.U32(info_size);
  w.U32(kSetDIBitsToDeviceFixedSize + info_size);
  w.U32(static_cast<uint32_t>(dib->bits_size));
  w.U32(usage);
  w.U32(start);
  w.U32(scans);
  w.Append(dib->info.data(), dib->info.size());
  Add(EmfRecord::kSetDIBitsToDevice, w, {dib->bits, dib->bits_size});
}

void WmfToEmf::Translate(const WmfRecord& r) {
  Params p(r);
  switch (r.function) {
    case wmf::kSetMapMode: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetMapMode, v); break; }
    case wmf::kSetBkMode: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetBkMode, v); break; }
    case wmf::kSetRop2: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetRop2, v); break; }
    case wmf::kSetPolyFillMode: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetPolyFillMode, v); break; }
    case wmf::kSetTextAlign: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetTextAlign, v); break; }
    case wmf::kSetStretchBltMode: { const uint32_t v = p.U(); if (Fits(p, r)) Value(EmfRecord::kSetStretchBltMode, v); break; }
    case wmf::kSetTextColor: { const uint32_t v = p.U32(); if (Fits(p, r)) Value(EmfRecord::kSetTextColor, v); break; }
    case wmf::kSetBkColor: { const uint32_t v = p.U32(); if (Fits(p, r)) Value(EmfRecord::kSetBkColor, v); break; }
    case wmf::kSetWindowOrg: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) SetOrigin(dc_.window, EmfRecord::kSetWindowOrgEx, {x, y}); break; }
    case wmf::kSetViewportOrg: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) SetOrigin(dc_.viewport, EmfRecord::kSetViewportOrgEx, {x, y}); break; }
    case wmf::kOffsetWindowOrg: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) SetOrigin(dc_.window, EmfRecord::kSetWindowOrgEx, {dc_.window.x + x, dc_.window.y + y}); break; }
    case wmf::kOffsetViewportOrg: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) SetOrigin(dc_.viewport, EmfRecord::kSetViewportOrgEx, {dc_.viewport.x + x, dc_.viewport.y + y}); break; }
    case wmf::kSetWindowExt: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) Pair(EmfRecord::kSetWindowExtEx, x, y); break; }
    case wmf::kSetViewportExt: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) Pair(EmfRecord::kSetViewportExtEx, x, y); break; }
    case wmf::kScaleWindowExt:
    case wmf::kScaleViewportExt: {
      const int32_t y_den = p.S(), y_num = p.S(), x_den = p.S(), x_num = p.S();
      if (!Fits(p, r)) break;
      ByteWriter w;
      w.I32(x_num);
      w.I32(x_den);
      w.I32(y_num);
      w.I32(y_den);
      Add(r.function == wmf::kScaleWindowExt ? EmfRecord::kScaleWindowExtEx : EmfRecord::kScaleViewportExtEx, w);
      break;
    }
    case wmf::kSaveDc: SaveDc(); break;
    case wmf::kRestoreDc: { const int32_t v = p.S(); if (Fits(p, r)) RestoreDc(r, v); break; }
    case wmf::kMoveTo: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) Pair(EmfRecord::kMoveToEx, x, y); break; }
    case wmf::kLineTo: { const int32_t y = p.S(), x = p.S(); if (Fits(p, r)) Pair(EmfRecord::kLineTo, x, y); break; }
    case wmf::kPolyline: Poly(EmfRecord::kPolyline, r); break;
    case wmf::kPolygon: Poly(EmfRecord::kPolygon, r); break;
    case wmf::kPolyPolygon: PolyPolygon(r); break;
    case wmf::kRectangle: Boxed(EmfRecord::kRectangle, r); break;
    case wmf::kEllipse: Boxed(EmfRecord::kEllipse, r); break;
    case wmf::kRoundRect: RoundRect(r); break;
    case wmf::kArc: ArcLike(EmfRecord::kArc, r); break;
    case wmf::kPie: ArcLike(EmfRecord::kPie, r); break;
    case wmf::kChord: ArcLike(EmfRecord::kChord, r); break;
    case wmf::kSetPixel: SetPixel(r); break;
    case wmf::kIntersectClipRect: ClipRect(EmfRecord::kIntersectClipRect, r); break;
    case wmf::kExcludeClipRect: ClipRect(EmfRecord::kExcludeClipRect, r); break;
    case wmf::kSelectClipRegion: SelectClipRegion(r); break;
    case wmf::kCreatePenIndirect: CreatePen(r); break;
    case wmf::kCreateBrushIndirect: CreateBrush(r); break;
    case wmf::kCreateFontIndirect: CreateFont(r); break;
    case wmf::kDibCreatePatternBrush: CreateDibPatternBrush(r); break;
    case wmf::kCreatePalette: CreatePalette(r); break;
    case wmf::kSelectPalette: SelectPalette(r); break;
    case wmf::kRealizePalette: Add(EmfRecord::kRealizePalette, std::vector<uint8_t>{}); break;
    case wmf::kSetPalEntries: SetPaletteEntries(r); break;
    case wmf::kResizePalette: ResizePalette(r); break;
    case wmf::kCreatePatternBrush:
      AllocateSlot(SlotState::kSkipped);
      Dropped(r, Drop::kNotSupported);
      break;
    case wmf::kCreateRegion: CreateRegion(r); break;
    case wmf::kFillRegion: DrawRegion(EmfRecord::kFillRgn, r); break;
    case wmf::kFrameRegion: DrawRegion(EmfRecord::kFrameRgn, r); break;
    case wmf::kInvertRegion: DrawRegion(EmfRecord::kInvertRgn, r); break;
    case wmf::kPaintRegion: DrawRegion(EmfRecord::kPaintRgn, r); break;
    case wmf::kOffsetClipRgn: { const int32_t y = p.S(), x = p.S(); if (p.Ok()) Pair(EmfRecord::kOffsetClipRgn, x, y); break; }
    case wmf::kSetTextJustification: {
      const int32_t count = p.S(), extra = p.S();
      if (p.Ok()) Pair(EmfRecord::kSetTextJustification, extra, count);
      break;
    }
    case wmf::kSetTextCharExtra: { const int32_t v = p.S(); if (Fits(p, r)) recording_.SetCharacterExtra(v); break; }
    case wmf::kSetMapperFlags: { const uint32_t v = p.U32(); if (p.Ok()) Value(EmfRecord::kSetMapperFlags, v); break; }
    case wmf::kSelectObject: SelectObject(r); break;
    case wmf::kDeleteObject: DeleteObject(r); break;
    case wmf::kTextOut: TextOut(r); break;
    case wmf::kExtTextOut: ExtTextOut(r); break;
    case wmf::kStretchDib: StretchDib(r); break;
    case wmf::kDibStretchBlt: DibStretchBlt(r, false); break;
    case wmf::kDibBitBlt: DibBitBlt(r, false); break;
    case wmf::kStretchBlt: DibStretchBlt(r, true); break;
    case wmf::kBitBlt: DibBitBlt(r, true); break;
    case wmf::kPatBlt: PatBlt(r); break;
    case wmf::kSetDibToDev: SetDibToDev(r); break;
    default: Dropped(r, Drop::kNoEnhancedForm); break;
  }
}

}  // namespace

std::optional<std::vector<uint8_t>> ConvertWinMetaFileToEnh(const uint8_t* wmf, size_t size,
                                                            int32_t x_ext, int32_t y_ext,
                                                            const WmfConversionLog& log) {
  if (!ParseWinMetaHeader(wmf, size)) return std::nullopt;
  const bool whole_screen = x_ext <= 0 || y_ext <= 0;
  const Size frame = whole_screen ? kWholeScreenFrame : Size{x_ext, y_ext};
  WmfToEmf converter(frame, log);
  converter.Reserve(size);
  converter.Start();
  ForEachWmfRecord(wmf, size, [&converter](const WmfRecord& r) { converter.Translate(r); });
  return std::move(converter).Finish();
}

}  // namespace vx::gdi
