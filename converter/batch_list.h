// The list of a batch conversion: one SOURCE<TAB>DEST[<TAB>DPI] a line.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace vx {

struct TBatchItem {
  int32_t line = 0;             // 1-based line number in the list
  std::string source;
  std::string destination;
  std::string resolution_text;  // empty: the default resolution
  std::string fault;            // set when the line is not of the form above
};

inline constexpr const char* kBatchLineFault = "The line is not SOURCE<TAB>DEST[<TAB>DPI]";

// Every line that holds more than blanks becomes an item; a carriage return at
// the end of a line is dropped. Lines that do not have two or three fields, or
// have an empty source or destination, become items with a fault.
std::vector<TBatchItem> ReadBatchList(std::istream& in);

// The list from a file, or from standard input for "-". Raises EFOpenError
// when the file cannot be read.
std::vector<TBatchItem> ReadBatchListFile(const std::string& listPath);

}  // namespace vx
