#include "document/vx_printer.h"

#include <atomic>

#include "document/report_rounding.h"
#include "document/window_messages.h"
#include "graphics/screen_pixels_per_inch.h"

namespace vx {

namespace {

std::atomic<bool> saved_report_loaded{false};

// Quantises a length in 0.1 mm to units of 4 mm, as paper sizes are compared.
constexpr Extended kQuantumTenthMillimetres = 40;
constexpr Extended kQuantumMillimetres = 4;

}  // namespace

bool SavedReportLoaded() { return saved_report_loaded.load(); }
void SetSavedReportLoaded(bool value) { saved_report_loaded.store(value); }

TVXPrinter::TVXPrinter(TVXReportOwner* owner, TPlatformPrinterSource& source) {
  printers_available_ = !source.Shared().Printers().empty();
  settings_ = std::make_unique<TPrinterSettings>();
  if (owner != nullptr) {
    owner_report_ = owner;
    const TVXPrinterSettings& ownerSettings = owner->PrinterSettings();
    settings_->SetUseStandardprinter(ownerSettings.UseStandardprinter);
    settings_->SetMemoryLimit(ownerSettings.MemoryLimit);
  } else {
    settings_->SetUseStandardprinter(false);
  }

  if (settings_->UseStandardprinter()) {
    platform_printer_ = &source.Shared();
  } else {
    private_printer_ = source.CreatePrivate();
    platform_printer_ = private_printer_.get();
  }

  if (printers_available_) {
    settings_->AttachPrinter(platform_printer_);
    ProcessPendingMessages();
  }

  offset_top_ = settings_->UnprintableTop();
  offset_left_ = settings_->UnprintableLeft();
  page_list_ = std::make_unique<TVXPageList>();
}

TVXPrinter::~TVXPrinter() {
  if (doc_state_ != dsNone) DiscardDocument();
  private_printer_.reset();
  settings_.reset();
  page_list_.reset();
}

void TVXPrinter::DiscardDocument() {
  if (doc_state_ == dsRecording) cancel_requested_ = true;
  // An open page goes without being stored.
  page_recording_.reset();
  page_image_.reset();
  printing_page_ = false;
  page_objects_.clear();
  if (page_stream_ != nullptr) {
    page_stream_ = nullptr;
    page_list_->SetDataStream(nullptr);  // frees the stream (and a spilled stream's file)
  }
  page_list_->ResetPageCount();
  doc_state_ = dsNone;
}

void TVXPrinter::LoadReportFile(const std::string& name) {
  if (doc_state_ != dsNone) DiscardDocument();
  page_list_->OpenFile(name);
  page_total_ = page_list_->StoredPages();
  x_factor_ = static_cast<Extended>(ScreenPixelsPerInch()) / 254;
  y_factor_ = x_factor_;
  if (page_total_ > 0) InferPaperFromFirstPage();
  page_stream_ = page_list_->DataStream();
  doc_state_ = dsComplete;
  on_export_request_ = nullptr;
  loaded_from_file_ = true;
  SetSavedReportLoaded(true);
}

// Every row that fits issues its requests, so a later row overrides an earlier
// one; the settings refuse what the printer does not support.
void TVXPrinter::InferPaperFromFirstPage() {
  int32_t pixelWidth = 0;
  int32_t pixelHeight = 0;
  {
    const std::unique_ptr<TMetafile> page = page_list_->FetchPage(1);
    if (!page) return;
    pixelWidth = page->PixelWidth();
    pixelHeight = page->PixelHeight();
  }
  // Both sides use the horizontal factor.
  const int32_t w = TruncToInt32(static_cast<Extended>(pixelWidth) / x_factor_ / kQuantumTenthMillimetres);
  const int32_t h = TruncToInt32(static_cast<Extended>(pixelHeight) / x_factor_ / kQuantumTenthMillimetres);

  for (int i = Ord(TVXPaperSize::Letter); i <= Ord(TVXPaperSize::ESheet); ++i) {
    const auto paper = static_cast<TVXPaperSize>(i);
    const TPaperDimensions& row = *PaperTableRow(paper);
    const int32_t tw = TruncToInt32(row.Width / kQuantumMillimetres);
    const int32_t tl = TruncToInt32(row.Length / kQuantumMillimetres);
    if (w == tw && h == tl) {
      settings_->SetPaperSize(paper);
      settings_->SetOrientation(poPortrait);
    }
    if (h == tw && w == tl) {
      settings_->SetPaperSize(paper);
      settings_->SetOrientation(poLandscape);
    }
  }
}

std::unique_ptr<TMetafile> TVXPrinter::PageMetafile(int32_t n) {
  if (doc_state_ != dsRecording && doc_state_ != dsComplete) return nullptr;
  if (n < 1 || n > page_total_) return nullptr;
  return page_list_->FetchPage(n);
}

void TVXPrinter::SaveReportFile(const std::string& name) {
  if (doc_state_ != dsComplete) return;
  page_list_->StoreToFile(name);
}

void TVXPrinter::SelectPrinter(int32_t index) {
  if (!printers_available_ || settings_->UseStandardprinter()) return;
  platform_printer_->SetPrinterIndex(index);
  const TPrinterSelection selection = platform_printer_->GetPrinter();
  platform_printer_->SetPrinter(selection.DeviceName, selection.DriverName, selection.PortName, nullptr);
  settings_->ReadFromPrinter();
}

int32_t TVXPrinter::OrientedWidth() const {
  return settings_->Orientation() == poLandscape ? settings_->EffectiveLength() : settings_->EffectiveWidth();
}

int32_t TVXPrinter::OrientedHeight() const {
  return settings_->Orientation() == poLandscape ? settings_->EffectiveWidth() : settings_->EffectiveLength();
}

int32_t TVXPrinter::ToDeviceX(Extended x) const { return RoundToInt32((x - offset_left_) * x_factor_); }
int32_t TVXPrinter::ToDeviceY(Extended y) const { return RoundToInt32((y - offset_top_) * y_factor_); }
int32_t TVXPrinter::ToDeviceWidth(Extended w) const { return RoundToInt32(w * x_factor_); }
int32_t TVXPrinter::ToDeviceHeight(Extended h) const { return RoundToInt32(h * y_factor_); }

}  // namespace vx
