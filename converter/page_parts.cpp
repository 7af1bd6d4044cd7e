#include "converter/page_parts.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "base/file_stream.h"
#include "converter/band_plan.h"
#include "converter/band_pool.h"
#include "converter/unfinished_file.h"
#include "converter/ordered_run.h"
#include "converter/page_output.h"
#include "converter/page_rasterizer.h"
#include "converter/parallel_pages.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_band.h"
#include "graphics/metafile.h"

namespace vx {

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

// One page and how it is cut; shared by its parts.
struct TPagePlan {
  int32_t index = 0;
  std::shared_ptr<TMetafile> metafile;
  TPageRaster raster;
  int32_t band_rows = 0;  // rows per band; 0: drawn whole
  int32_t next_bottom = 0;  // the bottom row of the next band to hand out
  // --verbose: one band plays a copy of the page that gathers the notes.
  std::unique_ptr<TMetafile> logged;
  TNoteTally notes;
  double seconds = 0;

  bool Whole() const { return band_rows == 0; }
};

// One part of a page on its way through the stages.
struct TPagePart {
  std::shared_ptr<TPagePlan> page;
  int32_t top = 0;
  int32_t bottom = 0;
  TBandPool::TLease band;
  std::unique_ptr<TBitmap> bitmap;  // a page drawn whole
  double seconds = 0;

  bool First() const { return bottom == page->raster.height; }  // the bottom band, written first
  bool Last() const { return top == 0; }
};

class TPartsRun {
public:
  TPartsRun(const TPageSource& source, int32_t resolution, const TConversionOptions& options, int workers,
            TConversionReporter& reporter)
      : source_(source),
        resolution_(resolution),
        options_(options),
        plan_workers_(source.share_pages ? workers : 1),
        pool_(BandBuffersFor(workers)),
        board_(reporter.Verbose()),
        reporter_(reporter) {}

  std::optional<TPagePart> Fetch(int32_t) {
    if (!current_ || current_->Whole() || current_->next_bottom == 0) {
      if (next_page_ > source_.count) return std::nullopt;
      current_ = Plan(next_page_++);
    }
    TPagePart part;
    part.page = current_;
    if (current_->Whole()) return part;
    part.bottom = current_->next_bottom;
    part.top = std::max(0, part.bottom - current_->band_rows);
    current_->next_bottom = part.top;
    part.band = pool_.Take();
    return part;
  }

  TPagePart Render(TPagePart& part) {
    TPagePlan& page = *part.page;
    if (page.Whole()) {
      part.bitmap = RenderPage(*page.metafile, source_.page_number(page.index), resolution_, options_, board_);
      return std::move(part);
    }
    const TClock::time_point start = TClock::now();
    const TPageRaster& raster = page.raster;
    part.band->SelectRows(raster.width, raster.height, part.top, part.bottom);
    TMetafile& picture = page.logged && part.First() ? *page.logged : *page.metafile;
    part.band->DrawStretched({0, 0, raster.width, raster.height}, picture);
    part.seconds = SecondsSince(start);
    return std::move(part);
  }

  void Write(TPagePart& part) {
    TPagePlan& page = *part.page;
    const std::string fileName = source_.file_name(page.index);
    if (page.Whole()) {
      WriteRenderedPage(*part.bitmap, fileName, source_.page_number(page.index), options_.format, board_,
                        reporter_);
      return;
    }
    const TClock::time_point start = TClock::now();
    const TPageRaster& raster = page.raster;
    if (part.First()) {
      file_.reset();
      file_ = std::make_unique<TFileStream>(fileName, TFileMode::Create);
      unfinished_.Created(fileName);
      const std::vector<uint8_t> headers =
          raster.records_resolution
              ? BandedBitmapHeaders(raster.width, raster.height, raster.x_pixels_per_meter, raster.y_pixels_per_meter)
              : BandedBitmapHeaders(raster.width, raster.height, 0, 0);
      file_->WriteBuffer(headers.data(), static_cast<int64_t>(headers.size()));
    }
    file_->WriteBuffer(part.band->StoredRows(), static_cast<int64_t>(part.band->StoredBytes()));
    if (!part.Last()) {
      page.seconds += part.seconds + SecondsSince(start);
      return;
    }
    file_.reset();
    unfinished_.Finished();
    page.seconds += part.seconds + SecondsSince(start);
    if (!reporter_.Verbose()) {
      reporter_.PageDone({});
      return;
    }
    TPageDiagnostics diagnostics;
    diagnostics.page = source_.page_number(page.index);
    diagnostics.file = fileName;
    diagnostics.width = raster.width;
    diagnostics.height = raster.height;
    diagnostics.seconds = page.seconds;
    diagnostics.notes = page.notes.Take();
    DescribePageContent(*page.metafile, diagnostics);
    reporter_.PageDone(diagnostics);
  }

private:
  std::shared_ptr<TPagePlan> Plan(int32_t index) {
    auto page = std::make_shared<TPagePlan>();
    page->index = index;
    page->metafile = source_.fetch(index);
    TMetafile& metafile = *page->metafile;
    // The palette is built on first request; built here, before the bands of
    // the page play it on several threads, it is only read there.
    (void)metafile.PaletteEntries();
    page->raster = PageRasterFor(metafile, resolution_, options_);
    const int32_t height = page->raster.height;
    const int32_t rows = BandRowsFor(page->raster.width, height, plan_workers_, options_);
    if (rows <= 0 || rows >= height) return page;  // drawn whole (also an empty page)
    page->band_rows = rows;
    page->next_bottom = height;
    if (reporter_.Verbose()) {
      page->logged = std::make_unique<TMetafile>(metafile);
      TNoteTally* notes = &page->notes;
      notes->Add(metafile.ReadNotes());  // records dropped when the picture was read
      page->logged->SetPlaybackLog([notes](const std::string& note) { notes->Add(note); });
    }
    return page;
  }

  const TPageSource& source_;
  const int32_t resolution_;
  const TConversionOptions& options_;
  const int plan_workers_;
  TBandPool pool_;
  TPageDiagnosticsBoard board_;
  TConversionReporter& reporter_;

  // Fetch stage only.
  int32_t next_page_ = 1;
  std::shared_ptr<TPagePlan> current_;
  // Write stage only. A page whose bands stop before its last is removed
  // again once its file is closed: the guard is declared first, so it goes last.
  TUnfinishedFile unfinished_;
  std::unique_ptr<TFileStream> file_;
};

}  // namespace

bool DrawnInBands(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options) {
  const TPageRaster raster = PageRasterFor(metafile, resolution, options);
  const int32_t rows = BandRowsFor(raster.width, raster.height, 1, options);
  return rows > 0 && rows < raster.height;
}

void ConvertPagesInParts(const TPageSource& source, int32_t resolution, const TConversionOptions& options,
                         int workers, TConversionReporter& reporter) {
  if (source.count < 1) return;
  workers = std::max(workers, 1);
  if (workers > 1) KeepFreedPagesForReuse();
  TPartsRun run(source, resolution, options, workers, reporter);
  TOrderedStages<TPagePart, TPagePart> stages;
  stages.fetch = [&run](int32_t item) { return run.Fetch(item); };
  stages.render = [&run](int32_t, TPagePart& part) { return run.Render(part); };
  stages.write = [&run](int32_t, TPagePart& part) { run.Write(part); };
  RunInOrder(workers, static_cast<size_t>(workers), stages);
}

}  // namespace vx
