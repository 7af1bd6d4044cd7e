#include "graphics/canvas.h"

#include "graphics/graphic.h"

namespace vx {

void TCanvas::DrawStretched(const gdi::Rect& rect, TGraphic* graphic) {
  if (graphic == nullptr) return;
  Changing();
  DeviceContext();  // makes sure a context exists before the graphic draws
  graphic->DrawInto(*this, rect);
  ChangeDone();
}

}  // namespace vx
