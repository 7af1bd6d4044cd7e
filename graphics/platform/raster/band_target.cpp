#include "graphics/platform/raster/band_target.h"

#include <utility>

namespace vx::gdi {

namespace {

class BandTarget final : public PixelTarget {
public:
  BandTarget(std::unique_ptr<PixelTarget> rows, int32_t top, int32_t bottom, int32_t page_height)
      : rows_(std::move(rows)), top_(top), bottom_(bottom), page_height_(page_height) {}

  int32_t Width() const override { return rows_->Width(); }
  int32_t Height() const override { return page_height_; }
  int BitsPerPixel() const override { return rows_->BitsPerPixel(); }
  Rect HeldBounds() const override { return {0, top_, rows_->Width(), bottom_}; }

  uint32_t PixelOfColor(ColorRef color) const override { return rows_->PixelOfColor(color); }
  uint32_t PixelOfImageColor(PaletteEntry color) const override { return rows_->PixelOfImageColor(color); }
  uint32_t PixelOfTableColor(PaletteEntry color) const override { return rows_->PixelOfTableColor(color); }
  void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const override {
    rows_->PixelsOfImageColors(colors, count, out);
  }
  PaletteEntry ColorOfPixel(uint32_t pixel) const override { return rows_->ColorOfPixel(pixel); }
  bool SharesPixelFormat(const DibImage& image) const override { return rows_->SharesPixelFormat(image); }
  // Rows the band does not hold read as pixel 0.
  uint32_t PixelAt(int32_t x, int32_t y) const override { return Holds(y) ? rows_->PixelAt(x, y) : 0; }

  void FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) override {
    if (Holds(y)) rows_->FillRun(y, x0, x1, rop2, paint);
  }
  void BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source, const uint8_t* skip,
               const PixelPaint& pattern) override {
    if (Holds(y)) rows_->BlitRun(y, x0, x1, code, source, skip, pattern);
  }
  void BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source, const uint8_t* skip,
                    const PixelPaint& pattern) override {
    if (Holds(y)) rows_->BlitPixelRun(y, x0, x1, code, source, skip, pattern);
  }
  void BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) override {
    if (Holds(y)) rows_->BlendRun(y, x0, x1, source, premultiplied);
  }
  void CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) override {
    if (Holds(y)) rows_->CoverageRun(y, x0, x1, levels, color);
  }
  void GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) override {
    if (Holds(y)) rows_->GradientRun(y, x0, x1, colors);
  }

private:
  bool Holds(int32_t y) const { return y >= top_ && y < bottom_; }

  std::unique_ptr<PixelTarget> rows_;  // addressed with page rows
  int32_t top_;
  int32_t bottom_;
  int32_t page_height_;
};

}  // namespace

std::unique_ptr<PixelTarget> MakeBandTarget(const PixelLayout& layout, int32_t page_height) {
  const int32_t top = layout.rows.top;
  if (top < 0 || layout.rows.height <= 0 || int64_t(top) + layout.rows.height > page_height) return nullptr;
  std::unique_ptr<PixelTarget> rows = MakePixelTarget(layout);
  if (!rows) return nullptr;
  return std::make_unique<BandTarget>(std::move(rows), top, top + layout.rows.height, page_height);
}

}  // namespace vx::gdi
