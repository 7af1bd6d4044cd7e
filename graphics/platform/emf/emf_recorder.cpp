#include "graphics/platform/emf/emf_recorder.h"

#include <algorithm>
#include <limits>

#include "graphics/platform/core/stock_font.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/text/text_advances.h"

namespace vx::gdi {

namespace {

constexpr uint32_t kStockFlag = 0x80000000u;
constexpr uint32_t kHeaderSize = 108;
constexpr uint32_t kEofSize = 20;
constexpr uint16_t kPaletteVersion = 0x300;
constexpr size_t kFaceNameChars = 32;
// EXTLOGFONTW after its LOGFONTW: full name, style, four numbers, vendor,
// culture, PANOSE and padding.
constexpr size_t kExtLogFontTail = 128 + 64 + 16 + 4 + 4;
constexpr size_t kPanoseBytes = 10;
constexpr uint8_t kPanoseNoFit = 1;

void WriteRect(ByteWriter& w, const Rect& r) {
  w.I32(r.left);
  w.I32(r.top);
  w.I32(r.right);
  w.I32(r.bottom);
}

void WritePoint(ByteWriter& w, Point p) {
  w.I32(p.x);
  w.I32(p.y);
}

bool FitsShortPoints(const std::vector<Point>& points) {
  return std::all_of(points.begin(), points.end(), [](Point p) {
    return p.x >= INT16_MIN && p.x <= INT16_MAX && p.y >= INT16_MIN && p.y <= INT16_MAX;
  });
}

Rect PointsBounds(const std::vector<Point>& points) {
  Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

Rect Inflate(Rect r, int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

Rect Normalized(const Rect& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// The image as an uncompressed DIB: indexed depths as 8 bits with their
// colour table, deeper ones as 24 bits.
void EncodeDib(const DibImage& image, std::vector<uint8_t>& info, std::vector<uint8_t>& bits) {
  const bool indexed = image.BitCount() <= 8;
  const int32_t bit_count = indexed ? 8 : 24;
  const int32_t width = image.Width(), height = image.Height();
  const int64_t stride = DibStride(width, bit_count);
  const uint32_t colors = indexed ? 256 : 0;
  ByteWriter w;
  w.U32(40);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(uint16_t(bit_count));
  w.U32(BI_RGB);
  w.U32(uint32_t(stride * height));
  w.I32(0);
  w.I32(0);
  w.U32(0);
  w.U32(0);
  for (uint32_t i = 0; i < colors; ++i) {
    const PaletteEntry c = i < image.Colors().size() ? image.Colors()[i] : PaletteEntry{};
    w.U8(c.b);
    w.U8(c.g);
    w.U8(c.r);
    w.U8(0);
  }
  info = std::move(w.Bytes());
  bits.assign(size_t(stride * height), 0);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bits.data() + (height - 1 - y) * stride;  // bottom-up
    for (int32_t x = 0; x < width; ++x) {
      if (indexed) {
        row[x] = uint8_t(image.Index(x, y));
      } else {
        const PaletteEntry c = image.Color(x, y);
        row[3 * x] = c.b;
        row[3 * x + 1] = c.g;
        row[3 * x + 2] = c.r;
      }
    }
  }
}

}  // namespace

EmfRecorder::EmfRecorder(Size reference_pixels, Size reference_millimeters, const Rect& frame,
                         std::u16string description)
    : reference_pixels_(reference_pixels),
      reference_millimeters_(reference_millimeters),
      frame_(frame),
      description_(std::move(description)),
      font_value_(StockFont(SYSTEM_FONT)) {}

uint32_t EmfRecorder::HandlesInUse() const {
  return uint32_t(std::count(slots_.begin(), slots_.end(), true));
}

int EmfRecorder::DeviceCaps(int index) const {
  switch (index) {
    case HORZRES: return reference_pixels_.cx;
    case VERTRES: return reference_pixels_.cy;
    case HORZSIZE: return reference_millimeters_.cx;
    case VERTSIZE: return reference_millimeters_.cy;
    default: return ScreenDeviceCaps(index);
  }
}

void EmfRecorder::Emit(EmfRecord type, const std::vector<uint8_t>& parameters) {
  if (closed_) return;
  const size_t size = 8 + ((parameters.size() + 3) & ~size_t(3));
  body_.U32(TypeWord(type));
  body_.U32(uint32_t(size));
  body_.Append(parameters.data(), parameters.size());
  for (size_t i = 8 + parameters.size(); i < size; ++i) body_.U8(0);
  ++records_;
}

void EmfRecorder::EmitHandle(EmfRecord type, uint32_t handle) {
  ByteWriter w;
  w.U32(handle);
  Emit(type, w.Bytes());
}

// The lowest free slot; slot 0 is the metafile's own.
uint32_t EmfRecorder::AddHandle() {
  auto free = std::find(slots_.begin(), slots_.end(), false);
  if (free == slots_.end()) free = slots_.insert(slots_.end(), false);
  *free = true;
  const uint32_t handle = uint32_t(free - slots_.begin()) + 1;
  const uint32_t in_use = HandlesInUse() + 1;
  if (in_use > handle_high_water_) handle_high_water_ = uint16_t(std::min<uint32_t>(in_use, UINT16_MAX));
  return handle;
}

void EmfRecorder::DeleteHandle(uint32_t handle) {
  if (handle == 0 || handle > slots_.size() || !slots_[handle - 1]) return;
  EmitHandle(EmfRecord::kDeleteObject, handle);
  slots_[handle - 1] = false;
}

void EmfRecorder::Deselect(Selection& selection, uint32_t stock) {
  if (closed_) return;
  EmitHandle(EmfRecord::kSelectObject, kStockFlag | stock);
  DeleteHandle(selection.handle);
  selection.handle = 0;
}

void EmfRecorder::SelectPen(const LogPen& pen) {
  if (closed_) return;
  const uint32_t previous = pen_.handle;
  const uint32_t handle = AddHandle();
  ByteWriter w;
  w.U32(handle);
  w.U32(pen.style & PS_STYLE_MASK);
  w.I32(pen.width);
  w.I32(0);
  w.U32(pen.color);
  Emit(EmfRecord::kCreatePen, w.Bytes());
  EmitHandle(EmfRecord::kSelectObject, handle);
  pen_.handle = handle;
  pen_value_ = pen;
  DeleteHandle(previous);
}

void EmfRecorder::SelectBrush(const LogBrush& brush) {
  if (closed_) return;
  const uint32_t previous = brush_.handle;
  const uint32_t handle = AddHandle();
  ByteWriter w;
  w.U32(handle);
  w.U32(brush.style);
  w.U32(brush.color);
  w.U32(brush.hatch);
  Emit(EmfRecord::kCreateBrushIndirect, w.Bytes());
  EmitHandle(EmfRecord::kSelectObject, handle);
  brush_.handle = handle;
  brush_value_ = brush;
  DeleteHandle(previous);
}

void EmfRecorder::SelectFont(const LogFont& font) {
  if (closed_) return;
  const uint32_t previous = font_.handle;
  const uint32_t handle = AddHandle();
  ByteWriter w;
  w.U32(handle);
  w.I32(font.height);
  w.I32(font.width);
  w.I32(font.escapement);
  w.I32(font.orientation);
  w.I32(font.weight);
  w.U8(font.italic ? 1 : 0);
  w.U8(font.underline ? 1 : 0);
  w.U8(font.strike_out ? 1 : 0);
  w.U8(font.char_set);
  w.U8(font.out_precision);
  w.U8(font.clip_precision);
  w.U8(font.quality);
  w.U8(font.pitch_and_family);
  for (size_t i = 0; i < kFaceNameChars; ++i)
    w.U16(i < font.face_name.size() && i + 1 < kFaceNameChars ? uint16_t(font.face_name[i]) : 0);
  for (size_t i = 0; i < kExtLogFontTail; ++i) w.U8(0);
  for (size_t i = 0; i < kPanoseBytes; ++i) w.U8(kPanoseNoFit);
  Emit(EmfRecord::kExtCreateFontIndirectW, w.Bytes());
  EmitHandle(EmfRecord::kSelectObject, handle);
  font_.handle = handle;
  font_value_ = font;
  if (font_value_.face_name.size() >= kFaceNameChars) font_value_.face_name.resize(kFaceNameChars - 1);
  DeleteHandle(previous);
}

void EmfRecorder::DeselectPen() {
  Deselect(pen_, BLACK_PEN);
  pen_value_ = LogPen{};
}

void EmfRecorder::DeselectBrush() {
  Deselect(brush_, NULL_BRUSH);
  brush_value_ = LogBrush{BS_NULL, 0, 0, nullptr};
}

void EmfRecorder::DeselectFont() {
  Deselect(font_, SYSTEM_FONT);
  font_value_ = StockFont(SYSTEM_FONT);
}

void EmfRecorder::RealizePalette(const std::vector<PaletteEntry>& entries) {
  if (closed_ || entries.empty()) return;
  const uint32_t previous = palette_handle_;
  const uint32_t handle = AddHandle();
  const size_t count = std::min<size_t>(entries.size(), 256);
  ByteWriter w;
  w.U32(handle);
  w.U16(kPaletteVersion);
  w.U16(uint16_t(count));
  for (size_t i = 0; i < count; ++i) {
    w.U8(entries[i].r);
    w.U8(entries[i].g);
    w.U8(entries[i].b);
    w.U8(0);
  }
  Emit(EmfRecord::kCreatePalette, w.Bytes());
  EmitHandle(EmfRecord::kSelectPalette, handle);
  Emit(EmfRecord::kRealizePalette, {});
  palette_handle_ = handle;
  palette_.assign(entries.begin(), entries.begin() + std::ptrdiff_t(count));
  DeleteHandle(previous);
}

void EmfRecorder::SetTextColor(ColorRef color) { EmitHandle(EmfRecord::kSetTextColor, color); }
void EmfRecorder::SetBkColor(ColorRef color) { EmitHandle(EmfRecord::kSetBkColor, color); }
void EmfRecorder::SetBkMode(int mode) { EmitHandle(EmfRecord::kSetBkMode, uint32_t(mode)); }

void EmfRecorder::SetTextAlign(uint32_t align) {
  EmitHandle(EmfRecord::kSetTextAlign, align);
  text_align_ = align;
}

void EmfRecorder::IncludeInBounds(Rect r) {
  if (closed_) return;
  r = Normalized(r);
  if (!has_bounds_) {
    bounds_ = r;
    has_bounds_ = true;
    return;
  }
  bounds_.left = std::min(bounds_.left, r.left);
  bounds_.top = std::min(bounds_.top, r.top);
  bounds_.right = std::max(bounds_.right, r.right);
  bounds_.bottom = std::max(bounds_.bottom, r.bottom);
}

int32_t EmfRecorder::PenAllowance() const {
  if ((pen_value_.style & PS_STYLE_MASK) == PS_NULL) return 0;
  return std::max(pen_value_.width, 1) / 2;
}

void EmfRecorder::MoveTo(Point p) {
  ByteWriter w;
  WritePoint(w, p);
  Emit(EmfRecord::kMoveToEx, w.Bytes());
  current_position_ = p;
}

void EmfRecorder::LineTo(Point p) {
  ByteWriter w;
  WritePoint(w, p);
  Emit(EmfRecord::kLineTo, w.Bytes());
  IncludeInBounds(Inflate(PointsBounds({current_position_, p}), PenAllowance()));
  current_position_ = p;
}

// Points that fit 16 bits go into the short form of the record.
void EmfRecorder::PolyRecord(EmfRecord type32, EmfRecord type16, const std::vector<Point>& points) {
  if (points.empty()) return;
  const Rect bounds = PointsBounds(points);
  const bool short_points = FitsShortPoints(points);
  ByteWriter w;
  WriteRect(w, bounds);
  w.U32(uint32_t(points.size()));
  for (const Point& p : points) {
    if (short_points) {
      w.I16(int16_t(p.x));
      w.I16(int16_t(p.y));
    } else {
      WritePoint(w, p);
    }
  }
  Emit(short_points ? type16 : type32, w.Bytes());
  IncludeInBounds(Inflate(bounds, PenAllowance()));
}

void EmfRecorder::Polyline(const std::vector<Point>& points) { PolyRecord(EmfRecord::kPolyline, EmfRecord::kPolyline16, points); }

void EmfRecorder::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  PolyRecord(EmfRecord::kPolygon, EmfRecord::kPolygon16, points);
}

void EmfRecorder::PolyBezier(const std::vector<Point>& points) {
  PolyRecord(EmfRecord::kPolyBezier, EmfRecord::kPolyBezier16, points);
}

// The recording context works in the compatible graphics mode, whose shapes
// leave out their right and bottom edges, while playback draws them: the box
// is stored one smaller, so both draw the same pixels.
Rect EmfRecorder::ShapeBounds(const Rect& rect) const {
  const Rect box = Normalized(rect);
  return Inflate({box.left, box.top, box.right - 1, box.bottom - 1}, PenAllowance());
}

void EmfRecorder::BoxRecord(EmfRecord type, const Rect& rect) {
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  const Rect box = Normalized(rect);
  ByteWriter w;
  WriteRect(w, {box.left, box.top, box.right - 1, box.bottom - 1});
  Emit(type, w.Bytes());
  IncludeInBounds(ShapeBounds(rect));
}

void EmfRecorder::Rectangle(const Rect& rect) { BoxRecord(EmfRecord::kRectangle, rect); }
void EmfRecorder::Ellipse(const Rect& rect) { BoxRecord(EmfRecord::kEllipse, rect); }

void EmfRecorder::RoundRect(const Rect& rect, Size corner) {
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  const Rect box = Normalized(rect);
  ByteWriter w;
  WriteRect(w, {box.left, box.top, box.right - 1, box.bottom - 1});
  w.I32(corner.cx);
  w.I32(corner.cy);
  Emit(EmfRecord::kRoundRect, w.Bytes());
  IncludeInBounds(ShapeBounds(rect));
}

void EmfRecorder::ArcRecord(EmfRecord type, const Rect& rect, Point start, Point end) {
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  const Rect box = Normalized(rect);
  ByteWriter w;
  WriteRect(w, {box.left, box.top, box.right - 1, box.bottom - 1});
  WritePoint(w, start);
  WritePoint(w, end);
  Emit(type, w.Bytes());
  IncludeInBounds(ShapeBounds(rect));
}

void EmfRecorder::Arc(const Rect& rect, Point start, Point end) { ArcRecord(EmfRecord::kArc, rect, start, end); }
void EmfRecorder::Chord(const Rect& rect, Point start, Point end) { ArcRecord(EmfRecord::kChord, rect, start, end); }
void EmfRecorder::Pie(const Rect& rect, Point start, Point end) { ArcRecord(EmfRecord::kPie, rect, start, end); }

void EmfRecorder::PatBlt(const Rect& rect, uint32_t rop) {
  ByteWriter w;
  const Rect bounds{rect.left, rect.top, rect.left + rect.right - 1, rect.top + rect.bottom - 1};
  WriteRect(w, bounds);
  w.I32(rect.left);
  w.I32(rect.top);
  w.I32(rect.right);
  w.I32(rect.bottom);
  w.U32(rop);
  w.I32(0);
  w.I32(0);
  for (const float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) w.F32(f);
  for (int i = 0; i < 6; ++i) w.U32(0);  // background colour, usage, no bitmap
  Emit(EmfRecord::kBitBlt, w.Bytes());
  IncludeInBounds(bounds);
}

void EmfRecorder::SetPixelV(Point p, ColorRef color) {
  ByteWriter w;
  WritePoint(w, p);
  w.U32(color);
  Emit(EmfRecord::kSetPixelV, w.Bytes());
  IncludeInBounds({p.x, p.y, p.x, p.y});
}

ColorRef EmfRecorder::GetPixel(Point) const { return kInvalidColor; }

std::vector<int32_t> EmfRecorder::CharacterAdvances(const std::u16string& text) const {
  return UntransformedAdvances(font_value_, text);
}

int32_t EmfRecorder::FontHeight() const { return UntransformedFontHeight(font_value_); }

void EmfRecorder::ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                             const std::vector<int32_t>& dx) {
  if (closed_) return;
  const std::vector<int32_t> spacing = dx.empty() ? CharacterAdvances(text) : dx;
  int64_t width = 0;
  for (size_t i = 0; i < text.size() && i < spacing.size(); ++i) width += spacing[i];
  const int32_t height = FontHeight();
  const int32_t text_width = int32_t(std::clamp<int64_t>(width, 0, INT32_MAX / 2));

  Rect bounds;
  switch (text_align_ & TA_CENTER) {
    case TA_CENTER: bounds.left = origin.x - text_width / 2 - 1; bounds.right = origin.x + text_width / 2 + 1; break;
    case TA_RIGHT: bounds.left = origin.x - text_width - 1; bounds.right = origin.x; break;
    default: bounds.left = origin.x; bounds.right = origin.x + text_width + 1; break;
  }
  switch (VerticalAlignOf(text_align_)) {
    case VerticalTextAlign::Baseline: bounds.top = origin.y - height - 1; bounds.bottom = origin.y + height + 1; break;
    case VerticalTextAlign::Bottom: bounds.top = origin.y - height - 1; bounds.bottom = origin.y; break;
    case VerticalTextAlign::Top: bounds.top = origin.y; bounds.bottom = origin.y + height + 1; break;
  }

  // The compatible mode stores the scale of a logical unit in 0.01 mm.
  const float x_scale = 100.0f * float(reference_millimeters_.cx) / float(reference_pixels_.cx);
  const float y_scale = 100.0f * float(reference_millimeters_.cy) / float(reference_pixels_.cy);
  const uint32_t chars = uint32_t(text.size());
  const uint32_t string_offset = 76;
  const uint32_t dx_offset = string_offset + ((chars + 1) & ~1u) * 2;
  ByteWriter w;
  WriteRect(w, bounds);
  w.U32(GM_COMPATIBLE);
  w.F32(x_scale);
  w.F32(y_scale);
  WritePoint(w, origin);
  w.U32(chars);
  w.U32(string_offset);
  w.U32(options);
  WriteRect(w, rect != nullptr ? *rect : Rect{0, 0, -1, -1});
  w.U32(dx_offset);
  for (const char16_t c : text) w.U16(uint16_t(c));
  if (chars % 2 != 0) w.U16(0);
  for (size_t i = 0; i < text.size(); ++i) w.I32(i < spacing.size() ? spacing[i] : 0);
  Emit(EmfRecord::kExtTextOutW, w.Bytes());
  IncludeInBounds(bounds);
  if (rect != nullptr && (options & ETO_OPAQUE)) IncludeInBounds({rect->left, rect->top, rect->right - 1, rect->bottom - 1});
}

void EmfRecorder::StretchDIBits(const Rect& dest, const DibImage& source, const Rect& source_rect,
                                uint32_t rop) {
  if (closed_) return;
  std::vector<uint8_t> info, bits;
  EncodeDib(source, info, bits);
  constexpr uint32_t kFixedPart = 80;
  const uint32_t info_offset = kFixedPart;
  const uint32_t bits_offset = info_offset + uint32_t(info.size());
  const Rect bounds{dest.left, dest.top, dest.left + dest.right - 1, dest.top + dest.bottom - 1};
  ByteWriter w;
  WriteRect(w, bounds);
  w.I32(dest.left);
  w.I32(dest.top);
  w.I32(source_rect.left);
  w.I32(source_rect.top);
  w.I32(source_rect.right);
  w.I32(source_rect.bottom);
  w.U32(info_offset);
  w.U32(uint32_t(info.size()));
  w.U32(bits_offset);
  w.U32(uint32_t(bits.size()));
  w.U32(DIB_RGB_COLORS);
  w.U32(rop);
  w.I32(dest.right);
  w.I32(dest.bottom);
  w.Append(info.data(), info.size());
  w.Append(bits.data(), bits.size());
  Emit(EmfRecord::kStretchDIBits, w.Bytes());
  IncludeInBounds(bounds);
}

// A metafile drawn into a recording goes in as its picture, rendered at the
// size it is drawn (the recording has no handle table to merge its objects into).
void EmfRecorder::PlayMetafile(const std::vector<uint8_t>& emf, const Rect& rect,
                               const std::vector<PaletteEntry>& /*palette*/, const PlaybackLog& /*log*/) {
  if (closed_) return;
  const Rect box = Normalized(rect);
  const int64_t width = int64_t(box.right) - box.left + 1, height = int64_t(box.bottom) - box.top + 1;
  constexpr int64_t kMaxPixels = int64_t(1) << 26;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) return;
  // Drawn at the same phase of the 8 x 8 hatch grid as on the page.
  constexpr int32_t kHatchSize = 8;
  const int32_t ox = ((box.left % kHatchSize) + kHatchSize) % kHatchSize;
  const int32_t oy = ((box.top % kHatchSize) + kHatchSize) % kHatchSize;
  const int32_t work_width = int32_t(width) + ox, work_height = int32_t(height) + oy;
  const int32_t work_stride = DibStride(work_width, 8);
  std::vector<uint8_t> work(size_t(work_stride) * size_t(work_height), NearestHalftoneIndex(RGB(255, 255, 255)));
  PixelSurface8 surface{work_width, work_height, work_stride, work.data()};
  TDeviceContext dc;
  dc.SelectSurface(&surface);
  // Playback starts from the objects selected where the picture is drawn.
  LogPen pen{pen_value_.style & PS_STYLE_MASK, pen_value_.width, pen_value_.color, {}, false};
  pen.brush.color = pen.color;
  dc.SelectPen(pen);
  dc.SelectBrush(brush_value_);
  dc.SelectFont(font_value_);
  PlayEnhMetaFile(dc, emf.data(), emf.size(), {ox, oy, work_width - 1, work_height - 1});

  const int32_t stride = DibStride(int32_t(width), 8);
  std::vector<uint8_t> pixels(size_t(stride) * size_t(height), 0);
  const PixelSurface8 picture{int32_t(width), int32_t(height), stride, pixels.data()};
  for (int32_t y = 0; y < int32_t(height); ++y)
    std::copy_n(surface.Row(y + oy) + ox, size_t(width), picture.Row(y));

  ByteWriter info;
  info.U32(40);
  info.I32(int32_t(width));
  info.I32(int32_t(height));
  info.U16(1);
  info.U16(8);
  info.U32(BI_RGB);
  info.U32(uint32_t(pixels.size()));
  info.I32(0);
  info.I32(0);
  info.U32(256);
  info.U32(0);
  const PaletteEntry* halftone = HalftonePalette();
  for (int i = 0; i < 256; ++i) {
    info.U8(halftone[i].b);
    info.U8(halftone[i].g);
    info.U8(halftone[i].r);
    info.U8(0);
  }
  const auto image = DibImage::Parse(info.Bytes().data(), info.Size(), pixels.data(), pixels.size());
  if (!image) return;
  StretchDIBits({box.left, box.top, int32_t(width), int32_t(height)}, *image,
                {0, 0, int32_t(width), int32_t(height)}, SRCCOPY);
}

std::vector<uint8_t> EmfRecorder::Close() {
  if (closed_) return {};
  // The end record: palette entries at offset 16, then the record's size.
  const uint32_t eof_size = kEofSize + uint32_t(palette_.size()) * 4;
  {
    ByteWriter w;
    w.U32(uint32_t(palette_.size()));
    w.U32(16);
    for (const PaletteEntry& e : palette_) {
      w.U8(e.r);
      w.U8(e.g);
      w.U8(e.b);
      w.U8(0);
    }
    w.U32(eof_size);
    Emit(EmfRecord::kEof, w.Bytes());
  }
  closed_ = true;

  const uint32_t description_bytes = uint32_t(((description_.size() * 2) + 3) & ~size_t(3));
  EnhMetaHeader header;
  header.size = kHeaderSize + description_bytes;
  header.bounds = has_bounds_ ? bounds_ : Rect{0, 0, -1, -1};
  header.frame = frame_;
  header.bytes = uint32_t(kHeaderSize + description_bytes + body_.Size());
  header.records = records_ + 1;
  header.handles = handle_high_water_;
  header.description_chars = uint32_t(description_.size());
  header.description_offset = description_.empty() ? 0 : kHeaderSize;
  header.palette_entries = uint32_t(palette_.size());
  header.device = reference_pixels_;
  header.millimeters = reference_millimeters_;
  header.pixel_format_size = 0;
  header.pixel_format_offset = 0;
  header.open_gl = 0;
  header.micrometers = Size{reference_millimeters_.cx * 1000, reference_millimeters_.cy * 1000};

  std::vector<uint8_t> out = EncodeEnhMetaHeader(header);
  StoreU32(out.data() + 4, header.size);  // the record includes the description
  for (const char16_t c : description_) {
    out.push_back(uint8_t(c));
    out.push_back(uint8_t(c >> 8));
  }
  out.resize(kHeaderSize + description_bytes, 0);
  out.insert(out.end(), body_.Bytes().begin(), body_.Bytes().end());
  body_ = ByteWriter{};
  return out;
}

}  // namespace vx::gdi
