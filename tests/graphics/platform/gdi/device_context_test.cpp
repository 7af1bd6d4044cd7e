#include <gtest/gtest.h>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

using test::RenderedPage;
using test::WhitePage;

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;

struct Canvas {
  RenderedPage page;
  TDeviceContext dc;
  Canvas(int w = 40, int h = 40) : page(WhitePage(w, h)) { dc.SelectSurface(&page.surface); }
  uint8_t At(int x, int y) const { return page.At(x, y); }
  int CountOf(uint8_t index) const {
    int n = 0;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) n += At(x, y) == index;
    return n;
  }
  Rect InkBounds() const {
    Rect r{1000, 1000, -1, -1};
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x)
        if (At(x, y) != kWhite) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r;
  }
};

LogBrush Solid(ColorRef c) { return LogBrush{BS_SOLID, c, 0, nullptr}; }
LogPen NullPen() { return LogPen{PS_NULL, 0, 0, {}, false}; }

TEST(DeviceContext, RectangleOutlineExcludesRightAndBottom) {
  Canvas c;
  c.dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr});
  c.dc.Rectangle({5, 5, 15, 12});
  EXPECT_EQ(c.InkBounds(), (Rect{5, 5, 15, 12}));
  EXPECT_EQ(c.At(5, 5), kBlack);
  EXPECT_EQ(c.At(14, 11), kBlack);
  EXPECT_EQ(c.At(10, 8), kWhite);
  EXPECT_EQ(c.CountOf(kBlack), 2 * 10 + 2 * 5);
}

TEST(DeviceContext, RectangleWithNullPenFillsOnePixelLess) {
  Canvas c;
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(Solid(RGB(255, 0, 0)));
  c.dc.Rectangle({5, 5, 15, 12});
  EXPECT_EQ(c.InkBounds(), (Rect{5, 5, 14, 11}));
  EXPECT_EQ(c.CountOf(NearestHalftoneIndex(RGB(255, 0, 0))), 9 * 6);
}

TEST(DeviceContext, LineToLeavesTheEndPixelAndMovesThePosition) {
  Canvas c;
  c.dc.MoveTo({2, 3});
  c.dc.LineTo({12, 3});
  EXPECT_EQ(c.At(2, 3), kBlack);
  EXPECT_EQ(c.At(11, 3), kBlack);
  EXPECT_EQ(c.At(12, 3), kWhite);
  EXPECT_EQ(c.dc.CurrentPosition(), (Point{12, 3}));
}

TEST(DeviceContext, HatchIsAlignedToTheDeviceOrigin) {
  Canvas c;
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(LogBrush{BS_HATCHED, RGB(0, 0, 255), HS_HORIZONTAL, nullptr});
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.Rectangle({3, 3, 30, 30});
  const uint8_t blue = NearestHalftoneIndex(RGB(0, 0, 255));
  for (int y = 3; y < 29; ++y) EXPECT_EQ(c.At(10, y), (y % 8 == 4) ? blue : kWhite) << y;
}

TEST(DeviceContext, HatchStartsAtTheBrushOriginAndSetBrushOrgGivesThePreviousOne) {
  Canvas c;
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(LogBrush{BS_HATCHED, RGB(0, 0, 255), HS_HORIZONTAL, nullptr});
  c.dc.SetBkMode(TRANSPARENT);
  EXPECT_EQ(c.dc.SetBrushOrg({0, 3}), (Point{0, 0}));
  EXPECT_EQ(c.dc.BrushOrg(), (Point{0, 3}));
  c.dc.Rectangle({3, 3, 30, 30});
  const uint8_t blue = NearestHalftoneIndex(RGB(0, 0, 255));
  for (int y = 3; y < 29; ++y) EXPECT_EQ(c.At(10, y), ((y - 3) % 8 == 4) ? blue : kWhite) << y;
  EXPECT_EQ(c.dc.SetBrushOrg({0, 0}), (Point{0, 3}));
}

TEST(DeviceContext, OpaqueHatchPaintsItsBackgroundWithTheBackgroundColour) {
  Canvas c;
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(LogBrush{BS_HATCHED, RGB(0, 0, 0), HS_VERTICAL, nullptr});
  c.dc.SetBkColor(RGB(255, 0, 0));
  c.dc.Rectangle({0, 0, 17, 3});
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0));
  EXPECT_EQ(c.At(4, 0), kBlack);
  EXPECT_EQ(c.At(12, 1), kBlack);
  EXPECT_EQ(c.At(5, 0), red);
}

TEST(DeviceContext, XorPenTwiceRestoresThePixels) {
  Canvas c;
  c.dc.SetROP2(R2_XORPEN);
  c.dc.SelectPen(LogPen{PS_SOLID, 0, RGB(255, 0, 0), {}, false});
  c.dc.MoveTo({0, 5});
  c.dc.LineTo({20, 5});
  EXPECT_EQ(c.At(3, 5), uint8_t(kWhite ^ NearestHalftoneIndex(RGB(255, 0, 0))));
  c.dc.MoveTo({0, 5});
  c.dc.LineTo({20, 5});
  EXPECT_EQ(c.CountOf(kWhite), 40 * 40);
}

TEST(DeviceContext, IntersectAndExcludeClipRectanglesLimitFills) {
  Canvas c;
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(Solid(RGB(0, 0, 0)));
  c.dc.IntersectClipRect({10, 10, 20, 20});
  c.dc.ExcludeClipRect({12, 12, 14, 14});
  c.dc.Rectangle({0, 0, 41, 41});
  EXPECT_EQ(c.InkBounds(), (Rect{10, 10, 20, 20}));
  EXPECT_EQ(c.CountOf(kBlack), 100 - 4);
  EXPECT_EQ(c.At(12, 12), kWhite);
}

TEST(DeviceContext, ClipRectanglesAreTransformedToDeviceSpace) {
  Canvas c;
  c.dc.SetViewportOrg({5, 5});
  c.dc.IntersectClipRect({0, 0, 4, 4});
  c.dc.SetViewportOrg({0, 0});
  c.dc.SelectPen(NullPen());
  c.dc.SelectBrush(Solid(RGB(0, 0, 0)));
  c.dc.Rectangle({0, 0, 41, 41});
  EXPECT_EQ(c.InkBounds(), (Rect{5, 5, 9, 9}));
}

TEST(DeviceContext, SaveAndRestoreBringBackTheClipAndColours) {
  Canvas c;
  const int level = c.dc.SaveDC();
  c.dc.IntersectClipRect({0, 0, 1, 1});
  c.dc.SetTextColor(RGB(1, 2, 3));
  c.dc.SaveDC();
  c.dc.SetBkMode(TRANSPARENT);
  EXPECT_TRUE(c.dc.RestoreDC(-1));
  EXPECT_EQ(c.dc.BkMode(), OPAQUE);
  EXPECT_TRUE(c.dc.HasClipRegion());
  EXPECT_TRUE(c.dc.RestoreDC(level));
  EXPECT_FALSE(c.dc.HasClipRegion());
  EXPECT_EQ(c.dc.TextColor(), RGB(0, 0, 0));
  EXPECT_FALSE(c.dc.RestoreDC(-1));
  EXPECT_FALSE(c.dc.RestoreDC(5));
}

TEST(DeviceContext, LoMetricPutsTheOriginAtTheTopWithYUpwards) {
  TDeviceContext dc;
  dc.SetMapMode(MM_LOMETRIC);
  // 320 mm over 1024 pixels: 10 pixels are 31.25 mm... 1000 units = 100 mm = 320 px.
  EXPECT_EQ(dc.LPtoDP({1000, 0}), (Point{320, 0}));
  EXPECT_EQ(dc.LPtoDP({0, -1000}), (Point{0, 320}));
}

TEST(DeviceContext, IsotropicModeKeepsUnitsSquare) {
  TDeviceContext dc;
  dc.SetMapMode(MM_ISOTROPIC);
  dc.SetWindowExt({100, 100});
  dc.SetViewportExt({400, 200});
  EXPECT_EQ(dc.ViewportExt(), (Size{200, 200}));
  EXPECT_EQ(dc.LPtoDP({100, 100}), (Point{200, 200}));
}

TEST(DeviceContext, ExtentsOnlyChangeInTheScalableModes) {
  TDeviceContext dc;
  EXPECT_FALSE(dc.SetWindowExt({10, 10}));
  dc.SetMapMode(MM_ANISOTROPIC);
  EXPECT_TRUE(dc.SetWindowExt({10, 20}));
  EXPECT_TRUE(dc.SetViewportExt({30, 10}));
  EXPECT_FALSE(dc.SetViewportExt({0, 10}));
  EXPECT_EQ(dc.LPtoDP({10, 20}), (Point{30, 10}));
}

TEST(DeviceContext, WorldTransformComposesInTheRequestedOrder) {
  TDeviceContext dc;
  XForm scale;
  scale.m11 = 2;
  scale.m22 = 2;
  XForm shift;
  shift.dx = 10;
  dc.SetWorldTransform(scale);
  dc.ModifyWorldTransform(shift, MWT_RIGHTMULTIPLY);  // scale, then shift
  EXPECT_EQ(dc.LPtoDP({1, 1}), (Point{12, 2}));
  dc.SetWorldTransform(scale);
  dc.ModifyWorldTransform(shift, MWT_LEFTMULTIPLY);  // shift, then scale
  EXPECT_EQ(dc.LPtoDP({1, 1}), (Point{22, 2}));
  dc.ModifyWorldTransform({}, MWT_IDENTITY);
  EXPECT_EQ(dc.LPtoDP({1, 1}), (Point{1, 1}));
  XForm singular;
  singular.m11 = 0;
  EXPECT_FALSE(dc.SetWorldTransform(singular));
}

TEST(DeviceContext, PolygonFillModesDifferInTheStarCentre) {
  const std::vector<Point> star{{20, 0}, {32, 38}, {1, 14}, {39, 14}, {8, 38}};
  Canvas alternate, winding;
  for (Canvas* c : {&alternate, &winding}) {
    c->dc.SelectPen(NullPen());
    c->dc.SelectBrush(Solid(RGB(0, 0, 0)));
  }
  winding.dc.SetPolyFillMode(WINDING);
  alternate.dc.Polygon(star);
  winding.dc.Polygon(star);
  EXPECT_EQ(alternate.At(20, 20), kWhite);
  EXPECT_EQ(winding.At(20, 20), kBlack);
  EXPECT_EQ(alternate.At(20, 5), kBlack);
}

TEST(DeviceContext, EllipseStaysInsideItsExclusiveBox) {
  Canvas c;
  c.dc.SelectBrush(Solid(RGB(255, 0, 0)));
  c.dc.Ellipse({4, 6, 30, 20});
  EXPECT_EQ(c.InkBounds(), (Rect{4, 6, 30, 20}));
  EXPECT_EQ(c.At(17, 13), NearestHalftoneIndex(RGB(255, 0, 0)));
  EXPECT_EQ(c.At(4, 13), kBlack);
  EXPECT_EQ(c.At(4, 6), kWhite);
}

TEST(DeviceContext, FillSolidRectIgnoresClipAndStaysOnTheSurface) {
  Canvas c(10, 10);
  c.dc.IntersectClipRect({0, 0, 1, 1});
  c.dc.FillSolidRect({-5, -5, 50, 3}, RGB(0, 0, 0));
  EXPECT_EQ(c.CountOf(kBlack), 30);
}

TEST(DeviceContext, DrawingWithoutSurfaceDoesNothing) {
  TDeviceContext dc;
  dc.Rectangle({0, 0, 10, 10});
  dc.LineTo({5, 5});
  dc.ExtTextOut({0, 0}, 0, nullptr, u"x", {});
  EXPECT_EQ(dc.Surface(), nullptr);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
}

}  // namespace
}  // namespace vx::gdi
