#include <gtest/gtest.h>

#include "base/errors.h"
#include "converter/page_selection.h"

namespace vx {
namespace {

std::vector<int32_t> PagesOf(const TPageSelection& selection) {
  std::vector<int32_t> pages;
  for (int64_t i = 0; i < selection.Count(); ++i) pages.push_back(selection.PageAt(i));
  return pages;
}

TEST(PageSelection, WithoutRangesEveryPageInOrder) {
  EXPECT_EQ(PagesOf(TPageSelection({}, 4)), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(TPageSelection({}, 0).Count(), 0);
}

TEST(PageSelection, RangesAscendingAndEachPageOnce) {
  const TPageSelection s({{5, 5}, {1, 2}, {2, 3}, {7, 8}, {8, 8}}, 9);
  EXPECT_EQ(PagesOf(s), (std::vector<int32_t>{1, 2, 3, 5, 7, 8}));
  EXPECT_TRUE(s.Contains(3));
  EXPECT_FALSE(s.Contains(4));
  EXPECT_FALSE(s.Contains(9));
}

TEST(PageSelection, TouchingRangesMerge) {
  EXPECT_EQ(PagesOf(TPageSelection({{3, 4}, {1, 2}}, 4)), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(PageSelection, AHugeRangeIsCountedNotListed) {
  const TPageSelection s({{1, 2147483647}}, 2147483647);
  EXPECT_EQ(s.Count(), 2147483647);
  EXPECT_EQ(s.PageAt(2147483646), 2147483647);
}

TEST(PageSelection, APageBeyondTheLastIsAnOptionError) {
  try {
    TPageSelection({{1, 1}, {4, 6}}, 5);
    FAIL() << "no error";
  } catch (const EOptionError& e) {
    EXPECT_EQ(e.Message(), "Option \"--pages\" asks for page 6; the last page is 5");
  }
  try {
    TPageSelection({{1, 1}}, 0);
    FAIL() << "no error";
  } catch (const EOptionError& e) {
    EXPECT_EQ(e.Message(), "Option \"--pages\" asks for page 1; there are no pages");
  }
}

}  // namespace
}  // namespace vx
