#include <gtest/gtest.h>

#include "converter/band_plan.h"

namespace vx {
namespace {

constexpr int32_t kA4Width300 = 2481;   // A4 at 300 dpi
constexpr int32_t kA4Height300 = 3508;
constexpr int32_t kA4Width1200 = 9921;  // A4 at 1,200 dpi: 140 MB at 8 bits
constexpr int32_t kA4Height1200 = 14031;

TEST(BandPlan, OneWorkerDrawsAnOrdinaryPageWhole) {
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 1, {}), kA4Height300);
  EXPECT_EQ(BandRowsFor(4961, 7016, 1, {}), 7016);  // A4 at 600 dpi, 35 MB
}

TEST(BandPlan, OneWorkerCutsALargePageIntoBandsOfTheBandLimit) {
  const int32_t rows = BandRowsFor(kA4Width1200, kA4Height1200, 1, {});
  const int64_t stride = 9924;  // rows padded to 4 bytes
  EXPECT_EQ(rows, kBandBytesLimit / stride);
  EXPECT_LE(rows * stride, kBandBytesLimit);
  EXPECT_LT(rows, kA4Height1200 / 8);
}

TEST(BandPlan, SeveralWorkersShareAPageInOneBandMoreThanThereAreWorkers) {
  EXPECT_EQ(BandBuffersFor(1), 1);
  EXPECT_EQ(BandBuffersFor(2), 3);
  EXPECT_EQ(BandBuffersFor(4), 5);
  // 3508 rows in three bands of 1170 (the last one 1168): the three buffers hold one page.
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 2, {}), 1170);
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 4, {}), 702);
  // A large page keeps the band limit.
  EXPECT_EQ(BandRowsFor(kA4Width1200, kA4Height1200, 2, {}), kBandBytesLimit / 9924);
}

TEST(BandPlan, BandRowsOptionSetsTheBandHeight) {
  TConversionOptions options;
  options.band_rows = 37;
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 1, options), 37);
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 2, options), 37);
  options.band_rows = 5000;
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 2, options), kA4Height300);
}

TEST(BandPlan, OnlyEightBitBmpPagesAreCut) {
  TConversionOptions options;
  options.band_rows = 37;
  options.format = TOutputFormat::Png;
  EXPECT_EQ(BandRowsFor(kA4Width300, kA4Height300, 2, options), kA4Height300);
  options.format = TOutputFormat::Bmp;
  options.depth = 24;
  EXPECT_EQ(BandRowsFor(kA4Width1200, kA4Height1200, 1, options), kA4Height1200);
}

TEST(BandPlan, AnEmptyPageIsNotCut) {
  EXPECT_EQ(BandRowsFor(0, 100, 2, {}), 100);
  EXPECT_EQ(BandRowsFor(100, 0, 2, {}), 0);
}

}  // namespace
}  // namespace vx
