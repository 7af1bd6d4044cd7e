#include "converter/conversion_driver.h"

#include <memory>

#include "base/errors.h"
#include "converter/conversion_report.h"
#include "converter/page_file_name.h"
#include "converter/page_output.h"
#include "converter/page_parts.h"
#include "converter/page_selection.h"
#include "converter/worker_count.h"
#include "document/vx_printer.h"
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
  // The parts count the selected pages from 1; PageAt gives the report's number.
  TPageSource parts;
  parts.count = static_cast<int32_t>(pages.Count());
  parts.fetch = [&printer, &pages](int32_t index) {
    std::unique_ptr<TMetafile> page = printer->PageMetafile(pages.PageAt(index - 1));
    // Every page from 1 to PageTotal exists once the report has loaded; should
    // one not come back, the report is damaged rather than a page left out.
    if (!page) throw EInvalidGraphic(msg::kInvalidMetafile);
    return page;
  };
  parts.file_name = [&](int32_t index) { return PageFileName(prefix, pages.PageAt(index - 1), options.format); };
  parts.page_number = [&pages](int32_t index) { return pages.PageAt(index - 1); };
  ConvertPagesInParts(parts, resolution, options, WorkerCount(options.jobs), reporter);
  reporter.Finish();
}

void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution,
                         const TConversionOptions& options) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromFile(source);  // closes the source before the destination is created
  // A metafile is a document of one page.
  const TPageSelection pages(options.pages, 1);
  TConversionReporter reporter(options, pages.Count());
  if (!DrawnInBands(*metafile, resolution, options)) {
    RenderPageFile(*metafile, destination, 0, resolution, options, reporter);
    reporter.Finish();
    return;
  }
  TPageSource parts;
  parts.count = 1;
  parts.fetch = [&metafile](int32_t) { return std::move(metafile); };
  parts.file_name = [&destination](int32_t) { return destination; };
  parts.page_number = [](int32_t) { return 0; };
  parts.share_pages = false;
  ConvertPagesInParts(parts, resolution, options, WorkerCount(options.jobs), reporter);
  reporter.Finish();
}

}  // namespace vx
