// The entry with long options: they are read apart, never change how the
// other arguments are read, and reach the conversion.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "converter/command_line.h"
#include "converter/long_options.h"
#include "converter/scratch_folder.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

struct Call {
  std::string kind, source, destination;
  int32_t resolution = 0;
  TConversionOptions options;
};

// What one run of the entry does, observable from outside.
struct Outcome {
  int status = -1;
  std::string output;
  std::vector<Call> calls;
  std::string error;  // class and message of the error that left the entry
};

Outcome RunEntry(const Args& args) {
  Outcome outcome;
  TConverterServices services;
  services.WriteLine = [&outcome](std::string_view line) { outcome.output += std::string(line) + "\r\n"; };
  services.ConvertReportWithOptions = [&outcome](const std::string& s, const std::string& d, int32_t r,
                                                 const TConversionOptions& o) {
    outcome.calls.push_back({"report", s, d, r, o});
  };
  services.ConvertMetafileWithOptions = [&outcome](const std::string& s, const std::string& d, int32_t r,
                                                   const TConversionOptions& o) {
    outcome.calls.push_back({"metafile", s, d, r, o});
  };
  services.RunBatch = [&outcome](const std::string& list, const TConversionOptions& o) {
    outcome.calls.push_back({"batch", list, "", 0, o});
    return 0;
  };
  try {
    outcome.status = RunConverter(args, services);
  } catch (const Exception& e) {
    outcome.error = std::string(e.ClassName()) + ": " + e.Message();
  }
  return outcome;
}

std::string HelpText() {
  std::string text;
  for (const std::string& line : HelpLines()) text += line + "\r\n";
  return text;
}

class LongOptionRun : public testing::Test {
protected:
  // Every form of the argument rules: positions, switches with glued and separate
  // values, a pending switch across an ignored one, the third plain argument, the
  // empty argument that ends the list, and each check's message or error.
  std::vector<Args> ArgumentForms() {
    const std::string report = folder_.AddFile("in.vxp");
    const std::string emf = folder_.AddFile("pic.emf");
    const std::string wmf = folder_.AddFile("pic.WMF");
    const std::string notes = folder_.AddFile("notes.txt");
    const std::string missing = folder_.Join("missing.vxp");
    return {
        {},
        {report},
        {"-?"},
        {"/?"},
        {report, "out.bmp"},
        {report, "out.bmp", "600"},
        {report, "out.bmp", "600", "700"},
        {report, "out.bmp", "-D", "150"},
        {report, "out.bmp", "-D150"},
        {report, "out.bmp", "-d", "$12C"},
        {report, "out.bmp", "-D0000000000000000000300"},
        {report, "out.bmp", "-D", "0000000000000000000300"},
        {report, "out.bmp", "-D"},
        {report, "out.bmp", "-D-5"},
        {"-o", "out.bmp", report},
        {"-i", "-S", report, "out.bmp"},
        {"-i", report, "-o", "sub/out.bmp", "-D", "72"},
        {"-I" + emf, "-O/x/p.bmp"},
        {wmf, "p.bmp", "--", "96"},
        {"-o", "out.bmp"},
        {"-?", report},
        {"-D", "abc", "-i", missing},
        {missing, "out.bmp", "-D", "abc"},
        {notes, "out.bmp", "-D", "abc"},
        {report, "out.bmp", "-D", "abc"},
        {report, "out.bmp", "300 "},
        {report, "", "out.bmp"},
    };
  }

  test::ScratchFolder folder_;
};

void ExpectSameReading(const Outcome& plain, const Outcome& with, const std::string& context) {
  EXPECT_EQ(with.status, plain.status) << context;
  EXPECT_EQ(with.output, plain.output) << context;
  EXPECT_EQ(with.error, plain.error) << context;
  ASSERT_EQ(with.calls.size(), plain.calls.size()) << context;
  for (size_t i = 0; i < plain.calls.size(); ++i) {
    EXPECT_EQ(with.calls[i].kind, plain.calls[i].kind) << context;
    EXPECT_EQ(with.calls[i].source, plain.calls[i].source) << context;
    EXPECT_EQ(with.calls[i].destination, plain.calls[i].destination) << context;
    EXPECT_EQ(with.calls[i].resolution, plain.calls[i].resolution) << context;
  }
}

TEST_F(LongOptionRun, ALongOptionAnywhereLeavesTheOtherArgumentsReadAsBefore) {
  const std::vector<Args> longOptions = {
      {"--verbose"}, {"--format=png"}, {"--pages=1,3-5", "--progress"}, {"--width=640", "--jobs=2"}};
  for (const Args& form : ArgumentForms()) {
    const Outcome plain = RunEntry(form);
    for (const Args& inserted : longOptions) {
      for (size_t at = 0; at <= form.size(); ++at) {
        Args args = form;
        args.insert(args.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(), inserted.end());
        std::string context;
        for (const std::string& a : args) context += "[" + a + "] ";
        ExpectSameReading(plain, RunEntry(args), context);
      }
    }
  }
}

TEST_F(LongOptionRun, TheConversionReceivesTheOptions) {
  const std::string report = folder_.AddFile("in.vxp");
  const Outcome o = RunEntry({"--format=png", report, "--pages=2,4-6", "out.bmp", "--height=300", "--verbose",
                              "--progress", "--jobs=4", "-D", "150"});
  ASSERT_EQ(o.calls.size(), 1u) << o.error;
  EXPECT_EQ(o.calls[0].resolution, 150);
  EXPECT_EQ(o.calls[0].options.format, TOutputFormat::Png);
  EXPECT_EQ(o.calls[0].options.pages, (std::vector<TPageRange>{{2, 2}, {4, 6}}));
  EXPECT_EQ(o.calls[0].options.height, 300);
  EXPECT_TRUE(o.calls[0].options.verbose);
  EXPECT_TRUE(o.calls[0].options.progress);
  EXPECT_EQ(o.calls[0].options.jobs, 4);
}

TEST_F(LongOptionRun, LongOptionsDoNotCountTowardsTheTwoArguments) {
  const std::string report = folder_.AddFile("in.vxp");
  for (const Args& args : {Args{"--verbose"}, Args{"--format=png", report}, Args{report, "--pages=1", "--verbose"},
                           Args{"--progress", "-?"}}) {
    const Outcome o = RunEntry(args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.output, HelpText());
    EXPECT_TRUE(o.calls.empty());
  }
}

TEST_F(LongOptionRun, HelpPrintsTheHelpTextAndTheLongOptions) {
  std::string expected = HelpText();
  for (const std::string& line : LongOptionHelpLines()) expected += line + "\r\n";
  const std::string report = folder_.AddFile("in.vxp");
  for (const Args& args : {Args{"--help"}, Args{report, "out.bmp", "--help"}, Args{"--version", "--help"}}) {
    const Outcome o = RunEntry(args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.output, expected);
    EXPECT_TRUE(o.calls.empty());
  }
}

TEST_F(LongOptionRun, VersionPrintsOneLine) {
  const Outcome o = RunEntry({"--version"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.output, VersionLine() + "\r\n");
}

TEST_F(LongOptionRun, ABadLongOptionIsAnErrorBeforeAnythingElse) {
  const std::string report = folder_.AddFile("in.vxp");
  EXPECT_EQ(RunEntry({"--colour"}).error, "EOptionError: Unknown option \"--colour\"");
  // Before the help rule, the missing-setting lines and the file checks.
  EXPECT_EQ(RunEntry({report, "--format=gif"}).error, "EConvertError: 'gif' is not a valid value for --format");
  EXPECT_EQ(RunEntry({"-o", "out.bmp", "--pages=x"}).error, "EConvertError: 'x' is not a valid value for --pages");
  const Outcome late = RunEntry({report, "out.bmp", "--help", "--bogus=1"});
  EXPECT_EQ(late.error, "EOptionError: Unknown option \"--bogus\"");
  EXPECT_EQ(late.output, "");
  EXPECT_TRUE(late.calls.empty());
}

TEST_F(LongOptionRun, BatchTakesItsConversionsFromTheList) {
  const Outcome o = RunEntry({"--batch=list.txt", "--jobs=2"});
  ASSERT_EQ(o.calls.size(), 1u);
  EXPECT_EQ(o.calls[0].kind, "batch");
  EXPECT_EQ(o.calls[0].source, "list.txt");
  EXPECT_EQ(o.calls[0].options.jobs, 2);
  EXPECT_EQ(RunEntry({"--batch=list.txt", "in.vxp", "out.bmp"}).error,
            std::string("EOptionError: ") + kBatchWithArgumentsMessage);
}

TEST_F(LongOptionRun, BatchWithoutABoundServiceConvertsTheList) {
  test::ScratchFolder folder;
  const std::string sample = std::string(VXP_SOURCE_DIR) + "/samples/shapes.emf";
  {
    std::ofstream list(folder.Join("list.txt"));
    list << sample << "\t" << folder.Join("one.bmp") << "\t96\n";
    list << folder.Join("missing.emf") << "\t" << folder.Join("two.bmp") << "\n";
  }
  TConverterServices none;
  none.WriteLine = [](std::string_view) {};
  EXPECT_EQ(RunConverter({"--batch=" + folder.Join("list.txt")}, none), 1);  // the second item fails
  EXPECT_TRUE(std::filesystem::exists(folder.Join("one.bmp")));
  EXPECT_FALSE(std::filesystem::exists(folder.Join("two.bmp")));
  EXPECT_THROW(RunConverter({"--batch=" + folder.Join("none.txt")}, none), EFOpenError);
}

TEST_F(LongOptionRun, TheThreeArgumentConversionsStillServeRunsWithoutOptionServices) {
  const std::string report = folder_.AddFile("in.vxp");
  int calls = 0;
  TConverterServices services;
  services.WriteLine = [](std::string_view) {};
  services.ConvertReport = [&calls](const std::string&, const std::string&, int32_t r) {
    EXPECT_EQ(r, 300);
    ++calls;
  };
  EXPECT_EQ(RunConverter({report, "--verbose", "out.bmp"}, services), 0);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace vx
