// Inputs found by fuzzing metafile playback: each must draw what it should and
// return promptly, without overflow or unbounded memory.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/scan.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;

struct Canvas {
  test::RenderedPage page;
  TDeviceContext dc;
  Canvas(int w = 32, int h = 24) : page(test::WhitePage(w, h)) { dc.SelectSurface(&page.surface); }
  int InkPixels() const {
    int n = 0;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) n += page.At(x, y) != kWhite;
    return n;
  }
};

TEST(PlaybackRobustness, EllipseOutlineOfAHugeBoxIsEmpty) {
  EXPECT_TRUE(EllipseOutlinePath(1 << 30, 1 << 30).empty());
  EXPECT_TRUE(EllipseOutlinePath(8, int32_t(kMaxEllipseExtent) + 1).empty());
  EXPECT_FALSE(EllipseOutlinePath(8, 6).empty());
}

TEST(PlaybackRobustness, ArcOfAHugeEllipseFarOutsideTheSurfaceLeavesItBlank) {
  // Centred on the origin with a radius of 2^30: no point of it is on the page.
  Canvas c;
  c.dc.Arc({-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, {1, 0}, {0, 1});
  EXPECT_EQ(c.InkPixels(), 0);
}

TEST(PlaybackRobustness, ArcOfASmallEllipseStillDraws) {
  Canvas c;
  c.dc.Arc({2, 2, 20, 20}, {20, 11}, {11, 2});
  EXPECT_GT(c.InkPixels(), 0);
}

TEST(PlaybackRobustness, RoundRectFarLargerThanTheSurfaceFillsWhatIsVisible) {
  // The left and top edges lie off the page, the others 2^28 pixels away: the
  // whole page is interior.
  Canvas c;
  c.dc.SelectBrush(LogBrush{BS_SOLID, RGB(255, 0, 0), 0, nullptr});
  c.dc.RoundRect({-10, -10, 1 << 28, 1 << 28}, {8, 8});
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0));
  for (int y = 0; y < c.page.height; ++y)
    for (int x = 0; x < c.page.width; ++x) ASSERT_EQ(c.page.At(x, y), red) << x << "," << y;
}

TEST(PlaybackRobustness, RoundRectWithAVisibleTopEdgeFarWiderThanTheSurface) {
  Canvas c;
  c.dc.SelectBrush(LogBrush{BS_SOLID, RGB(255, 0, 0), 0, nullptr});
  c.dc.RoundRect({-(1 << 28), 5, 1 << 28, 1 << 28}, {8, 8});
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0));
  const uint8_t black = NearestHalftoneIndex(RGB(0, 0, 0));
  for (int x = 0; x < c.page.width; ++x) {
    EXPECT_EQ(c.page.At(x, 4), kWhite) << x;
    EXPECT_EQ(c.page.At(x, 5), black) << x;
    EXPECT_EQ(c.page.At(x, 6), red) << x;
    EXPECT_EQ(c.page.At(x, c.page.height - 1), red) << x;
  }
}

TEST(PlaybackRobustness, ZigzagWithAPenFarWiderThanTheSurfaceCoversIt) {
  // Every vertex gets a round join as wide as the pen; only the rows on the
  // page may cost anything.
  Canvas c;
  LogPen pen;
  pen.width = 200000;
  c.dc.SelectPen(pen);
  std::vector<Point> zigzag;
  for (int i = 0; i < 2000; ++i) zigzag.push_back(i % 2 ? Point{25, 18} : Point{5, 5});
  c.dc.Polyline(zigzag);
  const uint8_t black = NearestHalftoneIndex(RGB(0, 0, 0));
  for (int y = 0; y < c.page.height; ++y)
    for (int x = 0; x < c.page.width; ++x) ASSERT_EQ(c.page.At(x, y), black) << x << "," << y;
}

TEST(PlaybackRobustness, RoundCapOfAMillionPixelPenCostsOnlyTheVisibleRows) {
  // The cap's disc is centred 2^19 + 12 rows below the top; its edge crosses
  // the page at row 12 under the centre.
  Canvas c;
  LogPen pen;
  pen.width = 1 << 20;
  c.dc.SelectPen(pen);
  const int32_t centre_y = (1 << 19) + 12;
  c.dc.Polyline({{16, centre_y}, {17, centre_y}});
  const uint8_t black = NearestHalftoneIndex(RGB(0, 0, 0));
  EXPECT_EQ(c.page.At(16, 11), kWhite);
  EXPECT_EQ(c.page.At(16, 12), black);
  EXPECT_EQ(c.page.At(16, 23), black);
  EXPECT_EQ(c.page.At(0, 11), kWhite);
}

TEST(PlaybackRobustness, TextScaledBeyondAnyFontSizeIsNotDrawn) {
  // 10 units through a scale of 10^9: no glyph of that size fits in memory,
  // and the size must not wrap round to a tiny one.
  Canvas c;
  XForm huge;
  huge.m11 = 1e9;
  huge.m22 = 1e9;
  ASSERT_TRUE(c.dc.SetWorldTransform(huge));
  LogFont font;
  font.height = 10;
  c.dc.SelectFont(font);
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.ExtTextOut({0, 0}, 0, nullptr, u"MMMM", {});
  EXPECT_EQ(c.InkPixels(), 0);
}

}  // namespace
}  // namespace vx::gdi
