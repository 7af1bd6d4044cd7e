#include "graphics/canvas.h"

#include <optional>

#include "base/utf16_text.h"
#include "graphics/bitmap.h"
#include "graphics/device_context_backend.h"
#include "graphics/graphic.h"
#include "graphics/metafile.h"

namespace vx {

// What the backend has selected, when it keeps selections.
struct TCanvas::Selected {
  std::optional<TPen> pen;
  std::optional<TBrush> brush;
  std::optional<TFont> font;
};

TCanvas::TCanvas() : selected_(std::make_unique<Selected>()) {}

TCanvas::~TCanvas() = default;

gdi::DrawingBackend& TCanvas::Backend() {
  DeviceContext();  // makes sure a context exists (or raises)
  if (!context_backend_)
    context_backend_ = std::make_unique<TDeviceContextBackend>([this]() -> gdi::TDeviceContext& {
      return DeviceContext();
    });
  return *context_backend_;
}

// A backend that keeps what was selected (the recorder) is given each object
// once per change; a device context is given them for every call.
void TCanvas::RequirePen() {
  gdi::DrawingBackend& backend = Backend();
  if (backend.KeepsSelections()) {
    if (selected_->pen == pen_) return;
    if (selected_->pen) backend.DeselectPen();
    selected_->pen = pen_;
  }
  backend.SelectPen(pen_.ToLogPen());
}

// A solid brush paints the background of text and hatches in its own
// colour; any other brush leaves it transparent.
void TCanvas::RequireBrush() {
  gdi::DrawingBackend& backend = Backend();
  if (backend.KeepsSelections()) {
    if (selected_->brush == brush_) return;
    if (selected_->brush) backend.DeselectBrush();
    selected_->brush = brush_;
  }
  backend.SelectBrush(brush_.ToLogBrush());
  if (brush_.Style == TBrushStyle::bsSolid) {
    backend.SetBkColor(brush_.Color & 0x00FFFFFF);
    backend.SetBkMode(gdi::OPAQUE);
  } else {
    backend.SetBkColor(~brush_.Color & 0x00FFFFFF);
    backend.SetBkMode(gdi::TRANSPARENT);
  }
}

void TCanvas::RequireFont() {
  gdi::DrawingBackend& backend = Backend();
  if (backend.KeepsSelections()) {
    if (selected_->font == font_) return;
    if (selected_->font) backend.DeselectFont();
    selected_->font = font_;
  }
  backend.SelectFont(font_.ToLogFont());
  backend.SetTextColor(font_.Color & 0x00FFFFFF);
}

void TCanvas::DeselectObjects() {
  if (!selected_->pen && !selected_->brush && !selected_->font) return;
  gdi::DrawingBackend& backend = Backend();
  if (selected_->pen) backend.DeselectPen();
  if (selected_->brush) backend.DeselectBrush();
  if (selected_->font) backend.DeselectFont();
  *selected_ = Selected{};
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
  Backend().MoveTo({x, y});
  pen_pos_ = {x, y};
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().LineTo({x, y});
  pen_pos_ = {x, y};
  ChangeDone();
}

void TCanvas::Polyline(const std::vector<gdi::Point>& points) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Polyline(points);
  ChangeDone();
}

void TCanvas::Polygon(const std::vector<gdi::Point>& points) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Polygon(points);
  ChangeDone();
}

void TCanvas::PolyBezier(const std::vector<gdi::Point>& points) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().PolyBezier(points);
  ChangeDone();
}

void TCanvas::Rectangle(const gdi::Rect& rect) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Rectangle(rect);
  ChangeDone();
}

void TCanvas::RoundRect(const gdi::Rect& rect, int32_t corner_width, int32_t corner_height) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().RoundRect(rect, {corner_width, corner_height});
  ChangeDone();
}

void TCanvas::Ellipse(const gdi::Rect& rect) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Ellipse(rect);
  ChangeDone();
}

void TCanvas::Arc(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Arc(rect, start, end);
  ChangeDone();
}

void TCanvas::Chord(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Chord(rect, start, end);
  ChangeDone();
}

void TCanvas::Pie(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  Changing();
  RequirePen();
  RequireBrush();
  Backend().Pie(rect, start, end);
  ChangeDone();
}

void TCanvas::FillRect(const gdi::Rect& rect) {
  if (rect.IsEmpty()) return;
  Changing();
  RequireBrush();
  Backend().PatBlt({rect.left, rect.top, rect.Width(), rect.Height()}, gdi::PATCOPY);
  ChangeDone();
}

// Left, right, top and bottom sides, each one pixel wide.
void TCanvas::FrameRect(const gdi::Rect& rect) {
  if (rect.IsEmpty()) return;
  Changing();
  RequireBrush();
  gdi::DrawingBackend& backend = Backend();
  backend.PatBlt({rect.left, rect.top, 1, rect.Height()}, gdi::PATCOPY);
  backend.PatBlt({rect.right - 1, rect.top, 1, rect.Height()}, gdi::PATCOPY);
  backend.PatBlt({rect.left, rect.top, rect.Width(), 1}, gdi::PATCOPY);
  backend.PatBlt({rect.left, rect.bottom - 1, rect.Width(), 1}, gdi::PATCOPY);
  ChangeDone();
}

void TCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  Changing();
  RequireFont();
  RequireBrush();
  const std::u16string wide = Utf8ToUtf16(text);
  Backend().ExtTextOut({x, y}, 0, nullptr, wide, {});
  ChangeDone();
  MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const gdi::Rect& rect, int32_t x, int32_t y, const std::string& text) {
  Changing();
  RequireFont();
  RequireBrush();
  uint32_t options = gdi::ETO_CLIPPED;
  if (brush_.Style != TBrushStyle::bsClear) options |= gdi::ETO_OPAQUE;
  Backend().ExtTextOut({x, y}, options, &rect, Utf8ToUtf16(text), {});
  ChangeDone();
}

gdi::Size TCanvas::TextExtent(const std::string& text) {
  RequireFont();
  gdi::DrawingBackend& backend = Backend();
  int32_t width = 0;
  for (const int32_t advance : backend.CharacterAdvances(Utf8ToUtf16(text))) width += advance;
  return {width, backend.FontHeight()};
}

void TCanvas::SetTextAlign(uint32_t align) { Backend().SetTextAlign(align); }

void TCanvas::Draw(int32_t x, int32_t y, TGraphic& graphic) {
  StretchDraw({x, y, x + graphic.PixelWidth(), y + graphic.PixelHeight()}, graphic);
}

// A bitmap with a palette realises it first, as the platform's bitmaps do.
void TCanvas::StretchDraw(const gdi::Rect& rect, TGraphic& graphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&graphic); bitmap != nullptr && bitmap->HasPalette())
    Backend().RealizePalette(bitmap->ColorTable());
  DrawStretched(rect, &graphic);
}

void TCanvas::DrawStretched(const gdi::Rect& rect, TGraphic* graphic) {
  if (graphic == nullptr) return;
  Changing();
  Backend();  // makes sure a backend exists before the graphic draws
  graphic->DrawInto(*this, rect);
  ChangeDone();
}

gdi::ColorRef TCanvas::Pixel(int32_t x, int32_t y) { return Backend().GetPixel({x, y}); }

void TCanvas::SetPixel(int32_t x, int32_t y, gdi::ColorRef color) {
  Changing();
  Backend().SetPixelV({x, y}, color & 0x00FFFFFF);
  ChangeDone();
}

}  // namespace vx
