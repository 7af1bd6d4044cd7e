#include "converter/conversion_driver.h"

#include <memory>

#include "base/errors.h"
#include "converter/page_file_name.h"
#include "converter/page_rasterizer.h"
#include "document/vx_printer.h"
#include "graphics/metafile.h"

namespace vx {

void ConvertReportFile(const std::string& source, const std::string& destination, int32_t resolution,
                       const TConversionOptions& /*options*/) {
  const std::string prefix = PageFilePrefix(destination);
  const auto printer = std::make_unique<TVXPrinter>(nullptr);
  printer->LoadReportFile(source);
  const int32_t total = printer->PageTotal();
  for (int32_t n = 1; n <= total; ++n) {
    const std::unique_ptr<TMetafile> page = printer->PageMetafile(n);
    // Every page from 1 to PageTotal exists once the report has loaded; should
    // one not come back, the report is damaged rather than a page left out.
    if (!page) throw EInvalidGraphic(msg::kInvalidMetafile);
    RenderMetafileToFile(*page, PageFileName(prefix, n), resolution);
  }
}

void ConvertMetafileFile(const std::string& source, const std::string& destination, int32_t resolution,
                         const TConversionOptions& /*options*/) {
  const auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromFile(source);  // closes the source before the destination is created
  RenderMetafileToFile(*metafile, destination, resolution);
}

}  // namespace vx
