#include "graphics/platform/geometry/dashes.h"

#include <gtest/gtest.h>

namespace vx::gdi {
namespace {

const Rect kEverywhere{-1000, -1000, 1000, 1000};

LogPen ExtendedPen(uint32_t style, std::vector<uint32_t> entries = {}) {
  LogPen pen;
  pen.style = PS_GEOMETRIC | style;
  pen.width = 4;
  pen.extended = true;
  pen.style_entries = std::move(entries);
  return pen;
}

TEST(GeometricDashPattern, StockStylesScaleWithTheWidth) {
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_DASH | PS_ENDCAP_FLAT), 4), (std::vector<double>{12, 4}));
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_DOT | PS_ENDCAP_FLAT), 4), (std::vector<double>{4, 4}));
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_DASHDOTDOT | PS_ENDCAP_FLAT), 2),
            (std::vector<double>{6, 2, 2, 2, 2, 2}));
}

TEST(GeometricDashPattern, CapsCountInTheStockDashes) {
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_DASH | PS_ENDCAP_ROUND), 6), (std::vector<double>{12, 12}));
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_DASHDOT | PS_ENDCAP_SQUARE), 4),
            (std::vector<double>{8, 8, 0, 8}));
}

TEST(GeometricDashPattern, UserStylesAreDevicePixelsWithoutCapAllowance) {
  EXPECT_EQ(GeometricDashPattern(ExtendedPen(PS_USERSTYLE | PS_ENDCAP_ROUND, {6, 2}), 4),
            (std::vector<double>{6, 2}));
}

TEST(GeometricDashPattern, SolidPlainAndDegeneratePensHaveNone) {
  EXPECT_TRUE(GeometricDashPattern(ExtendedPen(PS_SOLID), 4).empty());
  LogPen plain = ExtendedPen(PS_DASH);
  plain.extended = false;
  EXPECT_TRUE(GeometricDashPattern(plain, 4).empty());
  EXPECT_TRUE(GeometricDashPattern(ExtendedPen(PS_USERSTYLE, {0, 0}), 4).empty());
}

TEST(CutIntoDashes, PatternStartsAtTheFirstPoint) {
  const auto dashes = CutIntoDashes({{0, 0}, {10, 0}}, false, {3, 1}, kEverywhere);
  ASSERT_EQ(dashes.size(), 3u);
  EXPECT_DOUBLE_EQ(dashes[0].front().x, 0);
  EXPECT_DOUBLE_EQ(dashes[0].back().x, 3);
  EXPECT_DOUBLE_EQ(dashes[1].front().x, 4);
  EXPECT_DOUBLE_EQ(dashes[1].back().x, 7);
  EXPECT_DOUBLE_EQ(dashes[2].front().x, 8);
  EXPECT_DOUBLE_EQ(dashes[2].back().x, 10);
}

TEST(CutIntoDashes, ADashRunsOnAroundACorner) {
  const auto dashes = CutIntoDashes({{0, 0}, {2, 0}, {2, 5}}, false, {3, 1}, kEverywhere);
  ASSERT_EQ(dashes.size(), 2u);
  ASSERT_EQ(dashes[0].size(), 3u);  // through the vertex, so it gets a join
  EXPECT_DOUBLE_EQ(dashes[0][1].x, 2);
  EXPECT_DOUBLE_EQ(dashes[0][2].y, 1);
  EXPECT_DOUBLE_EQ(dashes[1].front().y, 2);
  EXPECT_DOUBLE_EQ(dashes[1].back().y, 5);
}

TEST(CutIntoDashes, AClosedFigureReturnsToItsStart) {
  const auto dashes = CutIntoDashes({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, true, {20, 1}, kEverywhere);
  ASSERT_EQ(dashes.size(), 1u);
  EXPECT_EQ(dashes[0].size(), 5u);
  EXPECT_DOUBLE_EQ(dashes[0].back().x, 0);
  EXPECT_DOUBLE_EQ(dashes[0].back().y, 0);
}

TEST(CutIntoDashes, AnOddPatternSwapsDashAndGapEachRound) {
  const auto dashes = CutIntoDashes({{0, 0}, {10, 0}}, false, {2}, kEverywhere);
  ASSERT_EQ(dashes.size(), 3u);
  EXPECT_DOUBLE_EQ(dashes[1].front().x, 4);
  EXPECT_DOUBLE_EQ(dashes[2].front().x, 8);
}

TEST(CutIntoDashes, OutsideTheReachThePatternOnlyAdvances) {
  // 1e7 pixels off the surface: nothing is produced there, yet the dashes in
  // reach stand where the whole walk puts them.
  const std::vector<PointF> line{{-10000000, 0}, {10, 0}};
  const auto dashes = CutIntoDashes(line, false, {3, 1}, {0, -5, 20, 5});
  ASSERT_EQ(dashes.size(), 3u);
  EXPECT_DOUBLE_EQ(dashes[0].front().x, 0);
  EXPECT_DOUBLE_EQ(dashes[0].back().x, 3);
  EXPECT_DOUBLE_EQ(dashes[2].front().x, 8);
  EXPECT_DOUBLE_EQ(dashes[2].back().x, 10);
}

}  // namespace
}  // namespace vx::gdi
