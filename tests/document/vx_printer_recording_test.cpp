#include <gtest/gtest.h>

#include <filesystem>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "converter/conversion_driver.h"
#include "document/support/test_printer.h"
#include "document/vx_printer.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/support/emf_render.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::ScopedEnv;
using test::TempFolder;

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

struct Notification {
  uint32_t message;
  int32_t wparam;
  friend bool operator==(const Notification&, const Notification&) = default;
};

// Page n carries a black square at (10 + 30 (n - 1), 10), 20 pixels wide.
void DrawNumberedPage(TVXPrinter& printer, int n) {
  TCanvas& canvas = *printer.PageCanvas();
  canvas.Brush().Color = gdi::RGB(0, 0, 0);
  canvas.FillRect({10 + 30 * (n - 1), 10, 30 + 30 * (n - 1), 30});
  canvas.Brush().Style = TBrushStyle::bsClear;
  canvas.TextOut(10, 60, "Page " + std::to_string(n));
}

void RecordPages(TVXPrinter& printer, int pages) {
  printer.BeginDocument();
  for (int n = 1; n <= pages; ++n) {
    printer.NewPage();
    DrawNumberedPage(printer, n);
  }
  printer.EndDocument();
}

int32_t StoredHeaderTotal(TVXPrinter& printer) {
  TVXStream& stream = *printer.PageStream();
  const int64_t position = stream.Position();
  uint8_t bytes[4] = {};
  stream.Seek(8, soBeginning);
  stream.ReadBuffer(bytes, 4);
  stream.Seek64(position, soBeginning);
  return LoadI32(bytes);
}

bool BlackAt(const TMetafile& page, int32_t x, int32_t y) {
  const test::RenderedPage rendered = test::RenderEmf(page.Bytes(), 96);
  return rendered.At(x, y) == 0;
}

TEST(VXPrinterRecording, OnePageDocumentHoldsOnePageAndAnnouncesIt) {
  TVXPrinter printer(nullptr);
  std::vector<Notification> seen;
  printer.SetPreviewWindow([&](uint32_t m, int32_t w) { seen.push_back({m, w}); });
  printer.BeginDocument();
  EXPECT_EQ(printer.DocState(), dsRecording);
  printer.NewPage();
  DrawNumberedPage(printer, 1);
  printer.EndDocument();
  EXPECT_EQ(printer.DocState(), dsComplete);
  EXPECT_EQ(printer.PageTotal(), 1);
  EXPECT_EQ(printer.PageList().StoredPages(), 1);
  EXPECT_EQ(StoredHeaderTotal(printer), 1);
  EXPECT_EQ(seen, (std::vector<Notification>{{0x401, 1}}));
  const auto page = printer.PageMetafile(1);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(BlackAt(*page, 15, 15));
}

TEST(VXPrinterRecording, A4PortraitPageAt96PixelsPerInchIs794By1123) {
  TVXPrinter printer(nullptr);
  ASSERT_EQ(printer.PaperSize(), TVXPaperSize::A4);
  printer.BeginDocument();
  printer.NewPage();
  ASSERT_NE(printer.PageImage(), nullptr);
  EXPECT_EQ(printer.ToDeviceWidth(printer.OrientedWidth()), 794);
  EXPECT_EQ(printer.ToDeviceHeight(printer.OrientedHeight()), 1123);
  EXPECT_EQ(printer.PageImage()->FrameWidth(), 24813);
  EXPECT_EQ(printer.PageImage()->FrameHeight(), 35094);
  printer.EndDocument();
  const auto page = printer.PageMetafile(1);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->PixelWidth(), 794);
  EXPECT_EQ(page->PixelHeight(), 1123);
  EXPECT_EQ(page->Header()->frame, (gdi::Rect{0, 0, 24813, 35094}));
}

// Each NewPage after the first announces the page it closes (1 .. n); the
// end of the document announces one more (n + 1), after the last page.
TEST(VXPrinterRecording, NotificationsRunOneToNThenNPlusOneAtTheEnd) {
  TVXPrinter printer(nullptr);
  std::vector<Notification> seen;
  printer.SetPreviewWindow([&](uint32_t m, int32_t w) { seen.push_back({m, w}); });
  printer.BeginDocument();
  for (int n = 1; n <= 4; ++n) {
    printer.NewPage();
    // Page k is announced once it is in the page list.
    EXPECT_EQ(printer.PageList().StoredPages(), n - 1);
    DrawNumberedPage(printer, n);
    printer.ReportProgress(10 * n);
  }
  printer.EndDocument();
  const std::vector<Notification> expected{{0x400, 10}, {0x401, 1}, {0x400, 20}, {0x401, 2}, {0x400, 30},
                                           {0x401, 3}, {0x400, 40}, {0x401, 4}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(printer.PagesAnnounced(), 4);
  EXPECT_EQ(printer.PageList().StoredPages(), 4);
  EXPECT_EQ(printer.Progress(), 40);
}

TEST(VXPrinterRecording, EndDocumentWithoutPagesAnnouncesOneAndWritesAnEmptyHeader) {
  TVXPrinter printer(nullptr);
  std::vector<Notification> seen;
  printer.SetPreviewWindow([&](uint32_t m, int32_t w) { seen.push_back({m, w}); });
  printer.BeginDocument();
  printer.EndDocument();
  EXPECT_EQ(printer.PageTotal(), 0);
  EXPECT_EQ(seen, (std::vector<Notification>{{0x401, 1}}));
  EXPECT_EQ(printer.PageStream()->GetSize(), 128);
  EXPECT_EQ(StoredHeaderTotal(printer), 0);
  EXPECT_EQ(printer.PageMetafile(1), nullptr);
}

TEST(VXPrinterRecording, AbortKeepsTheHeadersFirstPageCountAndAnnouncesNothing) {
  TVXPrinter printer(nullptr);
  std::vector<Notification> seen;
  printer.SetPreviewWindow([&](uint32_t m, int32_t w) { seen.push_back({m, w}); });
  printer.BeginDocument();
  for (int n = 1; n <= 3; ++n) {
    printer.NewPage();
    DrawNumberedPage(printer, n);
  }
  printer.AbortDocument();
  EXPECT_EQ(printer.DocState(), dsComplete);
  EXPECT_EQ(printer.PageList().StoredPages(), 3);  // the open page was stored too
  EXPECT_EQ(StoredHeaderTotal(printer), 1);
  EXPECT_EQ(seen, (std::vector<Notification>{{0x401, 1}, {0x401, 2}}));
  EXPECT_EQ(printer.PageCanvas(), nullptr);
}

TEST(VXPrinterRecording, AnOwnerThatDropsAbortedPagesLosesTheOpenPage) {
  struct DroppingOwner : TVXReportOwner {
    const TVXPrinterSettings& PrinterSettings() const override { return settings; }
    bool DropAbortedPage() const override { return true; }
    TVXPrinterSettings settings;
  } owner;
  TVXPrinter printer(&owner);
  printer.BeginDocument();
  printer.NewPage();
  printer.NewPage();
  printer.AbortDocument();
  EXPECT_EQ(printer.PageList().StoredPages(), 1);
}

TEST(VXPrinterRecording, StateErrorsNameTheCallAndChangeNothing) {
  TVXPrinter printer(nullptr);
  ExpectError([&] { printer.NewPage(); }, "EVXError", "Illegal call to NewPage");
  EXPECT_EQ(printer.PageTotal(), 0);
  printer.BeginDocument();
  printer.NewPage();
  printer.CancelDocument();
  EXPECT_TRUE(printer.CancelRequested());
  ExpectError([&] { printer.BeginDocument(); }, "EVXError", "VXPrinter not ready");
  // The refused begin reset the cancel request and the announcements.
  EXPECT_FALSE(printer.CancelRequested());
  EXPECT_EQ(printer.PagesAnnounced(), 0);
  EXPECT_EQ(printer.DocState(), dsRecording);
  EXPECT_NE(printer.PageCanvas(), nullptr);
  printer.EndDocument();
  ExpectError([&] { printer.NewPage(); }, "EVXError", "Illegal call to NewPage");
  ExpectError([&] { printer.BeginDocument(); }, "EVXError", "VXPrinter not ready");
  EXPECT_EQ(printer.PageTotal(), 1);
  printer.DiscardDocument();
  printer.BeginDocument();
  EXPECT_EQ(printer.DocState(), dsRecording);
}

TEST(VXPrinterRecording, PageObjectsAreReleasedWhenThePageEnds) {
  TVXPrinter printer(nullptr);
  printer.BeginDocument();
  printer.NewPage();
  auto object = std::make_shared<int>(7);
  printer.AddPageObject(object);
  EXPECT_EQ(object.use_count(), 2);
  printer.NewPage();
  EXPECT_EQ(object.use_count(), 1);
  EXPECT_EQ(printer.PageObjectCount(), 0u);
  printer.EndDocument();
}

TEST(VXPrinterRecording, ARecordingPastItsMemoryLimitSpillsAndDiscardDeletesTheFile) {
  TempFolder folder;
  ScopedEnv tmpdir("TMPDIR", folder.Path().c_str());
  TVXPrinter printer(nullptr);
  printer.Settings().SetMemoryLimit(2000);
  RecordPages(printer, 6);
  ASSERT_FALSE(printer.PageStream()->Resident());
  const std::string spill = printer.PageStream()->TemporaryFileName();
  EXPECT_TRUE(std::filesystem::exists(spill));
  EXPECT_EQ(folder.EntriesStartingWith("VXP").size(), 1u);
  for (int n = 1; n <= 6; ++n) {
    const auto page = printer.PageMetafile(n);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(BlackAt(*page, 15 + 30 * (n - 1), 15)) << n;
  }
  printer.DiscardDocument();
  EXPECT_FALSE(std::filesystem::exists(spill));
  EXPECT_TRUE(folder.EntriesStartingWith("VXP").empty());
}

TEST(VXPrinterRecording, DestroyingASpilledRecordingDeletesTheFile) {
  TempFolder folder;
  ScopedEnv tmpdir("TMPDIR", folder.Path().c_str());
  std::string spill;
  {
    TVXPrinter printer(nullptr);
    printer.Settings().SetMemoryLimit(2000);
    printer.BeginDocument();
    for (int n = 1; n <= 5; ++n) {
      printer.NewPage();
      DrawNumberedPage(printer, n);
    }
    ASSERT_FALSE(printer.PageStream()->Resident());
    spill = printer.PageStream()->TemporaryFileName();
    EXPECT_TRUE(std::filesystem::exists(spill));
  }
  EXPECT_FALSE(std::filesystem::exists(spill));
  EXPECT_TRUE(folder.EntriesStartingWith("VXP").empty());
}

TEST(VXPrinterRecording, SavedReportReopensAndConvertsPageByPage) {
  TempFolder folder;
  const std::string file = folder.File("report.vxp");
  {
    TVXPrinter printer(nullptr);
    RecordPages(printer, 3);
    printer.SaveReportFile(file);
  }
  TVXPrinter reader(nullptr);
  reader.LoadReportFile(file);
  ASSERT_EQ(reader.PageTotal(), 3);
  for (int n = 1; n <= 3; ++n) {
    const auto page = reader.PageMetafile(n);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(BlackAt(*page, 15 + 30 * (n - 1), 15)) << n;
    EXPECT_FALSE(BlackAt(*page, 15 + 30 * n, 15)) << n;
  }
  ConvertReportFile(file, folder.File("page.bmp"), 96);
  for (int n = 1; n <= 3; ++n) {
    TBitmap bitmap;
    bitmap.ReadFromFile(folder.File("page0000" + std::to_string(n) + ".bmp"));
    EXPECT_EQ(bitmap.PixelWidth(), 794);
    EXPECT_EQ(bitmap.PixelHeight(), 1123);
    // Played into 793 x 1122 of the frame's 794.0 x 1123.0 pixels: the
    // square moves by less than a pixel.
    EXPECT_EQ(bitmap.PixelIndex(15 + 30 * (n - 1), 15), 0) << n;
    EXPECT_NE(bitmap.PixelIndex(15 + 30 * n, 15), 0) << n;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("page00004.bmp")));
}

TEST(VXPrinterRecording, SavingOverTheLoadedReportKeepsIt) {
  TempFolder folder;
  const std::string file = folder.File("report.vxp");
  {
    TVXPrinter printer(nullptr);
    RecordPages(printer, 2);
    printer.SaveReportFile(file);
  }
  const test::Bytes before = test::ReadFileBytes(file);
  TVXPrinter printer(nullptr);
  printer.LoadReportFile(file);
  printer.SaveReportFile(file);
  EXPECT_EQ(test::ReadFileBytes(file), before);
  // The loaded document still reads, and so does the saved file.
  EXPECT_NE(printer.PageMetafile(2), nullptr);
  TVXPrinter again(nullptr);
  again.LoadReportFile(file);
  EXPECT_EQ(again.PageTotal(), 2);
  EXPECT_TRUE(folder.EntriesStartingWith("VXP").empty());
}

TEST(VXPrinterRecording, SavingInAnyOtherStateThanCompleteDoesNothing) {
  TempFolder folder;
  TVXPrinter printer(nullptr);
  printer.BeginDocument();
  printer.NewPage();
  printer.SaveReportFile(folder.File("a.vxp"));
  EXPECT_FALSE(std::filesystem::exists(folder.File("a.vxp")));
}

TEST(VXPrinterRecording, TargetCannotChangeWhileRecording) {
  TVXPrinter printer(nullptr);
  printer.SetTarget(tgPrinter);
  EXPECT_EQ(printer.Target(), tgPrinter);
  printer.SetTarget(tgPageList);
  printer.BeginDocument();
  printer.SetTarget(tgPrinter);
  EXPECT_EQ(printer.Target(), tgPageList);
  printer.EndDocument();
  printer.SetTarget(tgPrinter);
  EXPECT_EQ(printer.Target(), tgPrinter);
}

class TestPrintJob : public TPrintJob {
public:
  bool Printing() const override { return printing; }
  void BeginDoc() override {
    printing = true;
    log += "begin;";
  }
  void NewPage() override { log += "page;"; }
  void EndDoc() override {
    printing = false;
    log += "end;";
  }
  void Abort() override {
    printing = false;
    log += "abort;";
  }
  TCanvas& Canvas() override { return page.DrawingSurface(); }

  bool printing = false;
  std::string log;
  TBitmap page;
};

TEST(VXPrinterRecording, PrinterTargetPrintsThePagesInRangeAndAppliesTheSettings) {
  test::doc::TTestPrinterSource source(test::doc::FullFeaturedPrinter());
  TVXPrinter printer(nullptr, source);
  TestPrintJob job;
  job.page.SetPixelDepth(8);
  job.page.SetPixelWidth(50);
  job.page.SetPixelHeight(50);
  printer.SetPrintJob(&job);
  printer.SetTarget(tgPrinter);
  printer.SetFirstPage(2);
  printer.SetLastPage(3);
  int after_print = 0;
  printer.SetOnAfterPrint([&](TVXPrinter& sender) {
    EXPECT_EQ(&sender, &printer);
    ++after_print;
  });
  const int applied_before = source.LastPrivate()->SetPrinterCalls();
  printer.BeginDocument();
  EXPECT_GT(source.LastPrivate()->SetPrinterCalls(), applied_before);
  EXPECT_EQ(printer.XFactor(), 600.0L / 254);
  for (int n = 1; n <= 4; ++n) {
    printer.NewPage();
    // Pages outside the range are recorded and thrown away.
    if (n == 1 || n == 4) EXPECT_NE(printer.PageImage(), nullptr);
    else EXPECT_EQ(printer.PageCanvas(), static_cast<TCanvas*>(&job.page.DrawingSurface()));
  }
  printer.EndDocument();
  EXPECT_EQ(job.log, "begin;page;end;");
  EXPECT_EQ(after_print, 1);
  EXPECT_EQ(printer.PageList().StoredPages(), 0);
  EXPECT_EQ(printer.PageTotal(), 4);
}

TEST(VXPrinterRecording, AbortingAPrinterDocumentAbortsTheJob) {
  test::doc::TTestPrinterSource source(test::doc::FullFeaturedPrinter());
  TVXPrinter printer(nullptr, source);
  TestPrintJob job;
  printer.SetPrintJob(&job);
  printer.SetTarget(tgPrinter);
  printer.BeginDocument();
  printer.NewPage();
  printer.AbortDocument();
  EXPECT_EQ(job.log, "begin;abort;");
  EXPECT_EQ(printer.DocState(), dsComplete);
}

class RecordingTree : public TVXOutlineTree {
public:
  NodeId AddChild(NodeId parent, const TVXOutlineEntry& entry) override {
    added.push_back({parent, entry.text});
    return NodeId(added.size() - 1);
  }
  std::vector<std::pair<NodeId, std::string>> added;
};

TEST(VXPrinterRecording, AnAttachedOutlineViewIsFilledFromThePageListsOutline) {
  TVXPrinter printer(nullptr);
  TVXOutlineEntry chapter;
  chapter.text = "Chapter";
  TVXOutlineEntry section;
  section.text = "Section";
  section.level = 2;
  printer.PageList().Outline().Add(chapter);
  printer.PageList().Outline().Add(section);
  RecordingTree tree;
  printer.AttachOutlineView(&tree);
  EXPECT_EQ(printer.OutlineView(), &tree);
  ASSERT_EQ(tree.added.size(), 2u);
  EXPECT_EQ(tree.added[0], (std::pair<TVXOutlineTree::NodeId, std::string>{TVXOutlineTree::kTop, "Chapter"}));
  EXPECT_EQ(tree.added[1], (std::pair<TVXOutlineTree::NodeId, std::string>{0, "Section"}));
  printer.AttachOutlineView(nullptr);
  EXPECT_EQ(printer.OutlineView(), nullptr);
}

}  // namespace
}  // namespace vx
