// The document object of the report library: it owns the page list of one
// report and the printer settings, loads saved reports (inferring their paper
// from the first page) and hands out pages by number.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/arith.h"
#include "document/platform_printer.h"
#include "document/preview_messages.h"
#include "document/print_job.h"
#include "document/printer_settings.h"
#include "document/vx_printer_settings.h"
#include "graphics/metafile.h"
#include "graphics/metafile_canvas.h"
#include "storage/vx_page_list.h"
#include "storage/vx_stream.h"

namespace vx {

// The report component as its report printer sees it.
class TVXReportOwner {
public:
  virtual ~TVXReportOwner() = default;
  virtual const TVXPrinterSettings& PrinterSettings() const = 0;
  // Whether a page left open by an aborted run is dropped instead of stored.
  virtual bool DropAbortedPage() const { return false; }
};

class TVXExportFilter;  // the preview's export filters

enum TVXDocState : uint8_t { dsNone = 0, dsRecording = 1, dsComplete = 2 };
enum TVXTarget : uint8_t { tgPageList = 0, tgPrinter = 1 };

// Device pixels per 0.1 mm before a document sets its own (about 96 per inch).
inline constexpr Extended kDefaultDeviceFactor = 0.37795L;

class TVXPrinter {
public:
  using TExportRequestEvent = std::function<void(TVXExportFilter& filter)>;
  using TAfterPrintEvent = std::function<void(TVXPrinter& sender)>;

  // owner is the report component, or none (the converter). Platform printer
  // objects come from source: its shared one, or a private one of our own.
  explicit TVXPrinter(TVXReportOwner* owner, TPlatformPrinterSource& source = SystemPrinterSource());
  ~TVXPrinter();
  TVXPrinter(const TVXPrinter&) = delete;
  TVXPrinter& operator=(const TVXPrinter&) = delete;

  // Loads a saved report; errors of the page list and the metafile pass through
  // and leave the document in dsNone.
  void LoadReportFile(const std::string& name);
  // Page n as a new metafile the caller owns; none outside 1..PageTotal and
  // while there is no document.
  std::unique_ptr<TMetafile> PageMetafile(int32_t n);
  // Copies a complete document into a file; does nothing in any other state.
  // The copy goes to a temporary file beside it that replaces the file only
  // once it is whole, so a failed save leaves an existing file as it was.
  void SaveReportFile(const std::string& name);

  // --- recording (vx_printer_recording.cpp) ---------------------------
  // begin, one NewPage before each page is drawn, then end (or abort).
  // BeginDocument outside dsNone raises EVXError "VXPrinter not ready";
  // NewPage outside dsRecording raises EVXError "Illegal call to NewPage".
  void BeginDocument();
  void NewPage();
  // Stores the last page, announces the total and writes the final header.
  void EndDocument();
  // Stores the open page (unless the owner drops it); the header keeps the
  // page total written with the first page and nothing is announced.
  void AbortDocument();
  // Asks the report engine to stop generating pages.
  void CancelDocument() { cancel_requested_ = true; }
  // What the current page is drawn on; none while no page is open.
  TCanvas* PageCanvas() const;
  // The metafile of the page being recorded; none while no page is open.
  TMetafile* PageImage() const { return page_image_.get(); }
  // Keeps an object alive until the current page ends.
  void AddPageObject(std::shared_ptr<void> object);
  size_t PageObjectCount() const { return page_objects_.size(); }
  void AnnouncePages(int32_t n);
  void ReportProgress(int32_t n);
  int32_t PagesAnnounced() const { return pages_announced_; }
  int32_t Progress() const { return progress_; }
  // The preview window's notifications; none posts nothing.
  void SetPreviewWindow(TPreviewNotification notify) { preview_window_ = std::move(notify); }
  void SetOnAfterPrint(TAfterPrintEvent handler) { on_after_print_ = std::move(handler); }
  // The job pages go to with tgPrinter (not owned); none prints nothing.
  void SetPrintJob(TPrintJob* job) { print_job_ = job; }
  // Ignored while a document is being recorded, whose pages keep their target.
  void SetTarget(TVXTarget value);
  // The outline view of the preview (not owned) is filled from the page
  // list's outline; none detaches it.
  void AttachOutlineView(TVXOutlineTree* view);
  TVXOutlineTree* OutlineView() const { return outline_view_; }
  // Ends and drops the current document.
  void DiscardDocument();
  // Selects entry index of the printer list and reads its driver defaults;
  // only with printers and a private platform printer.
  void SelectPrinter(int32_t index);
  void SetCompressed(bool value) { page_list_->SetCompressed(value); }

  int32_t PageTotal() const { return page_total_; }
  int32_t CurrentPage() const { return current_page_; }
  TVXDocState DocState() const { return doc_state_; }
  TVXTarget Target() const { return target_; }
  bool PrintersAvailable() const { return printers_available_; }
  bool CancelRequested() const { return cancel_requested_; }
  bool LoadedFromFile() const { return loaded_from_file_; }
  int32_t FirstPage() const { return first_page_; }
  int32_t LastPage() const { return last_page_; }
  void SetFirstPage(int32_t value) { first_page_ = value; }
  void SetLastPage(int32_t value) { last_page_ = value; }
  int32_t OffsetLeft() const { return offset_left_; }
  int32_t OffsetTop() const { return offset_top_; }
  Extended XFactor() const { return x_factor_; }
  Extended YFactor() const { return y_factor_; }
  TVXReportOwner* OwnerReport() const { return owner_report_; }
  TPlatformPrinter& PlatformPrinter() const { return *platform_printer_; }
  TPrinterSettings& Settings() const { return *settings_; }
  TVXPageList& PageList() const { return *page_list_; }
  // The stream of the current document; none in dsNone.
  TVXStream* PageStream() const { return page_stream_; }
  const TExportRequestEvent& OnExportRequest() const { return on_export_request_; }
  void SetOnExportRequest(TExportRequestEvent handler) { on_export_request_ = std::move(handler); }

  // Settings forwarders.
  void SetPaperSize(TVXPaperSize value) { settings_->SetPaperSize(value); }
  void SetOrientation(TPrinterOrientation value) { settings_->SetOrientation(value); }
  void SetCopies(int32_t value) { settings_->SetCopies(value); }
  void SetDuplex(bool value) { settings_->SetDuplex(value); }
  void SetOutputBin(TVXBin value) { settings_->SetOutputBin(value); }
  void SetSheetWidth(int32_t value) { settings_->SetSheetWidth(value); }
  void SetSheetLength(int32_t value) { settings_->SetSheetLength(value); }
  void SetUseStandardprinter(bool value) { settings_->SetUseStandardprinter(value); }
  void SetPrintMetaFile(bool value) { settings_->SetPrintMetaFile(value); }
  void SetUseCustomBinCode(bool value) { settings_->SetUseCustomBinCode(value); }
  void SetCustomBinCode(int32_t value) { settings_->SetCustomBinCode(value); }
  void SetUseCustomPaperCode(bool value) { settings_->SetUseCustomPaperCode(value); }
  void SetCustomPaperCode(int32_t value) { settings_->SetCustomPaperCode(value); }
  void SetExtendedDuplex(int32_t value) { settings_->SetExtendedDuplex(value); }
  void SetPrintQuality(int32_t value) { settings_->SetPrintQuality(value); }
  void SetCollate(int32_t value) { settings_->SetCollate(value); }
  void SetColorOption(int32_t value) { settings_->SetColorOption(value); }
  void SetOnGetPrinterSettings(TVXPrinterEvent handler) { settings_->SetOnGetPrinterSettings(std::move(handler)); }
  void SetOnApplyPrinterSettings(TVXPrinterEvent handler) { settings_->SetOnApplyPrinterSettings(std::move(handler)); }
  TVXPaperSize PaperSize() const { return settings_->PaperSize(); }
  TPrinterOrientation Orientation() const { return settings_->Orientation(); }
  bool UseStandardprinter() const { return settings_->UseStandardprinter(); }
  bool PrintMetaFile() const { return settings_->PrintMetaFile(); }
  int32_t EffectiveWidth() const { return settings_->EffectiveWidth(); }
  int32_t EffectiveLength() const { return settings_->EffectiveLength(); }

  // Page size in 0.1 mm as oriented.
  int32_t OrientedWidth() const;
  int32_t OrientedHeight() const;

  // Report units (0.1 mm) to device pixels, rounded to nearest, halves to even.
  int32_t ToDeviceX(Extended x) const;
  int32_t ToDeviceY(Extended y) const;
  int32_t ToDeviceWidth(Extended w) const;
  int32_t ToDeviceHeight(Extended h) const;

private:
  void InferPaperFromFirstPage();
  bool PageInPrintRange() const;
  void StartMetafilePage();
  void OpenPage();
  // Closes the open page; storing it in the page list when store is set.
  void CloseMetafilePage(bool store);
  void ClosePage();
  void ReleasePageObjects();
  void SetScreenFactors();

  TPlatformPrinter* platform_printer_ = nullptr;
  std::unique_ptr<TPlatformPrinter> private_printer_;
  TVXReportOwner* owner_report_ = nullptr;
  // Held by the page list as its data stream; released through DiscardDocument.
  TVXStream* page_stream_ = nullptr;
  bool cancel_requested_ = false;
  TVXTarget target_ = tgPageList;
  int32_t first_page_ = 0;
  int32_t last_page_ = 0;
  int32_t offset_left_ = 0;
  TExportRequestEvent on_export_request_;
  int32_t page_total_ = 0;
  int32_t current_page_ = 0;
  bool printers_available_ = false;
  int32_t offset_top_ = 0;
  TVXDocState doc_state_ = dsNone;
  Extended x_factor_ = kDefaultDeviceFactor;
  Extended y_factor_ = kDefaultDeviceFactor;
  std::unique_ptr<TVXPageList> page_list_;
  bool loaded_from_file_ = false;
  std::unique_ptr<TPrinterSettings> settings_;
  // Recording.
  std::unique_ptr<TMetafile> page_image_;
  std::unique_ptr<TMetafileCanvas> page_recording_;
  bool printing_page_ = false;
  std::vector<std::shared_ptr<void>> page_objects_;
  int32_t pages_announced_ = 0;
  int32_t progress_ = 0;
  TPreviewNotification preview_window_;
  TAfterPrintEvent on_after_print_;
  TPrintJob* print_job_ = nullptr;
  TVXOutlineTree* outline_view_ = nullptr;
};

// Set by every successful load; the report engine clears it when it creates a
// report component, and the preview consults it before printing.
bool SavedReportLoaded();
void SetSavedReportLoaded(bool value);

}  // namespace vx
