// An in-memory platform printer for tests: it reports a chosen list of
// printers, device-mode record, paper list, resolution, offsets and sheet size,
// and records what the settings hand back to it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/platform_printer.h"

namespace vx::test::doc {

struct TTestPrinterConfig {
  std::vector<std::string> printers = {"Test Printer"};
  int32_t default_index = 0;  // -1: no default printer
  std::string driver_name = "TESTDRV";
  std::string port_name = "LPT1:";
  bool offers_devmode = true;
  TDevMode devmode;  // the driver's defaults, handed out for a fresh selection
  std::optional<std::vector<uint16_t>> paper_codes = std::vector<uint16_t>{};
  int32_t log_pixels_x = 600;
  int32_t log_pixels_y = 600;
  int32_t physical_offset_x = 0;
  int32_t physical_offset_y = 0;
  int32_t physical_width = 0;
  int32_t physical_height = 0;
  std::optional<std::string> driver_path = "C:\\DRIVERS\\W32X86\\3\\TESTDRV.DLL";
};

// A device-mode record with the given field bits and values for them.
TDevMode MakeDevMode(uint32_t fields);

// A printer with one default entry and a record that carries every field.
TTestPrinterConfig FullFeaturedPrinter();

class TTestPrinter : public TPlatformPrinter {
public:
  explicit TTestPrinter(TTestPrinterConfig config = {}, int* destroyed = nullptr)
      : config_(std::move(config)), destroyed_(destroyed) {}
  ~TTestPrinter() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }
  TTestPrinter(const TTestPrinter&) = delete;
  TTestPrinter& operator=(const TTestPrinter&) = delete;

  std::vector<std::string> Printers() const override { return config_.printers; }
  int32_t PrinterIndex() const override { return index_; }
  void SetPrinterIndex(int32_t index) override;
  TPrinterSelection GetPrinter() override;
  void SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                  TDevModeHandle devMode) override;
  int32_t DeviceCaps(TPrinterCap index) override;
  std::optional<std::vector<uint16_t>> PaperCodes(const std::string& device, const std::string& port,
                                                  const TDevMode* devMode) override;
  std::optional<std::string> DriverFilePath(const std::string& device) override;

  TTestPrinterConfig& Config() { return config_; }
  // The record of the current selection (made from the defaults on first use).
  TDevMode& CurrentDevMode();

  int GetPrinterCalls() const { return get_printer_calls_; }
  int SetPrinterCalls() const { return set_printer_calls_; }
  struct TSetPrinterCall {
    std::string device, driver, port;
    TDevModeHandle devmode;
  };
  const std::optional<TSetPrinterCall>& LastSetPrinter() const { return last_set_printer_; }

private:
  int32_t SelectedIndex() const;

  TTestPrinterConfig config_;
  int* destroyed_ = nullptr;
  int32_t index_ = -1;
  TDevModeHandle current_;
  int get_printer_calls_ = 0;
  int set_printer_calls_ = 0;
  std::optional<TSetPrinterCall> last_set_printer_;
};

// Shared and private test printers; every private one copies the template.
class TTestPrinterSource : public TPlatformPrinterSource {
public:
  explicit TTestPrinterSource(TTestPrinterConfig config = {})
      : shared_(config), private_template_(std::move(config)) {}

  TPlatformPrinter& Shared() override { return shared_; }
  std::unique_ptr<TPlatformPrinter> CreatePrivate() override;

  TTestPrinter& SharedPrinter() { return shared_; }
  TTestPrinterConfig& PrivateTemplate() { return private_template_; }
  int PrivatesCreated() const { return privates_created_; }
  int PrivatesDestroyed() const { return privates_destroyed_; }
  // The most recently created private printer; valid while its owner keeps it.
  TTestPrinter* LastPrivate() const { return last_private_; }

private:
  TTestPrinter shared_;
  TTestPrinterConfig private_template_;
  int privates_created_ = 0;
  int privates_destroyed_ = 0;
  TTestPrinter* last_private_ = nullptr;
};

}  // namespace vx::test::doc
