#include "graphics/bitmap_canvas.h"

#include "graphics/bitmap.h"

namespace vx {

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

gdi::TDeviceContext& TBitmapCanvas::DeviceContext() {
  Changing();
  if (context_) return *context_;
  context_ = std::make_unique<gdi::TDeviceContext>();
  target_ = bitmap_.DrawingTarget();
  context_->SelectTarget(target_.get());
  context_->SelectBackgroundPalette(bitmap_.image_.palette);
  context_->SelectBrush(gdi::LogBrush{gdi::BS_SOLID, BrushColor(), 0, nullptr});
  return *context_;
}

void TBitmapCanvas::FreeContext() {
  context_.reset();
  target_.reset();
}

void TBitmapCanvas::Changing() { bitmap_.AnnounceChange(); }

void TBitmapCanvas::ChangeDone() { bitmap_.Changed(); }

}  // namespace vx
