#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "converter/conversion_driver.h"
#include "converter/page_file_name.h"
#include "storage/page_store_fixtures.h"
#include "support/emf_builder.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::StoreBytes;
using test::TempFolder;
using test::WriteFileBytes;

struct NameCase {
  const char* destination;
  int32_t page;
  const char* expected;
};

class PageFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PageFileNames, PrefixAndFiveDigitNumber) {
  const NameCase c = GetParam();
  EXPECT_EQ(PageFileName(PageFilePrefix(c.destination), c.page), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PageFileNames,
    ::testing::Values(NameCase{"/out/page.bmp", 1, "/out/page00001.bmp"},
                      NameCase{"/out/page.bmp", 3, "/out/page00003.bmp"},
                      NameCase{"/out/scan", 1, "/out/scan00001.bmp"},
                      NameCase{"/out/a.b.c", 1, "/out/a.b00001.bmp"},
                      NameCase{"/out/", 1, "/out/00001.bmp"},
                      NameCase{"/out/.bmp", 1, "/out/00001.bmp"},
                      NameCase{"/o.d/scan", 2, "/o.d/scan00002.bmp"},   // a dot in the directory only
                      NameCase{"C:\\out\\p.x", 1, "C:\\out\\p00001.bmp"},  // '\' is an ordinary character
                      NameCase{"/out/page.png", 7, "/out/page00007.bmp"},
                      NameCase{"/out/page.bmp", 12345, "/out/page12345.bmp"},
                      NameCase{"/out/page.bmp", 100000, "/out/page100000.bmp"},
                      NameCase{"/out/100%s.bmp", 4, "/out/100%s00004.bmp"},
                      NameCase{"page.bmp", 1, "page00001.bmp"}));

// Page n is n x 100 screen pixels wide (frame in 0.01 mm on a 3.2 pixels/mm screen).
Bytes PageOfWidth(int n) { return test::EmfBuilder().Frame({0, 0, 3125 * n, 1000}).Build(); }

// A saved report whose pages are small pictures of distinct widths.
void WriteReport(const std::string& name, int pages) {
  std::vector<Bytes> emfs;
  for (int n = 1; n <= pages; ++n) emfs.push_back(PageOfWidth(n));
  WriteFileBytes(name, StoreBytes(emfs));
}

int32_t BmpWidth(const std::string& name) {
  const Bytes bytes = ReadFileBytes(name);
  return bytes.size() >= 22 ? LoadI32(bytes.data() + 18) : -1;
}

bool IsBmp(const std::string& name) {
  const Bytes bytes = ReadFileBytes(name);
  return bytes.size() > 1078 && bytes[0] == 'B' && bytes[1] == 'M';
}

TEST(ConvertReport, WritesOneFilePerPageAndNoneUnderTheDestination) {
  TempFolder folder;
  WriteReport(folder.File("report.vxp"), 3);
  ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 0);
  EXPECT_EQ(folder.EntriesStartingWith("page"),
            (std::vector<std::string>{"page00001.bmp", "page00002.bmp", "page00003.bmp"}));
  for (const char* name : {"page00001.bmp", "page00002.bmp", "page00003.bmp"}) EXPECT_TRUE(IsBmp(folder.File(name)));
  // Each page under its own number.
  EXPECT_EQ(BmpWidth(folder.File("page00001.bmp")), 100);
  EXPECT_EQ(BmpWidth(folder.File("page00002.bmp")), 200);
  EXPECT_EQ(BmpWidth(folder.File("page00003.bmp")), 300);
}

TEST(ConvertReport, ReportWithoutPagesWritesNothing) {
  TempFolder folder;
  test::StoreLayout layout;
  layout.pageTotal = 0;  // a page is stored, but the header counts none
  WriteFileBytes(folder.File("empty.vxp"), StoreBytes({test::PageEmf(1)}, layout));
  ConvertReportFile(folder.File("empty.vxp"), folder.File("page.bmp"), 300);
  EXPECT_TRUE(folder.EntriesStartingWith("page").empty());
}

TEST(ConvertReport, PagesBeforeAFailureStay) {
  TempFolder folder;
  WriteReport(folder.File("report.vxp"), 3);
  std::filesystem::create_directory(folder.File("out00002.bmp"));  // page 2 cannot be created
  EXPECT_THROW(ConvertReportFile(folder.File("report.vxp"), folder.File("out.bmp"), 0), EFCreateError);
  EXPECT_TRUE(IsBmp(folder.File("out00001.bmp")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("out00003.bmp")));
}

TEST(ConvertReport, MissingSourceWritesNothing) {
  TempFolder folder;
  EXPECT_THROW(ConvertReportFile(folder.File("none.vxp"), folder.File("page.bmp"), 0), EFOpenError);
  EXPECT_TRUE(folder.EntriesStartingWith("page").empty());
}

TEST(ConvertMetafile, WritesUnderTheDestinationAsGiven) {
  TempFolder folder;
  WriteFileBytes(folder.File("pic.emf"), test::PageEmf(1));
  ConvertMetafileFile(folder.File("pic.emf"), folder.File("out.png"), 0);
  EXPECT_TRUE(IsBmp(folder.File("out.png")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("out00001.bmp")));
}

TEST(ConvertMetafile, SourceCanBeItsOwnDestination) {
  TempFolder folder;
  const std::string name = folder.File("pic.emf");
  WriteFileBytes(name, test::PageEmf(2));
  ConvertMetafileFile(name, name, 0);
  EXPECT_TRUE(IsBmp(name));
}

TEST(ConvertMetafile, InvalidSourceWritesNothing) {
  TempFolder folder;
  WriteFileBytes(folder.File("bad.emf"), Bytes(200, 7));
  EXPECT_THROW(ConvertMetafileFile(folder.File("bad.emf"), folder.File("out.bmp"), 0), EInvalidGraphic);
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.bmp")));
  EXPECT_THROW(ConvertMetafileFile(folder.File("none.emf"), folder.File("out.bmp"), 0), EFOpenError);
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.bmp")));
}

}  // namespace
}  // namespace vx
