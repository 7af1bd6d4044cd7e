// The persistent printer settings an owning report component carries. A report
// printer created for the component takes UseStandardprinter and MemoryLimit
// from it; the report engine passes the rest on to the printer settings.
#pragma once

#include <cstdint>

#include "document/paper_tables.h"

namespace vx {

struct TVXPrinterSettings {
  int32_t Copies = 1;
  bool Duplex = false;
  uint8_t Orientation = 0;
  TVXBin OutputBin = TVXBin::Auto;
  TVXPaperSize PaperSize = TVXPaperSize::Letter;
  int32_t PrinterListIndex = -1;  // the system default printer
  int32_t FirstPage = 0;
  int32_t LastPage = 0;
  bool UseStandardprinter = false;
  int32_t ExtendedDuplex = 0;
  int32_t MemoryLimit = 250000;
  int32_t PrintQuality = 0;
  int32_t Collate = 0;
  int32_t ColorOption = 0;
  bool UseCustomBinCode = false;
  int32_t CustomBinCode = 0;
  bool UseCustomPaperCode = false;
  int32_t CustomPaperCode = 0;
};

}  // namespace vx
