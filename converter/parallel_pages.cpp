#include "converter/parallel_pages.h"

#include <malloc.h>

#include <algorithm>
#include <mutex>

#include "converter/ordered_run.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {

void KeepFreedPagesForReuse() {
  static std::once_flag once;
  std::call_once(once, [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
  });
}

void RunPagesInParallel(int32_t total, int workers, const TPageStages& stages) {
  if (total < 1) return;
  workers = static_cast<int>(std::clamp<int64_t>(workers, 1, total));
  if (workers > 1) KeepFreedPagesForReuse();
  TOrderedStages<std::unique_ptr<TMetafile>, std::unique_ptr<TBitmap>> items;
  items.fetch = [&](int32_t page) -> std::optional<std::unique_ptr<TMetafile>> {
    if (page > total) return std::nullopt;
    return stages.fetch(page);
  };
  items.render = [&](int32_t page, std::unique_ptr<TMetafile>& metafile) {
    std::unique_ptr<TBitmap> bitmap = stages.render(page, *metafile);
    metafile.reset();
    return bitmap;
  };
  items.write = [&](int32_t page, std::unique_ptr<TBitmap>& bitmap) { stages.write(page, *bitmap); };
  RunInOrder(workers, static_cast<size_t>(workers), items);
}

}  // namespace vx
