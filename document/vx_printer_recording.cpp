// The recording cycle of the report printer: pages drawn on its page canvas
// become metafiles appended to the page list (or go to the print job), and a
// preview is told as they arrive.
#include "base/errors.h"
#include "document/printer_messages.h"
#include "document/vx_printer.h"
#include "document/window_messages.h"
#include "graphics/screen_pixels_per_inch.h"

namespace vx {

namespace {

constexpr Extended kTenthMillimetresPerInch = 254;
// Below this a printer's resolution is taken as unknown.
constexpr Extended kSmallestPrinterFactor = 0.1L;

Extended PrinterFactor(int32_t pixelsPerInch) {
  const Extended factor = static_cast<Extended>(pixelsPerInch) / kTenthMillimetresPerInch;
  return factor < kSmallestPrinterFactor ? kDefaultDeviceFactor : factor;
}

}  // namespace

void TVXPrinter::SetScreenFactors() {
  y_factor_ = static_cast<Extended>(ScreenPixelsPerInch()) / kTenthMillimetresPerInch;
  x_factor_ = y_factor_;
}

// A refused call still resets the announcements and the cancel request,
// applies the printer settings and sets the offsets; the page a running
// recording has open stays open, so that recording can go on.
void TVXPrinter::BeginDocument() {
  pages_announced_ = 0;
  cancel_requested_ = false;
  if (target_ == tgPrinter) settings_->ApplyToPrinter();
  offset_top_ = target_ == tgPrinter ? settings_->UnprintableTop() : 0;
  offset_left_ = target_ == tgPrinter ? settings_->UnprintableLeft() : 0;
  if (doc_state_ != dsNone) throw EVXError(msg::kPrinterNotReady);

  if (target_ == tgPageList) {
    std::unique_ptr<TVXStream> stream = TVXStream::CreateInMemory(settings_->MemoryLimit());
    page_stream_ = stream.get();
    page_list_->SetDataStream(std::move(stream));
    SetScreenFactors();
  } else {
    x_factor_ = PrinterFactor(platform_printer_->DeviceCaps(pcLogPixelsX));
    y_factor_ = PrinterFactor(platform_printer_->DeviceCaps(pcLogPixelsY));
  }
  current_page_ = 0;
  page_total_ = 0;
  loaded_from_file_ = false;
  doc_state_ = dsRecording;
}

bool TVXPrinter::PageInPrintRange() const {
  return (first_page_ <= 0 || page_total_ >= first_page_) && (last_page_ <= 0 || page_total_ <= last_page_);
}

TCanvas* TVXPrinter::PageCanvas() const {
  if (printing_page_ && print_job_ != nullptr) return &print_job_->Canvas();
  return page_recording_.get();
}

void TVXPrinter::AddPageObject(std::shared_ptr<void> object) { page_objects_.push_back(std::move(object)); }

void TVXPrinter::ReleasePageObjects() { page_objects_.clear(); }

// The page's size in screen pixels through the factors in force, then the
// canvas on the screen; pages are drawn in screen pixels from then on.
void TVXPrinter::StartMetafilePage() {
  auto image = std::make_unique<TMetafile>();
  image->SetPixelWidth(ToDeviceWidth(OrientedWidth()));
  image->SetPixelHeight(ToDeviceHeight(OrientedHeight()));
  page_recording_ = std::make_unique<TMetafileCanvas>(*image);
  page_image_ = std::move(image);
  SetScreenFactors();
  page_objects_.clear();
}

void TVXPrinter::OpenPage() {
  if (target_ == tgPrinter && PageInPrintRange()) {
    printing_page_ = true;
    if (print_job_ == nullptr) return;
    if (print_job_->Printing()) print_job_->NewPage();
    else print_job_->BeginDoc();
    return;
  }
  StartMetafilePage();
}

// The canvas is released first: only then does the metafile hold the page.
// A page that fails to store is dropped, and the error passes on.
void TVXPrinter::CloseMetafilePage(bool store) {
  if (!page_image_) return;
  std::unique_ptr<TMetafile> image = std::move(page_image_);
  std::unique_ptr<TMetafileCanvas> recording = std::move(page_recording_);
  try {
    if (recording) recording->Release();
    recording.reset();
    if (store) page_list_->AppendPage(*image);
  } catch (...) {
    ReleasePageObjects();
    throw;
  }
  ReleasePageObjects();
}

void TVXPrinter::ClosePage() {
  if (target_ == tgPrinter && printing_page_) {
    // The next page or the end of the job ends the printed page.
    printing_page_ = false;
    ReleasePageObjects();
    return;
  }
  CloseMetafilePage(target_ == tgPageList);
}

void TVXPrinter::NewPage() {
  if (doc_state_ != dsRecording) throw EVXError(msg::kIllegalNewPage);
  if (current_page_ > 0) {
    ClosePage();
    AnnouncePages(pages_announced_ + 1);
  }
  ++page_total_;
  ++current_page_;
  OpenPage();
}

void TVXPrinter::EndDocument() {
  if (doc_state_ != dsRecording) return;
  if (target_ == tgPageList) {
    if (page_total_ > 0) CloseMetafilePage(true);
  } else {
    CloseMetafilePage(false);
    printing_page_ = false;
    ReleasePageObjects();
    if (print_job_ != nullptr && print_job_->Printing()) print_job_->EndDoc();
  }
  doc_state_ = dsComplete;
  AnnouncePages(pages_announced_ + 1);
  ProcessPendingMessages();
  if (target_ == tgPageList) {
    page_list_->WriteHeader();
  } else if (on_after_print_) {
    on_after_print_(*this);
  }
}

void TVXPrinter::AbortDocument() {
  if (doc_state_ != dsRecording) return;
  if (target_ == tgPrinter) {
    if (print_job_ != nullptr && print_job_->Printing()) print_job_->Abort();
    printing_page_ = false;
    CloseMetafilePage(false);
  } else {
    const bool drop = owner_report_ != nullptr && owner_report_->DropAbortedPage();
    CloseMetafilePage(!drop);
  }
  ReleasePageObjects();
  doc_state_ = dsComplete;
}

void TVXPrinter::AnnouncePages(int32_t n) {
  pages_announced_ = n;
  if (preview_window_) preview_window_(kPageAvailableMessage, n);
}

void TVXPrinter::ReportProgress(int32_t n) {
  progress_ = n;
  if (preview_window_) preview_window_(kProgressMessage, n);
}

void TVXPrinter::SetTarget(TVXTarget value) {
  if (doc_state_ == dsRecording) return;
  target_ = value;
}

void TVXPrinter::AttachOutlineView(TVXOutlineTree* view) {
  outline_view_ = view;
  if (outline_view_ != nullptr) page_list_->Outline().FillTree(*outline_view_);
}

}  // namespace vx
