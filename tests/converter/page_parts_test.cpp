#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/errors.h"
#include "converter/conversion_driver.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"
#include "graphics/metafile_canvas.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "storage/page_store_fixtures.h"
#include "support/busy_page_emf.h"
#include "graphics/support/canvas_script.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

constexpr const char* kDemoReport = VXP_SOURCE_DIR "/samples/demo-report.vxp";

// Every canvas operation (text, shapes, pens, images) recorded as an EMF page.
Bytes EveryOperationEmf() {
  TMetafile page;
  page.SetPixelWidth(800);
  page.SetPixelHeight(600);
  {
    TMetafileCanvas canvas(page);
    test::DrawEveryOperation(canvas);
    canvas.Release();
  }
  return page.Bytes();
}

Bytes ConvertMetafile(const std::string& source, int32_t resolution, int32_t bandRows, int jobs) {
  TempFolder out;
  TConversionOptions options;
  options.band_rows = bandRows;
  options.jobs = jobs;
  ConvertMetafileFile(source, out.File("page.bmp"), resolution, options);
  return ReadFileBytes(out.File("page.bmp"));
}

std::vector<Bytes> ConvertReport(const std::string& source, int32_t resolution, int32_t bandRows, int jobs) {
  TempFolder out;
  TConversionOptions options;
  options.band_rows = bandRows;
  options.jobs = jobs;
  ConvertReportFile(source, out.File("page.bmp"), resolution, options);
  std::vector<Bytes> files;
  for (const std::string& name : out.EntriesStartingWith("page")) files.push_back(ReadFileBytes(out.File(name)));
  return files;
}

// The 8-bit pixel at x, y (from the top) of a BMP file as the converter writes it.
uint8_t PixelOf(const Bytes& bmp, int32_t width, int32_t height, int32_t x, int32_t y) {
  const int32_t stride = (width + 3) & ~3;
  return bmp[1078 + size_t(height - 1 - y) * size_t(stride) + size_t(x)];
}

struct BandCase {
  int32_t resolution;
  int32_t band_rows;
  int jobs;
};

class BandedMetafile : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandedMetafile, BusyPageInBandsIsTheWholePageByteForByte) {
  const BandCase c = GetParam();
  TempFolder folder;
  WriteFileBytes(folder.File("busy.emf"), test::BusyPageEmf());
  const Bytes whole = ConvertMetafile(folder.File("busy.emf"), c.resolution, 0, 1);
  ASSERT_GT(whole.size(), 1078u);
  EXPECT_EQ(ConvertMetafile(folder.File("busy.emf"), c.resolution, c.band_rows, c.jobs), whole);
}

TEST_P(BandedMetafile, TextAndShapesInBandsAreTheWholePageByteForByte) {
  const BandCase c = GetParam();
  TempFolder folder;
  WriteFileBytes(folder.File("script.emf"), EveryOperationEmf());
  const Bytes whole = ConvertMetafile(folder.File("script.emf"), c.resolution, 0, 1);
  ASSERT_GT(whole.size(), 1078u);
  EXPECT_EQ(ConvertMetafile(folder.File("script.emf"), c.resolution, c.band_rows, c.jobs), whole);
}

// Odd band heights, one row, bands taller than the page; no resolution, the
// screen's, and scaled up by an odd factor.
INSTANTIATE_TEST_SUITE_P(Cases, BandedMetafile,
                         ::testing::Values(BandCase{96, 1, 1}, BandCase{96, 7, 2}, BandCase{0, 13, 1},
                                           BandCase{173, 29, 3}, BandCase{173, 64, 1}, BandCase{300, 97, 2},
                                           BandCase{300, 100000, 1}));

TEST(BandedMetafile, BusyPageHasItsDrawingWhereItWasPut) {
  TempFolder folder;
  WriteFileBytes(folder.File("busy.emf"), test::BusyPageEmf());
  // For a look at the page with other renderers.
  if (const char* dir = std::getenv("VXP_DUMP_EMF_DIR")) WriteFileBytes(std::string(dir) + "/busy.emf", test::BusyPageEmf());
  const Bytes banded = ConvertMetafile(folder.File("busy.emf"), 96, 11, 2);
  ASSERT_EQ(banded.size(), 1078u + 300u * 200u);
  EXPECT_EQ(PixelOf(banded, 300, 200, 0, 199), 255);  // white where nothing is drawn
  EXPECT_EQ(PixelOf(banded, 300, 200, 10, 10), 0);    // the black pen of the hatched rectangle
  // The gradient is dithered by page position: neighbours differ. These
  // values, and the image's, are the reference renderer's at the same points.
  EXPECT_EQ(PixelOf(banded, 300, 200, 30, 120), 1);
  EXPECT_EQ(PixelOf(banded, 300, 200, 31, 120), 135);
  EXPECT_EQ(PixelOf(banded, 300, 200, 60, 130), 5);
  EXPECT_EQ(PixelOf(banded, 300, 200, 61, 131), 164);
  EXPECT_EQ(PixelOf(banded, 300, 200, 150, 150), 181);
  EXPECT_EQ(PixelOf(banded, 300, 200, 200, 180), 122);
}

TEST(BandedReport, PagesInBandsAreTheWholePagesByteForByte) {
  const std::vector<Bytes> whole = ConvertReport(kDemoReport, 150, 0, 1);
  ASSERT_EQ(whole.size(), 3u);
  EXPECT_EQ(ConvertReport(kDemoReport, 150, 0, 2), whole);   // the two workers share each page
  EXPECT_EQ(ConvertReport(kDemoReport, 150, 0, 3), whole);
  EXPECT_EQ(ConvertReport(kDemoReport, 150, 41, 1), whole);
  EXPECT_EQ(ConvertReport(kDemoReport, 150, 333, 2), whole);
}

TEST(BandedReport, AnUncreatableFileGivesTheErrorOfTheWholePage) {
  TempFolder folder;
  WriteFileBytes(folder.File("busy.emf"), test::BusyPageEmf());
  const std::string destination = folder.File("missing/page.bmp");
  std::string wholeMessage;
  try {
    ConvertMetafile(folder.File("busy.emf"), 96, 0, 1);
    TConversionOptions options;
    ConvertMetafileFile(folder.File("busy.emf"), destination, 96, options);
  } catch (const EFCreateError& e) {
    wholeMessage = e.Message();
  }
  ASSERT_FALSE(wholeMessage.empty());
  TConversionOptions options;
  options.band_rows = 9;
  try {
    ConvertMetafileFile(folder.File("busy.emf"), destination, 96, options);
    FAIL() << "no error raised";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), wholeMessage);
  }
}

}  // namespace
}  // namespace vx
