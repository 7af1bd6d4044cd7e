// The diagnostics a conversion writes on standard error when asked: per page
// (--verbose) its size, time, playback notes, fonts and EMF+ content; a
// progress count of the pages (--progress). Pages may finish on several
// threads; each page's text is written whole.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "converter/conversion_options.h"

namespace vx {

using TDiagnosticWriter = std::function<void(std::string_view text)>;

// Writes the text to standard error as it stands; a failed write is ignored,
// diagnostics never end a conversion.
void WriteStandardError(std::string_view text);

struct TFontMapping {
  std::string face;    // as the metafile asks for it
  bool bold = false;
  bool italic = false;
  std::string family;  // the installed family it was mapped to; empty: none found
  std::string file;
};

struct TPageDiagnostics {
  int32_t page = 0;  // 0 for a metafile source
  std::string file;
  int32_t width = 0;
  int32_t height = 0;
  double seconds = 0;
  std::vector<std::pair<std::string, int64_t>> notes;  // playback notes with their counts
  std::vector<TFontMapping> fonts;
  int64_t emf_plus_records = 0;
  bool emf_plus_dual = false;
};

// The lines of one page, each ending in a line feed.
std::string FormatPageDiagnostics(const TPageDiagnostics& page);

class TConversionReporter {
public:
  TConversionReporter(const TConversionOptions& options, int64_t pageCount,
                      TDiagnosticWriter writer = WriteStandardError);
  // Ends a progress line that is still open.
  ~TConversionReporter();
  TConversionReporter(const TConversionReporter&) = delete;
  TConversionReporter& operator=(const TConversionReporter&) = delete;

  bool Verbose() const { return verbose_; }
  bool Silent() const { return !verbose_ && !progress_; }
  // One page written; thread-safe.
  void PageDone(const TPageDiagnostics& page);
  // The conversion is over: the progress line ends.
  void Finish();

private:
  bool verbose_;
  bool progress_;
  int64_t page_count_;
  TDiagnosticWriter writer_;
  std::mutex lock_;
  int64_t pages_done_ = 0;
  bool line_open_ = false;
};

}  // namespace vx
