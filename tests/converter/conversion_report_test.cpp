// The diagnostics of --verbose and --progress.
#include <gtest/gtest.h>

#include <string>

#include "converter/conversion_report.h"
#include "converter/page_output.h"
#include "graphics/metafile.h"
#include "storage/page_store_fixtures.h"
#include "support/emf_builder.h"
#include "support/wmf_test_data.h"

namespace vx {
namespace {

using test::Bytes;

using gdi::EmfRecord;  // kGlsRecord has no handler: the playback skips it

TEST(PageDiagnostics, ListSizeTimeNotesFontsAndEmfPlus) {
  TPageDiagnostics page;
  page.page = 3;
  page.file = "/out/p00003.bmp";
  page.width = 2481;
  page.height = 3508;
  page.seconds = 0.1234;
  page.notes = {{"skipped EMR_GLSRECORD", 2}};
  page.fonts = {{"Arial", true, false, "Liberation Sans", "LiberationSans-Bold.ttf"},
                {"Nowhere", false, true, "", ""}};
  page.emf_plus_records = 12;
  page.emf_plus_dual = true;
  EXPECT_EQ(FormatPageDiagnostics(page),
            "page 3: /out/p00003.bmp: 2481 x 3508 pixels, 123 ms\n"
            "  skipped EMR_GLSRECORD (2x)\n"
            "  font \"Arial\" bold -> Liberation Sans (LiberationSans-Bold.ttf)\n"
            "  font \"Nowhere\" italic -> no installed font\n"
            "  EMF+ content not drawn: 12 comment records; the EMF records of the same picture were drawn\n");
  page.page = 0;
  page.notes.clear();
  page.fonts.clear();
  page.emf_plus_records = 0;
  EXPECT_EQ(FormatPageDiagnostics(page), "/out/p00003.bmp: 2481 x 3508 pixels, 123 ms\n");
}

TEST(ConversionReporter, ProgressRewritesOneLineAndEndsIt) {
  std::string text;
  TConversionOptions options;
  options.progress = true;
  {
    TConversionReporter reporter(options, 3, [&text](std::string_view t) { text += t; });
    for (int i = 0; i < 3; ++i) reporter.PageDone({});
    reporter.Finish();
    reporter.Finish();
  }
  EXPECT_EQ(text, "\r1/3 pages\r2/3 pages\r3/3 pages\n");
}

TEST(ConversionReporter, AnOpenProgressLineEndsWhenTheConversionFails) {
  std::string text;
  TConversionOptions options;
  options.progress = true;
  {
    TConversionReporter reporter(options, 2, [&text](std::string_view t) { text += t; });
    reporter.PageDone({});
  }
  EXPECT_EQ(text, "\r1/2 pages\n");
}

TEST(ConversionReporter, SilentWithoutTheOptions) {
  std::string text;
  TConversionReporter reporter({}, 3, [&text](std::string_view t) { text += t; });
  EXPECT_TRUE(reporter.Silent());
  reporter.PageDone({});
  reporter.Finish();
  EXPECT_EQ(text, "");
}

// A font record for the face, weight 700.
Bytes FontRecord(const std::u16string& face) {
  Bytes p(4 + 28 + 64, 0);
  p[0] = 1;                           // handle index
  p[4] = 0xF0, p[5] = 0xFF, p[6] = 0xFF, p[7] = 0xFF;  // height -16
  p[20] = 0xBC, p[21] = 0x02;         // weight 700
  for (size_t i = 0; i < face.size(); ++i) p[32 + 2 * i] = uint8_t(face[i]);
  return p;
}

// A comment carrying an EMF+ header record with the dual flag.
Bytes EmfPlusHeaderComment() {
  Bytes p = {28, 0, 0, 0, 'E', 'M', 'F', '+', 0x01, 0x40, 0x01, 0x00, 28, 0, 0, 0, 16, 0, 0, 0};
  p.resize(4 + 28, 0);
  return p;
}

TEST(RenderPageFile, VerboseTellsSkippedRecordsFontsAndEmfPlus) {
  const Bytes emf = test::EmfBuilder()
                        .Handles(2)
                        .Record(EmfRecord::kGdiComment, EmfPlusHeaderComment())
                        .Record(EmfRecord::kGdiComment, EmfPlusHeaderComment())
                        .Record(EmfRecord::kExtCreateFontIndirectW, FontRecord(u"Times New Roman"))
                        .Record(EmfRecord::kGlsRecord, {0, 0, 0, 0})
                        .Record(EmfRecord::kGlsRecord, {0, 0, 0, 0})
                        .Build();
  const auto metafile = test::MetafileFrom(emf);
  test::TempFolder folder;
  std::string text;
  TConversionOptions options;
  options.verbose = true;
  TConversionReporter reporter(options, 1, [&text](std::string_view t) { text += t; });
  RenderPageFile(*metafile, folder.File("p.bmp"), 4, 96, options, reporter);
  // At 96 dots per inch the page has the metafile's screen-pixel size.
  const std::string size = std::to_string(metafile->PixelWidth()) + " x " + std::to_string(metafile->PixelHeight());
  EXPECT_EQ(text.rfind("page 4: " + folder.File("p.bmp") + ": " + size + " pixels, ", 0), 0u) << text;
  EXPECT_NE(text.find("\n  skipped EMR_GLSRECORD (2x)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n  font \"Times New Roman\" bold -> Liberation Serif (LiberationSerif-Bold.ttf)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\n  EMF+ content not drawn: 2 comment records; the EMF records of the same picture were drawn\n"),
            std::string::npos)
      << text;
  EXPECT_FALSE(test::ReadFileBytes(folder.File("p.bmp")).empty());
}

// A Windows metafile's dropped records come first, counted per file, then what
// the playback of its enhanced form passed over.
TEST(RenderPageFile, VerboseTellsTheWindowsMetafileRecordsDroppedAndTheNoOps) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0})                          // META_SETRELABS: no enhanced form
      .Record(0x0105, {0})
      .Record(gdi::wmf::kCreateRegion, {0, 0, 0})  // a region cut short: not converted
      .Record(gdi::wmf::kRealizePalette, {})       // converted; played as a no-op
      .Record(0x0105, {0});
  const auto metafile = test::MetafileFrom(b.Placeable(0, 0, 100, 100, 96));
  test::TempFolder folder;
  std::string text;
  TConversionOptions options;
  options.verbose = true;
  TConversionReporter reporter(options, 1, [&text](std::string_view t) { text += t; });
  RenderPageFile(*metafile, folder.File("w.bmp"), 0, 96, options, reporter);
  const size_t firstLineEnd = text.find('\n');
  ASSERT_NE(firstLineEnd, std::string::npos) << text;
  EXPECT_EQ(text.substr(firstLineEnd + 1),
            "  skipped META_SETRELABS (3x)\n"
            "  META_CREATEREGION is too short; skipped (1x)\n"
            "  EMR_REALIZEPALETTE played as a no-op (1x)\n")
      << text;
}

TEST(RenderPageFile, VerboseNamesEnhancedRecordsPlayedAsNoOpsButNotComments) {
  const auto metafile = test::MetafileFrom(test::EmfBuilder()
                                               .Record(EmfRecord::kSetMiterLimit, {0, 0, 0x20, 0x41})
                                               .Record(EmfRecord::kGdiComment, {0, 0, 0, 0})
                                               .Record(EmfRecord::kSetMiterLimit, {0, 0, 0x20, 0x41})
                                               .Record(EmfRecord::kSetBrushOrgEx, {0, 0, 0, 0, 0, 0, 0, 0})
                                               .Build());
  test::TempFolder folder;
  std::string text;
  TConversionOptions options;
  options.verbose = true;
  TConversionReporter reporter(options, 1, [&text](std::string_view t) { text += t; });
  RenderPageFile(*metafile, folder.File("e.bmp"), 0, 96, options, reporter);
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "  EMR_SETMITERLIMIT played as a no-op (2x)\n"
            "  EMR_SETBRUSHORGEX played as a no-op (1x)\n")
      << text;
}

TEST(RenderPageFile, VerboseWritesTheSameFileAsWithoutIt) {
  const auto metafile = test::MetafileFrom(test::EmfBuilder().Record(EmfRecord::kGlsRecord, {0, 0, 0, 0}).Build());
  test::TempFolder folder;
  TConversionOptions verbose;
  verbose.verbose = true;
  TConversionReporter loud(verbose, 1, [](std::string_view) {});
  TConversionReporter quiet({}, 1, [](std::string_view) {});
  RenderPageFile(*metafile, folder.File("a.bmp"), 1, 150, verbose, loud);
  RenderPageFile(*metafile, folder.File("b.bmp"), 1, 150, {}, quiet);
  EXPECT_EQ(test::ReadFileBytes(folder.File("a.bmp")), test::ReadFileBytes(folder.File("b.bmp")));
}

}  // namespace
}  // namespace vx
