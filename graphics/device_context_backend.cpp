#include "graphics/device_context_backend.h"

#include <algorithm>

#include "graphics/platform/core/stock_font.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/text/text_advances.h"

namespace vx {

int TDeviceContextBackend::DeviceCaps(int index) const { return Context().GetDeviceCaps(index); }

void TDeviceContextBackend::SelectPen(const gdi::LogPen& pen) {
  // A pen made by CreatePen: the style without caps or joins, filled with its colour.
  gdi::LogPen plain{pen.style & gdi::PS_STYLE_MASK, pen.width, pen.color, {}, false};
  plain.brush.color = pen.color;
  Context().SelectPen(plain);
}

void TDeviceContextBackend::SelectBrush(const gdi::LogBrush& brush) { Context().SelectBrush(brush); }
void TDeviceContextBackend::SelectFont(const gdi::LogFont& font) { Context().SelectFont(font); }

void TDeviceContextBackend::DeselectPen() {
  gdi::LogPen black{gdi::PS_SOLID, 0, gdi::RGB(0, 0, 0), {}, false};
  black.brush.color = black.color;
  Context().SelectPen(black);
}

void TDeviceContextBackend::DeselectBrush() {
  Context().SelectBrush(gdi::LogBrush{gdi::BS_NULL, 0, 0, nullptr});
}

void TDeviceContextBackend::DeselectFont() { Context().SelectFont(gdi::StockFont(gdi::SYSTEM_FONT)); }

void TDeviceContextBackend::RealizePalette(const std::vector<gdi::PaletteEntry>& entries) {
  Context().SelectBackgroundPalette(entries);
}

void TDeviceContextBackend::SetTextColor(gdi::ColorRef color) { Context().SetTextColor(color); }
void TDeviceContextBackend::SetBkColor(gdi::ColorRef color) { Context().SetBkColor(color); }
void TDeviceContextBackend::SetBkMode(int mode) { Context().SetBkMode(mode); }
void TDeviceContextBackend::SetTextAlign(uint32_t align) { Context().SetTextAlign(align); }
void TDeviceContextBackend::MoveTo(gdi::Point p) { Context().MoveTo(p); }
void TDeviceContextBackend::LineTo(gdi::Point p) { Context().LineTo(p); }
void TDeviceContextBackend::Polyline(const std::vector<gdi::Point>& points) { Context().Polyline(points); }
void TDeviceContextBackend::Polygon(const std::vector<gdi::Point>& points) { Context().Polygon(points); }
void TDeviceContextBackend::PolyBezier(const std::vector<gdi::Point>& points) { Context().PolyBezier(points); }
// The canvas draws shapes in the compatible graphics mode, which leaves out
// their right and bottom edges. Drawn as the advanced mode draws the box one
// smaller, as a recording stores and plays them, both backends agree.
template <typename Draw>
void TDeviceContextBackend::CompatibleShape(const gdi::Rect& rect, Draw draw) {
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  gdi::TDeviceContext& dc = Context();
  const gdi::Rect box{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                      std::max(rect.left, rect.right) - 1, std::max(rect.top, rect.bottom) - 1};
  const int previous = dc.SetGraphicsMode(gdi::GM_ADVANCED);
  draw(dc, box);
  dc.SetGraphicsMode(previous);
}

void TDeviceContextBackend::Rectangle(const gdi::Rect& rect) {
  CompatibleShape(rect, [](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.Rectangle(box); });
}

void TDeviceContextBackend::RoundRect(const gdi::Rect& rect, gdi::Size corner) {
  CompatibleShape(rect, [&](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.RoundRect(box, corner); });
}

void TDeviceContextBackend::Ellipse(const gdi::Rect& rect) {
  CompatibleShape(rect, [](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.Ellipse(box); });
}

void TDeviceContextBackend::Arc(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  CompatibleShape(rect, [&](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.Arc(box, start, end); });
}

void TDeviceContextBackend::Chord(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  CompatibleShape(rect, [&](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.Chord(box, start, end); });
}

void TDeviceContextBackend::Pie(const gdi::Rect& rect, gdi::Point start, gdi::Point end) {
  CompatibleShape(rect, [&](gdi::TDeviceContext& dc, const gdi::Rect& box) { dc.Pie(box, start, end); });
}

void TDeviceContextBackend::PatBlt(const gdi::Rect& rect, uint32_t rop) { Context().PatBlt(rect, rop); }
void TDeviceContextBackend::SetPixelV(gdi::Point p, gdi::ColorRef color) { Context().SetPixelV(p, color); }

gdi::ColorRef TDeviceContextBackend::GetPixel(gdi::Point p) const {
  const gdi::TDeviceContext& dc = Context();
  const gdi::PixelSurface8* surface = dc.Surface();
  if (surface == nullptr || surface->IsEmpty()) return gdi::kInvalidColor;
  const gdi::Point d = dc.LPtoDP(p);
  if (d.x < 0 || d.y < 0 || d.x >= surface->width || d.y >= surface->height) return gdi::kInvalidColor;
  if (!dc.EffectiveClip().Contains(d.x, d.y)) return gdi::kInvalidColor;
  const gdi::PaletteEntry c = gdi::HalftonePalette()[surface->Row(d.y)[d.x]];
  return gdi::RGB(c.r, c.g, c.b);
}

void TDeviceContextBackend::ExtTextOut(gdi::Point origin, uint32_t options, const gdi::Rect* rect,
                                       const std::u16string& text, const std::vector<int32_t>& dx) {
  Context().ExtTextOut(origin, options, rect, text, dx);
}

std::vector<int32_t> TDeviceContextBackend::CharacterAdvances(const std::u16string& text) const {
  return gdi::UntransformedAdvances(Context().Font(), text);
}

int32_t TDeviceContextBackend::FontHeight() const { return gdi::UntransformedFontHeight(Context().Font()); }

void TDeviceContextBackend::StretchDIBits(const gdi::Rect& dest, const gdi::DibImage& source,
                                          const gdi::Rect& source_rect, uint32_t rop) {
  Context().StretchDIBits(dest, source, source_rect, rop);
}

void TDeviceContextBackend::PlayMetafile(const std::vector<uint8_t>& emf, const gdi::Rect& rect,
                                         const std::vector<gdi::PaletteEntry>& palette,
                                         const PlaybackLog& log) {
  gdi::PlaybackOptions options;
  options.verbose = static_cast<bool>(log);
  options.log = log;
  gdi::TDeviceContext& dc = Context();
  const std::vector<gdi::PaletteEntry> previous = dc.SelectedPalette();
  if (!palette.empty()) dc.SelectPalette(palette);
  gdi::PlayEnhMetaFile(dc, emf.data(), emf.size(), rect, options);
  if (!palette.empty()) dc.SelectPalette(previous);
}

}  // namespace vx
