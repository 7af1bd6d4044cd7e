// Reads arbitrary bytes as a batch list. Every item must come from a line of
// the input and be either well formed or marked faulty; nothing may crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "converter/batch_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  int32_t previousLine = 0;
  for (const vx::TBatchItem& item : vx::ReadBatchList(in)) {
    if (item.line <= previousLine) std::abort();  // in list order, one item a line
    previousLine = item.line;
    if (item.fault.empty() && (item.source.empty() || item.destination.empty())) std::abort();
    if (item.source.find('\t') != std::string::npos || item.destination.find('\t') != std::string::npos) std::abort();
  }
  return 0;
}
