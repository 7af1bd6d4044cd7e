#include "document/printer_settings.h"

#include "document/report_rounding.h"
#include "document/window_messages.h"

namespace vx {

namespace {

std::string ToNameBuffer(const std::string& name) {
  return name.substr(0, TPrinterSettings::kNameCapacity);
}

// The text after the last path separator, cut to the driver-name length.
std::string DriverFileName(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  return name.substr(0, TPrinterSettings::kDriverNameLength);
}

// Printer pixels to 0.1 mm. A printer that reports no resolution has no
// measurable margins or sheet, so the result is 0 instead of a division by zero.
int32_t PrinterPixelsToTenthMillimetres(int32_t pixels, int32_t pixelsPerInch) {
  if (pixelsPerInch == 0) return 0;
  const Extended inches = static_cast<Extended>(pixels) / static_cast<Extended>(pixelsPerInch);
  return RoundToInt32(inches * 254);
}

TVXBin BinOfCode(int32_t code) {
  for (int bin = 0; bin < kBinCount; ++bin)
    if (BinCodeMap[bin] == code) return static_cast<TVXBin>(bin);
  return TVXBin::First;
}

// The first paper size from `first` on whose platform code is `code`.
bool FindPaperOfCode(int32_t code, TVXPaperSize first, TVXPaperSize& paper) {
  for (int i = Ord(first); i < kPaperSizeCount; ++i) {
    if (PaperCodeMap[i] == code) {
      paper = static_cast<TVXPaperSize>(i);
      return true;
    }
  }
  return false;
}

// Low 16 bits of a value, as a device-mode field holds it.
int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

constexpr int16_t kDuplexSimplex = 1;
constexpr int16_t kDuplexHorizontal = 3;
constexpr int16_t kOrientationPortrait = 1;
constexpr int16_t kOrientationLandscape = 2;

}  // namespace

void TPrinterSettings::AttachPrinter(TPlatformPrinter* printer) {
  platform_printer_ = printer;
  if (printer != nullptr && !printer->Printers().empty()) ReadFromPrinter();
}

void TPrinterSettings::ReadNamesAndDevMode() {
  TPrinterSelection selection = platform_printer_->GetPrinter();
  if (!selection.DevMode) selection = platform_printer_->GetPrinter();
  device_name_ = ToNameBuffer(selection.DeviceName);
  driver_name_ = ToNameBuffer(selection.DriverName);
  port_name_ = ToNameBuffer(selection.PortName);
  devmode_handle_ = std::move(selection.DevMode);
  devmode_view_ = devmode_handle_.get();
}

bool TPrinterSettings::CallEvent(const TVXPrinterEvent& event) {
  bool cancel = false;
  if (event) event(*this, cancel, devmode_view_);
  return cancel;
}

void TPrinterSettings::ReadFromPrinter() {
  if (platform_printer_ == nullptr) return;
  ProcessPendingMessages();
  ReadNamesAndDevMode();
  // Without a driver report the name from the selection stays.
  if (const auto path = platform_printer_->DriverFilePath(device_name_)) driver_name_ = DriverFileName(*path);
  if (devmode_view_ == nullptr) return;
  if (CallEvent(on_get_printer_settings_)) return;

  const TDevMode& devMode = *devmode_view_;
  resolution_x_ = platform_printer_->DeviceCaps(pcLogPixelsX);
  resolution_y_ = platform_printer_->DeviceCaps(pcLogPixelsY);

  copies_ = IsFieldSupported(DM_COPIES) ? devMode.dmCopies : 1;

  output_bin_ = TVXBin::First;
  if (IsFieldSupported(DM_DEFAULTSOURCE)) output_bin_ = BinOfCode(devMode.dmDefaultSource);

  if (IsFieldSupported(DM_DUPLEX)) {
    duplex_ = devMode.dmDuplex != kDuplexSimplex;
    extended_duplex_ = devMode.dmDuplex;
  }

  unprintable_left_ = PrinterPixelsToTenthMillimetres(platform_printer_->DeviceCaps(pcPhysicalOffsetX), resolution_x_);
  unprintable_top_ = PrinterPixelsToTenthMillimetres(platform_printer_->DeviceCaps(pcPhysicalOffsetY), resolution_y_);

  paper_size_ = TVXPaperSize::Default;
  if (IsFieldSupported(DM_PAPERSIZE)) FindPaperOfCode(devMode.dmPaperSize, TVXPaperSize::Default, paper_size_);

  sheet_width_ = PrinterPixelsToTenthMillimetres(platform_printer_->DeviceCaps(pcPhysicalWidth), resolution_x_);
  sheet_length_ = PrinterPixelsToTenthMillimetres(platform_printer_->DeviceCaps(pcPhysicalHeight), resolution_y_);

  ReadSupportedPapers();

  print_quality_ = devMode.dmPrintQuality;
  collate_ = devMode.dmCollate;
  color_option_ = devMode.dmColor;
}

void TPrinterSettings::ReadSupportedPapers() {
  const auto codes = platform_printer_->PaperCodes(device_name_, port_name_, devmode_view_);
  if (codes) {
    supported_papers_.fill(false);
    for (const uint16_t code : *codes) {
      TVXPaperSize paper{};
      if (FindPaperOfCode(code, TVXPaperSize::Letter, paper)) supported_papers_[Ord(paper) - 1] = true;
    }
  }
  supported_papers_[Ord(TVXPaperSize::Custom) - 1] = true;
}

void TPrinterSettings::ApplyToPrinter() {
  if (platform_printer_ == nullptr) return;
  ReadNamesAndDevMode();
  // Nothing to write into when the platform offers no record.
  if (devmode_view_ == nullptr) return;
  WriteToDevMode(*devmode_view_);
  if (CallEvent(on_apply_printer_settings_)) return;
  platform_printer_->SetPrinter(device_name_, driver_name_, port_name_, devmode_handle_);
}

void TPrinterSettings::WriteToDevMode(TDevMode& devMode) {
  devMode.dmFields |= DM_PAPERLENGTH;
  devMode.dmPaperLength = Low16(EffectiveLength());
  devMode.dmFields |= DM_PAPERWIDTH;
  devMode.dmPaperWidth = Low16(EffectiveWidth());

  if (IsFieldSupported(DM_PAPERSIZE) && paper_size_ != TVXPaperSize::Default) {
    devMode.dmFields |= DM_PAPERSIZE;
    devMode.dmPaperSize = Low16(use_custom_paper_code_ ? custom_paper_code_ : PaperCodeMap[Ord(paper_size_)]);
  }

  devMode.dmFields |= DM_COPIES;
  devMode.dmCopies = Low16(copies_);

  if (IsFieldSupported(DM_DUPLEX)) {
    devMode.dmFields |= DM_DUPLEX;
    const int32_t fromSwitch = duplex_ ? kDuplexHorizontal : kDuplexSimplex;
    devMode.dmDuplex = Low16(extended_duplex_ != 0 ? extended_duplex_ : fromSwitch);
  }

  devMode.dmFields |= DM_DEFAULTSOURCE;
  devMode.dmDefaultSource = Low16(use_custom_bin_code_ ? custom_bin_code_ : BinCodeMap[Ord(output_bin_)]);

  devMode.dmFields |= DM_ORIENTATION;
  devMode.dmOrientation = orientation_ == poLandscape ? kOrientationLandscape : kOrientationPortrait;

  if (IsFieldSupported(DM_COLLATE)) devMode.dmCollate = Low16(collate_);
}

bool TPrinterSettings::IsFieldSupported(uint32_t mask) const {
  return platform_printer_ != nullptr && devmode_view_ != nullptr && (devmode_view_->dmFields & mask) == mask;
}

bool TPrinterSettings::IsPaperSupported(TVXPaperSize paper) const {
  if (Ord(paper) < Ord(TVXPaperSize::Letter) || Ord(paper) >= kPaperSizeCount) return false;
  return supported_papers_[Ord(paper) - 1];
}

int32_t TPrinterSettings::EffectiveWidth() const {
  const TPaperDimensions* row = PaperTableRow(paper_size_);
  return row == nullptr ? sheet_width_ : RoundToInt32(row->Width * 10);
}

int32_t TPrinterSettings::EffectiveLength() const {
  const TPaperDimensions* row = PaperTableRow(paper_size_);
  return row == nullptr ? sheet_length_ : RoundToInt32(row->Length * 10);
}

void TPrinterSettings::SetCopies(int32_t value) {
  if (IsFieldSupported(DM_COPIES)) copies_ = value;
}

void TPrinterSettings::SetOrientation(TPrinterOrientation value) {
  if (IsFieldSupported(DM_ORIENTATION)) orientation_ = value;
}

void TPrinterSettings::SetDuplex(bool value) {
  if (IsFieldSupported(DM_DUPLEX)) duplex_ = value;
}

void TPrinterSettings::SetOutputBin(TVXBin value) {
  if (Ord(value) < kBinCount && IsFieldSupported(DM_DEFAULTSOURCE)) output_bin_ = value;
}

void TPrinterSettings::SetPaperSize(TVXPaperSize value) {
  if (value == TVXPaperSize::Default || IsPaperSupported(value)) paper_size_ = value;
}

}  // namespace vx
