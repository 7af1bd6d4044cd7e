// Pages 1..N of a report through fetch, render and write on several threads,
// with the outcome of a serial run: files are written in page order, nothing
// is written after the first page that fails, and that page's error is raised.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace vx {

class TBitmap;
class TMetafile;

struct TPageStages {
  // Called one at a time, in ascending page order.
  std::function<std::unique_ptr<TMetafile>(int32_t page)> fetch;
  // Called on any worker, for several pages at once.
  std::function<std::unique_ptr<TBitmap>(int32_t page, TMetafile& metafile)> render;
  // Called one at a time, in ascending page order, only while every earlier
  // page has been written.
  std::function<void(int32_t page, TBitmap& bitmap)> write;
};

// Runs pages 1..total with up to `workers` threads (the calling thread is one
// of them; 1 runs everything on it). A failing page k stops the run: pages
// 1..k-1 are all written, no page after k is fetched any more or written, and
// k's error is raised once every worker has stopped. A worker that had already
// rendered a later page drops it unwritten.
void RunPagesInParallel(int32_t total, int workers, const TPageStages& stages);

// The main thread's allocator learns to keep a freed page surface for the next
// page; the arenas of other threads hand it back to the system at once, and
// every page then pays for fresh memory again (a fault per 4 KiB). Blocks below
// 32 MiB (A4 at 300 dpi is 8.7 MB) therefore come from the arenas, and up to
// 256 MiB of freed memory stays there for the next page. Set once, for the
// process, when pages first run on several threads.
void KeepFreedPagesForReuse();

}  // namespace vx
