// Items 1, 2, ... through fetch, render and write on several threads, with the
// outcome of a serial run: items are fetched and written in ascending order,
// nothing is written after the first item that fails, and that item's error is
// raised. The items are pages, or bands of pages (parallel_pages.h,
// page_parts.h).
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace vx {

template <class Fetched, class Rendered>
struct TOrderedStages {
  // Called one at a time, in ascending order; nullopt: there is no such item
  // (nor any after it).
  std::function<std::optional<Fetched>(int32_t item)> fetch;
  // Called on any worker, for several items at once.
  std::function<Rendered(int32_t item, Fetched& fetched)> render;
  // Called one at a time, in ascending order, only while every earlier item
  // has been written.
  std::function<void(int32_t item, Rendered& rendered)> write;
};

namespace ordered_run_detail {

inline constexpr int32_t kNoFailure = std::numeric_limits<int32_t>::max();

// The shared state of one run. Rendered items wait in `parked_` until every
// item before them is written; the worker that writes item n goes on with any
// parked items after it, so writing never waits for a particular thread.
template <class Fetched, class Rendered>
class TRun {
public:
  TRun(const TOrderedStages<Fetched, Rendered>& stages, size_t park_limit)
      : stages_(stages), park_limit_(park_limit) {}

  // One worker's loop; returns when no item is left to fetch. Never raises.
  void Work() noexcept {
    for (;;) {
      int32_t item = 0;
      std::optional<Fetched> fetched;
      if (!FetchNext(item, fetched)) return;
      try {
        std::optional<Rendered> rendered(stages_.render(item, *fetched));
        fetched.reset();
        Park(item, std::move(*rendered));
      } catch (...) {
        fetched.reset();
        Fail(item, std::current_exception());
      }
    }
  }

  void RethrowFirstFailure() const {
    if (error_) std::rethrow_exception(error_);
  }

private:
  // Fetches the next item, or none when the run has ended or failed.
  bool FetchNext(int32_t& item, std::optional<Fetched>& fetched) {
    std::lock_guard fetching(fetch_lock_);
    {
      std::unique_lock lock(lock_);
      room_.wait(lock, [this] { return parked_.size() < park_limit_ || first_failure_ != kNoFailure; });
      if (ended_ || next_fetch_ >= first_failure_) return false;
      item = next_fetch_++;
    }
    try {
      fetched = stages_.fetch(item);
    } catch (...) {
      Fail(item, std::current_exception());
      return false;
    }
    if (fetched) return true;
    std::lock_guard guard(lock_);
    ended_ = true;
    return false;
  }

  void Park(int32_t item, Rendered rendered) {
    std::unique_lock lock(lock_);
    if (item >= first_failure_) {
      lock.unlock();  // an earlier item failed: this one is never written
      return;
    }
    parked_.emplace(item, std::move(rendered));
    WriteReadyItems(lock);
  }

  void WriteReadyItems(std::unique_lock<std::mutex>& lock) {
    while (!writing_ && next_write_ < first_failure_) {
      const auto it = parked_.find(next_write_);
      if (it == parked_.end()) return;
      const int32_t item = it->first;
      std::optional<Rendered> rendered(std::move(it->second));
      parked_.erase(it);
      writing_ = true;
      lock.unlock();
      std::exception_ptr error;
      try {
        stages_.write(item, *rendered);
      } catch (...) {
        error = std::current_exception();
      }
      rendered.reset();
      lock.lock();
      writing_ = false;
      if (error)
        FailLocked(item, std::move(error));
      else
        ++next_write_;
      room_.notify_all();
    }
  }

  void Fail(int32_t item, std::exception_ptr error) {
    std::lock_guard guard(lock_);
    FailLocked(item, std::move(error));
  }

  // Called with lock_ held.
  void FailLocked(int32_t item, std::exception_ptr error) {
    if (item >= first_failure_) return;
    first_failure_ = item;
    error_ = std::move(error);
    // Items after the failure are never written; free them now.
    parked_.erase(parked_.lower_bound(item), parked_.end());
    room_.notify_all();
  }

  const TOrderedStages<Fetched, Rendered>& stages_;
  const size_t park_limit_;  // bounds the rendered items held in memory

  std::mutex fetch_lock_;  // one fetch at a time, in order
  std::mutex lock_;        // everything below
  std::condition_variable room_;
  int32_t next_fetch_ = 1;
  int32_t next_write_ = 1;
  int32_t first_failure_ = kNoFailure;
  bool ended_ = false;
  std::exception_ptr error_;
  bool writing_ = false;
  std::map<int32_t, Rendered> parked_;
};

}  // namespace ordered_run_detail

// Runs items from 1 on with up to `workers` threads (the calling thread is one
// of them; 1 runs everything on it) until fetch finds no item. At most
// park_limit rendered items wait for their turn. A failing item k stops the
// run: items 1..k-1 are all written, no item after k is fetched any more or
// written, and k's error is raised once every worker has stopped. A worker
// that had already rendered a later item drops it unwritten.
template <class Fetched, class Rendered>
void RunInOrder(int workers, size_t park_limit, const TOrderedStages<Fetched, Rendered>& stages) {
  workers = std::max(workers, 1);
  ordered_run_detail::TRun<Fetched, Rendered> run(stages, std::max<size_t>(park_limit, 1));
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<size_t>(workers - 1));
  for (int i = 1; i < workers; ++i) {
    try {
      helpers.emplace_back([&run] { run.Work(); });
    } catch (const std::system_error&) {
      break;  // fewer threads than asked: the ones there are do all items
    }
  }
  run.Work();
  for (std::thread& helper : helpers) helper.join();
  run.RethrowFirstFailure();
}

}  // namespace vx
