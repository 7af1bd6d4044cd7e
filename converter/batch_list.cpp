#include "converter/batch_list.h"

#include <cstdio>
#include <istream>
#include <sstream>
#include <string>

#include "base/file_stream.h"

namespace vx {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool OnlyBlanks(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::vector<TBatchItem> ReadBatchList(std::istream& in) {
  std::vector<TBatchItem> items;
  std::string line;
  for (int32_t number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (OnlyBlanks(line)) continue;
    TBatchItem item;
    item.line = number;
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() < 2 || fields.size() > 3 || fields[0].empty() || fields[1].empty()) {
      item.source = fields[0];
      item.fault = kBatchLineFault;
    } else {
      item.source = fields[0];
      item.destination = fields[1];
      if (fields.size() == 3) item.resolution_text = fields[2];
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::vector<TBatchItem> ReadBatchListFile(const std::string& listPath) {
  // Standard input through the C library: the C++ standard streams would cost
  // every process their set-up at start.
  std::string text;
  char chunk[65536];
  if (listPath == "-") {
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) text.append(chunk, n);
  } else {
    TFileStream file(listPath, TFileMode::OpenReadDenyWrite);  // the usual open error
    for (int32_t n; (n = file.Read(chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
  }
  std::istringstream in(text);
  return ReadBatchList(in);
}

}  // namespace vx
