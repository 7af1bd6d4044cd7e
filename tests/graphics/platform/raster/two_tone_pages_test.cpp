#include <gtest/gtest.h>

#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/pixel_targets.h"
#include "graphics/platform/raster/two_tone_pages.h"

namespace vx::gdi {
namespace {

TEST(TwoTonePages, NothingDrawnChangesNothing) {
  TwoTonePages pages(40, 30);
  EXPECT_EQ(pages.Width(), 40);
  EXPECT_EQ(pages.Height(), 30);
  EXPECT_EQ(pages.BitsPerPixel(), 8);
  EXPECT_EQ(pages.LastChanged(), (Point{-1, -1}));
  EXPECT_EQ(pages.PixelAt(39, 29), uint32_t(TwoTonePages::kDark));
}

TEST(TwoTonePages, DrawingInEitherPageColourShows) {
  // Black leaves the dark page as it was, white the light one.
  TwoTonePages black(40, 30), white(40, 30);
  black.FillRun(12, 3, 20, R2_COPYPEN, PixelPaint::Solid(black.PixelOfColor(RGB(0, 0, 0))));
  white.FillRun(12, 3, 20, R2_COPYPEN, PixelPaint::Solid(white.PixelOfColor(RGB(255, 255, 255))));
  EXPECT_EQ(black.LastChanged(), (Point{19, 12}));
  EXPECT_EQ(white.LastChanged(), (Point{19, 12}));
}

TEST(TwoTonePages, ARunThatKeepsEveryPixelChangesNothing) {
  TwoTonePages pages(40, 30);
  pages.FillRun(5, 0, 40, R2_NOP, PixelPaint::Solid(pages.PixelOfColor(RGB(255, 0, 0))));
  // XOR with black keeps both pages too.
  pages.FillRun(9, 0, 40, R2_XORPEN, PixelPaint::Solid(pages.PixelOfColor(RGB(0, 0, 0))));
  EXPECT_EQ(pages.LastChanged(), (Point{-1, -1}));
}

TEST(TwoTonePages, ColumnAndRowAreTheHighestOfAnyChange) {
  // The rightmost change is on an upper row, the lowest one further left; a
  // row cleared by an earlier run keeps the pixels it had.
  TwoTonePages pages(64, 30);
  const PixelPaint red = PixelPaint::Solid(pages.PixelOfColor(RGB(255, 0, 0)));
  pages.FillRun(4, 50, 61, R2_COPYPEN, red);
  pages.FillRun(20, 2, 9, R2_COPYPEN, red);
  pages.FillRun(20, 30, 31, R2_NOP, red);  // widens the cleared part of row 20
  EXPECT_EQ(pages.LastChanged(), (Point{60, 20}));
  EXPECT_EQ(pages.PixelAt(5, 20), pages.PixelOfColor(RGB(255, 0, 0)));
  EXPECT_EQ(pages.PixelAt(20, 20), uint32_t(TwoTonePages::kDark));
}

TEST(TwoTonePages, EachPageGetsWhatItWouldGetAlone) {
  // XOR with red inverts red's bits of each page's own pixels, as a page of
  // either colour drawn alone; the change shows on both.
  TwoTonePages pages(16, 4);
  std::vector<uint8_t> alone_bits(16 * 4, TwoTonePages::kLight);
  const PixelSurface8 alone{16, 4, 16, alone_bits.data()};
  const auto single = MakeHalftoneTarget(alone);
  const uint32_t red = pages.PixelOfColor(RGB(255, 0, 0));
  pages.FillRun(1, 2, 5, R2_XORPEN, PixelPaint::Solid(red));
  single->FillRun(1, 2, 5, R2_XORPEN, PixelPaint::Solid(red));
  EXPECT_EQ(pages.PixelAt(3, 1), red);  // the dark page: 0 ^ red
  EXPECT_EQ(single->PixelAt(3, 1), 255u ^ red);
  EXPECT_EQ(pages.LastChanged(), (Point{4, 1}));
}

TEST(TwoTonePages, EveryKindOfRunCounts) {
  TwoTonePages pages(64, 40);
  const std::vector<uint8_t> levels(4, 16);
  pages.CoverageRun(30, 10, 14, levels.data(), {255, 0, 0});
  EXPECT_EQ(pages.LastChanged(), (Point{13, 30}));
  std::vector<GradientColor> colors(3, GradientColor{0x8000, 0x8000, 0x8000});
  pages.GradientRun(2, 40, 43, colors.data());
  EXPECT_EQ(pages.LastChanged(), (Point{42, 30}));
  const std::vector<PaletteEntry> image(5, PaletteEntry{0, 0, 255});
  pages.BlitRun(35, 1, 6, 0xCC, image.data(), nullptr, PixelPaint::Solid(0));  // SRCCOPY
  EXPECT_EQ(pages.LastChanged(), (Point{42, 35}));
  const std::vector<uint32_t> pixels(2, pages.PixelOfColor(RGB(0, 255, 0)));
  pages.BlitPixelRun(38, 50, 52, 0xCC, pixels.data(), nullptr, PixelPaint::Solid(0));
  EXPECT_EQ(pages.LastChanged(), (Point{51, 38}));
  const std::vector<BlendPixel> blend(3, BlendPixel{{0, 0, 0}, 255, 255, true});
  pages.BlendRun(39, 60, 63, blend.data(), false);
  EXPECT_EQ(pages.LastChanged(), (Point{62, 39}));
}

}  // namespace
}  // namespace vx::gdi
