#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "converter/parallel_pages.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {
namespace {

// A page's own failure, so a test can tell which page's error came out.
struct PageError : std::runtime_error {
  explicit PageError(int32_t failing) : std::runtime_error("page " + std::to_string(failing)), page(failing) {}
  int32_t page;
};

// Records what the stages did; a stage can be held until another page has
// reached a point, so the order across threads is forced, not hoped for.
class StageLog {
public:
  void Note(std::vector<int32_t>& list, int32_t page) {
    std::lock_guard guard(mutex_);
    list.push_back(page);
    changed_.notify_all();
  }
  // Waits (at most 20 s, so a broken run fails instead of hanging) until page
  // is in the list.
  bool WaitFor(const std::vector<int32_t>& list, int32_t page) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] {
      for (int32_t p : list) {
        if (p == page) return true;
      }
      return false;
    });
  }
  std::vector<int32_t> Copy(const std::vector<int32_t>& list) {
    std::lock_guard guard(mutex_);
    return list;
  }

  std::vector<int32_t> fetched, rendered, failed, written;

private:
  std::mutex mutex_;
  std::condition_variable changed_;
};

TPageStages StagesFor(StageLog& log) {
  TPageStages stages;
  stages.fetch = [&log](int32_t page) {
    log.Note(log.fetched, page);
    return std::make_unique<TMetafile>();
  };
  stages.render = [&log](int32_t page, TMetafile&) {
    log.Note(log.rendered, page);
    return std::make_unique<TBitmap>();
  };
  stages.write = [&log](int32_t page, TBitmap&) { log.Note(log.written, page); };
  return stages;
}

std::vector<int32_t> OneTo(int32_t n) {
  std::vector<int32_t> pages;
  for (int32_t p = 1; p <= n; ++p) pages.push_back(p);
  return pages;
}

class WorkerCounts : public ::testing::TestWithParam<int> {};

TEST_P(WorkerCounts, FetchesAndWritesEveryPageInAscendingOrder) {
  StageLog log;
  std::atomic<int> fetching = 0;
  std::atomic<bool> overlapped = false;
  TPageStages stages = StagesFor(log);
  const auto plainFetch = stages.fetch;
  stages.fetch = [&](int32_t page) {
    if (fetching.fetch_add(1) != 0) overlapped = true;
    auto metafile = plainFetch(page);
    fetching.fetch_sub(1);
    return metafile;
  };
  RunPagesInParallel(25, GetParam(), stages);
  EXPECT_EQ(log.fetched, OneTo(25));
  EXPECT_EQ(log.written, OneTo(25));
  EXPECT_FALSE(overlapped);
}

INSTANTIATE_TEST_SUITE_P(Jobs, WorkerCounts, ::testing::Values(1, 2, 3, 4, 16));

TEST(ParallelPages, NoPagesCallsNothing) {
  StageLog log;
  RunPagesInParallel(0, 4, StagesFor(log));
  EXPECT_TRUE(log.fetched.empty());
  EXPECT_TRUE(log.written.empty());
}

TEST(ParallelPages, ALaterPageRenderedBeforeTheFailureIsNotWritten) {
  StageLog log;
  TPageStages stages = StagesFor(log);
  const auto plainRender = stages.render;
  stages.render = [&](int32_t page, TMetafile& metafile) {
    // Page 3 fails only once page 4 has been rendered on the other worker.
    if (page == 3) {
      EXPECT_TRUE(log.WaitFor(log.rendered, 4));
      throw PageError(3);
    }
    return plainRender(page, metafile);
  };
  try {
    RunPagesInParallel(8, 2, stages);
    FAIL() << "no error raised";
  } catch (const PageError& e) {
    EXPECT_EQ(e.page, 3);
  }
  EXPECT_EQ(log.written, OneTo(2));
  for (int32_t page : log.fetched) EXPECT_LE(page, 5) << "fetched after the failure was known";
}

TEST(ParallelPages, TheFirstFailingPagesErrorWinsOverAnEarlierRaisedOne) {
  StageLog log;
  TPageStages stages = StagesFor(log);
  const auto plainRender = stages.render;
  stages.render = [&](int32_t page, TMetafile& metafile) -> std::unique_ptr<TBitmap> {
    if (page == 3) {
      log.Note(log.failed, 3);
      throw PageError(3);
    }
    if (page == 2) {  // fails after page 3 has already failed
      EXPECT_TRUE(log.WaitFor(log.failed, 3));
      throw PageError(2);
    }
    return plainRender(page, metafile);
  };
  try {
    RunPagesInParallel(6, 2, stages);
    FAIL() << "no error raised";
  } catch (const PageError& e) {
    EXPECT_EQ(e.page, 2);
  }
  EXPECT_EQ(log.written, OneTo(1));
}

TEST(ParallelPages, AFailedWriteStopsTheWritesAfterIt) {
  StageLog log;
  TPageStages stages = StagesFor(log);
  stages.write = [&](int32_t page, TBitmap&) {
    log.Note(log.written, page);
    if (page == 4) throw PageError(4);
  };
  try {
    RunPagesInParallel(10, 4, stages);
    FAIL() << "no error raised";
  } catch (const PageError& e) {
    EXPECT_EQ(e.page, 4);
  }
  EXPECT_EQ(log.written, OneTo(4));  // the fourth was attempted and failed
}

TEST(ParallelPages, AFailedFetchEndsTheFetching) {
  StageLog log;
  TPageStages stages = StagesFor(log);
  const auto plainFetch = stages.fetch;
  stages.fetch = [&](int32_t page) {
    if (page == 5) throw PageError(5);
    return plainFetch(page);
  };
  try {
    RunPagesInParallel(10, 3, stages);
    FAIL() << "no error raised";
  } catch (const PageError& e) {
    EXPECT_EQ(e.page, 5);
  }
  EXPECT_EQ(log.fetched, OneTo(4));
  EXPECT_EQ(log.written, OneTo(4));
}

TEST(ParallelPages, RenderedPagesWaitingForTheirTurnAreBounded) {
  // Page 1 is slow; the other worker may run ahead by at most as many pages as
  // there are workers before it waits.
  StageLog log;
  std::atomic<bool> release = false;
  TPageStages stages = StagesFor(log);
  const auto plainRender = stages.render;
  stages.render = [&](int32_t page, TMetafile& metafile) {
    if (page == 1) {
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!release && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    }
    return plainRender(page, metafile);
  };
  std::thread run([&] { RunPagesInParallel(20, 2, stages); });
  EXPECT_TRUE(log.WaitFor(log.rendered, 3));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::vector<int32_t> fetched = log.Copy(log.fetched);
  release = true;
  run.join();
  EXPECT_EQ(fetched, OneTo(3));  // 1 in work, 2 and 3 parked
  EXPECT_EQ(log.written, OneTo(20));
}

}  // namespace
}  // namespace vx
