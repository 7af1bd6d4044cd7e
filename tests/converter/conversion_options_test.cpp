// The two conversions with what the long options ask for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "converter/conversion_driver.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "storage/page_store_fixtures.h"
#include "support/emf_builder.h"
#include "support/png_decoder.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::StoreBytes;
using test::TempFolder;
using test::WriteFileBytes;

// Page n is n x 100 screen pixels wide and 31 or 32 high.
Bytes PageOfWidth(int n) { return test::EmfBuilder().Frame({0, 0, 3125 * n, 1000}).Build(); }

void WriteReport(const std::string& name, int pages) {
  std::vector<Bytes> emfs;
  for (int n = 1; n <= pages; ++n) emfs.push_back(PageOfWidth(n));
  WriteFileBytes(name, StoreBytes(emfs));
}

int32_t FieldAt(const Bytes& bytes, size_t offset) {
  return bytes.size() >= offset + 4 ? LoadI32(bytes.data() + offset) : -1;
}

TEST(ConvertWithOptions, PagesWritesOnlyTheSelectedPagesUnderTheirNumbers) {
  TempFolder folder;
  WriteReport(folder.File("report.vxp"), 6);
  TConversionOptions options;
  options.pages = {{5, 5}, {1, 2}};
  ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 0, options);
  EXPECT_EQ(folder.EntriesStartingWith("page"),
            (std::vector<std::string>{"page00001.bmp", "page00002.bmp", "page00005.bmp"}));
  EXPECT_EQ(FieldAt(ReadFileBytes(folder.File("page00005.bmp")), 18), 500);
}

TEST(ConvertWithOptions, APageBeyondTheLastWritesNothing) {
  TempFolder folder;
  WriteReport(folder.File("report.vxp"), 3);
  TConversionOptions options;
  options.pages = {{1, 1}, {4, 4}};
  EXPECT_THROW(ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 0, options), EOptionError);
  EXPECT_TRUE(folder.EntriesStartingWith("page").empty());
}

TEST(ConvertWithOptions, AMetafileIsOnePage) {
  TempFolder folder;
  WriteFileBytes(folder.File("pic.emf"), PageOfWidth(1));
  TConversionOptions options;
  options.pages = {{1, 1}};
  ConvertMetafileFile(folder.File("pic.emf"), folder.File("out.bmp"), 0, options);
  EXPECT_EQ(FieldAt(ReadFileBytes(folder.File("out.bmp")), 18), 100);
  options.pages = {{2, 2}};
  EXPECT_THROW(ConvertMetafileFile(folder.File("pic.emf"), folder.File("two.bmp"), 0, options), EOptionError);
  EXPECT_FALSE(std::filesystem::exists(folder.File("two.bmp")));
}

TEST(ConvertWithOptions, PngPagesEndInPngAndHoldTheBmpsPixels) {
  TempFolder folder;
  WriteReport(folder.File("report.vxp"), 2);
  TConversionOptions png;
  png.format = TOutputFormat::Png;
  ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 200, png);
  ConvertReportFile(folder.File("report.vxp"), folder.File("page.bmp"), 200);
  EXPECT_EQ(folder.EntriesStartingWith("page"), (std::vector<std::string>{"page00001.bmp", "page00001.png",
                                                                          "page00002.bmp", "page00002.png"}));
  for (const char* n : {"page00001", "page00002"}) {
    TBitmap bmp;
    bmp.ReadFromFile(folder.File(std::string(n) + ".bmp"));
    const auto decoded = test::DecodePng(ReadFileBytes(folder.File(std::string(n) + ".png")));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(int32_t(decoded->width), bmp.PixelWidth());
    ASSERT_EQ(int32_t(decoded->height), bmp.PixelHeight());
    for (int32_t y = 0; y < bmp.PixelHeight(); ++y)
      for (int32_t x = 0; x < bmp.PixelWidth(); ++x) ASSERT_EQ(decoded->At(x, y), bmp.PixelIndex(x, y));
    EXPECT_EQ(int32_t(decoded->x_ppu), bmp.HeldHeader().x_pels_per_meter);
  }
}

TEST(ConvertWithOptions, AMetafileDestinationKeepsItsNameInPng) {
  TempFolder folder;
  WriteFileBytes(folder.File("pic.emf"), PageOfWidth(1));
  TConversionOptions png;
  png.format = TOutputFormat::Png;
  ConvertMetafileFile(folder.File("pic.emf"), folder.File("out.bmp"), 96, png);
  EXPECT_TRUE(test::DecodePng(ReadFileBytes(folder.File("out.bmp"))));
}

TEST(ConvertWithOptions, AWidthSetsTheSizeAndTheEffectiveResolution) {
  TempFolder folder;
  WriteFileBytes(folder.File("pic.emf"), PageOfWidth(2));  // 200 screen pixels wide
  const Bytes plain = [&] {
    ConvertMetafileFile(folder.File("pic.emf"), folder.File("plain.bmp"), 0);
    return ReadFileBytes(folder.File("plain.bmp"));
  }();
  TConversionOptions options;
  options.width = 400;
  ConvertMetafileFile(folder.File("pic.emf"), folder.File("wide.bmp"), 300, options);  // -D gives way
  const Bytes wide = ReadFileBytes(folder.File("wide.bmp"));
  EXPECT_EQ(FieldAt(wide, 18), 400);
  EXPECT_EQ(FieldAt(wide, 22), 2 * FieldAt(plain, 22));
  // Twice the screen's 96 pixels per inch: 192 dots per inch, 7559 pixels per metre.
  EXPECT_EQ(FieldAt(wide, 38), 7559);
  EXPECT_EQ(FieldAt(wide, 42), 7559);
}

TEST(PixelSize, TheMissingSideFollowsTheAspect) {
  EXPECT_EQ(PixelSizeFor(200, 100, 50, 0).height, 25);
  EXPECT_EQ(PixelSizeFor(200, 100, 0, 50).width, 100);
  // Halves go to the even neighbour: 3 x 1 at width 3 / 2 ...
  EXPECT_EQ(PixelSizeFor(4, 1, 2, 0).height, 0);   // 0.5 -> 0
  EXPECT_EQ(PixelSizeFor(4, 3, 2, 0).height, 2);   // 1.5 -> 2
  EXPECT_EQ(PixelSizeFor(4, 5, 2, 0).height, 2);   // 2.5 -> 2
  EXPECT_EQ(PixelSizeFor(3, 1, 5, 0).height, 2);   // 1.67 -> 2
  const TPixelSize both = PixelSizeFor(200, 100, 30, 70);
  EXPECT_EQ(both.width, 30);
  EXPECT_EQ(both.height, 70);
  const TPixelSize empty = PixelSizeFor(0, 100, 30, 0);
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, 0);
  EXPECT_THROW(PixelSizeFor(1, 2147483647, 2, 0), EOutOfResources);
}

TEST(PixelSize, EffectiveResolutionInPixelsPerMetre) {
  EXPECT_EQ(EffectivePixelsPerMeter(100, 100, 96), 3780);
  EXPECT_EQ(EffectivePixelsPerMeter(300, 96, 96), 11811);
  EXPECT_EQ(EffectivePixelsPerMeter(10, 0, 96), 0);
}

TEST(PixelSize, BothSidesStretchAndRecordTheirOwnResolution) {
  TempFolder folder;
  WriteFileBytes(folder.File("pic.emf"), PageOfWidth(1));  // 100 x 31 or 32
  TConversionOptions options;
  options.width = 200;
  options.height = 10;
  ConvertMetafileFile(folder.File("pic.emf"), folder.File("s.bmp"), 0, options);
  const Bytes bytes = ReadFileBytes(folder.File("s.bmp"));
  EXPECT_EQ(FieldAt(bytes, 18), 200);
  EXPECT_EQ(FieldAt(bytes, 22), 10);
  EXPECT_EQ(FieldAt(bytes, 38), 7559);
  EXPECT_LT(FieldAt(bytes, 42), 1300);
}

}  // namespace
}  // namespace vx
