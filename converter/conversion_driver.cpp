#include "converter/conversion_driver.h"

#include <memory>

#include "base/errors.h"
#include "converter/page_file_name.h"
#include "converter/page_rasterizer.h"
#include "converter/parallel_pages.h"
#include "converter/worker_count.h"
#include "document/vx_printer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {

void ConvertReportFile(const std::string& source, const std::string& destination, int32_t resolution,
                       const TConversionOptions& options) {
  const std::string prefix = PageFilePrefix(destination);
  const auto printer = std::make_unique<TVXPrinter>(nullptr);
  printer->LoadReportFile(source);
  TPageStages stages;
  stages.fetch = [&printer](int32_t n) {
    std::unique_ptr<TMetafile> page = printer->PageMetafile(n);
    // Every page from 1 to PageTotal exists once the report has loaded; should
    // one not come back, the report is damaged rather than a page left out.
    if (!page) throw EInvalidGraphic(msg::kInvalidMetafile);
    return page;
  };
  stages.render = [resolution](int32_t, TMetafile& page) { return RenderMetafile(page, resolution); };
  stages.write = [&prefix](int32_t n, TBitmap& bitmap) { bitmap.WriteToFile(PageFileName(prefix, n)); };
  RunPagesInParallel(printer->PageTotal(), WorkerCount(options.jobs), stages);
}

void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution,
                         const TConversionOptions& /*options*/) {
  const auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromFile(source);  // closes the source before the destination is created
  RenderMetafileToFile(*metafile, destination, resolution);
}

}  // namespace vx
