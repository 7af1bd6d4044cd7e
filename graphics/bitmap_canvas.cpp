#include "graphics/bitmap_canvas.h"

#include "graphics/bitmap.h"

namespace vx {

std::unique_ptr<gdi::TDeviceContext> NewSurfaceContext(gdi::PixelTarget* target,
                                                       const std::vector<gdi::PaletteEntry>& palette,
                                                       gdi::ColorRef brush) {
  auto context = std::make_unique<gdi::TDeviceContext>();
  context->SelectTarget(target);
  context->SelectBackgroundPalette(palette);
  context->SelectBrush(gdi::LogBrush{gdi::BS_SOLID, brush, 0, nullptr});
  return context;
}

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

gdi::TDeviceContext& TBitmapCanvas::DeviceContext() {
  Changing();
  if (context_) return *context_;
  target_ = bitmap_.DrawingTarget();
  context_ = NewSurfaceContext(target_.get(), bitmap_.image_.palette, BrushColor());
  return *context_;
}

void TBitmapCanvas::FreeContext() {
  context_.reset();
  target_.reset();
}

void TBitmapCanvas::Changing() { bitmap_.AnnounceChange(); }

void TBitmapCanvas::ChangeDone() { bitmap_.Changed(); }

}  // namespace vx
