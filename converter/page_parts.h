// The pages of a conversion rendered and written part by part: a page is one
// part (drawn whole into a bitmap, then written) or several bands (band_plan.h),
// each drawn into a band buffer and written to the page's file as soon as
// every part before it is written. BMP rows are stored bottom-up, so a page's
// bands go from the bottom up and its file is written front to back. The
// parts run on several workers with the outcome of a serial run
// (ordered_run.h): files are written in page order, nothing after the first
// part that fails, and that part's error is raised; the file of the page it
// belongs to is removed again (unfinished_file.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "converter/conversion_options.h"
#include "converter/conversion_report.h"

namespace vx {

class TMetafile;

struct TPageSource {
  int32_t count = 0;
  // Pages 1..count, asked for one at a time in ascending order.
  std::function<std::unique_ptr<TMetafile>(int32_t index)> fetch;
  std::function<std::string(int32_t index)> file_name;
  // The number --verbose reports (0 for a metafile source).
  std::function<int32_t(int32_t index)> page_number;
  // Whether pages of an ordinary size are also cut, so that the workers share
  // each page (a report's pages); otherwise only large pages are cut.
  bool share_pages = true;
};

// Whether one worker would draw the metafile in bands (a large page, or
// --band-rows asks for it).
bool DrawnInBands(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options);

void ConvertPagesInParts(const TPageSource& source, int32_t resolution, const TConversionOptions& options,
                         int workers, TConversionReporter& reporter);

}  // namespace vx
