// Messages of the printer layer and the report printer.
#pragma once

namespace vx::msg {
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";
inline constexpr const char* kPrinterNotValid = "Printer selected is not valid";
inline constexpr const char* kPrinterIndexOutOfRange = "Printer index out of range";
inline constexpr const char* kPrinterNotReady = "VXPrinter not ready";
inline constexpr const char* kIllegalNewPage = "Illegal call to NewPage";
}  // namespace vx::msg
