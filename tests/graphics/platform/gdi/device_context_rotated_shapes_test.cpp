// Arcs, chords, pies and rounded rectangles under a rotating world transform
// keep their curves: the logical figure is turned, not dropped or squared.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;

struct RotatedCanvas {
  test::RenderedPage page = test::WhitePage(100, 100);
  TDeviceContext dc;
  // degrees clockwise on screen about (50, 50)
  explicit RotatedCanvas(double degrees) {
    dc.SelectSurface(&page.surface);
    dc.SetGraphicsMode(GM_ADVANCED);
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    XForm x;
    x.m11 = c;
    x.m12 = s;
    x.m21 = -s;
    x.m22 = c;
    x.dx = 50 - 50 * c + 50 * s;
    x.dy = 50 - 50 * s - 50 * c;
    dc.SetWorldTransform(x);
  }
  uint8_t At(int x, int y) const { return page.At(x, y); }
};

const uint8_t kRed = NearestHalftoneIndex(RGB(255, 0, 0));

TEST(RotatedShapes, PieFillsItsWedgeTurned) {
  RotatedCanvas c(90);
  c.dc.SelectPen(LogPen{PS_NULL, 0, 0, {}, false});
  c.dc.SelectBrush(LogBrush{BS_SOLID, RGB(255, 0, 0), 0, nullptr});
  // The top right quarter (from the radial to the right, counter-clockwise to
  // the one upwards); turned a quarter clockwise it is the bottom right one.
  c.dc.Pie({20, 20, 80, 80}, {100, 50}, {50, 0});
  EXPECT_EQ(c.At(65, 65), kRed);
  EXPECT_EQ(c.At(70, 55), kRed);
  EXPECT_EQ(c.At(35, 35), kWhite);
  EXPECT_EQ(c.At(35, 65), kWhite);
  EXPECT_EQ(c.At(65, 35), kWhite);
  EXPECT_EQ(c.At(78, 78), kWhite);  // outside the circle, inside its box
}

TEST(RotatedShapes, ChordIsClosedByItsLine) {
  RotatedCanvas c(90);
  c.dc.SelectPen(LogPen{PS_NULL, 0, 0, {}, false});
  c.dc.SelectBrush(LogBrush{BS_SOLID, RGB(255, 0, 0), 0, nullptr});
  c.dc.Chord({20, 20, 80, 80}, {100, 50}, {50, 0});
  EXPECT_EQ(c.At(70, 70), kRed);    // between the arc and the chord
  EXPECT_EQ(c.At(56, 56), kWhite);  // on the centre's side of the chord
}

TEST(RotatedShapes, ArcIsStrokedOnlyWhereItRuns) {
  RotatedCanvas c(90);
  c.dc.Arc({20, 20, 80, 80}, {100, 50}, {50, 0});
  // Logical top right quarter of the circle of radius 30 is device bottom right.
  EXPECT_EQ(c.At(50 + 21, 50 + 21), kBlack);
  EXPECT_EQ(c.At(50 - 21, 50 - 21), kWhite);
  EXPECT_EQ(c.At(50, 50), kWhite);
}

TEST(RotatedShapes, RoundRectKeepsRoundCorners) {
  RotatedCanvas c(45);
  c.dc.SelectPen(LogPen{PS_NULL, 0, 0, {}, false});
  c.dc.SelectBrush(LogBrush{BS_SOLID, RGB(255, 0, 0), 0, nullptr});
  c.dc.RoundRect({20, 20, 80, 80}, {40, 40});
  EXPECT_EQ(c.At(50, 50), kRed);
  // The logical corner (20, 20) turned 45 degrees lies at (50, 7.6); a square
  // corner would fill it, the round one leaves it.
  EXPECT_EQ(c.At(50, 10), kWhite);
  EXPECT_EQ(c.At(50, 25), kRed);
}

}  // namespace
}  // namespace vx::gdi
