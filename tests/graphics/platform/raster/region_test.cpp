#include <gtest/gtest.h>

#include "graphics/platform/raster/region.h"

namespace vx::gdi {
namespace {

Region R(int32_t l, int32_t t, int32_t r, int32_t b) { return Region::FromRect({l, t, r, b}); }

TEST(Region, EmptyRectangleGivesEmptyRegion) {
  EXPECT_TRUE(R(5, 5, 5, 10).IsEmpty());
  EXPECT_TRUE(R(5, 10, 8, 2).IsEmpty());
  EXPECT_EQ(Region().Bounds(), Rect{});
}

TEST(Region, ContainsTreatsRightAndBottomAsExclusive) {
  const Region r = R(2, 3, 6, 8);
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(5, 7));
  EXPECT_FALSE(r.Contains(6, 7));
  EXPECT_FALSE(r.Contains(5, 8));
  EXPECT_FALSE(r.Contains(1, 3));
}

TEST(Region, IntersectionOfOverlappingRectanglesIsTheirCommonRectangle) {
  const Region r = R(0, 0, 10, 10).Intersect(R(5, 3, 20, 7));
  EXPECT_TRUE(r.IsRect());
  EXPECT_EQ(r.Bounds(), (Rect{5, 3, 10, 7}));
  EXPECT_TRUE(R(0, 0, 5, 5).Intersect(R(5, 0, 9, 5)).IsEmpty());
}

TEST(Region, UnionOfTouchingRectanglesMergesIntoOne) {
  const Region side = R(0, 0, 5, 5).Union(R(5, 0, 9, 5));
  EXPECT_TRUE(side.IsRect());
  EXPECT_EQ(side.Bounds(), (Rect{0, 0, 9, 5}));
  const Region stacked = R(0, 0, 5, 5).Union(R(0, 5, 5, 9));
  EXPECT_TRUE(stacked.IsRect());
  EXPECT_EQ(stacked.Bounds(), (Rect{0, 0, 5, 9}));
}

TEST(Region, UnionOfDisjointRectanglesKeepsBothAndTheGap) {
  const Region r = R(0, 0, 4, 4).Union(R(10, 2, 12, 6));
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 12, 6}));
  EXPECT_TRUE(r.Contains(3, 3));
  EXPECT_TRUE(r.Contains(11, 5));
  EXPECT_FALSE(r.Contains(6, 3));
  EXPECT_FALSE(r.Contains(11, 1));
  EXPECT_EQ(r.Bands().size(), 3u);  // rows 0-2, 2-4, 4-6
}

TEST(Region, DifferenceCutsAHole) {
  const Region r = R(0, 0, 10, 10).Difference(R(3, 3, 6, 6));
  EXPECT_FALSE(r.Contains(3, 3));
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(6, 5));
  EXPECT_TRUE(r.Contains(4, 6));
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 10, 10}));
}

TEST(Region, XorKeepsWhatOnlyOneHolds) {
  const Region r = R(0, 0, 6, 6).Xor(R(3, 0, 9, 6));
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(4, 2));
  EXPECT_TRUE(r.Contains(8, 5));
}

TEST(Region, OffsetMovesEveryBand) {
  Region r = R(0, 0, 4, 4).Union(R(10, 10, 12, 12));
  r.Offset(5, -2);
  EXPECT_EQ(r.Bounds(), (Rect{5, -2, 17, 10}));
  EXPECT_TRUE(r.Contains(16, 9));
}

TEST(Region, CombineModesFollowTheirNames) {
  const Region a = R(0, 0, 4, 4), b = R(2, 2, 6, 6);
  EXPECT_EQ(a.Combine(b, 1), a.Intersect(b));
  EXPECT_EQ(a.Combine(b, 2), a.Union(b));
  EXPECT_EQ(a.Combine(b, 3), a.Xor(b));
  EXPECT_EQ(a.Combine(b, 4), a.Difference(b));
  EXPECT_EQ(a.Combine(b, 5), b);
}

TEST(Region, FromRowsJoinsOverlappingIntervals) {
  const Region r = Region::FromRows({{0, 0, 5, 1}, {3, 0, 8, 1}, {0, 1, 8, 2}});
  EXPECT_TRUE(r.IsRect());
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 8, 2}));
}

TEST(Region, FromRowsTakesIntervalsOutOfXOrder) {
  // [2, 4) comes after [6, 9) and joins [0, 3): the row is [0, 4) [6, 10).
  const Region r = Region::FromRows({{0, 0, 3, 1}, {6, 0, 9, 1}, {2, 0, 4, 1}, {8, 0, 10, 1}});
  EXPECT_EQ(r, R(0, 0, 4, 1).Union(R(6, 0, 10, 1)));
  EXPECT_TRUE(r.Contains(3, 0));
  EXPECT_FALSE(r.Contains(4, 0));
  EXPECT_TRUE(r.Contains(9, 0));
}

TEST(Region, FromRowsJoinsTouchingIntervalsAndEqualRows) {
  const Region r = Region::FromRows({{0, 0, 4, 1}, {4, 0, 6, 1}, {0, 1, 6, 2}, {1, 2, 2, 3}, {4, 2, 5, 3}});
  EXPECT_EQ(r.Bands().size(), 2u);
  EXPECT_EQ(r.Bands()[0], (Region::Band{0, 2, {0, 6}}));
  EXPECT_EQ(r.Bands()[1], (Region::Band{2, 3, {1, 2, 4, 5}}));
}

TEST(Region, IntersectionWithAnEnclosingRectangleIsTheRegion) {
  const Region ring = R(0, 0, 10, 10).Difference(R(3, 3, 7, 7));
  EXPECT_EQ(ring.Intersect(R(-5, -5, 20, 20)), ring);
  EXPECT_EQ(ring.Intersect(R(0, 0, 10, 10)), ring);
  // A rectangle cutting it still cuts.
  const Region cut = ring.Intersect(R(0, 0, 10, 5));
  EXPECT_EQ(cut.Bounds(), (Rect{0, 0, 10, 5}));
  EXPECT_FALSE(cut.Contains(5, 4));
  EXPECT_TRUE(cut.Contains(2, 4));
}

}  // namespace
}  // namespace vx::gdi
