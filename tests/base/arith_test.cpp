#include <gtest/gtest.h>

#include <cmath>

#include "base/arith.h"

namespace vx {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(794, 32000, 1024), 24813);  // 24812.5
  EXPECT_EQ(MulDiv(-794, 32000, 1024), -24813);
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(21000, 1024, 32000), 672);
  EXPECT_EQ(MulDiv(1440, 2540, 1440), 2540);
  EXPECT_EQ(MulDiv(5, 7, -2), -18);
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(2147483647, 2, 1), -1);
  EXPECT_EQ(MulDiv(2147483647, 2147483647, 2147483647), 2147483647);
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(2481.25L), 2481);
  EXPECT_EQ(RoundHalfEven(2.6L), 3);
}

}  // namespace
TEST(RoundHalfUp, HalvesGoUpwardsOnBothSidesOfZero) {
  EXPECT_EQ(RoundHalfUp(2.5, 100), 3);
  EXPECT_EQ(RoundHalfUp(-2.5, 100), -2);
  EXPECT_EQ(RoundHalfUp(-2.6, 100), -3);
  EXPECT_EQ(RoundHalfUp(2.49, 100), 2);
}

TEST(RoundHalfUp, StaysWithinTheLimitAndMapsNaNToItsLowEnd) {
  EXPECT_EQ(RoundHalfUp(1e300, 1000), 1000);
  EXPECT_EQ(RoundHalfUp(-1e300, 1000), -1000);
  EXPECT_EQ(RoundHalfUp(std::nan(""), 1000), -1000);
  EXPECT_EQ(RoundHalfUp(999.4, 1000), 999);
}

}  // namespace vx
