#include "converter/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>

#include "base/errors.h"
#include "converter/file_names.h"
#include "converter/scratch_folder.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

struct ReadCase {
  const char* label;
  Args args;
  TConverterSettings expected;
};

std::string CaseName(const testing::TestParamInfo<ReadCase>& param) {
  std::string name;
  for (const char c : std::string(param.param.label)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

class ArgumentReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ArgumentReading, FillsTheThreeSettings) {
  const TConverterSettings settings = ReadArguments(GetParam().args);
  EXPECT_EQ(settings.SourceFileName, GetParam().expected.SourceFileName);
  EXPECT_EQ(settings.DestFileName, GetParam().expected.DestFileName);
  EXPECT_EQ(settings.ResolutionText, GetParam().expected.ResolutionText);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentReading,
    testing::Values(
        ReadCase{"positional", {"in.vxp", "out.bmp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"third plain is resolution", {"in.vxp", "out.bmp", "600"}, {"in.vxp", "out.bmp", "600"}},
        ReadCase{"fourth plain replaces third", {"in.vxp", "out.bmp", "600", "72"}, {"in.vxp", "out.bmp", "72"}},
        ReadCase{"switches out of order", {"-o", "out.bmp", "in.vxp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"upper-case switches", {"-I", "in.vxp", "-O", "out.bmp", "-d", "72"}, {"in.vxp", "out.bmp", "72"}},
        ReadCase{"unknown switch keeps pending", {"-i", "-S", "in.vxp", "out.bmp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"question switch ignored", {"-?", "in.vxp"}, {"in.vxp", "", ""}},
        ReadCase{"lone dash ignored", {"-", "in.vxp", "out.bmp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"digit switch ignored", {"-5", "in.vxp", "out.bmp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"unknown long switch ignored", {"-Sx", "-?abc", "in.vxp", "out.bmp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"bare D last is dropped", {"in.vxp", "out.bmp", "-D"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"glued values", {"-iin.vxp", "-Oout.bmp", "-D600"}, {"in.vxp", "out.bmp", "600"}},
        ReadCase{"glued zero and negative", {"-D0", "-D-5", "a", "b"}, {"a", "b", "-5"}},
        ReadCase{"glued D keeps 20 characters", {"a", "b", "-D0000000000000000000300"},
                 {"a", "b", "00000000000000000003"}},
        ReadCase{"next-argument D keeps all", {"a", "b", "-D", "0000000000000000000300"},
                 {"a", "b", "0000000000000000000300"}},
        ReadCase{"glued I and O keep all", {"-i" + std::string(300, 's'), "-o" + std::string(300, 'd')},
                 {std::string(300, 's'), std::string(300, 'd'), ""}},
        ReadCase{"glued value clears pending", {"-i", "-Oout.bmp", "in.vxp"}, {"in.vxp", "out.bmp", ""}},
        ReadCase{"later value replaces earlier", {"-i", "a.vxp", "-i", "b.vxp", "-ob.bmp", "-o", "c.bmp"},
                 {"b.vxp", "c.bmp", ""}},
        ReadCase{"slash is a plain argument", {"/data/in.vxp", "/data/out.bmp"}, {"/data/in.vxp", "/data/out.bmp", ""}},
        ReadCase{"slash switch is plain", {"/i", "/o", "/D"}, {"/i", "/o", "/D"}},
        ReadCase{"pending D takes a dash-free plain", {"-D", "abc", "-i", "missing.vxp"}, {"missing.vxp", "", "abc"}},
        ReadCase{"switch does not take a switch", {"-o", "-D", "72", "in.vxp"}, {"in.vxp", "", "72"}},
        ReadCase{"blank inside one argument", {"my report.vxp", "out file.bmp"}, {"my report.vxp", "out file.bmp", ""}}),
    CaseName);

TEST(ArgumentsFromArgv, SkipsTheProgramNameAndEndsAtTheFirstEmptyArgument) {
  const char* argv[] = {"/usr/bin/vxp2bmp", "a", "b", "", "c", nullptr};
  EXPECT_EQ(ArgumentsFromArgv(5, argv), (Args{"a", "b"}));
  EXPECT_EQ(ArgumentsFromArgv(1, argv), Args{});
}

TEST(HelpText, HasFifteenLinesWithTheDescriptionsInColumnTwentyOne) {
  const std::vector<std::string>& lines = HelpLines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Converts .vxp file created by Vorlex applications into bitmap file.");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[5], "");
  for (size_t i = 6; i < 15; ++i) {
    EXPECT_EQ(lines[i].substr(0, 3), "   ") << i + 1;
    EXPECT_GT(lines[i].size(), 21u) << i + 1;
    EXPECT_NE(lines[i][20], ' ') << "line " << i + 1 << " description starts in column 21";
    EXPECT_EQ(lines[i][19], ' ') << i + 1;
    EXPECT_EQ(lines[i].back() == ' ', i == 7 || i == 10) << "line " << i + 1;
  }
  EXPECT_EQ(lines[8].substr(0, 20), std::string(20, ' '));
}

// Runs the entry in-process with the console and the conversions captured.
class EntryRun : public testing::Test {
protected:
  struct Call {
    std::string kind, source, destination;
    int32_t resolution;
  };

  int Run(const Args& args) {
    TConverterServices services;
    services.WriteLine = [this](std::string_view line) { output_ += std::string(line) + "\r\n"; };
    services.ConvertReport = [this](const std::string& s, const std::string& d, int32_t r) {
      calls_.push_back({"report", s, d, r});
    };
    services.ConvertMetafile = [this](const std::string& s, const std::string& d, int32_t r) {
      calls_.push_back({"metafile", s, d, r});
    };
    return RunConverter(args, services);
  }

  // The class name and message of the error that leaves the entry.
  std::string RunFailing(const Args& args) {
    try {
      Run(args);
    } catch (const Exception& e) {
      return std::string(e.ClassName()) + ": " + e.Message();
    }
    return "no error";
  }

  test::ScratchFolder folder_;
  std::string output_;
  std::vector<Call> calls_;
};

TEST_F(EntryRun, PrintsHelpForFewerThanTwoArguments) {
  std::string expected;
  for (const std::string& line : HelpLines()) expected += line + "\r\n";
  for (const Args& args : {Args{}, Args{"in.vxp"}, Args{"-?"}, Args{"/?"}, Args{"x", ""}}) {
    output_.clear();
    EXPECT_EQ(Run(args), 0);
    EXPECT_EQ(output_, expected);
  }
  EXPECT_TRUE(calls_.empty());
}

TEST_F(EntryRun, WritesTheMissingSettingLines) {
  EXPECT_EQ(Run({"-o", "out.bmp"}), 0);
  EXPECT_EQ(output_, "ERROR: no source file specified\r\n");
  output_.clear();
  EXPECT_EQ(Run({"-?", "in.vxp"}), 0);
  EXPECT_EQ(output_, "ERROR: no destination file specified\r\n");
  output_.clear();
  EXPECT_EQ(Run({"-D", "abc", "-i", "missing.vxp"}), 0);
  EXPECT_EQ(output_, "ERROR: no destination file specified\r\n");
  EXPECT_TRUE(calls_.empty());
}

TEST_F(EntryRun, ChecksExistenceBeforeKindAndResolution) {
  EXPECT_EQ(Run({folder_.Join("missing.vxp"), "out.bmp", "-D", "abc"}), 0);
  EXPECT_EQ(output_, "ERROR: Source file does not exist\r\n");
  output_.clear();
  EXPECT_EQ(Run({folder_.AddFolder("dir.vxp"), "out.bmp"}), 0);
  EXPECT_EQ(output_, "ERROR: Source file does not exist\r\n");
  EXPECT_TRUE(calls_.empty());
}

TEST_F(EntryRun, ReportsAnUnsupportedSourceBeforeTheResolution) {
  const std::string notes = folder_.AddFile("notes.txt");
  EXPECT_EQ(RunFailing({notes, "out.bmp", "-D", "abc"}), "Exception: The source file format is not supported");
  EXPECT_EQ(RunFailing({folder_.AddFile("report."), "out.bmp"}), "Exception: The source file format is not supported");
  EXPECT_TRUE(output_.empty());
  EXPECT_TRUE(calls_.empty());
}

TEST_F(EntryRun, ReportsABadResolutionText) {
  const std::string source = folder_.AddFile("in.vxp");
  EXPECT_EQ(RunFailing({source, "out.bmp", "-D", "abc"}), "EConvertError: 'abc' is not a valid integer value");
  EXPECT_EQ(RunFailing({source, "out.bmp", "300 "}), "EConvertError: '300 ' is not a valid integer value");
  EXPECT_EQ(RunFailing({source, "out.bmp", "-D300dpi"}), "EConvertError: '300dpi' is not a valid integer value");
  EXPECT_TRUE(calls_.empty());
}

TEST_F(EntryRun, HandsCompletedNamesAndTheResolutionToTheConversion) {
  const std::string report = folder_.AddFile("IN.VXP");
  EXPECT_EQ(Run({report, "out.bmp"}), 0);
  EXPECT_EQ(Run({"-i", folder_.AddFile("p.wmf"), "-o", "/x/p.bmp", "-D$12C"}), 0);
  EXPECT_EQ(Run({folder_.AddFile("p.EMF"), "sub/p.bmp", "-D-5"}), 0);
  EXPECT_EQ(Run({report, "o.bmp", "-D0000000000000000000300"}), 0);
  EXPECT_EQ(Run({report, "o.bmp", "-D", "0000000000000000000300"}), 0);
  EXPECT_EQ(Run({report, "o.bmp", "-D0"}), 0);
  EXPECT_EQ(Run({report, "o.bmp", "-D"}), 0);
  EXPECT_TRUE(output_.empty());

  const std::string cwd = CurrentDirectory();
  ASSERT_EQ(calls_.size(), 7u);
  EXPECT_EQ(calls_[0].kind, "report");
  EXPECT_EQ(calls_[0].source, report);
  EXPECT_EQ(calls_[0].destination, cwd + "/out.bmp");
  EXPECT_EQ(calls_[0].resolution, 300);
  EXPECT_EQ(calls_[1].kind, "metafile");
  EXPECT_EQ(calls_[1].destination, "/x/p.bmp");
  EXPECT_EQ(calls_[1].resolution, 300);
  EXPECT_EQ(calls_[2].kind, "metafile");
  EXPECT_EQ(calls_[2].destination, "sub/p.bmp");
  EXPECT_EQ(calls_[2].resolution, -5);
  EXPECT_EQ(calls_[3].resolution, 3);
  EXPECT_EQ(calls_[4].resolution, 300);
  EXPECT_EQ(calls_[5].resolution, 0);
  EXPECT_EQ(calls_[6].resolution, 300);
}

TEST_F(EntryRun, CompletesABareSourceAgainstTheCurrentDirectory) {
  // The test runs wherever it is started; a bare name that does not exist there still
  // shows the check running on the completed name.
  EXPECT_EQ(Run({"surely-missing-vxp2bmp-source.vxp", "out.bmp"}), 0);
  EXPECT_EQ(output_, "ERROR: Source file does not exist\r\n");
}

TEST_F(EntryRun, CompletesBareSourceAndDestinationAgainstOneCurrentDirectory) {
  folder_.AddFile("in.emf");
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(::chdir(folder_.Path().c_str()), 0);
  const std::string cwd = CurrentDirectory();
  const int status = Run({"in.emf", "out.bmp"});
  const int mixed = Run({"in.emf", "sub/out.bmp"});
  ASSERT_EQ(::chdir(previous), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(mixed, 0);
  EXPECT_TRUE(output_.empty()) << output_;
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[0].source, cwd + "/in.emf");
  EXPECT_EQ(calls_[0].destination, cwd + "/out.bmp");
  EXPECT_EQ(calls_[1].source, cwd + "/in.emf");
  EXPECT_EQ(calls_[1].destination, "sub/out.bmp");
}

TEST_F(EntryRun, PassesConversionErrorsToTheCaller) {
  TConverterServices services;
  services.WriteLine = [](std::string_view) {};
  services.ConvertReport = [](const std::string&, const std::string&, int32_t) {
    throw EReadError("Stream read error");
  };
  EXPECT_THROW(RunConverter({folder_.AddFile("in.vxp"), "out.bmp"}, services), EReadError);
}

TEST_F(EntryRun, PassesConsoleWriteErrorsToTheCaller) {
  TConverterServices services;
  services.WriteLine = [](std::string_view) { throw EInOutError("I/O error 28"); };
  EXPECT_THROW(RunConverter({}, services), EInOutError);
}

}  // namespace
}  // namespace vx
