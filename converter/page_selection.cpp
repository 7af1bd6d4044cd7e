#include "converter/page_selection.h"

#include <algorithm>
#include <string>

#include "base/errors.h"

namespace vx {

TPageSelection::TPageSelection(const std::vector<TPageRange>& ranges, int32_t total) {
  if (ranges.empty()) {
    if (total > 0) ranges_.push_back({1, total});
  } else {
    std::vector<TPageRange> sorted = ranges;
    std::sort(sorted.begin(), sorted.end(),
              [](const TPageRange& a, const TPageRange& b) { return a.first < b.first; });
    for (const TPageRange& range : sorted) {
      if (range.last > total)
        throw EOptionError("Option \"--pages\" asks for page " + std::to_string(range.last) +
                           (total > 0 ? "; the last page is " + std::to_string(total) : "; there are no pages"));
      if (!ranges_.empty() && int64_t(range.first) <= int64_t(ranges_.back().last) + 1)
        ranges_.back().last = std::max(ranges_.back().last, range.last);
      else
        ranges_.push_back(range);
    }
  }
  for (const TPageRange& range : ranges_) count_ += int64_t(range.last) - range.first + 1;
}

int32_t TPageSelection::PageAt(int64_t index) const {
  for (const TPageRange& range : ranges_) {
    const int64_t size = int64_t(range.last) - range.first + 1;
    if (index < size) return static_cast<int32_t>(range.first + index);
    index -= size;
  }
  return 0;
}

bool TPageSelection::Contains(int32_t page) const {
  return std::any_of(ranges_.begin(), ranges_.end(),
                     [page](const TPageRange& r) { return page >= r.first && page <= r.last; });
}

}  // namespace vx
