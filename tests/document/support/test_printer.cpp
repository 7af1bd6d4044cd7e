#include "document/support/test_printer.h"

#include "base/errors.h"
#include "document/printer_messages.h"

namespace vx::test::doc {

TDevMode MakeDevMode(uint32_t fields) {
  TDevMode devMode;
  devMode.dmFields = fields;
  devMode.dmOrientation = 1;
  devMode.dmPaperSize = 9;  // A4
  devMode.dmCopies = 1;
  devMode.dmDefaultSource = 7;  // auto
  devMode.dmDuplex = 1;
  return devMode;
}

TTestPrinterConfig FullFeaturedPrinter() {
  TTestPrinterConfig config;
  config.devmode = MakeDevMode(DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                               DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE);
  config.paper_codes = std::vector<uint16_t>{1, 5, 9};
  return config;
}

int32_t TTestPrinter::SelectedIndex() const {
  if (index_ >= 0) return index_;
  if (config_.default_index < 0 || config_.default_index >= static_cast<int32_t>(config_.printers.size()))
    throw EPrinter(msg::kNoDefaultPrinter);
  return config_.default_index;
}

void TTestPrinter::SetPrinterIndex(int32_t index) {
  if (index < -1 || index >= static_cast<int32_t>(config_.printers.size()))
    throw EPrinter(msg::kPrinterIndexOutOfRange);
  index_ = index;
  current_.reset();
}

TDevMode& TTestPrinter::CurrentDevMode() {
  if (!current_) current_ = std::make_shared<TDevMode>(config_.devmode);
  return *current_;
}

TPrinterSelection TTestPrinter::GetPrinter() {
  ++get_printer_calls_;
  const int32_t index = SelectedIndex();
  TPrinterSelection selection{config_.printers[index], config_.driver_name, config_.port_name, nullptr};
  if (config_.offers_devmode) {
    CurrentDevMode();
    selection.DevMode = current_;
  }
  return selection;
}

void TTestPrinter::SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                              TDevModeHandle devMode) {
  ++set_printer_calls_;
  last_set_printer_ = TSetPrinterCall{device, driver, port, devMode};
  for (size_t i = 0; i < config_.printers.size(); ++i)
    if (config_.printers[i] == device) index_ = static_cast<int32_t>(i);
  current_ = std::move(devMode);  // an empty record goes back to the driver's defaults
}

int32_t TTestPrinter::DeviceCaps(TPrinterCap index) {
  SelectedIndex();
  switch (index) {
    case pcLogPixelsX: return config_.log_pixels_x;
    case pcLogPixelsY: return config_.log_pixels_y;
    case pcPhysicalWidth: return config_.physical_width;
    case pcPhysicalHeight: return config_.physical_height;
    case pcPhysicalOffsetX: return config_.physical_offset_x;
    case pcPhysicalOffsetY: return config_.physical_offset_y;
  }
  return 0;
}

std::optional<std::vector<uint16_t>> TTestPrinter::PaperCodes(const std::string&, const std::string&,
                                                              const TDevMode*) {
  return config_.paper_codes;
}

std::optional<std::string> TTestPrinter::DriverFilePath(const std::string&) { return config_.driver_path; }

std::unique_ptr<TPlatformPrinter> TTestPrinterSource::CreatePrivate() {
  auto printer = std::make_unique<TTestPrinter>(private_template_, &privates_destroyed_);
  ++privates_created_;
  last_private_ = printer.get();
  return printer;
}

}  // namespace vx::test::doc
