#include "document/platform_printer.h"

#include "base/errors.h"
#include "document/printer_messages.h"

namespace vx {

void TSystemPrinter::SetPrinterIndex(int32_t index) {
  if (index != -1) throw EPrinter(msg::kPrinterIndexOutOfRange);
}

TPrinterSelection TSystemPrinter::GetPrinter() {
  throw EPrinter(msg::kNoDefaultPrinter);
}

void TSystemPrinter::SetPrinter(const std::string&, const std::string&, const std::string&,
                                TDevModeHandle) {
  throw EPrinter(msg::kPrinterNotValid);
}

int32_t TSystemPrinter::DeviceCaps(TPrinterCap) {
  throw EPrinter(msg::kNoDefaultPrinter);
}

std::optional<std::vector<uint16_t>> TSystemPrinter::PaperCodes(const std::string&, const std::string&,
                                                                const TDevMode*) {
  return std::nullopt;
}

std::optional<std::string> TSystemPrinter::DriverFilePath(const std::string&) {
  return std::nullopt;
}

namespace {

class TSystemPrinterSource : public TPlatformPrinterSource {
public:
  TPlatformPrinter& Shared() override {
    static TSystemPrinter shared;
    return shared;
  }
  std::unique_ptr<TPlatformPrinter> CreatePrivate() override {
    return std::make_unique<TSystemPrinter>();
  }
};

}  // namespace

TPlatformPrinterSource& SystemPrinterSource() {
  static TSystemPrinterSource source;
  return source;
}

TPlatformPrinter& SharedPlatformPrinter() { return SystemPrinterSource().Shared(); }

}  // namespace vx
