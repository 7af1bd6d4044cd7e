// Two 8-bit halftone pages of one size, one starting black (pixel 0) and one
// white (pixel 255), drawn as one target: every run goes to both, so a single
// playback shows what a drawing changes on either page, drawing in either
// page colour included. Drawing never reads pixels back, so each page gets the
// pixels it would get drawn alone. A row of a page is cleared only from the
// first to the last column that runs reach, so the pages cost what is drawn,
// not their size.
//
// A pixel holding the same value on both pages can never show both page
// colours again, as every later run maps it alike on both: it stays changed
// whatever is drawn over it. Settled() is the box reaching to the rightmost
// column and the lowest row of such pixels; drawing inside it cannot move
// LastChanged(), so runs are cut to what lies outside it, and the drawing
// code may leave out whatever falls inside (ShowsOnlyChange()). The pixel
// values inside it are then not what the drawing would leave there.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/pixel_target.h"

namespace vx::gdi {

class TwoTonePages final : public PixelTarget {
public:
  static constexpr uint8_t kDark = 0;
  static constexpr uint8_t kLight = 255;

  // At least one pixel each way; throws std::bad_alloc when the memory is not there.
  TwoTonePages(int32_t width, int32_t height);

  // The highest column and the highest row holding a pixel that is no longer
  // its page's colour on either page; -1 where there is none.
  Point LastChanged() const;

  bool ShowsOnlyChange() const override { return true; }
  Rect Settled() const override { return {0, 0, settled_right_, settled_bottom_}; }

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  int BitsPerPixel() const override { return 8; }

  uint32_t PixelOfColor(ColorRef color) const override { return dark_.target->PixelOfColor(color); }
  uint32_t PixelOfImageColor(PaletteEntry color) const override { return dark_.target->PixelOfImageColor(color); }
  uint32_t PixelOfTableColor(PaletteEntry color) const override { return dark_.target->PixelOfTableColor(color); }
  void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const override {
    dark_.target->PixelsOfImageColors(colors, count, out);
  }
  PaletteEntry ColorOfPixel(uint32_t pixel) const override { return dark_.target->ColorOfPixel(pixel); }
  bool SharesPixelFormat(const DibImage& image) const override { return dark_.target->SharesPixelFormat(image); }
  // The dark page's pixel.
  uint32_t PixelAt(int32_t x, int32_t y) const override;

  void FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) override;
  void BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source, const uint8_t* skip,
               const PixelPaint& pattern) override;
  void BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source, const uint8_t* skip,
                    const PixelPaint& pattern) override;
  void BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) override;
  void CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) override;
  void GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) override;

private:
  struct Page {
    Page(int32_t width, int32_t height, uint8_t tone);
    std::unique_ptr<uint8_t[]> bits;  // not cleared until runs reach them
    PixelSurface8 surface;
    std::unique_ptr<PixelTarget> target;
    uint8_t tone;
  };

  // Clears on both pages what the run reaches of its row for the first time.
  void Reach(int32_t y, int32_t x0, int32_t x1);
  // Where the run starts once cut to what lies outside Settled(); x1 or
  // beyond when nothing is left. Clears what is left (Reach).
  int32_t Admit(int32_t y, int32_t x0, int32_t x1);
  // Grows Settled() by the pixels of the run now equal on both pages.
  void Settle(int32_t y, int32_t x0, int32_t x1);

  int32_t width_;
  int32_t height_;
  Page dark_;
  Page light_;
  // Per row, the columns [left, right) cleared on both pages (none: left >= right).
  std::vector<int32_t> cleared_left_;
  std::vector<int32_t> cleared_right_;
  int32_t settled_right_ = 0;   // Settled(), exclusive
  int32_t settled_bottom_ = 0;
};

}  // namespace vx::gdi
