#include "converter/conversion_driver.h"

#include <memory>

#include "base/errors.h"
#include "converter/conversion_report.h"
#include "converter/page_file_name.h"
#include "converter/page_output.h"
#include "converter/page_selection.h"
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
  // Checked against PageTotal before any page file is written.
  const TPageSelection pages(options.pages, printer->PageTotal());
  TConversionReporter reporter(options, pages.Count());
  TPageDiagnosticsBoard board(reporter.Verbose());
  // The stages count the selected pages from 1; PageAt gives the report's number.
  TPageStages stages;
  stages.fetch = [&printer, &pages](int32_t index) {
    std::unique_ptr<TMetafile> page = printer->PageMetafile(pages.PageAt(index - 1));
    // Every page from 1 to PageTotal exists once the report has loaded; should
    // one not come back, the report is damaged rather than a page left out.
    if (!page) throw EInvalidGraphic(msg::kInvalidMetafile);
    return page;
  };
  stages.render = [&](int32_t index, TMetafile& page) {
    return RenderPage(page, pages.PageAt(index - 1), resolution, options, board);
  };
  stages.write = [&](int32_t index, TBitmap& bitmap) {
    const int32_t n = pages.PageAt(index - 1);
    WriteRenderedPage(bitmap, PageFileName(prefix, n, options.format), n, options.format, board, reporter);
  };
  RunPagesInParallel(static_cast<int32_t>(pages.Count()), WorkerCount(options.jobs), stages);
  reporter.Finish();
}

void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution,
                         const TConversionOptions& options) {
  const auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromFile(source);  // closes the source before the destination is created
  // A metafile is a document of one page.
  const TPageSelection pages(options.pages, 1);
  TConversionReporter reporter(options, pages.Count());
  RenderPageFile(*metafile, destination, 0, resolution, options, reporter);
  reporter.Finish();
}

}  // namespace vx
