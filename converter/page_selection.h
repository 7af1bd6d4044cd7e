// The pages of a report that a conversion writes: every page, or those that
// --pages names, in ascending order and each once.
#pragma once

#include <cstdint>
#include <vector>

#include "converter/conversion_options.h"

namespace vx {

class TPageSelection {
public:
  // Every page from 1 to total when ranges is empty. A range reaching beyond
  // total raises EOptionError, so that nothing is written for a bad request.
  TPageSelection(const std::vector<TPageRange>& ranges, int32_t total);

  int64_t Count() const { return count_; }
  // The page at index (0 to Count() - 1) in ascending order.
  int32_t PageAt(int64_t index) const;
  bool Contains(int32_t page) const;

private:
  std::vector<TPageRange> ranges_;  // ascending, neither overlapping nor touching
  int64_t count_ = 0;
};

}  // namespace vx
