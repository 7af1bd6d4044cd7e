// Stretched copies: every device pixel shows the source pixel its position
// maps to, also when rows repeat a source row and the clip splits rows.
#include <gtest/gtest.h>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_blend_records.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;

uint32_t Opaque(uint8_t grey) { return 0xFF000000u | uint32_t(grey) << 16 | uint32_t(grey) << 8 | grey; }

// A 2 x 2 checker: black at the top left and bottom right.
DibImage Checker() {
  return test::Bitmap32(2, {{Opaque(0), Opaque(255)}, {Opaque(255), Opaque(0)}}).Image();
}

uint8_t CheckerAt(int sx, int sy) { return (sx + sy) % 2 == 0 ? kBlack : kWhite; }

TEST(DeviceContextBlit, EnlargedImageRepeatsEachSourcePixelOverItsShare) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  const DibImage image = Checker();
  dc.StretchBlt({0, 0, 8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(page.At(x, y), CheckerAt(x / 4, y / 4)) << x << "," << y;
}

TEST(DeviceContextBlit, ClipWithAHoleSplitsRowsWithoutShiftingTheImage) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  // The source pixels' shares do not start at the hole's edges.
  dc.ExcludeClipRect({3, 2, 5, 7});
  const DibImage image = Checker();
  dc.StretchBlt({0, 0, 8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool hole = x >= 3 && x < 5 && y >= 2 && y < 7;
      EXPECT_EQ(page.At(x, y), hole ? kWhite : CheckerAt(x / 4, y / 4)) << x << "," << y;
    }
  }
}

TEST(DeviceContextBlit, MirroredDestinationRunsTheSourceBackwards) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  const DibImage image = Checker();
  dc.StretchBlt({8, 0, -8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(page.At(x, y), CheckerAt((7 - x) / 4, y / 4)) << x << "," << y;
}

TEST(DeviceContextBlit, HalftoneStretchInterpolatesAlongRowsAndColumnsAroundAClipHole) {
  test::RenderedPage page = test::WhitePage(4, 4);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  dc.SetStretchBltMode(HALFTONE);
  dc.ExcludeClipRect({1, 2, 2, 3});
  // Black at the top left, white elsewhere: device pixel x, y sits at source
  // position x / 2, y / 2.
  const DibImage image = test::Bitmap32(2, {{Opaque(0), Opaque(255)}, {Opaque(255), Opaque(255)}}).Image();
  dc.StretchBlt({0, 0, 4, 4}, &image, {0, 0, 2, 2}, SRCCOPY);
  const auto grey = [](uint8_t level) { return NearestHalftoneIndexForImagePixel(level, level, level); };
  EXPECT_EQ(page.At(0, 0), kBlack);
  EXPECT_EQ(page.At(1, 0), grey(127));  // halfway along the row
  EXPECT_EQ(page.At(0, 1), grey(127));  // halfway down the column
  EXPECT_EQ(page.At(1, 1), grey(191));  // halfway both ways: (127 + 255) / 2
  EXPECT_EQ(page.At(1, 2), kWhite);     // the hole
  EXPECT_EQ(page.At(0, 2), kWhite);
  EXPECT_EQ(page.At(1, 3), kWhite);
  EXPECT_EQ(page.At(3, 3), kWhite);
}

TEST(DeviceContextBlit, SourceBeyondTheImageLeavesTheDestination) {
  test::RenderedPage page = test::WhitePage(4, 4);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  // A black image whose source rectangle starts one pixel left of and above
  // the image: the first column and row show nothing of it.
  const DibImage image = test::Bitmap32(2, {{Opaque(0), Opaque(0)}, {Opaque(0), Opaque(0)}}).Image();
  dc.StretchBlt({0, 0, 4, 4}, &image, {-1, -1, 4, 4}, SRCCOPY);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool shown = x >= 1 && x < 3 && y >= 1 && y < 3;
      EXPECT_EQ(page.At(x, y), shown ? kBlack : kWhite) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace vx::gdi
