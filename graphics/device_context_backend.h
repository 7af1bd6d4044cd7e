// The drawing verbs carried out on a device context: what a canvas over a
// pixel surface draws with. The context is asked for on every call, so a
// surface that recreates its context is followed.
#pragma once

#include <functional>

#include "graphics/platform/drawing_backend.h"
#include "graphics/platform/gdi/device_context.h"

namespace vx {

class TDeviceContextBackend : public gdi::DrawingBackend {
public:
  explicit TDeviceContextBackend(std::function<gdi::TDeviceContext&()> context)
      : context_(std::move(context)) {}

  int DeviceCaps(int index) const override;
  void SelectPen(const gdi::LogPen& pen) override;
  void SelectBrush(const gdi::LogBrush& brush) override;
  void SelectFont(const gdi::LogFont& font) override;
  void DeselectPen() override;
  void DeselectBrush() override;
  void DeselectFont() override;
  void RealizePalette(const std::vector<gdi::PaletteEntry>& entries) override;
  void SetTextColor(gdi::ColorRef color) override;
  void SetBkColor(gdi::ColorRef color) override;
  void SetBkMode(int mode) override;
  void SetTextAlign(uint32_t align) override;
  void MoveTo(gdi::Point p) override;
  void LineTo(gdi::Point p) override;
  void Polyline(const std::vector<gdi::Point>& points) override;
  void Polygon(const std::vector<gdi::Point>& points) override;
  void PolyBezier(const std::vector<gdi::Point>& points) override;
  void Rectangle(const gdi::Rect& rect) override;
  void RoundRect(const gdi::Rect& rect, gdi::Size corner) override;
  void Ellipse(const gdi::Rect& rect) override;
  void Arc(const gdi::Rect& rect, gdi::Point start, gdi::Point end) override;
  void Chord(const gdi::Rect& rect, gdi::Point start, gdi::Point end) override;
  void Pie(const gdi::Rect& rect, gdi::Point start, gdi::Point end) override;
  void PatBlt(const gdi::Rect& rect, uint32_t rop) override;
  void SetPixelV(gdi::Point p, gdi::ColorRef color) override;
  gdi::ColorRef GetPixel(gdi::Point p) const override;
  void ExtTextOut(gdi::Point origin, uint32_t options, const gdi::Rect* rect, const std::u16string& text,
                  const std::vector<int32_t>& dx) override;
  std::vector<int32_t> CharacterAdvances(const std::u16string& text) const override;
  int32_t FontHeight() const override;
  void StretchDIBits(const gdi::Rect& dest, const gdi::DibImage& source, const gdi::Rect& source_rect,
                     uint32_t rop) override;
  void PlayMetafile(const std::vector<uint8_t>& emf, const gdi::Rect& rect,
                    const std::vector<gdi::PaletteEntry>& palette, const PlaybackLog& log) override;

private:
  gdi::TDeviceContext& Context() const { return context_(); }
  template <typename Draw>
  void CompatibleShape(const gdi::Rect& rect, Draw draw);

  std::function<gdi::TDeviceContext&()> context_;
};

}  // namespace vx
