#include <gtest/gtest.h>

#include <cmath>

#include "graphics/platform/geometry/ellipse_outline.h"

namespace vx::gdi {
namespace {

double EllipseValue(PointF p) {  // 0 on the ellipse inscribed in (0, 0, 40, 20)
  return std::pow((p.x - 20) / 20, 2) + std::pow((p.y - 10) / 10, 2) - 1;
}

TEST(EllipseOutline, ArcPointsLieOnTheEllipseFromStartToEnd) {
  const auto arc = EllipseArcOutline(XForm{}, {0, 0, 40, 20}, {40, 10}, {20, -50}, false, ArcKind::Arc);
  ASSERT_GE(arc.size(), 16u);
  for (const PointF& p : arc) EXPECT_NEAR(EllipseValue(p), 0, 1e-9);
  EXPECT_NEAR(arc.front().x, 40, 1e-9);  // on the radial to the right
  EXPECT_NEAR(arc.front().y, 10, 1e-9);
  EXPECT_NEAR(arc.back().x, 20, 1e-9);   // on the radial upwards
  EXPECT_NEAR(arc.back().y, 0, 1e-9);
  for (const PointF& p : arc) EXPECT_LE(p.y, 10 + 1e-9);  // counter-clockwise: the upper half
}

TEST(EllipseOutline, ClockwiseTakesTheOtherWayRound) {
  const auto arc = EllipseArcOutline(XForm{}, {0, 0, 40, 20}, {40, 10}, {20, -50}, true, ArcKind::Arc);
  double lowest = 0;
  for (const PointF& p : arc) lowest = std::max(lowest, p.y);
  EXPECT_NEAR(lowest, 20, 0.1);
}

TEST(EllipseOutline, EqualRadialsMakeTheWholeEllipseAndAPieEndsAtTheCentre) {
  const auto pie = EllipseArcOutline(XForm{}, {0, 0, 40, 20}, {40, 10}, {40, 10}, false, ArcKind::Pie);
  ASSERT_GE(pie.size(), 3u);
  EXPECT_NEAR(pie[pie.size() - 2].x, 40, 1e-9);  // back at the start
  EXPECT_NEAR(pie.back().x, 20, 1e-9);
  EXPECT_NEAR(pie.back().y, 10, 1e-9);
  EXPECT_TRUE(EllipseArcOutline(XForm{}, {0, 0, 0, 20}, {1, 1}, {2, 2}, false, ArcKind::Arc).empty());
}

TEST(EllipseOutline, RoundRectCornersAreQuarterEllipses) {
  const auto outline = RoundRectOutline(XForm{}, {0, 0, 100, 50}, {20, 10});
  ASSERT_FALSE(outline.empty());
  double min_x = 1e9, max_x = -1e9;
  for (const PointF& p : outline) {
    min_x = std::min(min_x, p.x);
    max_x = std::max(max_x, p.x);
    // Nothing in the square corner beyond the corner ellipse.
    if (p.x < 10 && p.y < 5) {
      EXPECT_LE(std::pow((p.x - 10) / 10, 2) + std::pow((p.y - 5) / 5, 2), 1 + 1e-9);
    }
  }
  EXPECT_NEAR(min_x, 0, 1e-9);
  EXPECT_NEAR(max_x, 100, 1e-9);
}

}  // namespace
}  // namespace vx::gdi
