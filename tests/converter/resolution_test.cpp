#include "converter/resolution.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace vx {
namespace {

struct AcceptedCase {
  const char* text;
  int32_t value;
};

class ResolutionAccepts : public testing::TestWithParam<AcceptedCase> {};

TEST_P(ResolutionAccepts, GivesTheValue) {
  EXPECT_EQ(ParseResolution(GetParam().text), GetParam().value) << "text: [" << GetParam().text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResolutionAccepts,
    testing::Values(AcceptedCase{"300", 300}, AcceptedCase{"0", 0}, AcceptedCase{"-5", -5},
                    AcceptedCase{"+600", 600}, AcceptedCase{"-0", 0}, AcceptedCase{"   72", 72},
                    AcceptedCase{" -72", -72}, AcceptedCase{"00000000000000000003", 3},
                    AcceptedCase{"0000000000000000000300", 300}, AcceptedCase{"$12C", 300},
                    AcceptedCase{"$12c", 300}, AcceptedCase{"x12C", 300}, AcceptedCase{"X12c", 300},
                    AcceptedCase{"0x12c", 300}, AcceptedCase{"0X12C", 300}, AcceptedCase{"-$12C", -300},
                    AcceptedCase{"+0x12C", 300}, AcceptedCase{"  $0", 0}, AcceptedCase{"$FFFFFFFF", -1},
                    AcceptedCase{"-$FFFFFFFF", 1}, AcceptedCase{"$7FFFFFFF", 2147483647},
                    AcceptedCase{"$80000000", -2147483647 - 1}, AcceptedCase{"-$80000000", -2147483647 - 1},
                    AcceptedCase{"$000000000012C", 300}, AcceptedCase{"2147483647", 2147483647},
                    AcceptedCase{"-2147483648", -2147483647 - 1}, AcceptedCase{"+2147483647", 2147483647},
                    AcceptedCase{"0000000002147483647", 2147483647}));

class ResolutionRejects : public testing::TestWithParam<const char*> {};

TEST_P(ResolutionRejects, WithConvertErrorNamingTheText) {
  const std::string text = GetParam();
  try {
    ParseResolution(text);
    FAIL() << "accepted [" << text << "]";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.ClassName(), "EConvertError");
    EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResolutionRejects,
    testing::Values("", " ", "300 ", "\t300", "300\t", "300dpi", "abc", "+", "-", " -", "$", "x", "X",
                    "0x", "0X", "-$", "+0x", "2147483648", "-2147483649", "99999999999",
                    "$100000000", "$1FFFFFFFF", "12C", "3 00", "- 5", "--5", "+-5", "$-5", "0x-1",
                    "$ 12C", "0$12C", "1.5", "1e3", "$12G", "xx12"));

TEST(ResolutionDefault, IsThreeHundredDotsPerInch) { EXPECT_EQ(DefaultResolution, 300); }

}  // namespace
}  // namespace vx
