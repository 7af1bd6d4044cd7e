#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/memory_stream.h"
#include "storage/page_store_fixtures.h"
#include "storage/vx_page_list.h"

namespace vx {
namespace {

test::Bytes BytesOf(TMetafile& metafile) {
  TMemoryStream stream;
  metafile.WriteToStream(stream);
  return stream.Bytes();
}

// One thread records while another reads back what is there so far: every
// page fetched is the page appended under that number, byte for byte.
void AppendWhileFetching(int32_t memoryLimit) {
  constexpr int kPages = 120;
  std::vector<test::Bytes> pages;
  for (int n = 1; n <= kPages; ++n) pages.push_back(test::PageEmf(n));
  TVXPageList list;
  list.SetDataStream(TVXStream::CreateInMemory(memoryLimit));  // spills to a file past the limit

  std::atomic<bool> done = false;
  std::thread appender([&] {
    for (const test::Bytes& page : pages) list.AppendPage(*test::MetafileFrom(page));
    done = true;
  });
  int fetched = 0;
  int mismatches = 0;
  for (bool last = false; !last;) {
    last = done;
    const int32_t stored = list.StoredPages();
    // Newest first, then a walk back to the start: both directions of the chain.
    for (int32_t n : {stored, stored > 0 ? 1 : 0, stored / 2}) {
      if (n < 1) continue;  // nothing stored yet
      const std::unique_ptr<TMetafile> page = list.FetchPage(n);
      if (!page || BytesOf(*page) != pages[static_cast<size_t>(n - 1)]) ++mismatches;
      ++fetched;
    }
  }
  appender.join();
  EXPECT_EQ(list.StoredPages(), kPages);
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(fetched, 0);
  for (int32_t n = kPages; n >= 1; --n) EXPECT_EQ(BytesOf(*list.FetchPage(n)), pages[static_cast<size_t>(n - 1)]);
}

TEST(PageListThreads, OneAppenderAndOneFetcherInMemory) { AppendWhileFetching(1 << 24); }

TEST(PageListThreads, OneAppenderAndOneFetcherWhileSpillingToAFile) { AppendWhileFetching(2000); }

}  // namespace
}  // namespace vx
