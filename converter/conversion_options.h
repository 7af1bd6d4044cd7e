// What the long options (--name or --name=value) ask of a conversion. The
// specified arguments never set these; without long options every field keeps
// its default and a conversion writes exactly what it always has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

enum class TOutputFormat { Bmp, Png };

// One inclusive range of page numbers of a report (--pages=1,3-5).
struct TPageRange {
  int32_t first = 1;
  int32_t last = 1;
  friend bool operator==(const TPageRange&, const TPageRange&) = default;
};

struct TConversionOptions {
  int jobs = 0;                      // worker threads; 0: one per core
  TOutputFormat format = TOutputFormat::Bmp;
  int depth = 8;                     // bits per pixel of the rendered page: 8, 24 or 32
  std::vector<TPageRange> pages;     // empty: every page
  int32_t width = 0;                 // pixels; 0: from the resolution
  int32_t height = 0;
  bool verbose = false;              // per-page diagnostics on standard error
  bool progress = false;             // a progress count on standard error
  std::string batch_list;            // a file listing conversions; empty: none
  int32_t band_rows = 0;             // rows per band of a page; 0: chosen by size and workers
};

}  // namespace vx
