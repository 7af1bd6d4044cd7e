// One output file of a conversion as the long options ask for it: rendered,
// written, and told to the conversion's reporter (timing, playback notes,
// fonts and EMF+ content when --verbose is given).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "base/note_tally.h"
#include "converter/conversion_options.h"
#include "converter/conversion_report.h"

namespace vx {

class TBitmap;
class TMetafile;

// page is the report page number, 0 for a metafile source. Safe to call for
// different metafiles on several threads at once.
void RenderPageFile(TMetafile& metafile, const std::string& fileName, int32_t page, int32_t resolution,
                    const TConversionOptions& options, TConversionReporter& reporter);

// The diagnostics of pages rendered but not yet written, when --verbose asks
// for them; pages render on several threads and are written in page order.
class TPageDiagnosticsBoard {
public:
  explicit TPageDiagnosticsBoard(bool verbose) : verbose_(verbose) {}
  bool Verbose() const { return verbose_; }
  void Put(int32_t page, TPageDiagnostics diagnostics);
  TPageDiagnostics Take(int32_t page);

private:
  bool verbose_;
  std::mutex lock_;
  std::map<int32_t, TPageDiagnostics> pages_;
};

// The fonts the metafile asks for (with the files they map to) and its EMF+
// content, into the page's diagnostics.
void DescribePageContent(const TMetafile& metafile, TPageDiagnostics& diagnostics);

// The two halves of RenderPageFile for a page of a report: the rendering (on
// any thread) and the writing (in page order).
std::unique_ptr<TBitmap> RenderPage(TMetafile& metafile, int32_t page, int32_t resolution,
                                    const TConversionOptions& options, TPageDiagnosticsBoard& board);
void WriteRenderedPage(TBitmap& bitmap, const std::string& fileName, int32_t page, TOutputFormat format,
                       TPageDiagnosticsBoard& board, TConversionReporter& reporter);

}  // namespace vx
