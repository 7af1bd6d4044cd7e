// A drawing surface around a device context, with a fill brush.
#pragma once

#include "graphics/platform/core/gdi_types.h"

namespace vx {

namespace gdi {
class TDeviceContext;
}

class TGraphic;

class TCanvas {
public:
  virtual ~TCanvas() = default;

  // Created on first request; raises EInvalidOperation "Canvas does not allow
  // drawing" when the surface cannot get one.
  virtual gdi::TDeviceContext& DeviceContext() = 0;

  // Fill colour of the canvas's brush (solid white by default).
  gdi::ColorRef BrushColor() const { return brush_color_; }
  void SetBrushColor(gdi::ColorRef color) { brush_color_ = color; }

  // Lets the graphic draw itself into the rectangle; nothing without a graphic.
  virtual void DrawStretched(const gdi::Rect& rect, TGraphic* graphic);

protected:
  // Hooks around a drawing change (a bitmap drops kept source bytes on the first).
  virtual void Changing() {}
  virtual void ChangeDone() {}

private:
  gdi::ColorRef brush_color_ = gdi::RGB(255, 255, 255);
};

}  // namespace vx
