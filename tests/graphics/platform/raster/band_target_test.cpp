#include <gtest/gtest.h>

#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/band_target.h"
#include "graphics/platform/raster/halftone_palette.h"

namespace vx::gdi {
namespace {

std::vector<PaletteEntry> Halftone() { return {HalftonePalette(), HalftonePalette() + 256}; }

// 8-bit halftone rows [top, top + height) of a page of width x page_height.
struct Band {
  Band(int32_t width, int32_t top, int32_t height, int32_t page_height)
      : stride(DibRowStride(width, 8)), bytes(size_t(stride * height), 0xEE) {
    PixelLayout layout;
    layout.rows = {width, height, stride, false, bytes.data(), top};
    layout.bit_count = 8;
    layout.colors = Halftone();
    target = MakeBandTarget(layout, page_height);
  }
  // Page row y, stored bottom-up within the band.
  uint8_t At(int32_t x, int32_t y, int32_t top, int32_t height) const {
    return bytes[size_t((top + height - 1 - y) * stride + x)];
  }
  int64_t stride;
  std::vector<uint8_t> bytes;
  std::unique_ptr<PixelTarget> target;
};

std::vector<GradientColor> Ramp(int32_t n) {
  std::vector<GradientColor> colors;
  for (int32_t i = 0; i < n; ++i) colors.push_back({uint32_t(i * 997 % 65536), uint32_t(i * 331 % 65536), 0x8000});
  return colors;
}

TEST(BandTarget, HasThePagesSize) {
  Band band(20, 7, 5, 40);
  ASSERT_NE(band.target, nullptr);
  EXPECT_EQ(band.target->Width(), 20);
  EXPECT_EQ(band.target->Height(), 40);
  EXPECT_EQ(band.target->BitsPerPixel(), 8);
}

TEST(BandTarget, WritesOnlyItsOwnRowsInPageCoordinates) {
  Band band(20, 7, 5, 40);
  const PixelPaint black = PixelPaint::Solid(0);
  for (int32_t y = 0; y < 40; ++y) band.target->FillRun(y, 2, 4, R2_COPYPEN, black);
  for (int32_t y = 7; y < 12; ++y) {
    EXPECT_EQ(band.At(2, y, 7, 5), 0) << y;
    EXPECT_EQ(band.At(4, y, 7, 5), 0xEE) << y;
    EXPECT_EQ(band.target->PixelAt(3, y), 0u);
  }
  EXPECT_EQ(band.target->PixelAt(3, 6), 0u);  // not held: reads 0
  EXPECT_EQ(std::count(band.bytes.begin(), band.bytes.end(), 0), 5 * 2);
}

TEST(BandTarget, DithersAndPatternsCountFromThePageOrigin) {
  // A whole page and a band drawn with the same runs give the band's rows.
  constexpr int32_t kWidth = 23, kHeight = 31, kTop = 9, kRows = 11;
  Band whole(kWidth, 0, kHeight, kHeight);
  Band band(kWidth, kTop, kRows, kHeight);
  const std::vector<GradientColor> ramp = Ramp(kWidth);
  PixelPaint hatch;
  hatch.kind = Paint::Kind::Hatch;
  hatch.hatch = HS_DIAGCROSS;
  hatch.pixel = 0;
  hatch.background = 200;
  hatch.opaque = true;
  hatch.origin = {3, 5};
  for (Band* b : {&whole, &band}) {
    for (int32_t y = 0; y < kHeight; ++y) {
      if (y % 2 == 0)
        b->target->GradientRun(y, 0, kWidth, ramp.data());
      else
        b->target->FillRun(y, 0, kWidth, R2_COPYPEN, hatch);
    }
  }
  for (int32_t y = kTop; y < kTop + kRows; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      EXPECT_EQ(band.At(x, y, kTop, kRows), whole.At(x, y, 0, kHeight)) << x << "," << y;
}

TEST(BandTarget, ABandOutsideThePageGetsNoTarget) {
  EXPECT_EQ(Band(20, 36, 5, 40).target, nullptr);
  EXPECT_EQ(Band(20, -1, 5, 40).target, nullptr);
  EXPECT_NE(Band(20, 35, 5, 40).target, nullptr);
}

}  // namespace
}  // namespace vx::gdi
