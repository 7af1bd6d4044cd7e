// Two 8-bit halftone pages, one starting black and one white, drawn with
// every run and nothing left out: what a two-tone measuring target must
// tell whatever it leaves out.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/pixel_target.h"

namespace vx::gdi::test {

class PlainPagePair final : public PixelTarget {
public:
  PlainPagePair(int32_t width, int32_t height);

  // The highest column and row where either page no longer holds its colour.
  Point LastChanged() const;

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  int BitsPerPixel() const override { return 8; }
  uint32_t PixelOfColor(ColorRef color) const override { return dark_->PixelOfColor(color); }
  uint32_t PixelOfImageColor(PaletteEntry color) const override { return dark_->PixelOfImageColor(color); }
  uint32_t PixelOfTableColor(PaletteEntry color) const override { return dark_->PixelOfTableColor(color); }
  void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const override {
    dark_->PixelsOfImageColors(colors, count, out);
  }
  PaletteEntry ColorOfPixel(uint32_t pixel) const override { return dark_->ColorOfPixel(pixel); }
  bool SharesPixelFormat(const DibImage& image) const override { return dark_->SharesPixelFormat(image); }
  uint32_t PixelAt(int32_t x, int32_t y) const override { return dark_->PixelAt(x, y); }

  void FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) override;
  void BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source, const uint8_t* skip,
               const PixelPaint& pattern) override;
  void BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source, const uint8_t* skip,
                    const PixelPaint& pattern) override;
  void BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) override;
  void CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) override;
  void GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) override;

private:
  int32_t width_;
  int32_t height_;
  std::vector<uint8_t> dark_bits_;
  std::vector<uint8_t> light_bits_;
  PixelSurface8 dark_surface_;
  PixelSurface8 light_surface_;
  std::unique_ptr<PixelTarget> dark_;
  std::unique_ptr<PixelTarget> light_;
};

}  // namespace vx::gdi::test
