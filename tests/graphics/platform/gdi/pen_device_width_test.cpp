#include <gtest/gtest.h>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/support/emf_render.h"

// A pen's width is in logical units: only a width of zero stays one pixel
// whatever the mapping, and a stock dash style draws solid once the pen
// covers more than one device pixel.
namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;

struct Page {
  test::RenderedPage page = test::WhitePage(100, 60);
  TDeviceContext dc;
  Page() { dc.SelectSurface(&page.surface); }

  // A page drawn at 300 dpi from a picture recorded at 96: 32 units → 100 pixels.
  void ScaleAsAt300Dpi() {
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt({32, 32});
    dc.SetViewportExt({100, 100});
  }
  int InkInColumn(int x) const {
    int n = 0;
    for (int y = 0; y < page.height; ++y) n += page.At(x, y) != kWhite;
    return n;
  }
};

LogPen PlainPen(uint32_t style, int32_t width) {
  LogPen pen;
  pen.style = style;
  pen.width = width;
  return pen;
}

TEST(PenDeviceWidth, OneUnitWideDashDotPenDrawsSolidAndWideWhenScaledUp) {
  Page p;
  p.ScaleAsAt300Dpi();
  p.dc.SelectPen(PlainPen(PS_DASHDOT, 1));
  p.dc.MoveTo({2, 10});
  p.dc.LineTo({30, 10});
  // One unit is 3.125 pixels: three rows in every column, no gap anywhere.
  for (int x = 10; x < 90; ++x) EXPECT_EQ(p.InkInColumn(x), 3) << x;
}

TEST(PenDeviceWidth, OneUnitWideDashDotPenStaysDashedWithoutScaling) {
  Page p;
  p.dc.SelectPen(PlainPen(PS_DASHDOT, 1));
  p.dc.MoveTo({2, 10});
  p.dc.LineTo({90, 10});
  int gaps = 0;
  for (int x = 2; x < 90; ++x) {
    EXPECT_LE(p.InkInColumn(x), 1) << x;
    gaps += p.InkInColumn(x) == 0;
  }
  EXPECT_GT(gaps, 10);
}

TEST(PenDeviceWidth, ZeroWidthPenStaysOnePixelWhenScaledUp) {
  Page p;
  p.ScaleAsAt300Dpi();
  p.dc.SelectPen(PlainPen(PS_SOLID, 0));
  p.dc.MoveTo({2, 10});
  p.dc.LineTo({30, 10});
  for (int x = 10; x < 90; ++x) EXPECT_EQ(p.InkInColumn(x), 1) << x;
}

TEST(PenDeviceWidth, OneUnitWideSolidPenCoversThreePixelsAtThreeTimesTheScale) {
  Page p;
  p.ScaleAsAt300Dpi();
  p.dc.SelectPen(PlainPen(PS_SOLID, 1));
  p.dc.MoveTo({10, 2});
  p.dc.LineTo({10, 16});
  int widest = 0;
  for (int x = 0; x < p.page.width; ++x) widest += p.InkInColumn(x) > 20;
  EXPECT_EQ(widest, 3);
}

}  // namespace
}  // namespace vx::gdi
