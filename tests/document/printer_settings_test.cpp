#include "document/printer_settings.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "document/support/test_printer.h"

namespace vx {
namespace {

using test::doc::FullFeaturedPrinter;
using test::doc::MakeDevMode;
using test::doc::TTestPrinter;
using test::doc::TTestPrinterConfig;

// Settings attached to (and so read from) a test printer.
struct AttachedSettings {
  explicit AttachedSettings(TTestPrinterConfig config) : printer(std::move(config)) {
    settings.AttachPrinter(&printer);
  }
  TTestPrinter printer;
  TPrinterSettings settings;
};

TEST(PrinterSettings, CreationValuesWithoutPrinters) {
  TPrinterSettings settings;
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(settings.Orientation(), poPortrait);
  EXPECT_EQ(settings.Copies(), 0);
  EXPECT_EQ(settings.OutputBin(), TVXBin::First);
  EXPECT_EQ(settings.MemoryLimit(), 250000);
  EXPECT_FALSE(settings.Duplex());
  EXPECT_FALSE(settings.UseStandardprinter());
  EXPECT_FALSE(settings.PrintMetaFile());
  EXPECT_EQ(settings.ResolutionX(), 0);
  EXPECT_EQ(settings.ResolutionY(), 0);
  EXPECT_EQ(settings.UnprintableTop(), 0);
  EXPECT_EQ(settings.UnprintableLeft(), 0);
  EXPECT_EQ(settings.SheetWidth(), 0);
  EXPECT_EQ(settings.SheetLength(), 0);
  EXPECT_EQ(settings.PlatformPrinter(), nullptr);
  EXPECT_EQ(settings.DevMode(), nullptr);
  for (int i = Ord(TVXPaperSize::Letter); i <= Ord(TVXPaperSize::Custom); ++i)
    EXPECT_FALSE(settings.IsPaperSupported(static_cast<TVXPaperSize>(i))) << i;
}

TEST(PrinterSettings, GuardedSettersIgnoreValuesWithoutPrinter) {
  TPrinterSettings settings;
  settings.SetPaperSize(TVXPaperSize::Letter);
  settings.SetCopies(3);
  settings.SetOrientation(poLandscape);
  settings.SetDuplex(true);
  settings.SetOutputBin(TVXBin::Cassette);
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(settings.Copies(), 0);
  EXPECT_EQ(settings.Orientation(), poPortrait);
  EXPECT_FALSE(settings.Duplex());
  EXPECT_EQ(settings.OutputBin(), TVXBin::First);
}

TEST(PrinterSettings, DefaultPaperSizeIsAlwaysAccepted) {
  TPrinterSettings settings;
  settings.SetPaperSize(TVXPaperSize::Default);
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::Default);
}

TEST(PrinterSettings, AttachingAPrinterWithoutInstalledPrintersReadsNothing) {
  TSystemPrinter system;
  TPrinterSettings settings;
  settings.AttachPrinter(&system);  // reading would fail: the system has no default printer
  EXPECT_EQ(settings.PlatformPrinter(), &system);
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(settings.DevMode(), nullptr);
}

TEST(PrinterSettings, ReadWithoutPlatformPrinterDoesNothing) {
  TPrinterSettings settings;
  settings.ReadFromPrinter();
  settings.ApplyToPrinter();
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::A4);
  EXPECT_EQ(settings.Copies(), 0);
}

struct EffectiveCase {
  TVXPaperSize paper;
  int32_t width;
  int32_t length;
};

class EffectiveSize : public testing::TestWithParam<EffectiveCase> {};

TEST_P(EffectiveSize, IsTheTableSizeInTenthMillimetresRounded) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.paper_codes = std::vector<uint16_t>{static_cast<uint16_t>(PaperCodeMap[Ord(GetParam().paper)])};
  AttachedSettings attached(config);
  attached.settings.SetPaperSize(GetParam().paper);
  ASSERT_EQ(attached.settings.PaperSize(), GetParam().paper);
  EXPECT_EQ(attached.settings.EffectiveWidth(), GetParam().width);
  EXPECT_EQ(attached.settings.EffectiveLength(), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(PrinterSettings, EffectiveSize,
                         testing::Values(EffectiveCase{TVXPaperSize::A4, 2100, 2970},
                                         EffectiveCase{TVXPaperSize::Env9, 984, 2254},
                                         EffectiveCase{TVXPaperSize::EnvPersonal, 920, 1651},
                                         EffectiveCase{TVXPaperSize::Letter, 2159, 2794},
                                         EffectiveCase{TVXPaperSize::EnvB6, 1760, 1250},
                                         EffectiveCase{TVXPaperSize::A3ExtraTrans, 4450, 3220}));

TEST(PrinterSettings, EffectiveSizeOfDefaultAndCustomIsTheSheet) {
  AttachedSettings attached(FullFeaturedPrinter());
  TPrinterSettings& settings = attached.settings;
  settings.SetSheetWidth(1234);
  settings.SetSheetLength(5678);
  settings.SetPaperSize(TVXPaperSize::Custom);
  ASSERT_EQ(settings.PaperSize(), TVXPaperSize::Custom);
  EXPECT_EQ(settings.EffectiveWidth(), 1234);
  EXPECT_EQ(settings.EffectiveLength(), 5678);
  settings.SetPaperSize(TVXPaperSize::Default);
  EXPECT_EQ(settings.EffectiveWidth(), 1234);
  EXPECT_EQ(settings.EffectiveLength(), 5678);
}

TEST(PrinterSettings, ReadsResolutionMarginsAndSheetFromTheDevice) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.log_pixels_x = 600;
  config.log_pixels_y = 300;
  config.physical_offset_x = 100;  // 42.33 -> 42
  config.physical_offset_y = 75;   // 63.5 -> 64 (half to even)
  config.physical_width = 4960;    // 2099.73 -> 2100
  config.physical_height = 3508;   // 2970.11 -> 2970
  AttachedSettings attached(config);
  const TPrinterSettings& settings = attached.settings;
  EXPECT_EQ(settings.ResolutionX(), 600);
  EXPECT_EQ(settings.ResolutionY(), 300);
  EXPECT_EQ(settings.UnprintableLeft(), 42);
  EXPECT_EQ(settings.UnprintableTop(), 64);
  EXPECT_EQ(settings.SheetWidth(), 2100);
  EXPECT_EQ(settings.SheetLength(), 2970);
}

TEST(PrinterSettings, MarginsRoundHalvesToEven) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.log_pixels_x = 254;
  config.log_pixels_y = 508;
  config.physical_offset_x = 3;  // 3 / 254 * 254 = 3
  config.physical_offset_y = 5;  // 2.5 -> 2
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.UnprintableLeft(), 3);
  EXPECT_EQ(attached.settings.UnprintableTop(), 2);
}

TEST(PrinterSettings, ZeroResolutionGivesZeroMarginsInsteadOfDividing) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.log_pixels_x = 0;
  config.log_pixels_y = 0;
  config.physical_offset_x = 10;
  config.physical_width = 1000;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.UnprintableLeft(), 0);
  EXPECT_EQ(attached.settings.SheetWidth(), 0);
}

struct PaperCodeCase {
  int16_t code;
  TVXPaperSize expected;
};

class ReadPaperCode : public testing::TestWithParam<PaperCodeCase> {};

TEST_P(ReadPaperCode, MapsToTheFirstMatchingPaperSize) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmPaperSize = GetParam().code;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.PaperSize(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrinterSettings, ReadPaperCode,
                         testing::Values(PaperCodeCase{256, TVXPaperSize::Custom},
                                         PaperCodeCase{70, TVXPaperSize::Default},
                                         PaperCodeCase{69, TVXPaperSize::Default},
                                         PaperCodeCase{68, TVXPaperSize::A3ExtraTrans},
                                         PaperCodeCase{9, TVXPaperSize::A4},
                                         PaperCodeCase{1, TVXPaperSize::Letter},
                                         PaperCodeCase{0, TVXPaperSize::Default},
                                         PaperCodeCase{-1, TVXPaperSize::Default}));

TEST(PrinterSettings, PaperCodeIsIgnoredWithoutThePaperSizeField) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields &= ~DM_PAPERSIZE;
  config.devmode.dmPaperSize = 9;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.PaperSize(), TVXPaperSize::Default);
}

struct BinCase {
  int16_t code;
  TVXBin expected;
};

class ReadDefaultSource : public testing::TestWithParam<BinCase> {};

TEST_P(ReadDefaultSource, MapsToTheFirstMatchingBin) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmDefaultSource = GetParam().code;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.OutputBin(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrinterSettings, ReadDefaultSource,
                         testing::Values(BinCase{1, TVXBin::First}, BinCase{14, TVXBin::Cassette},
                                         BinCase{15, TVXBin::First}, BinCase{2, TVXBin::Lower},
                                         BinCase{7, TVXBin::Auto}, BinCase{11, TVXBin::LargeCapacity},
                                         BinCase{0, TVXBin::First}));

TEST(PrinterSettings, DefaultSourceIsFirstWithoutItsField) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields &= ~DM_DEFAULTSOURCE;
  config.devmode.dmDefaultSource = 14;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.OutputBin(), TVXBin::First);
}

TEST(PrinterSettings, CopiesAreOneWithoutTheCopiesField) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmCopies = 4;
  EXPECT_EQ(AttachedSettings(config).settings.Copies(), 4);
  config.devmode.dmFields &= ~DM_COPIES;
  EXPECT_EQ(AttachedSettings(config).settings.Copies(), 1);
}

TEST(PrinterSettings, ReadsDuplexAsAnythingButSimplex) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmDuplex = 2;
  AttachedSettings vertical(config);
  EXPECT_TRUE(vertical.settings.Duplex());
  EXPECT_EQ(vertical.settings.ExtendedDuplex(), 2);
  config.devmode.dmDuplex = 1;
  AttachedSettings simplex(config);
  EXPECT_FALSE(simplex.settings.Duplex());
  EXPECT_EQ(simplex.settings.ExtendedDuplex(), 1);
}

TEST(PrinterSettings, DuplexKeepsItsValuesWithoutTheDuplexField) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields &= ~DM_DUPLEX;
  config.devmode.dmDuplex = 2;
  TTestPrinter printer(config);
  TPrinterSettings settings;
  settings.SetExtendedDuplex(3);
  settings.AttachPrinter(&printer);
  EXPECT_FALSE(settings.Duplex());
  EXPECT_EQ(settings.ExtendedDuplex(), 3);
}

TEST(PrinterSettings, ReadsQualityCollateAndColourSignExtendedWithoutFieldChecks) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields = 0;
  config.devmode.dmPrintQuality = -4;
  config.devmode.dmCollate = 1;
  config.devmode.dmColor = 2;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.PrintQuality(), -4);
  EXPECT_EQ(attached.settings.Collate(), 1);
  EXPECT_EQ(attached.settings.ColorOption(), 2);
}

TEST(PrinterSettings, SupportedPapersComeFromThePaperListAndCustomIsAlwaysSupported) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.paper_codes = std::vector<uint16_t>{0, 1, 9, 300, 256};
  AttachedSettings attached(config);
  const TPrinterSettings& settings = attached.settings;
  EXPECT_TRUE(settings.IsPaperSupported(TVXPaperSize::Letter));
  EXPECT_TRUE(settings.IsPaperSupported(TVXPaperSize::A4));
  EXPECT_TRUE(settings.IsPaperSupported(TVXPaperSize::Custom));
  EXPECT_FALSE(settings.IsPaperSupported(TVXPaperSize::A4Small));
  EXPECT_FALSE(settings.IsPaperSupported(TVXPaperSize::Legal));
}

TEST(PrinterSettings, EmptyPaperListLeavesOnlyCustom) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.paper_codes = std::vector<uint16_t>{};
  AttachedSettings attached(config);
  EXPECT_TRUE(attached.settings.IsPaperSupported(TVXPaperSize::Custom));
  EXPECT_FALSE(attached.settings.IsPaperSupported(TVXPaperSize::A4));
}

TEST(PrinterSettings, FailingPaperListKeepsEarlierFlagsAndMarksCustom) {
  AttachedSettings attached(FullFeaturedPrinter());  // supports Letter, Legal, A4
  ASSERT_TRUE(attached.settings.IsPaperSupported(TVXPaperSize::Legal));
  attached.printer.Config().paper_codes.reset();
  attached.settings.ReadFromPrinter();
  EXPECT_TRUE(attached.settings.IsPaperSupported(TVXPaperSize::Legal));
  EXPECT_TRUE(attached.settings.IsPaperSupported(TVXPaperSize::Custom));
  EXPECT_FALSE(attached.settings.IsPaperSupported(TVXPaperSize::A5));
}

TEST(PrinterSettings, FailingPaperListOnAFreshRecordSupportsOnlyCustom) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.paper_codes.reset();
  AttachedSettings attached(config);
  EXPECT_TRUE(attached.settings.IsPaperSupported(TVXPaperSize::Custom));
  EXPECT_FALSE(attached.settings.IsPaperSupported(TVXPaperSize::A4));
}

TEST(PrinterSettings, GuardedSettersFollowThePrinterSupport) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields = DM_COPIES | DM_DUPLEX;
  AttachedSettings attached(config);
  TPrinterSettings& settings = attached.settings;
  settings.SetCopies(5);
  settings.SetDuplex(true);
  settings.SetOrientation(poLandscape);
  settings.SetOutputBin(TVXBin::Manual);
  settings.SetPaperSize(TVXPaperSize::Legal);  // in the paper list
  EXPECT_EQ(settings.Copies(), 5);
  EXPECT_TRUE(settings.Duplex());
  EXPECT_EQ(settings.Orientation(), poPortrait);
  EXPECT_EQ(settings.OutputBin(), TVXBin::First);
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::Legal);
  settings.SetPaperSize(TVXPaperSize::A5);  // not in the paper list
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::Legal);
}

TEST(PrinterSettings, IsFieldSupportedNeedsEveryBitOfTheMask) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.devmode.dmFields = DM_COPIES | DM_DUPLEX;
  AttachedSettings attached(config);
  EXPECT_TRUE(attached.settings.IsFieldSupported(DM_COPIES));
  EXPECT_TRUE(attached.settings.IsFieldSupported(DM_COPIES | DM_DUPLEX));
  EXPECT_FALSE(attached.settings.IsFieldSupported(DM_COPIES | DM_COLLATE));
  EXPECT_FALSE(TPrinterSettings().IsFieldSupported(0));
}

TEST(PrinterSettings, DriverNameIsTheDriverFileNameCutTo63Characters) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.driver_path = "C:\\WINDOWS\\spool\\" + std::string(70, 'D') + ".DLL";
  EXPECT_EQ(AttachedSettings(config).settings.DriverName(), std::string(63, 'D'));
  config.driver_path = "UNIDRV.DLL";
  EXPECT_EQ(AttachedSettings(config).settings.DriverName(), "UNIDRV.DLL");
  config.driver_path.reset();
  EXPECT_EQ(AttachedSettings(config).settings.DriverName(), "TESTDRV");
}

TEST(PrinterSettings, ReadsTheNamesOfTheCurrentSelection) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.printers = {"Office", "Lab"};
  config.default_index = 1;
  config.port_name = "USB001";
  AttachedSettings attached(config);
  EXPECT_EQ(attached.settings.DeviceName(), "Lab");
  EXPECT_EQ(attached.settings.PortName(), "USB001");
  EXPECT_EQ(attached.settings.DriverName(), "TESTDRV.DLL");
}

TEST(PrinterSettings, ReadStopsWithoutADeviceModeRecordAfterAskingTwice) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.offers_devmode = false;
  config.log_pixels_x = 600;
  AttachedSettings attached(config);
  EXPECT_EQ(attached.printer.GetPrinterCalls(), 2);
  EXPECT_EQ(attached.settings.DeviceName(), "Test Printer");
  EXPECT_EQ(attached.settings.ResolutionX(), 0);
  EXPECT_EQ(attached.settings.PaperSize(), TVXPaperSize::A4);
}

TEST(PrinterSettings, CancelledReadKeepsTheFieldsButRefreshesNamesAndRecord) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  TTestPrinter printer(config);
  TPrinterSettings settings;
  TPrinterSettings* seenSender = nullptr;
  TDevMode* seenDevMode = nullptr;
  settings.SetOnGetPrinterSettings([&](TPrinterSettings& sender, bool& cancel, TDevMode* devMode) {
    EXPECT_FALSE(cancel);
    seenSender = &sender;
    seenDevMode = devMode;
    cancel = true;
  });
  settings.AttachPrinter(&printer);
  EXPECT_EQ(seenSender, &settings);
  EXPECT_EQ(seenDevMode, &printer.CurrentDevMode());
  EXPECT_EQ(settings.DevMode(), &printer.CurrentDevMode());
  EXPECT_EQ(settings.DeviceName(), "Test Printer");
  EXPECT_EQ(settings.ResolutionX(), 0);
  EXPECT_EQ(settings.Copies(), 0);
  EXPECT_EQ(settings.PaperSize(), TVXPaperSize::A4);
  EXPECT_FALSE(settings.IsPaperSupported(TVXPaperSize::Letter));
  EXPECT_TRUE(settings.IsFieldSupported(DM_COPIES));  // the view is kept
}

TEST(PrinterSettings, NoDefaultPrinterRaisesThePlatformError) {
  TTestPrinterConfig config = FullFeaturedPrinter();
  config.default_index = -1;
  TTestPrinter printer(config);
  TPrinterSettings settings;
  try {
    settings.AttachPrinter(&printer);
    FAIL() << "no error";
  } catch (const EPrinter& e) {
    EXPECT_STREQ(e.ClassName(), "EPrinter");
    EXPECT_EQ(e.Message(), "There is no default printer currently selected");
  }
}

// --- Writing the record back ---

// Settings read from a printer whose record carries the given fields.
struct AppliedSettings : AttachedSettings {
  explicit AppliedSettings(uint32_t fields) : AttachedSettings(ConfigWith(fields)) {}
  static TTestPrinterConfig ConfigWith(uint32_t fields) {
    TTestPrinterConfig config = FullFeaturedPrinter();
    config.devmode.dmFields = fields;
    return config;
  }
  const TDevMode& Apply() {
    settings.ApplyToPrinter();
    return printer.CurrentDevMode();
  }
};

constexpr uint32_t kAllFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_DUPLEX | DM_COLLATE;

struct DuplexCase {
  int32_t extended;
  bool duplex;
  int16_t written;
};

class ApplyDuplex : public testing::TestWithParam<DuplexCase> {};

TEST_P(ApplyDuplex, WritesExtendedDuplexOrTheSwitch) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetDuplex(GetParam().duplex);
  applied.settings.SetExtendedDuplex(GetParam().extended);
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmDuplex, GetParam().written);
  EXPECT_TRUE(devMode.dmFields & DM_DUPLEX);
}

INSTANTIATE_TEST_SUITE_P(PrinterSettings, ApplyDuplex,
                         testing::Values(DuplexCase{0, true, 3}, DuplexCase{0, false, 1},
                                         DuplexCase{2, false, 2}, DuplexCase{2, true, 2},
                                         DuplexCase{1, true, 1}));

TEST(PrinterSettingsApply, DuplexIsNotWrittenWithoutTheDuplexField) {
  AppliedSettings applied(kAllFields & ~DM_DUPLEX);
  applied.printer.CurrentDevMode().dmDuplex = 7;
  applied.settings.SetExtendedDuplex(2);
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmDuplex, 7);
  EXPECT_FALSE(devMode.dmFields & DM_DUPLEX);
}

TEST(PrinterSettingsApply, CustomPaperCodeReplacesTheMappedCode) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetPaperSize(TVXPaperSize::Letter);
  applied.settings.SetUseCustomPaperCode(true);
  applied.settings.SetCustomPaperCode(300);
  EXPECT_EQ(applied.Apply().dmPaperSize, 300);
}

TEST(PrinterSettingsApply, WritesTheMappedPaperCode) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetPaperSize(TVXPaperSize::Legal);
  EXPECT_EQ(applied.Apply().dmPaperSize, 5);
  applied.settings.SetPaperSize(TVXPaperSize::Custom);
  EXPECT_EQ(applied.Apply().dmPaperSize, 256);
}

TEST(PrinterSettingsApply, DefaultPaperSizeWritesNoPaperCode) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetPaperSize(TVXPaperSize::Default);
  applied.settings.SetUseCustomPaperCode(true);
  applied.settings.SetCustomPaperCode(300);
  applied.printer.CurrentDevMode().dmPaperSize = 42;
  EXPECT_EQ(applied.Apply().dmPaperSize, 42);
}

TEST(PrinterSettingsApply, PaperCodeIsNotWrittenWithoutThePaperSizeField) {
  AppliedSettings applied(kAllFields);  // reads A4 from the record
  applied.printer.CurrentDevMode().dmFields &= ~DM_PAPERSIZE;
  applied.printer.CurrentDevMode().dmPaperSize = 42;
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmPaperSize, 42);
  EXPECT_FALSE(devMode.dmFields & DM_PAPERSIZE);
}

TEST(PrinterSettingsApply, WritesSizeCopiesSourceAndOrientationAndSetsTheirBits) {
  AppliedSettings applied(kAllFields);
  TPrinterSettings& settings = applied.settings;
  settings.SetPaperSize(TVXPaperSize::Legal);
  settings.SetCopies(2);
  settings.SetOutputBin(TVXBin::Cassette);
  settings.SetOrientation(poLandscape);
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmPaperWidth, 2159);
  EXPECT_EQ(devMode.dmPaperLength, 3556);
  EXPECT_EQ(devMode.dmCopies, 2);
  EXPECT_EQ(devMode.dmDefaultSource, 14);
  EXPECT_EQ(devMode.dmOrientation, 2);
  const uint32_t written = DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE | DM_ORIENTATION;
  EXPECT_EQ(devMode.dmFields & written, written);
}

TEST(PrinterSettingsApply, UnconditionalFieldsAreWrittenEvenWhenThePrinterLacksThem) {
  AppliedSettings applied(DM_PAPERSIZE);
  applied.settings.SetUseCustomBinCode(true);
  applied.settings.SetCustomBinCode(258);
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmCopies, 1);  // read as 1 without the copies field
  EXPECT_EQ(devMode.dmDefaultSource, 258);
  EXPECT_EQ(devMode.dmOrientation, 1);
  const uint32_t written = DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE | DM_ORIENTATION;
  EXPECT_EQ(devMode.dmFields, written | DM_PAPERSIZE);
}

TEST(PrinterSettingsApply, WritesTheLow16BitsOfEachValue) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetCopies(70000);  // 70000 - 65536 = 4464
  applied.settings.SetUseCustomPaperCode(true);
  applied.settings.SetCustomPaperCode(0x1FFFF);  // low half 0xFFFF = -1
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmCopies, 4464);
  EXPECT_EQ(devMode.dmPaperSize, -1);
}

TEST(PrinterSettingsApply, CollateOnlyWhenSupportedAndWithoutTouchingItsBit) {
  AppliedSettings supported(kAllFields);
  supported.settings.SetCollate(1);
  EXPECT_EQ(supported.Apply().dmCollate, 1);

  AppliedSettings unsupported(kAllFields & ~DM_COLLATE);
  unsupported.settings.SetCollate(1);
  const TDevMode& devMode = unsupported.Apply();
  EXPECT_EQ(devMode.dmCollate, 0);
  EXPECT_FALSE(devMode.dmFields & DM_COLLATE);
}

TEST(PrinterSettingsApply, QualityAndColourAreNeverWritten) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetPrintQuality(600);
  applied.settings.SetColorOption(2);
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(devMode.dmPrintQuality, 0);
  EXPECT_EQ(devMode.dmColor, 0);
}

TEST(PrinterSettingsApply, HandsTheChangedRecordBackToThePrinter) {
  AppliedSettings applied(kAllFields);
  const TDevMode* record = &applied.printer.CurrentDevMode();
  applied.Apply();
  ASSERT_TRUE(applied.printer.LastSetPrinter().has_value());
  const auto& call = *applied.printer.LastSetPrinter();
  EXPECT_EQ(call.device, "Test Printer");
  EXPECT_EQ(call.driver, "TESTDRV");  // the selection's name, not the driver file
  EXPECT_EQ(call.port, "LPT1:");
  EXPECT_EQ(call.devmode.get(), record);
}

TEST(PrinterSettingsApply, CancelKeepsTheRecordChangedButDoesNotHandItBack) {
  AppliedSettings applied(kAllFields);
  applied.settings.SetCopies(3);
  int calls = 0;
  applied.settings.SetOnApplyPrinterSettings([&](TPrinterSettings&, bool& cancel, TDevMode* devMode) {
    ++calls;
    EXPECT_EQ(devMode->dmCopies, 3);
    cancel = true;
  });
  const TDevMode& devMode = applied.Apply();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(devMode.dmCopies, 3);
  EXPECT_EQ(applied.printer.SetPrinterCalls(), 0);
}

TEST(PrinterSettingsApply, WithoutADeviceModeRecordNothingIsHandedBack) {
  AppliedSettings applied(kAllFields);
  applied.printer.Config().offers_devmode = false;
  applied.settings.ApplyToPrinter();
  EXPECT_EQ(applied.printer.SetPrinterCalls(), 0);
}

}  // namespace
}  // namespace vx
