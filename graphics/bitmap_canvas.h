// The drawing surface of one bitmap: a memory context compatible with the
// screen with the bitmap's image and palette selected.
#pragma once

#include <memory>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/pixel_target.h"

namespace vx {

class TBitmap;

// A memory context compatible with the screen drawing into target (nullptr:
// nothing), with a bitmap's palette as background palette and a solid brush.
std::unique_ptr<gdi::TDeviceContext> NewSurfaceContext(gdi::PixelTarget* target,
                                                       const std::vector<gdi::PaletteEntry>& palette,
                                                       gdi::ColorRef brush);

class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap& bitmap);
  ~TBitmapCanvas() override;
  TBitmapCanvas(const TBitmapCanvas&) = delete;
  TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

  // Announces a change to the bitmap, then creates the context when needed.
  gdi::TDeviceContext& DeviceContext() override;
  bool HasContext() const { return context_ != nullptr; }
  // Deselects the image and deletes the context (before the image is replaced).
  void FreeContext();

protected:
  void Changing() override;
  void ChangeDone() override;

private:
  TBitmap& bitmap_;
  std::unique_ptr<gdi::TDeviceContext> context_;
  std::unique_ptr<gdi::PixelTarget> target_;  // the image's pixels, while there is a context
};

}  // namespace vx
