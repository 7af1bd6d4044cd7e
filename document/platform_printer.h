// The platform's printer services as the report library sees them: the list of
// installed printers, the current selection with its device-mode record, the
// device capabilities of the selected printer, its paper list and its driver.
// The POSIX build has no printers; tests supply their own implementation.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// Field bits of the device-mode record.
inline constexpr uint32_t DM_ORIENTATION = 0x1;
inline constexpr uint32_t DM_PAPERSIZE = 0x2;
inline constexpr uint32_t DM_PAPERLENGTH = 0x4;
inline constexpr uint32_t DM_PAPERWIDTH = 0x8;
inline constexpr uint32_t DM_COPIES = 0x100;
inline constexpr uint32_t DM_DEFAULTSOURCE = 0x200;
inline constexpr uint32_t DM_PRINTQUALITY = 0x400;
inline constexpr uint32_t DM_COLOR = 0x800;
inline constexpr uint32_t DM_DUPLEX = 0x1000;
inline constexpr uint32_t DM_COLLATE = 0x8000;

// The part of the platform's device-mode record the report library reads and
// writes. Every value is a signed 16-bit field.
struct TDevMode {
  uint32_t dmFields = 0;
  int16_t dmOrientation = 0;
  int16_t dmPaperSize = 0;
  int16_t dmPaperLength = 0;
  int16_t dmPaperWidth = 0;
  int16_t dmCopies = 0;
  int16_t dmDefaultSource = 0;
  int16_t dmPrintQuality = 0;
  int16_t dmColor = 0;
  int16_t dmDuplex = 0;
  int16_t dmCollate = 0;
  friend bool operator==(const TDevMode&, const TDevMode&) = default;
};

// A handle on a device-mode record. Whoever holds one keeps the record alive, so
// a view taken from it stays valid after the printer has moved on to another.
using TDevModeHandle = std::shared_ptr<TDevMode>;

// Device capability indices of a printer.
enum TPrinterCap : int {
  pcLogPixelsX = 88,         // LOGPIXELSX
  pcLogPixelsY = 90,         // LOGPIXELSY
  pcPhysicalWidth = 110,     // PHYSICALWIDTH
  pcPhysicalHeight = 111,    // PHYSICALHEIGHT
  pcPhysicalOffsetX = 112,   // PHYSICALOFFSETX
  pcPhysicalOffsetY = 113,   // PHYSICALOFFSETY
};

// The current selection of a printer object.
struct TPrinterSelection {
  std::string DeviceName;
  std::string DriverName;
  std::string PortName;
  TDevModeHandle DevMode;  // empty when the platform offers none
};

class TPlatformPrinter {
public:
  virtual ~TPlatformPrinter() = default;

  // Names of the installed printers, in the platform's order.
  virtual std::vector<std::string> Printers() const = 0;

  // Index into Printers() of the current selection; -1 is the system default.
  virtual int32_t PrinterIndex() const = 0;
  // Raises EPrinter "Printer index out of range" for an index outside the list
  // (other than -1).
  virtual void SetPrinterIndex(int32_t index) = 0;

  // Names and device-mode record of the current selection. Raises EPrinter
  // "There is no default printer currently selected" when the system default
  // is asked for and there is none.
  virtual TPrinterSelection GetPrinter() = 0;
  // Selects the named printer with the given record; an empty record resets it
  // to the driver's defaults.
  virtual void SetPrinter(const std::string& device, const std::string& driver,
                          const std::string& port, TDevModeHandle devMode) = 0;

  // A device capability of the current selection. Raises EPrinter "Printer
  // selected is not valid" when the platform cannot query the printer.
  virtual int32_t DeviceCaps(TPrinterCap index) = 0;

  // The paper codes the printer supports (the DC_PAPERS query); none when the
  // query fails.
  virtual std::optional<std::vector<uint16_t>> PaperCodes(const std::string& device,
                                                          const std::string& port,
                                                          const TDevMode* devMode) = 0;

  // The spooler's driver file path for the printer; none when the spooler cannot
  // open the printer or report its driver.
  virtual std::optional<std::string> DriverFilePath(const std::string& device) = 0;
};

// The platform printer of this system: no installed printers.
class TSystemPrinter : public TPlatformPrinter {
public:
  std::vector<std::string> Printers() const override { return {}; }
  int32_t PrinterIndex() const override { return -1; }
  void SetPrinterIndex(int32_t index) override;
  TPrinterSelection GetPrinter() override;
  void SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                  TDevModeHandle devMode) override;
  int32_t DeviceCaps(TPrinterCap index) override;
  std::optional<std::vector<uint16_t>> PaperCodes(const std::string& device, const std::string& port,
                                                  const TDevMode* devMode) override;
  std::optional<std::string> DriverFilePath(const std::string& device) override;
};

// Where report printers get their platform printer objects from: one shared by
// the whole process, and private ones that each report printer owns.
class TPlatformPrinterSource {
public:
  virtual ~TPlatformPrinterSource() = default;
  // Created on first use, never released by its users.
  virtual TPlatformPrinter& Shared() = 0;
  // A new object on the system default printer.
  virtual std::unique_ptr<TPlatformPrinter> CreatePrivate() = 0;
};

// The system's source: TSystemPrinter objects, the shared one made on first use.
TPlatformPrinterSource& SystemPrinterSource();

// The process-wide platform printer object of the system's source.
TPlatformPrinter& SharedPlatformPrinter();

}  // namespace vx
