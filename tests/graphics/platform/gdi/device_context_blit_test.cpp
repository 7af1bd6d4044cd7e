// Stretched copies: every device pixel shows the source pixel its position
// maps to, also when rows repeat a source row and the clip splits rows.
#include <gtest/gtest.h>

#include "graphics/platform/gdi/device_context.h"
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

}  // namespace
}  // namespace vx::gdi
