#include "document/paper_tables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx {
namespace {

TEST(PaperTables, EnumerationsHaveTheirPlatformOrder) {
  EXPECT_EQ(Ord(TVXPaperSize::A4), 9);
  EXPECT_EQ(Ord(TVXPaperSize::ESheet), 26);
  EXPECT_EQ(Ord(TVXPaperSize::EnvPersonal), 38);
  EXPECT_EQ(Ord(TVXPaperSize::A3ExtraTrans), 68);
  EXPECT_EQ(Ord(TVXPaperSize::Custom), 69);
  EXPECT_EQ(Ord(TVXBin::Cassette), 12);
  EXPECT_EQ(Ord(TVXBin::Last), kBinCount - 1);
}

TEST(PaperTables, PaperCodesAreTheOrdinalsExceptCustom) {
  for (int i = 0; i < Ord(TVXPaperSize::Custom); ++i) EXPECT_EQ(PaperCodeMap[i], i);
  EXPECT_EQ(PaperCodeMap[Ord(TVXPaperSize::Custom)], 256);
}

TEST(PaperTables, BinCodes) {
  const std::array<int32_t, kBinCount> expected = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};
  EXPECT_EQ(BinCodeMap, expected);
}

TEST(PaperTables, RowsHoldTheNearestExtendedValues) {
  EXPECT_EQ(PaperTableRow(TVXPaperSize::Letter)->Width, 215.9L);
  EXPECT_NE(PaperTableRow(TVXPaperSize::Letter)->Width, static_cast<long double>(215.9));  // not a double
  EXPECT_EQ(PaperTableRow(TVXPaperSize::EnvB6)->Width, 176.0L);
  EXPECT_EQ(PaperTableRow(TVXPaperSize::EnvB6)->Length, 125.0L);
  EXPECT_EQ(PaperTableRow(TVXPaperSize::ESheet)->Length, 1117.6L);
  EXPECT_EQ(PaperTableRow(TVXPaperSize::A3ExtraTrans)->Width, 445.0L);
  EXPECT_EQ(PaperTableRow(TVXPaperSize::Default), nullptr);
  EXPECT_EQ(PaperTableRow(TVXPaperSize::Custom), nullptr);
}

// The 4 mm units the first 26 rows quantise to, as the paper inference uses them.
TEST(PaperTables, FirstRowsQuantiseToFourMillimetreUnits) {
  const int expected[26][2] = {{53, 69}, {53, 69},  {69, 107}, {107, 69}, {53, 88},   {34, 53},  {47, 63},
                               {74, 105}, {52, 74}, {52, 74},  {37, 52},  {62, 88},   {45, 64},  {53, 82},
                               {53, 68},  {63, 88}, {69, 107}, {53, 69},  {24, 56},   {26, 60},  {28, 65},
                               {30, 69},  {31, 73}, {107, 139}, {139, 215}, {215, 279}};
  for (int i = 1; i <= 26; ++i) {
    const TPaperDimensions& row = *PaperTableRow(static_cast<TVXPaperSize>(i));
    EXPECT_EQ(std::trunc(row.Width / 4), expected[i - 1][0]) << i;
    EXPECT_EQ(std::trunc(row.Length / 4), expected[i - 1][1]) << i;
  }
}

}  // namespace
}  // namespace vx
