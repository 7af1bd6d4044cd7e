#include "support/plain_page_pair.h"

#include <algorithm>

#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi::test {

PlainPagePair::PlainPagePair(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      dark_bits_(size_t(DibStride(width, 8)) * size_t(height), 0),
      light_bits_(size_t(DibStride(width, 8)) * size_t(height), 255),
      dark_surface_{width, height, DibStride(width, 8), dark_bits_.data()},
      light_surface_{width, height, DibStride(width, 8), light_bits_.data()},
      dark_(MakeHalftoneTarget(dark_surface_)),
      light_(MakeHalftoneTarget(light_surface_)) {}

Point PlainPagePair::LastChanged() const {
  Point last{-1, -1};
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      if (dark_->PixelAt(x, y) == 0 && light_->PixelAt(x, y) == 255) continue;
      last = {std::max(last.x, x), std::max(last.y, y)};
    }
  }
  return last;
}

void PlainPagePair::FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) {
  dark_->FillRun(y, x0, x1, rop2, paint);
  light_->FillRun(y, x0, x1, rop2, paint);
}

void PlainPagePair::BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source,
                            const uint8_t* skip, const PixelPaint& pattern) {
  dark_->BlitRun(y, x0, x1, code, source, skip, pattern);
  light_->BlitRun(y, x0, x1, code, source, skip, pattern);
}

void PlainPagePair::BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source,
                                 const uint8_t* skip, const PixelPaint& pattern) {
  dark_->BlitPixelRun(y, x0, x1, code, source, skip, pattern);
  light_->BlitPixelRun(y, x0, x1, code, source, skip, pattern);
}

void PlainPagePair::BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) {
  dark_->BlendRun(y, x0, x1, source, premultiplied);
  light_->BlendRun(y, x0, x1, source, premultiplied);
}

void PlainPagePair::CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) {
  dark_->CoverageRun(y, x0, x1, levels, color);
  light_->CoverageRun(y, x0, x1, levels, color);
}

void PlainPagePair::GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) {
  dark_->GradientRun(y, x0, x1, colors);
  light_->GradientRun(y, x0, x1, colors);
}

}  // namespace vx::gdi::test
