#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "converter/conversion_driver.h"
#include "document/vx_printer.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

constexpr const char* kDemoReport = VXP_SOURCE_DIR "/samples/demo-report.vxp";

// The pages of the demo report as EMF bytes.
std::vector<Bytes> DemoPages() {
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(kDemoReport);
  std::vector<Bytes> pages;
  for (int32_t n = 1; n <= printer.PageTotal(); ++n) {
    TMemoryStream stream;
    printer.PageMetafile(n)->WriteToStream(stream);
    pages.push_back(stream.Bytes());
  }
  return pages;
}

// Nine real pages: the demo's three, three times over, the middle round reversed.
std::vector<Bytes> NinePages() {
  const std::vector<Bytes> demo = DemoPages();
  std::vector<Bytes> pages;
  for (int round = 0; round < 3; ++round) {
    for (size_t i = 0; i < demo.size(); ++i) pages.push_back(demo[round == 1 ? demo.size() - 1 - i : i]);
  }
  return pages;
}

std::vector<Bytes> ConvertWithJobs(const std::string& report, int jobs, int32_t resolution) {
  TempFolder out;
  TConversionOptions options;
  options.jobs = jobs;
  ConvertReportFile(report, out.File("page.bmp"), resolution, options);
  std::vector<Bytes> files;
  for (const std::string& name : out.EntriesStartingWith("page")) files.push_back(ReadFileBytes(out.File(name)));
  return files;
}

TEST(ParallelReportConversion, OutputIsByteIdenticalForOneTwoAndFourWorkers) {
  TempFolder folder;
  const std::vector<Bytes> pages = NinePages();
  ASSERT_EQ(pages.size(), 9u);
  WriteFileBytes(folder.File("report.vxp"), test::StoreBytes(pages));
  const std::vector<Bytes> serial = ConvertWithJobs(folder.File("report.vxp"), 1, 96);
  ASSERT_EQ(serial.size(), 9u);
  for (const Bytes& file : serial) ASSERT_GT(file.size(), 1078u);
  EXPECT_NE(serial[0], serial[1]);  // the pages differ, so a swap would show
  EXPECT_EQ(serial[0], serial[8 - 2]);
  EXPECT_EQ(ConvertWithJobs(folder.File("report.vxp"), 2, 96), serial);
  EXPECT_EQ(ConvertWithJobs(folder.File("report.vxp"), 4, 96), serial);
  EXPECT_EQ(ConvertWithJobs(folder.File("report.vxp"), 0, 96), serial);
}

// Page `damaged` of nine can't be read: its EMF header record type is spoilt.
void WriteReportWithDamagedPage(const std::string& name, int damaged) {
  const std::vector<Bytes> pages = NinePages();
  Bytes store = test::StoreBytes(pages);
  const std::vector<int32_t> records = test::RecordOffsets(pages);
  test::PutI32(store, static_cast<size_t>(records[static_cast<size_t>(damaged - 1)]) + 8, 0x7A7A7A7A);
  WriteFileBytes(name, store);
}

class DamagedPage : public ::testing::TestWithParam<int> {};

TEST_P(DamagedPage, PagesBeforeItAreWrittenNoneFromItOnAndItsErrorIsRaised) {
  const int jobs = GetParam();
  constexpr int kDamaged = 5;
  TempFolder folder;
  WriteReportWithDamagedPage(folder.File("report.vxp"), kDamaged);
  // Page 7 of an earlier conversion stays as it was; page 8 couldn't even be
  // created, so an attempt on it would raise a different error.
  const Bytes earlier(50, 0x33);
  WriteFileBytes(folder.File("page00007.bmp"), earlier);
  std::filesystem::create_directory(folder.File("page00008.bmp"));
  TConversionOptions options;
  options.jobs = jobs;
  try {
    ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 96, options);
    FAIL() << "no error raised";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.ClassName(), "EInvalidGraphic");
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
  EXPECT_EQ(folder.EntriesStartingWith("page"),
            (std::vector<std::string>{"page00001.bmp", "page00002.bmp", "page00003.bmp", "page00004.bmp",
                                      "page00007.bmp", "page00008.bmp"}));
  EXPECT_EQ(ReadFileBytes(folder.File("page00007.bmp")), earlier);
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("page00008.bmp")));
  for (int n = 1; n < kDamaged; ++n) {
    const Bytes file = ReadFileBytes(folder.File("page0000" + std::to_string(n) + ".bmp"));
    EXPECT_GT(file.size(), 1078u);
  }
}

TEST_P(DamagedPage, AnUnwritablePageBeforeTheDamagedOneGivesItsOwnError) {
  TempFolder folder;
  WriteReportWithDamagedPage(folder.File("report.vxp"), 6);
  std::filesystem::create_directory(folder.File("page00004.bmp"));  // page 4 fails first
  TConversionOptions options;
  options.jobs = GetParam();
  EXPECT_THROW(ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 96, options), EFCreateError);
  EXPECT_EQ(folder.EntriesStartingWith("page"),
            (std::vector<std::string>{"page00001.bmp", "page00002.bmp", "page00003.bmp", "page00004.bmp"}));
}

INSTANTIATE_TEST_SUITE_P(Jobs, DamagedPage, ::testing::Values(1, 2, 4));

}  // namespace
}  // namespace vx
