// A drawing surface: a pen, a brush and a font, and the drawing operations of
// a report engine, carried out by the surface's drawing backend (a device
// context over pixels, or a metafile recorder). Coordinates are logical.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/drawing_backend.h"

namespace vx {

namespace gdi {
class TDeviceContext;
}

class TGraphic;

class TCanvas {
public:
  TCanvas();
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Created on first request; raises EInvalidOperation "Canvas does not allow
  // drawing" when the surface cannot get one.
  virtual gdi::TDeviceContext& DeviceContext() = 0;
  // What the drawing operations draw with: by default the device context.
  virtual gdi::DrawingBackend& Backend();

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  // Fill colour of the canvas's brush (solid white by default).
  gdi::ColorRef BrushColor() const { return brush_.Color; }
  void SetBrushColor(gdi::ColorRef color) { brush_.Color = color; }

  // --- lines and shapes (pen outlines, brush fills) --------------------
  gdi::Point PenPos() const { return pen_pos_; }
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  void Polyline(const std::vector<gdi::Point>& points);
  void Polygon(const std::vector<gdi::Point>& points);
  void PolyBezier(const std::vector<gdi::Point>& points);
  void Rectangle(const gdi::Rect& rect);
  void RoundRect(const gdi::Rect& rect, int32_t corner_width, int32_t corner_height);
  void Ellipse(const gdi::Rect& rect);
  void Arc(const gdi::Rect& rect, gdi::Point start, gdi::Point end);
  void Chord(const gdi::Rect& rect, gdi::Point start, gdi::Point end);
  void Pie(const gdi::Rect& rect, gdi::Point start, gdi::Point end);
  // The rectangle filled with the brush, no outline.
  void FillRect(const gdi::Rect& rect);
  // A one-pixel border inside the rectangle in the brush.
  void FrameRect(const gdi::Rect& rect);

  // --- text (the font; the brush gives an opaque background) -----------
  // Text is UTF-8. TextOut moves the pen position to the end of the text.
  void TextOut(int32_t x, int32_t y, const std::string& text);
  // Text clipped to rect, whose background is filled unless the brush is clear.
  void TextRect(const gdi::Rect& rect, int32_t x, int32_t y, const std::string& text);
  gdi::Size TextExtent(const std::string& text);
  int32_t TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int32_t TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // Sets the alignment of the text's reference point (TA_ flags).
  void SetTextAlign(uint32_t align);

  // --- pictures and pixels ----------------------------------------------
  // The graphic at its own pixel size with its top-left corner at x, y.
  void Draw(int32_t x, int32_t y, TGraphic& graphic);
  void StretchDraw(const gdi::Rect& rect, TGraphic& graphic);
  // Lets the graphic draw itself into the rectangle; nothing without a graphic.
  virtual void DrawStretched(const gdi::Rect& rect, TGraphic* graphic);
  gdi::ColorRef Pixel(int32_t x, int32_t y);
  void SetPixel(int32_t x, int32_t y, gdi::ColorRef color);

protected:
  // Hooks around a drawing change (a bitmap drops kept source bytes on the first).
  virtual void Changing() {}
  virtual void ChangeDone() {}
  // Puts the stock objects back in place of the canvas's own (before the
  // backend goes away); the next drawing selects them again.
  void DeselectObjects();

private:
  struct Selected;
  void RequirePen();
  void RequireBrush();
  void RequireFont();

  TPen pen_;
  TBrush brush_;
  TFont font_;
  gdi::Point pen_pos_;
  std::unique_ptr<Selected> selected_;
  std::unique_ptr<gdi::DrawingBackend> context_backend_;
};

}  // namespace vx
