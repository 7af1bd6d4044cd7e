// Reading the long options apart from the other arguments.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "converter/long_options.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

std::string FailureOf(const Args& args) {
  Args others;
  try {
    ReadLongOptions(args, others);
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "no error";
}

TEST(LongOptions, ALongOptionIsTwoDashesAndAName) {
  EXPECT_TRUE(IsLongOption("--verbose"));
  EXPECT_TRUE(IsLongOption("--x"));
  EXPECT_FALSE(IsLongOption("--"));  // ignored by the argument rules, as before
  EXPECT_FALSE(IsLongOption("-D"));
  EXPECT_FALSE(IsLongOption("-"));
  EXPECT_FALSE(IsLongOption("/--verbose"));
}

TEST(LongOptions, OtherArgumentsComeBackInTheirOrder) {
  Args others;
  const TLongOptions options =
      ReadLongOptions({"-i", "--verbose", "in.vxp", "--", "--pages=2", "out.bmp", "-D", "--format=PNG", "150"}, others);
  EXPECT_EQ(others, (Args{"-i", "in.vxp", "--", "out.bmp", "-D", "150"}));
  EXPECT_TRUE(options.conversion.verbose);
  EXPECT_EQ(options.conversion.format, TOutputFormat::Png);
  EXPECT_EQ(options.conversion.pages, (std::vector<TPageRange>{{2, 2}}));
}

TEST(LongOptions, WithoutLongOptionsEveryFieldKeepsItsDefault) {
  Args others;
  const TLongOptions options = ReadLongOptions({"in.vxp", "out.bmp"}, others);
  const TConversionOptions defaults;
  EXPECT_FALSE(options.help);
  EXPECT_FALSE(options.version);
  EXPECT_EQ(options.conversion.format, defaults.format);
  EXPECT_EQ(options.conversion.depth, 8);
  EXPECT_EQ(options.conversion.jobs, 0);
  EXPECT_TRUE(options.conversion.pages.empty());
  EXPECT_EQ(options.conversion.width, 0);
  EXPECT_EQ(options.conversion.height, 0);
  EXPECT_FALSE(options.conversion.verbose);
  EXPECT_FALSE(options.conversion.progress);
  EXPECT_TRUE(options.conversion.batch_list.empty());
  EXPECT_EQ(options.conversion.band_rows, 0);
}

TEST(LongOptions, ReadsEveryOptionsValue) {
  Args others;
  const TLongOptions o = ReadLongOptions({"--format=bmp", "--depth=24", "--width=640", "--height=480", "--jobs=3",
                                          "--batch=list.txt", "--progress", "--help", "--version"},
                                         others);
  EXPECT_TRUE(others.empty());
  EXPECT_EQ(o.conversion.format, TOutputFormat::Bmp);
  EXPECT_EQ(o.conversion.depth, 24);
  EXPECT_EQ(o.conversion.width, 640);
  EXPECT_EQ(o.conversion.height, 480);
  EXPECT_EQ(o.conversion.jobs, 3);
  EXPECT_EQ(o.conversion.batch_list, "list.txt");
  EXPECT_TRUE(o.conversion.progress);
  EXPECT_TRUE(o.help);
  EXPECT_TRUE(o.version);
  EXPECT_EQ(ReadLongOptions({"--depth=32", "--jobs=0", "--jobs=256"}, others).conversion.depth, 32);
}

TEST(LongOptions, BandRowsAreAPositiveCount) {
  Args others;
  EXPECT_EQ(ReadLongOptions({"--band-rows=1"}, others).conversion.band_rows, 1);
  EXPECT_EQ(ReadLongOptions({"--band-rows=37", "x.emf"}, others).conversion.band_rows, 37);
  EXPECT_EQ(others, Args{"x.emf"});
  EXPECT_EQ(ReadLongOptions({"--band-rows=2147483647"}, others).conversion.band_rows, 2147483647);
  EXPECT_EQ(FailureOf({"--band-rows=0"}), "EConvertError: '0' is not a valid value for --band-rows");
  EXPECT_EQ(FailureOf({"--band-rows=-3"}), "EConvertError: '-3' is not a valid value for --band-rows");
  EXPECT_EQ(FailureOf({"--band-rows=2147483648"}),
            "EConvertError: '2147483648' is not a valid value for --band-rows");
  EXPECT_EQ(FailureOf({"--band-rows"}), "EOptionError: Option \"--band-rows\" needs a value");
}

TEST(LongOptions, ALaterOptionReplacesAnEarlierOne) {
  Args others;
  const TLongOptions o = ReadLongOptions({"--format=png", "--format=bmp", "--pages=1", "--pages=3-4"}, others);
  EXPECT_EQ(o.conversion.format, TOutputFormat::Bmp);
  EXPECT_EQ(o.conversion.pages, (std::vector<TPageRange>{{3, 4}}));
}

TEST(LongOptions, UnknownOptionsMissingAndUnexpectedValuesAreOptionErrors) {
  EXPECT_EQ(FailureOf({"in.vxp", "--colour=red"}), "EOptionError: Unknown option \"--colour\"");
  EXPECT_EQ(FailureOf({"--Verbose"}), "EOptionError: Unknown option \"--Verbose\"");
  EXPECT_EQ(FailureOf({"--pages"}), "EOptionError: Option \"--pages\" needs a value");
  EXPECT_EQ(FailureOf({"--format"}), "EOptionError: Option \"--format\" needs a value");
  EXPECT_EQ(FailureOf({"--verbose=yes"}), "EOptionError: Option \"--verbose\" takes no value");
  EXPECT_EQ(FailureOf({"--help="}), "EOptionError: Option \"--help\" takes no value");
}

TEST(LongOptions, BadValuesAreConvertErrors) {
  EXPECT_EQ(FailureOf({"--format=gif"}), "EConvertError: 'gif' is not a valid value for --format");
  EXPECT_EQ(FailureOf({"--depth=16"}), "EConvertError: '16' is not a valid value for --depth");
  EXPECT_EQ(FailureOf({"--width=0"}), "EConvertError: '0' is not a valid value for --width");
  EXPECT_EQ(FailureOf({"--width=-5"}), "EConvertError: '-5' is not a valid value for --width");
  EXPECT_EQ(FailureOf({"--height=2147483648"}), "EConvertError: '2147483648' is not a valid value for --height");
  EXPECT_EQ(FailureOf({"--height= 10"}), "EConvertError: ' 10' is not a valid value for --height");
  EXPECT_EQ(FailureOf({"--jobs=257"}), "EConvertError: '257' is not a valid value for --jobs");
  EXPECT_EQ(FailureOf({"--jobs=x"}), "EConvertError: 'x' is not a valid value for --jobs");
  EXPECT_EQ(FailureOf({"--batch="}), "EConvertError: '' is not a valid value for --batch");
  EXPECT_EQ(FailureOf({"--pages=0"}), "EConvertError: '0' is not a valid value for --pages");
  EXPECT_EQ(FailureOf({"--pages=5-3"}), "EConvertError: '5-3' is not a valid value for --pages");
  EXPECT_EQ(FailureOf({"--pages=1,,2"}), "EConvertError: '1,,2' is not a valid value for --pages");
}

TEST(PageList, ReadsNumbersAndRangesInTheOrderGiven) {
  EXPECT_EQ(ParsePageList("1,3-5"), (std::vector<TPageRange>{{1, 1}, {3, 5}}));
  EXPECT_EQ(ParsePageList("7"), (std::vector<TPageRange>{{7, 7}}));
  EXPECT_EQ(ParsePageList("9-9,2"), (std::vector<TPageRange>{{9, 9}, {2, 2}}));
  EXPECT_EQ(ParsePageList("2147483647"), (std::vector<TPageRange>{{2147483647, 2147483647}}));
}

TEST(PageList, RefusesEverythingElse) {
  for (const char* text : {"", ",", "1,", ",1", "-", "1-", "-3", "a", "1 ", " 1", "+1", "1--2", "1-2-3", "0-2",
                           "2147483648", "0x10", "1;2"}) {
    EXPECT_THROW(ParsePageList(text), EConvertError) << text;
  }
}

TEST(LongOptions, HelpLinesNameEveryOption) {
  std::string text;
  for (const std::string& line : LongOptionHelpLines()) text += line + "\n";
  for (const char* name : {"--format=", "--pages=", "--width=", "--height=", "--depth=", "--jobs=", "--batch=",
                           "--band-rows=", "--verbose", "--progress", "--help", "--version"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(VersionLine().rfind("vxp2bmp ", 0), 0u);
}

}  // namespace
}  // namespace vx
