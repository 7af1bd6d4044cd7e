#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "converter/band_pool.h"

namespace vx {
namespace {

TEST(BandPool, LendsEachBufferOnceAtATime) {
  TBandPool pool(2);
  TBandPool::TLease a = pool.Take();
  TBandPool::TLease b = pool.Take();
  EXPECT_NE(a.get(), b.get());
  TBitmapBand* first = a.get();
  a.reset();
  TBandPool::TLease c = pool.Take();
  EXPECT_EQ(c.get(), first);  // the same memory serves the next band
}

TEST(BandPool, TakeWaitsUntilABufferComesBack) {
  TBandPool pool(1);
  TBandPool::TLease held = pool.Take();
  std::atomic<bool> taken = false;
  std::thread other([&] {
    TBandPool::TLease lease = pool.Take();
    taken = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(taken);
  held.reset();
  other.join();
  EXPECT_TRUE(taken);
}

}  // namespace
}  // namespace vx
