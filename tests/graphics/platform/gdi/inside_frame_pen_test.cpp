#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/support/emf_render.h"

// A wide PS_INSIDEFRAME pen keeps the figures drawn in a bounding box inside
// that box: the figure shrinks by half the pen's width. The reference draws
// ellipses, round rectangles, arcs, pies and chords with a 5-pixel pen so
// that the ink ends on the box's edges (an ellipse in 10..50 x 10..40 covers
// columns 10..49 and rows 10..39).
namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;

struct Ink {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

Ink DrawnInk(uint32_t style, int32_t width, const std::function<void(TDeviceContext&)>& draw) {
  test::RenderedPage page = test::WhitePage(80, 60);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  LogPen pen;
  pen.style = style;
  pen.width = width;
  dc.SelectPen(pen);
  dc.SelectBrush(LogBrush{BS_SOLID, RGB(0, 255, 0), 0, nullptr});
  draw(dc);
  Ink ink;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) != kWhite) {
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

const Rect kBox{10, 10, 50, 40};

void ExpectInsideTheBox(const std::function<void(TDeviceContext&)>& draw, bool whole_height) {
  for (int32_t width : {4, 5}) {
    const Ink ink = DrawnInk(PS_INSIDEFRAME, width, draw);
    EXPECT_EQ(ink.left, kBox.left) << width;
    EXPECT_EQ(ink.top, kBox.top) << width;
    EXPECT_EQ(ink.right, kBox.right - 1) << width;
    if (whole_height) {
      EXPECT_EQ(ink.bottom, kBox.bottom - 1) << width;
    }
    // A solid pen of the same width is centred on the outline instead.
    const Ink solid = DrawnInk(PS_SOLID, width, draw);
    EXPECT_EQ(solid.left, kBox.left - width / 2) << width;
    EXPECT_EQ(solid.top, kBox.top - width / 2) << width;
  }
}

TEST(InsideFramePen, EllipseStaysInsideItsBox) {
  ExpectInsideTheBox([](TDeviceContext& dc) { dc.Ellipse(kBox); }, true);
}

TEST(InsideFramePen, RoundRectStaysInsideItsBox) {
  ExpectInsideTheBox([](TDeviceContext& dc) { dc.RoundRect(kBox, {12, 12}); }, true);
}

TEST(InsideFramePen, ArcPieAndChordStayInsideTheirBox) {
  // The upper half, from the right end to the left end.
  const Point right{kBox.right, 25}, left{kBox.left, 25};
  ExpectInsideTheBox([&](TDeviceContext& dc) { dc.Arc(kBox, right, left); }, false);
  ExpectInsideTheBox([&](TDeviceContext& dc) { dc.Pie(kBox, right, left); }, false);
  ExpectInsideTheBox([&](TDeviceContext& dc) { dc.Chord(kBox, right, left); }, false);
}

}  // namespace
}  // namespace vx::gdi
