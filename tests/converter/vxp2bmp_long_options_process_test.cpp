// The built program with long options: help, version, errors, PNG pages,
// diagnostics on standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "converter/command_line.h"
#include "converter/long_options.h"
#include "converter/process_run.h"
#include "converter/scratch_folder.h"
#include "graphics/bitmap.h"
#include "support/png_decoder.h"
#include "support/wmf_test_data.h"

namespace vx {
namespace {

using Args = std::vector<std::string>;

const std::string kDemoReport = std::string(VXP_SOURCE_DIR) + "/samples/demo-report.vxp";

class LongOptionProgram : public testing::Test {
protected:
  test::ProcessOutcome Run(const Args& args) { return test::RunProgram(args, folder_.Path()); }

  static void ExpectReport(const test::ProcessOutcome& r, const std::string& className, const std::string& message) {
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    const std::regex shape("Exception " + className + " in module vxp2bmp at [0-9A-F]{8}\\.\r\n");
    const size_t firstEnd = r.err.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos) << r.err;
    EXPECT_TRUE(std::regex_match(r.err.substr(0, firstEnd + 2), shape)) << r.err;
    EXPECT_EQ(r.err.substr(firstEnd + 2), message + "\r\n\r\n");
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder_.Path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ScratchFolder folder_;
};

TEST_F(LongOptionProgram, HelpAndVersionGoToStandardOutput) {
  std::string help;
  for (const std::string& line : HelpLines()) help += line + "\r\n";
  for (const std::string& line : LongOptionHelpLines()) help += line + "\r\n";
  const test::ProcessOutcome h = Run({"--help"});
  EXPECT_EQ(h.status, 0);
  EXPECT_EQ(h.out, help);
  EXPECT_EQ(h.err, "");
  const test::ProcessOutcome v = Run({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, VersionLine() + "\r\n");
}

TEST_F(LongOptionProgram, AnOptionAloneStillPrintsTheHelpOfTheArguments) {
  std::string help;
  for (const std::string& line : HelpLines()) help += line + "\r\n";
  const test::ProcessOutcome r = Run({"--verbose", "in.vxp"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, help);
}

TEST_F(LongOptionProgram, BadOptionsEndInTheErrorReport) {
  ExpectReport(Run({"--bogus"}), "EOptionError", "Unknown option \"--bogus\".");
  ExpectReport(Run({kDemoReport, "out.bmp", "--format=gif"}), "EConvertError",
               "'gif' is not a valid value for --format.");
  ExpectReport(Run({kDemoReport, "out.bmp", "--pages=9"}), "EOptionError",
               "Option \"--pages\" asks for page 9; the last page is 3.");
  EXPECT_EQ(Entries(), std::vector<std::string>{});
}

TEST_F(LongOptionProgram, PngPagesHoldTheSamePixelsAsTheBmpPages) {
  ASSERT_EQ(Run({kDemoReport, "page.bmp", "-D", "120"}).status, 0);
  const test::ProcessOutcome r = Run({kDemoReport, "page.bmp", "-D", "120", "--format=png"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"page00001.bmp", "page00001.png", "page00002.bmp", "page00002.png",
                                                 "page00003.bmp", "page00003.png"}));
  for (const char* page : {"page00001", "page00002", "page00003"}) {
    TBitmap bmp;
    bmp.ReadFromFile(folder_.Join(std::string(page) + ".bmp"));
    const std::string pngBytes = test::WholeFile(folder_.Join(std::string(page) + ".png"));
    const auto png = test::DecodePng(std::vector<uint8_t>(pngBytes.begin(), pngBytes.end()));
    ASSERT_TRUE(png) << page;
    ASSERT_EQ(int32_t(png->width), bmp.PixelWidth());
    ASSERT_EQ(int32_t(png->height), bmp.PixelHeight());
    int64_t differing = 0;
    for (int32_t y = 0; y < bmp.PixelHeight(); ++y)
      for (int32_t x = 0; x < bmp.PixelWidth(); ++x) differing += png->At(x, y) != bmp.PixelIndex(x, y);
    EXPECT_EQ(differing, 0) << page;
    EXPECT_EQ(png->x_ppu, 4724u);  // 120 dots per inch
  }
}

TEST_F(LongOptionProgram, PagesVerboseAndProgressOnStandardError) {
  const test::ProcessOutcome r = Run({kDemoReport, "p.bmp", "-D10", "--pages=1,3", "--verbose", "--progress"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"p00001.bmp", "p00003.bmp"}));
  const std::string folder = std::filesystem::canonical(folder_.Path()).string();
  EXPECT_TRUE(std::regex_search(r.err, std::regex("^page 1: " + folder + "/p00001\\.bmp: \\d+ x \\d+ pixels, \\d+ ms\n")))
      << r.err;
  EXPECT_NE(r.err.find("\npage 3: " + folder + "/p00003.bmp: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("  font \"Arial\" bold -> Liberation Sans (LiberationSans-Bold.ttf)\n"), std::string::npos);
  EXPECT_NE(r.err.find("\n1/2 pages\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.substr(r.err.size() - 10), "2/2 pages\n");
}

TEST_F(LongOptionProgram, VerboseNamesTheWindowsMetafileRecordsDropped) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0}).Record(0x0626, {15, 0}).Record(0x0105, {0});  // META_SETRELABS, META_ESCAPE
  const std::vector<uint8_t> wmf = b.Placeable(0, 0, 100, 100, 96);
  std::ofstream(folder_.Join("in.wmf"), std::ios::binary)
      .write(reinterpret_cast<const char*>(wmf.data()), static_cast<std::streamsize>(wmf.size()));
  const test::ProcessOutcome r = Run({"in.wmf", "out.bmp", "--verbose"});
  EXPECT_EQ(r.status, 0);
  const std::string folder = std::filesystem::canonical(folder_.Path()).string();
  EXPECT_TRUE(std::regex_match(r.err, std::regex(folder + "/out\\.bmp: \\d+ x \\d+ pixels, \\d+ ms\n"
                                                          "  skipped META_SETRELABS \\(2x\\)\n"
                                                          "  skipped META_ESCAPE \\(1x\\)\n")))
      << r.err;
}

TEST_F(LongOptionProgram, ProgressAloneIsOneRewrittenLine) {
  const test::ProcessOutcome r = Run({kDemoReport, "p.bmp", "-D10", "--progress"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "\r1/3 pages\r2/3 pages\r3/3 pages\n");
}

TEST_F(LongOptionProgram, AWidthGivesThePixelWidth) {
  const test::ProcessOutcome r = Run({std::string(VXP_SOURCE_DIR) + "/samples/shapes.emf", "s.bmp", "--width=321"});
  EXPECT_EQ(r.status, 0);
  TBitmap bmp;
  bmp.ReadFromFile(folder_.Join("s.bmp"));
  EXPECT_EQ(bmp.PixelWidth(), 321);
}

TEST_F(LongOptionProgram, BandRowsGiveTheSameFiles) {
  const std::string shapes = std::string(VXP_SOURCE_DIR) + "/samples/shapes.emf";
  ASSERT_EQ(Run({kDemoReport, "whole.bmp", "-D", "150", "--jobs=1"}).status, 0);
  ASSERT_EQ(Run({kDemoReport, "band.bmp", "-D", "150", "--band-rows=61", "--jobs=2"}).status, 0);
  ASSERT_EQ(Run({shapes, "whole.bmp", "-D", "222"}).status, 0);
  ASSERT_EQ(Run({shapes, "band.bmp", "-D", "222", "--band-rows=5"}).status, 0);
  const auto bytes = [this](const std::string& name) {
    std::ifstream file(folder_.Join(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  for (const char* page : {"00001", "00002", "00003"}) {
    const std::string whole = bytes(std::string("whole") + page + ".bmp");
    EXPECT_GT(whole.size(), 1078u);
    EXPECT_EQ(bytes(std::string("band") + page + ".bmp"), whole) << page;
  }
  EXPECT_GT(bytes("whole.bmp").size(), 1078u);
  EXPECT_EQ(bytes("band.bmp"), bytes("whole.bmp"));
  ExpectReport(Run({shapes, "x.bmp", "--band-rows=0"}), "EConvertError",
               "'0' is not a valid value for --band-rows.");
}

}  // namespace
}  // namespace vx
