#include "document/vx_printer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "document/support/report_files.h"
#include "document/support/test_printer.h"

namespace vx {
namespace {

using test::doc::Bytes;
using test::doc::FullFeaturedPrinter;
using test::doc::PageOfPixels;
using test::doc::ScratchFolder;
using test::doc::TTestPrinterConfig;
using test::doc::TTestPrinterSource;
using test::doc::WriteReportFile;

class TestOwner : public TVXReportOwner {
public:
  const TVXPrinterSettings& PrinterSettings() const override { return settings; }
  TVXPrinterSettings settings;
};

// A printer that supports exactly the given paper sizes (and every field).
TTestPrinterConfig PrinterSupporting(std::initializer_list<TVXPaperSize> papers) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  std::vector<uint16_t> codes;
  for (const TVXPaperSize paper : papers) codes.push_back(static_cast<uint16_t>(PaperCodeMap[Ord(paper)]));
  config.paper_codes = codes;
  return config;
}

template <typename F>
void ExpectError(F&& action, const char* className, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error raised";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), className);
    EXPECT_EQ(e.Message(), message);
  }
}

// --- Creation ---

TEST(VXPrinterCreate, WithoutOwnerOnASystemWithoutPrinters) {
  TVXPrinter printer(nullptr);
  EXPECT_FALSE(printer.PrintersAvailable());
  EXPECT_EQ(printer.OwnerReport(), nullptr);
  EXPECT_FALSE(printer.UseStandardprinter());
  EXPECT_EQ(printer.DocState(), dsNone);
  EXPECT_EQ(printer.Target(), tgPageList);
  EXPECT_EQ(printer.PageTotal(), 0);
  EXPECT_EQ(printer.CurrentPage(), 0);
  EXPECT_EQ(printer.XFactor(), 0.37795L);
  EXPECT_EQ(printer.YFactor(), 0.37795L);
  EXPECT_EQ(printer.OffsetLeft(), 0);
  EXPECT_EQ(printer.OffsetTop(), 0);
  EXPECT_FALSE(printer.LoadedFromFile());
  EXPECT_EQ(printer.PageStream(), nullptr);
  EXPECT_EQ(printer.PageList().StoredPages(), 0);
  EXPECT_FALSE(printer.PageList().Compressed());
  EXPECT_EQ(printer.Settings().PlatformPrinter(), nullptr);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(printer.Orientation(), poPortrait);
  EXPECT_EQ(printer.Settings().MemoryLimit(), 250000);
}

TEST(VXPrinterCreate, WithoutOwnerUsesAPrivatePlatformPrinter) {
  TTestPrinterSource source(FullFeaturedPrinter());
  TVXPrinter printer(nullptr, source);
  EXPECT_EQ(source.PrivatesCreated(), 1);
  EXPECT_EQ(&printer.PlatformPrinter(), source.LastPrivate());
  EXPECT_EQ(printer.Settings().PlatformPrinter(), source.LastPrivate());
}

TEST(VXPrinterCreate, OwnerGivesOnlyStandardPrinterAndMemoryLimit) {
  TTestPrinterSource source(FullFeaturedPrinter());
  TestOwner owner;
  owner.settings.UseStandardprinter = true;
  owner.settings.MemoryLimit = 1234;
  owner.settings.Copies = 7;
  owner.settings.PaperSize = TVXPaperSize::Legal;
  TVXPrinter printer(&owner, source);
  EXPECT_EQ(printer.OwnerReport(), &owner);
  EXPECT_TRUE(printer.UseStandardprinter());
  EXPECT_EQ(printer.Settings().MemoryLimit(), 1234);
  EXPECT_EQ(printer.Settings().Copies(), 1);  // read from the printer, not the owner
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(&printer.PlatformPrinter(), &source.SharedPrinter());
  EXPECT_EQ(source.PrivatesCreated(), 0);
}

TEST(VXPrinterCreate, OwnerWithoutStandardPrinterGetsAPrivateOne) {
  TTestPrinterSource source(FullFeaturedPrinter());
  TestOwner owner;
  TVXPrinter printer(&owner, source);
  EXPECT_EQ(source.PrivatesCreated(), 1);
  EXPECT_EQ(&printer.PlatformPrinter(), source.LastPrivate());
}

TEST(VXPrinterCreate, ReadsTheSettingsAndTakesTheMarginsAsOffsets) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.log_pixels_x = config.log_pixels_y = 600;
  config.physical_offset_x = 100;  // 42.3 -> 42
  config.physical_offset_y = 130;  // 55.03 -> 55
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  EXPECT_TRUE(printer.PrintersAvailable());
  EXPECT_EQ(printer.Settings().ResolutionX(), 600);
  EXPECT_EQ(printer.OffsetLeft(), 42);
  EXPECT_EQ(printer.OffsetTop(), 55);
}

TEST(VXPrinterCreate, PrintersAvailableFollowsTheSharedObject) {
  TTestPrinterSource source(FullFeaturedPrinter());
  source.SharedPrinter().Config().printers.clear();
  TVXPrinter printer(nullptr, source);
  EXPECT_FALSE(printer.PrintersAvailable());
  EXPECT_EQ(printer.Settings().PlatformPrinter(), nullptr);  // not attached
  EXPECT_EQ(printer.Settings().ResolutionX(), 0);
}

TEST(VXPrinterCreate, FailsWhenPrintersHaveNoDefault) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.default_index = -1;
  TTestPrinterSource source(config);
  ExpectError([&] { TVXPrinter printer(nullptr, source); }, "EPrinter",
              "There is no default printer currently selected");
  EXPECT_EQ(source.PrivatesDestroyed(), 1);
}

TEST(VXPrinterDestroy, ReleasesThePrivatePrinterButNeverTheSharedOne) {
  TTestPrinterSource source(FullFeaturedPrinter());
  { TVXPrinter printer(nullptr, source); }
  EXPECT_EQ(source.PrivatesDestroyed(), 1);
  TestOwner owner;
  owner.settings.UseStandardprinter = true;
  { TVXPrinter printer(&owner, source); }
  EXPECT_EQ(source.PrivatesDestroyed(), 1);
  EXPECT_EQ(source.SharedPrinter().Printers().size(), 1u);  // still usable
}

// --- Loading ---

class VXPrinterLoad : public testing::Test {
protected:
  std::string Report(const std::string& name, const std::vector<Bytes>& pages) {
    const std::string path = folder_.File(name);
    WriteReportFile(path, pages);
    return path;
  }
  std::string ReportOfPage(int32_t width, int32_t height) {
    return Report("page.vxp", {PageOfPixels(width, height)});
  }
  ScratchFolder folder_;
};

TEST_F(VXPrinterLoad, CompletesTheDocument) {
  const std::string path = Report("three.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60), PageOfPixels(300, 70)});
  SetSavedReportLoaded(false);
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PageTotal(), 3);
  EXPECT_EQ(printer.DocState(), dsComplete);
  EXPECT_TRUE(printer.LoadedFromFile());
  EXPECT_TRUE(SavedReportLoaded());
  EXPECT_EQ(printer.XFactor(), 96.0L / 254);
  EXPECT_EQ(printer.YFactor(), 96.0L / 254);
  EXPECT_NE(printer.PageStream(), nullptr);
  EXPECT_EQ(printer.PageStream(), printer.PageList().DataStream());
  EXPECT_FALSE(printer.PageList().Compressed());
}

TEST_F(VXPrinterLoad, ClearsTheExportRequestHandler) {
  const std::string path = ReportOfPage(100, 100);
  TVXPrinter printer(nullptr);
  printer.SetOnExportRequest([](TVXExportFilter&) {});
  printer.LoadReportFile(path);
  EXPECT_FALSE(printer.OnExportRequest());
}

TEST_F(VXPrinterLoad, HandsOutPagesByNumber) {
  const std::string path = Report("three.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60), PageOfPixels(300, 70)});
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(path);
  for (int32_t n : {3, 1, 2, 2}) {
    const auto page = printer.PageMetafile(n);
    ASSERT_NE(page, nullptr) << n;
    EXPECT_EQ(page->PixelWidth(), 100 * n);
    EXPECT_EQ(page->PixelHeight(), 40 + 10 * n);
  }
}

TEST_F(VXPrinterLoad, PagesOutsideTheDocumentAreNone) {
  const std::string path = Report("two.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60)});
  TVXPrinter printer(nullptr);
  EXPECT_EQ(printer.PageMetafile(1), nullptr);  // dsNone
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PageMetafile(0), nullptr);
  EXPECT_EQ(printer.PageMetafile(-1), nullptr);
  EXPECT_EQ(printer.PageMetafile(3), nullptr);
  EXPECT_NE(printer.PageMetafile(2), nullptr);
  printer.DiscardDocument();
  EXPECT_EQ(printer.PageMetafile(1), nullptr);
}

TEST_F(VXPrinterLoad, WithoutPrintersTheReportIsA4Portrait) {
  const std::string path = ReportOfPage(1056, 816);  // US letter, landscape
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(printer.Orientation(), poPortrait);
}

struct InferenceCase {
  const char* name;
  int32_t width;
  int32_t height;
  std::vector<TVXPaperSize> supported;
  TVXPaperSize paper;
  TPrinterOrientation orientation;
};

class PaperInference : public testing::TestWithParam<InferenceCase> {};

TEST_P(PaperInference, TakesTheLastAcceptedRequest) {
  const InferenceCase& c = GetParam();
  ScratchFolder folder;
  const std::string path = folder.File("page.vxp");
  WriteReportFile(path, {PageOfPixels(c.width, c.height)});
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmPaperSize = 1;  // reads as Letter
  config.paper_codes = std::vector<uint16_t>{};
  for (const TVXPaperSize paper : c.supported)
    config.paper_codes->push_back(static_cast<uint16_t>(PaperCodeMap[Ord(paper)]));
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PaperSize(), c.paper);
  EXPECT_EQ(printer.Orientation(), c.orientation);
}

using P = TVXPaperSize;
INSTANTIATE_TEST_SUITE_P(
    VXPrinterLoad, PaperInference,
    testing::Values(
        InferenceCase{"LetterAsNote", 816, 1056, {P::Letter, P::LetterSmall, P::Note}, P::Note, poPortrait},
        InferenceCase{"LetterAsLetterSmall", 816, 1056, {P::Letter, P::LetterSmall}, P::LetterSmall, poPortrait},
        InferenceCase{"LetterAsLetter", 816, 1056, {P::Letter}, P::Letter, poPortrait},
        InferenceCase{"LetterLandscapeAsNote", 1056, 816, {P::Letter, P::LetterSmall, P::Note}, P::Note,
                      poLandscape},
        InferenceCase{"LetterLandscape", 1056, 816, {P::Letter}, P::Letter, poLandscape},
        InferenceCase{"A4AsA4Small", 794, 1123, {P::A4, P::A4Small}, P::A4Small, poPortrait},
        InferenceCase{"A4", 794, 1123, {P::A4}, P::A4, poPortrait},
        InferenceCase{"A4Landscape", 1123, 794, {P::A4}, P::A4, poLandscape},
        InferenceCase{"ElevenBySeventeen", 1056, 1632, {P::Tabloid, P::Ledger, P::vx11X17}, P::vx11X17, poPortrait},
        // The refused vx11X17 still turns the Ledger request back to portrait.
        InferenceCase{"ElevenBySeventeenWithoutItsSize", 1056, 1632, {P::Tabloid, P::Ledger}, P::Ledger,
                      poPortrait},
        InferenceCase{"UnsupportedSizeKeepsThePrinterPaper", 816, 1056, {P::A4}, P::Letter, poPortrait},
        InferenceCase{"NoMatch", 100, 100, {P::Letter, P::A4}, P::Letter, poPortrait},
        InferenceCase{"ESheet", 3264, 4224, {P::ESheet}, P::ESheet, poPortrait}),
    [](const testing::TestParamInfo<InferenceCase>& param) { return std::string(param.param.name); });

TEST_F(VXPrinterLoad, NoMatchKeepsPaperAndOrientationAsTheyWere) {
  const std::string path = ReportOfPage(100, 100);
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmPaperSize = 5;  // Legal
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  printer.SetOrientation(poLandscape);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::Legal);
  EXPECT_EQ(printer.Orientation(), poLandscape);
}

TEST_F(VXPrinterLoad, OrientationNeedsTheOrientationField) {
  const std::string path = ReportOfPage(1056, 816);
  TTestPrinterConfig config = PrinterSupporting({TVXPaperSize::Letter});
  config.devmode.dmFields &= ~DM_ORIENTATION;
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::Letter);
  EXPECT_EQ(printer.Orientation(), poPortrait);
}

TEST_F(VXPrinterLoad, OnlyTheFirstPageDecidesThePaper) {
  const std::string path = Report("mixed.vxp", {PageOfPixels(100, 100), PageOfPixels(816, 1056)});
  TTestPrinterSource source(PrinterSupporting({TVXPaperSize::Letter}));
  TVXPrinter printer(nullptr, source);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::A4);  // as read from the printer
}

TEST_F(VXPrinterLoad, ASecondFileReplacesTheFirst) {
  const std::string first = Report("first.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60)});
  const std::string second = Report("second.vxp", {PageOfPixels(300, 70)});
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(first);
  ASSERT_TRUE(test::doc::ProcessHasFileOpen(first));
  printer.LoadReportFile(second);
  EXPECT_FALSE(test::doc::ProcessHasFileOpen(first));
  EXPECT_TRUE(test::doc::ProcessHasFileOpen(second));
  EXPECT_EQ(printer.PageTotal(), 1);
  EXPECT_EQ(printer.PageMetafile(2), nullptr);
  ASSERT_NE(printer.PageMetafile(1), nullptr);
  EXPECT_EQ(printer.PageMetafile(1)->PixelWidth(), 300);
}

TEST_F(VXPrinterLoad, TheFirstFileIsReleasedBeforeTheSecondIsOpened) {
  const std::string first = Report("first.vxp", {PageOfPixels(100, 50)});
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(first);
  EXPECT_THROW(printer.LoadReportFile(folder_.File("missing.vxp")), EFOpenError);
  EXPECT_FALSE(test::doc::ProcessHasFileOpen(first));
  EXPECT_EQ(printer.DocState(), dsNone);
  EXPECT_EQ(printer.PageMetafile(1), nullptr);
}

TEST_F(VXPrinterLoad, MissingFileLeavesNoDocument) {
  const std::string path = folder_.File("missing.vxp");
  TVXPrinter printer(nullptr);
  ExpectError([&] { printer.LoadReportFile(path); }, "EFOpenError",
              "Cannot open file \"" + path + "\". No such file or directory");
  EXPECT_EQ(printer.DocState(), dsNone);
  EXPECT_EQ(printer.PageTotal(), 0);
  EXPECT_FALSE(printer.LoadedFromFile());
}

TEST_F(VXPrinterLoad, HeaderOnlyFileFailsWithAReadError) {
  const std::string path = folder_.File("empty.vxp");
  test::doc::WriteBytes(path, Bytes(128, 0));
  TVXPrinter printer(nullptr);
  ExpectError([&] { printer.LoadReportFile(path); }, "EReadError", "Stream read error");
  EXPECT_EQ(printer.DocState(), dsNone);
}

TEST_F(VXPrinterLoad, DamagedFirstPageFailsAfterThePageCount) {
  const std::string path = Report("damaged.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60)});
  Bytes bytes = test::doc::ReadBytes(path);
  bytes[128 + 8] = 0x77;  // the first page's record type
  test::doc::WriteBytes(path, bytes);
  TVXPrinter printer(nullptr);
  ExpectError([&] { printer.LoadReportFile(path); }, "EInvalidGraphic", "Metafile is not valid");
  EXPECT_EQ(printer.DocState(), dsNone);
  EXPECT_EQ(printer.PageTotal(), 2);
  EXPECT_EQ(printer.PageMetafile(2), nullptr);
  EXPECT_FALSE(printer.LoadedFromFile());
}

TEST_F(VXPrinterLoad, DamagedLastPageFails) {
  const std::string path = Report("damaged.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60)});
  Bytes bytes = test::doc::ReadBytes(path);
  const size_t lastRecord = bytes[bytes.size() - 4] | (bytes[bytes.size() - 3] << 8);
  bytes[lastRecord + 8] = 0x77;
  test::doc::WriteBytes(path, bytes);
  TVXPrinter printer(nullptr);
  ExpectError([&] { printer.LoadReportFile(path); }, "EInvalidGraphic", "Metafile is not valid");
  EXPECT_EQ(printer.DocState(), dsNone);
}

TEST_F(VXPrinterLoad, ZeroPageHeaderGivesACompleteEmptyDocument) {
  const std::string path = ReportOfPage(816, 1056);
  Bytes bytes = test::doc::ReadBytes(path);
  bytes[8] = 0;  // page total 0
  test::doc::WriteBytes(path, bytes);
  TTestPrinterSource source(PrinterSupporting({TVXPaperSize::Letter}));
  TVXPrinter printer(nullptr, source);
  printer.LoadReportFile(path);
  EXPECT_EQ(printer.PageTotal(), 0);
  EXPECT_EQ(printer.DocState(), dsComplete);
  EXPECT_EQ(printer.PageMetafile(1), nullptr);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::A4);  // no inference
}

TEST_F(VXPrinterLoad, DiscardDocumentDropsTheStreamAndThePages) {
  const std::string path = ReportOfPage(100, 100);
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(path);
  printer.DiscardDocument();
  EXPECT_EQ(printer.DocState(), dsNone);
  EXPECT_EQ(printer.PageStream(), nullptr);
  EXPECT_EQ(printer.PageList().DataStream(), nullptr);
  EXPECT_EQ(printer.PageList().StoredPages(), 0);
  EXPECT_FALSE(printer.CancelRequested());  // nothing was being recorded
  EXPECT_FALSE(test::doc::ProcessHasFileOpen(path));
}

TEST_F(VXPrinterLoad, DestructionClosesTheFile) {
  const std::string path = ReportOfPage(100, 100);
  {
    TVXPrinter printer(nullptr);
    printer.LoadReportFile(path);
    ASSERT_TRUE(test::doc::ProcessHasFileOpen(path));
  }
  EXPECT_FALSE(test::doc::ProcessHasFileOpen(path));
}

TEST_F(VXPrinterLoad, SaveCopiesTheLoadedFile) {
  const std::string path = Report("two.vxp", {PageOfPixels(100, 50), PageOfPixels(200, 60)});
  const std::string copy = folder_.File("copy.vxp");
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(path);
  printer.SaveReportFile(copy);
  EXPECT_EQ(test::doc::ReadBytes(copy), test::doc::ReadBytes(path));
}

TEST_F(VXPrinterLoad, SaveWithoutADocumentCreatesNothing) {
  const std::string copy = folder_.File("copy.vxp");
  TVXPrinter printer(nullptr);
  printer.SaveReportFile(copy);
  EXPECT_FALSE(std::filesystem::exists(copy));
  const std::string path = ReportOfPage(100, 100);
  printer.LoadReportFile(path);
  printer.DiscardDocument();
  printer.SaveReportFile(copy);
  EXPECT_FALSE(std::filesystem::exists(copy));
}

// --- Geometry ---

TEST(VXPrinterGeometry, OrientedSizeFollowsTheOrientation) {
  TTestPrinterSource source(FullFeaturedPrinter());  // A4
  TVXPrinter printer(nullptr, source);
  EXPECT_EQ(printer.OrientedWidth(), 2100);
  EXPECT_EQ(printer.OrientedHeight(), 2970);
  printer.SetOrientation(poLandscape);
  EXPECT_EQ(printer.OrientedWidth(), 2970);
  EXPECT_EQ(printer.OrientedHeight(), 2100);
}

TEST(VXPrinterGeometry, DefaultFactorConvertsReportUnits) {
  TVXPrinter printer(nullptr);
  EXPECT_EQ(printer.ToDeviceWidth(2100), 794);   // 793.695
  EXPECT_EQ(printer.ToDeviceHeight(2970), 1123);  // 1122.5115
  EXPECT_EQ(printer.ToDeviceX(100), 38);          // 37.795
  EXPECT_EQ(printer.ToDeviceY(-100), -38);
}

TEST(VXPrinterGeometry, PositionsSubtractTheUnprintableMargins) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.log_pixels_x = config.log_pixels_y = 254;
  config.physical_offset_x = 10;  // 10 x 0.1 mm
  config.physical_offset_y = 20;
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  EXPECT_EQ(printer.ToDeviceX(110), 38);   // (110 - 10) x 0.37795
  EXPECT_EQ(printer.ToDeviceY(120), 38);   // (120 - 20) x 0.37795
  EXPECT_EQ(printer.ToDeviceWidth(110), 42);
  EXPECT_EQ(printer.ToDeviceHeight(120), 45);
}

TEST(VXPrinterGeometry, HugeValuesSaturate) {
  TVXPrinter printer(nullptr);
  EXPECT_EQ(printer.ToDeviceWidth(1e30L), INT32_MAX);
  EXPECT_EQ(printer.ToDeviceX(-1e30L), INT32_MIN);
}

// --- Printer selection ---

TEST(VXPrinterSelect, ReadsTheDriverDefaultsOfTheSelectedPrinter) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.printers = {"Office", "Lab"};
  TTestPrinterSource source(config);
  TVXPrinter printer(nullptr, source);
  test::doc::TTestPrinter& platform = *source.LastPrivate();
  platform.CurrentDevMode().dmCopies = 9;  // a changed record of the old selection
  printer.SelectPrinter(1);
  EXPECT_EQ(printer.Settings().DeviceName(), "Lab");
  ASSERT_TRUE(platform.LastSetPrinter().has_value());
  EXPECT_EQ(platform.LastSetPrinter()->device, "Lab");
  EXPECT_EQ(platform.LastSetPrinter()->devmode, nullptr);
  EXPECT_EQ(printer.Settings().Copies(), 1);  // the driver's default
}

TEST(VXPrinterSelect, BadIndexRaisesThePlatformError) {
  TTestPrinterSource source(FullFeaturedPrinter());
  TVXPrinter printer(nullptr, source);
  ExpectError([&] { printer.SelectPrinter(5); }, "EPrinter", "Printer index out of range");
}

TEST(VXPrinterSelect, IgnoredWithTheStandardPrinterOrWithoutPrinters) {
  TTestPrinterSource source(FullFeaturedPrinter());
  TestOwner owner;
  owner.settings.UseStandardprinter = true;
  TVXPrinter shared(&owner, source);
  shared.SelectPrinter(5);
  EXPECT_EQ(source.SharedPrinter().SetPrinterCalls(), 0);

  TVXPrinter none(nullptr);
  none.SelectPrinter(5);
  EXPECT_EQ(none.DocState(), dsNone);
}

TEST(VXPrinterSettingsForwarders, ReachTheSettings) {
  TTestPrinterSource source(PrinterSupporting({TVXPaperSize::Legal}));
  TVXPrinter printer(nullptr, source);
  printer.SetPaperSize(TVXPaperSize::Legal);
  printer.SetSheetWidth(11);
  printer.SetCustomPaperCode(300);
  printer.SetPrintMetaFile(true);
  printer.SetCompressed(true);
  EXPECT_EQ(printer.PaperSize(), TVXPaperSize::Legal);
  EXPECT_EQ(printer.EffectiveWidth(), 2159);
  EXPECT_EQ(printer.EffectiveLength(), 3556);
  EXPECT_EQ(printer.Settings().SheetWidth(), 11);
  EXPECT_EQ(printer.Settings().CustomPaperCode(), 300);
  EXPECT_TRUE(printer.PrintMetaFile());
  EXPECT_TRUE(printer.PageList().Compressed());
}

}  // namespace
}  // namespace vx
