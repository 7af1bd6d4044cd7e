#include "converter/parallel_pages.h"

#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {

namespace {

constexpr int32_t kNoFailure = std::numeric_limits<int32_t>::max();

// The main thread's allocator learns to keep a freed page surface for the next
// page; the arenas of other threads hand it back to the system at once, and
// every page then pays for fresh memory again (a fault per 4 KiB). Pages below
// 32 MiB (A4 at 300 dpi is 8.7 MB) therefore come from the arenas, and up to
// 256 MiB of freed memory stays there for the next page. Set once, for the
// process, when pages first run on several threads.
void KeepFreedPagesForReuse() {
  static std::once_flag once;
  std::call_once(once, [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
  });
}

// The shared state of one run. Rendered pages wait in `parked_` until every
// page before them is written; the worker that writes page n goes on with any
// parked pages after it, so writing never waits for a particular thread.
class TPageRun {
public:
  TPageRun(int32_t total, int workers, const TPageStages& stages)
      : stages_(stages), total_(total), park_limit_(static_cast<size_t>(workers)) {}

  // One worker's loop; returns when no page is left to fetch. Never raises.
  void Work() noexcept;
  void RethrowFirstFailure() const {
    if (error_) std::rethrow_exception(error_);
  }

private:
  // Fetches the next page, or none when the run has ended or failed.
  bool FetchNext(int32_t& page, std::unique_ptr<TMetafile>& metafile);
  void Park(int32_t page, std::unique_ptr<TBitmap> bitmap);
  void WriteReadyPages(std::unique_lock<std::mutex>& lock);
  // Called with lock_ held.
  void FailLocked(int32_t page, std::exception_ptr error);
  void Fail(int32_t page, std::exception_ptr error) {
    std::lock_guard guard(lock_);
    FailLocked(page, std::move(error));
  }

  const TPageStages& stages_;
  const int32_t total_;
  const size_t park_limit_;  // bounds the rendered pages held in memory

  std::mutex fetch_lock_;  // one fetch at a time, in page order
  std::mutex lock_;        // everything below
  std::condition_variable room_;
  int32_t next_fetch_ = 1;
  int32_t next_write_ = 1;
  int32_t first_failure_ = kNoFailure;
  std::exception_ptr error_;
  bool writing_ = false;
  std::map<int32_t, std::unique_ptr<TBitmap>> parked_;
};

void TPageRun::Work() noexcept {
  for (;;) {
    int32_t page = 0;
    std::unique_ptr<TMetafile> metafile;
    if (!FetchNext(page, metafile)) return;
    try {
      std::unique_ptr<TBitmap> bitmap = stages_.render(page, *metafile);
      metafile.reset();
      Park(page, std::move(bitmap));
    } catch (...) {
      Fail(page, std::current_exception());
    }
  }
}

bool TPageRun::FetchNext(int32_t& page, std::unique_ptr<TMetafile>& metafile) {
  std::lock_guard fetching(fetch_lock_);
  {
    std::unique_lock lock(lock_);
    room_.wait(lock, [this] { return parked_.size() < park_limit_ || first_failure_ != kNoFailure; });
    if (next_fetch_ > total_ || next_fetch_ >= first_failure_) return false;
    page = next_fetch_++;
  }
  try {
    metafile = stages_.fetch(page);
  } catch (...) {
    Fail(page, std::current_exception());
    return false;
  }
  return true;
}

void TPageRun::Park(int32_t page, std::unique_ptr<TBitmap> bitmap) {
  std::unique_lock lock(lock_);
  if (page >= first_failure_) {
    lock.unlock();  // an earlier page failed: this one is never written
    return;
  }
  parked_.emplace(page, std::move(bitmap));
  WriteReadyPages(lock);
}

void TPageRun::WriteReadyPages(std::unique_lock<std::mutex>& lock) {
  while (!writing_ && next_write_ < first_failure_) {
    const auto it = parked_.find(next_write_);
    if (it == parked_.end()) return;
    const int32_t page = it->first;
    std::unique_ptr<TBitmap> bitmap = std::move(it->second);
    parked_.erase(it);
    writing_ = true;
    lock.unlock();
    std::exception_ptr error;
    try {
      stages_.write(page, *bitmap);
    } catch (...) {
      error = std::current_exception();
    }
    bitmap.reset();
    lock.lock();
    writing_ = false;
    if (error) FailLocked(page, std::move(error));
    else ++next_write_;
    room_.notify_all();
  }
}

void TPageRun::FailLocked(int32_t page, std::exception_ptr error) {
  if (page >= first_failure_) return;
  first_failure_ = page;
  error_ = std::move(error);
  // Pages after the failure are never written; free them now.
  parked_.erase(parked_.lower_bound(page), parked_.end());
  room_.notify_all();
}

}  // namespace

void RunPagesInParallel(int32_t total, int workers, const TPageStages& stages) {
  if (total < 1) return;
  workers = static_cast<int>(std::clamp<int64_t>(workers, 1, total));
  if (workers > 1) KeepFreedPagesForReuse();
  TPageRun run(total, workers, stages);
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<size_t>(workers - 1));
  for (int i = 1; i < workers; ++i) {
    try {
      helpers.emplace_back([&run] { run.Work(); });
    } catch (const std::system_error&) {
      break;  // fewer threads than asked: the ones there are do all pages
    }
  }
  run.Work();
  for (std::thread& helper : helpers) helper.join();
  run.RethrowFirstFailure();
}

}  // namespace vx
