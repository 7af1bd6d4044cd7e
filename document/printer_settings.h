// The printer settings a report printer owns: what a print job would use, and
// what the selected platform printer reports about itself. Setters that need
// printer support ignore values the printer does not support.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "document/paper_tables.h"
#include "document/platform_printer.h"

namespace vx {

enum TPrinterOrientation : uint8_t { poPortrait = 0, poLandscape = 1 };

class TPrinterSettings;

// Called before the record is read from, or handed to, the printer; setting
// cancel stops the rest of that step.
using TVXPrinterEvent = std::function<void(TPrinterSettings& sender, bool& cancel, TDevMode* devMode)>;

class TPrinterSettings {
public:
  static constexpr int32_t kDefaultMemoryLimit = 250000;
  static constexpr size_t kNameCapacity = 1023;   // characters of a name buffer
  static constexpr size_t kDriverNameLength = 63;  // the driver's file name, at most

  TPrinterSettings() = default;
  TPrinterSettings(const TPrinterSettings&) = delete;
  TPrinterSettings& operator=(const TPrinterSettings&) = delete;

  // Mirrors the printer from now on; reads it when it lists installed printers.
  void AttachPrinter(TPlatformPrinter* printer);
  void ReadFromPrinter();
  void ApplyToPrinter();

  bool IsFieldSupported(uint32_t mask) const;
  bool IsPaperSupported(TVXPaperSize paper) const;
  // Sheet size in 0.1 mm: the table size of a standard paper, else the sheet fields.
  int32_t EffectiveWidth() const;
  int32_t EffectiveLength() const;

  // Guarded setters.
  void SetCopies(int32_t value);
  void SetOrientation(TPrinterOrientation value);
  void SetDuplex(bool value);
  void SetOutputBin(TVXBin value);
  void SetPaperSize(TVXPaperSize value);

  // Plain setters.
  void SetSheetWidth(int32_t value) { sheet_width_ = value; }
  void SetSheetLength(int32_t value) { sheet_length_ = value; }
  void SetUseStandardprinter(bool value) { use_standard_printer_ = value; }
  void SetPrintMetaFile(bool value) { print_metafile_ = value; }
  void SetUseCustomBinCode(bool value) { use_custom_bin_code_ = value; }
  void SetCustomBinCode(int32_t value) { custom_bin_code_ = value; }
  void SetUseCustomPaperCode(bool value) { use_custom_paper_code_ = value; }
  void SetCustomPaperCode(int32_t value) { custom_paper_code_ = value; }
  void SetExtendedDuplex(int32_t value) { extended_duplex_ = value; }
  void SetPrintQuality(int32_t value) { print_quality_ = value; }
  void SetCollate(int32_t value) { collate_ = value; }
  void SetColorOption(int32_t value) { color_option_ = value; }
  void SetMemoryLimit(int32_t value) { memory_limit_ = value; }
  void SetOnGetPrinterSettings(TVXPrinterEvent handler) { on_get_printer_settings_ = std::move(handler); }
  void SetOnApplyPrinterSettings(TVXPrinterEvent handler) { on_apply_printer_settings_ = std::move(handler); }

  const std::string& DeviceName() const { return device_name_; }
  const std::string& DriverName() const { return driver_name_; }
  const std::string& PortName() const { return port_name_; }
  // The device-mode record read last; null before the first read.
  const TDevMode* DevMode() const { return devmode_view_; }
  int32_t Copies() const { return copies_; }
  bool Duplex() const { return duplex_; }
  bool PrintMetaFile() const { return print_metafile_; }
  bool UseStandardprinter() const { return use_standard_printer_; }
  const TVXPrinterEvent& OnGetPrinterSettings() const { return on_get_printer_settings_; }
  const TVXPrinterEvent& OnApplyPrinterSettings() const { return on_apply_printer_settings_; }
  int32_t ExtendedDuplex() const { return extended_duplex_; }
  bool UseCustomBinCode() const { return use_custom_bin_code_; }
  int32_t CustomBinCode() const { return custom_bin_code_; }
  int32_t PrintQuality() const { return print_quality_; }
  int32_t Collate() const { return collate_; }
  int32_t ColorOption() const { return color_option_; }
  int32_t MemoryLimit() const { return memory_limit_; }
  bool UseCustomPaperCode() const { return use_custom_paper_code_; }
  int32_t CustomPaperCode() const { return custom_paper_code_; }
  TPrinterOrientation Orientation() const { return orientation_; }
  TVXBin OutputBin() const { return output_bin_; }
  TVXPaperSize PaperSize() const { return paper_size_; }
  int32_t SheetWidth() const { return sheet_width_; }
  int32_t SheetLength() const { return sheet_length_; }
  int32_t ResolutionX() const { return resolution_x_; }
  int32_t ResolutionY() const { return resolution_y_; }
  int32_t UnprintableTop() const { return unprintable_top_; }
  int32_t UnprintableLeft() const { return unprintable_left_; }
  TPlatformPrinter* PlatformPrinter() const { return platform_printer_; }

private:
  void ReadNamesAndDevMode();
  bool CallEvent(const TVXPrinterEvent& event);
  void ReadSupportedPapers();
  void WriteToDevMode(TDevMode& devMode);

  std::string device_name_;
  std::string driver_name_;
  std::string port_name_;
  TDevModeHandle devmode_handle_;
  TDevMode* devmode_view_ = nullptr;
  int32_t copies_ = 0;
  bool duplex_ = false;
  bool print_metafile_ = false;
  bool use_standard_printer_ = false;
  TVXPrinterEvent on_get_printer_settings_;
  TVXPrinterEvent on_apply_printer_settings_;
  int32_t extended_duplex_ = 0;
  bool use_custom_bin_code_ = false;
  int32_t custom_bin_code_ = 0;
  int32_t print_quality_ = 0;
  int32_t collate_ = 0;
  int32_t color_option_ = 0;
  int32_t memory_limit_ = kDefaultMemoryLimit;
  bool use_custom_paper_code_ = false;
  int32_t custom_paper_code_ = 0;
  TPrinterOrientation orientation_ = poPortrait;
  TVXBin output_bin_ = TVXBin::First;
  TVXPaperSize paper_size_ = TVXPaperSize::A4;
  // Indexed by paper size minus one: Letter to Custom.
  std::array<bool, kPaperSizeCount - 1> supported_papers_{};
  int32_t sheet_width_ = 0;
  int32_t sheet_length_ = 0;
  int32_t resolution_x_ = 0;
  int32_t resolution_y_ = 0;
  int32_t unprintable_top_ = 0;
  int32_t unprintable_left_ = 0;
  TPlatformPrinter* platform_printer_ = nullptr;  // not owned
};

}  // namespace vx
