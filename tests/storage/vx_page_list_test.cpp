#include "storage/vx_page_list.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstring>
#include <thread>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "storage/file_header.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::Bytes;

std::vector<Bytes> Pages(int count) {
  std::vector<Bytes> pages;
  for (int n = 1; n <= count; ++n) pages.push_back(test::PageEmf(n));
  return pages;
}

// A recording store: an in-memory stream with the given limit and the pages appended.
std::unique_ptr<TVXPageList> Record(const std::vector<Bytes>& pages, bool compressed,
                                    int32_t limit = 1 << 24) {
  auto list = std::make_unique<TVXPageList>();
  list->SetCompressed(compressed);
  list->SetDataStream(TVXStream::CreateInMemory(limit));
  for (const Bytes& page : pages) list->AppendPage(*test::MetafileFrom(page));
  list->WriteHeader();
  return list;
}

// N, 1, N-1, 2, ...
std::vector<int32_t> ZigZag(int32_t n) {
  std::vector<int32_t> order;
  for (int32_t low = 1, high = n; low <= high; ++low, --high) {
    order.push_back(high);
    if (low != high) order.push_back(low);
  }
  return order;
}

Bytes FetchBytes(TVXPageList& list, int32_t n) {
  auto page = list.FetchPage(n);
  if (!page) return {};
  return page->Bytes();
}

TEST(PageListLayout, TwoPlainPagesMatchTheDocumentedOffsets) {
  const Bytes a = test::PageEmf(1);
  const Bytes b = test::PageEmf(3);
  const auto A = static_cast<int32_t>(a.size());
  const auto B = static_cast<int32_t>(b.size());
  ASSERT_NE(A, B);
  auto list = Record({a, b}, false);
  const Bytes store = test::AllBytes(*list->DataStream());

  ASSERT_EQ(store.size(), static_cast<size_t>(152 + A + B));
  EXPECT_EQ(test::GetI32(store, 8), 2);
  EXPECT_EQ(test::GetI32(store, 128), 1);
  EXPECT_EQ(test::GetI32(store, 132), 140 + A);
  EXPECT_EQ(Bytes(store.begin() + 136, store.begin() + 136 + A), a);
  EXPECT_EQ(test::GetI32(store, 136 + A), 128);
  EXPECT_EQ(test::GetI32(store, 140 + A), 2);
  EXPECT_EQ(test::GetI32(store, 144 + A), 152 + A + B);
  EXPECT_EQ(Bytes(store.begin() + 148 + A, store.begin() + 148 + A + B), b);
  EXPECT_EQ(test::GetI32(store, 148 + A + B), 140 + A);

  // Apart from the date, the whole store is what an independent layout gives.
  Bytes withoutDate = store;
  std::fill(withoutDate.begin() + 16, withoutDate.begin() + 24, 0);
  EXPECT_EQ(withoutDate, test::StoreBytes({a, b}));
}

TEST(PageListLayout, HeaderCarriesVersionsTotalDateCompressionAndFill) {
  auto list = Record(Pages(1), true);
  const Bytes store = test::AllBytes(*list->DataStream());
  EXPECT_EQ(LoadU16(store.data()), 3);
  EXPECT_EQ(LoadU16(store.data() + 2), 40);
  EXPECT_EQ(test::GetI32(store, 8), 1);
  double date = 0;
  std::memcpy(&date, store.data() + 16, 8);
  EXPECT_NEAR(date, CurrentOleAutomationDate(), 1.0 / 24 / 60);
  EXPECT_EQ(store[25], 1);
  for (int i = 26; i <= 125; ++i) EXPECT_EQ(store[i], 0x48) << i;
  for (int i : {4, 5, 6, 7, 12, 13, 14, 15, 24, 126, 127}) EXPECT_EQ(store[i], 0) << i;
}

TEST(PageListLayout, FirstAppendWritesAHeaderWithTotalOneUntilTheOwnerRewritesIt) {
  TVXPageList list;
  list.SetDataStream(TVXStream::CreateInMemory(1 << 20));
  list.AppendPage(*test::MetafileFrom(test::PageEmf(1)));
  list.AppendPage(*test::MetafileFrom(test::PageEmf(2)));
  EXPECT_EQ(list.StoredPages(), 2);
  EXPECT_EQ(test::GetI32(test::AllBytes(*list.DataStream()), 8), 1);
  list.WriteHeader();
  EXPECT_EQ(test::GetI32(test::AllBytes(*list.DataStream()), 8), 2);
  EXPECT_EQ(list.DataStream()->Position(), 128);
}

TEST(PageListLayout, CompressedRecordHoldsLengthAndCodeBytes) {
  const Bytes page = test::PageEmf(2);
  auto list = Record({page}, true);
  const Bytes store = test::AllBytes(*list->DataStream());
  const Bytes code = test::Encode(page);
  ASSERT_EQ(store.size(), 128 + 16 + code.size());
  EXPECT_EQ(test::GetI32(store, 132), static_cast<int32_t>(store.size()));
  EXPECT_EQ(test::GetI32(store, 136), static_cast<int32_t>(page.size()));
  EXPECT_EQ(Bytes(store.begin() + 140, store.end() - 4), code);
  EXPECT_EQ(test::GetI32(store, store.size() - 4), 128);
}

class PageListStore : public ::testing::TestWithParam<bool> {
protected:
  bool Compressed() const { return GetParam(); }
  test::TempFolder folder_;
};

TEST_P(PageListStore, PagesComeBackInAnyOrderWhileRecording) {
  const auto pages = Pages(7);
  auto list = Record(pages, Compressed());
  for (const int32_t n : ZigZag(7)) EXPECT_EQ(FetchBytes(*list, n), pages[n - 1]) << n;
  for (int32_t n = 1; n <= 7; ++n) EXPECT_EQ(FetchBytes(*list, n), pages[n - 1]) << n;
  for (int32_t n = 7; n >= 1; --n) EXPECT_EQ(FetchBytes(*list, n), pages[n - 1]) << n;
}

TEST_P(PageListStore, StoredFileOpensAndServesPagesInAnyOrder) {
  const auto pages = Pages(6);
  const std::string file = folder_.File("report.vxp");
  Record(pages, Compressed())->StoreToFile(file);

  TVXPageList opened;
  opened.SetCompressed(Compressed());
  opened.OpenFile(file);
  EXPECT_EQ(opened.StoredPages(), 6);
  EXPECT_EQ(opened.DataStream()->Position(), opened.DataStream()->Size());
  for (const int32_t n : ZigZag(6)) EXPECT_EQ(FetchBytes(opened, n), pages[n - 1]) << n;
}

TEST_P(PageListStore, StoringAnOpenedFileWritesAnIdenticalCopy) {
  const std::string original = folder_.File("original.vxp");
  const std::string copy = folder_.File("copy.vxp");
  Record(Pages(3), Compressed())->StoreToFile(original);
  TVXPageList opened;
  opened.SetCompressed(Compressed());
  opened.OpenFile(original);
  opened.StoreToFile(copy);
  EXPECT_EQ(test::ReadFileBytes(copy), test::ReadFileBytes(original));
  EXPECT_EQ(FetchBytes(opened, 2), test::PageEmf(2));
}

TEST(PageListSave, ShortWriteOfTheCopyFailsTheSave) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  auto list = Record(Pages(2), false);
  try {
    list->StoreToFile("/dev/full");
    FAIL() << "saved onto a full device";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
}

// Lets the process write files up to `bytes` long for the life of the guard;
// a write past it fails as on a full disk instead of raising a signal.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  bool Ok() const { return ok_; }

private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
  bool ok_ = false;
};

TEST(PageListAppend, APageWrittenHalfWayIsNeitherCountedNorLeftBehind) {
  auto list = std::make_unique<TVXPageList>();
  list->SetDataStream(TVXStream::CreateInMemory(64));  // spills into a file at once
  list->AppendPage(*test::MetafileFrom(test::PageEmf(1)));
  list->AppendPage(*test::MetafileFrom(test::PageEmf(2)));
  ASSERT_FALSE(list->DataStream()->Resident());
  const int64_t size = list->DataStream()->Size();
  {
    FileSizeLimit limit(rlim_t(size) + 20);  // room for the page number and part of the link
    if (!limit.Ok()) GTEST_SKIP() << "cannot limit the file size";
    EXPECT_THROW(list->AppendPage(*test::MetafileFrom(test::PageEmf(3))), EWriteError);
  }
  EXPECT_EQ(list->StoredPages(), 2);
  EXPECT_EQ(list->DataStream()->Size(), size);
  // The last page is found through the back link at the end of the store.
  EXPECT_EQ(FetchBytes(*list, 2), test::PageEmf(2));
  EXPECT_EQ(FetchBytes(*list, 1), test::PageEmf(1));
  list->AppendPage(*test::MetafileFrom(test::PageEmf(3)));
  EXPECT_EQ(list->StoredPages(), 3);
  EXPECT_EQ(FetchBytes(*list, 3), test::PageEmf(3));
  EXPECT_EQ(FetchBytes(*list, 2), test::PageEmf(2));
}

TEST(PageListAppend, AFailedAppendToAReadOnlyStoreKeepsItsPages) {
  test::TempFolder folder;
  const std::string file = folder.File("report.vxp");
  Record(Pages(2), false)->StoreToFile(file);
  TVXPageList opened;
  opened.OpenFile(file);
  EXPECT_THROW(opened.AppendPage(*test::MetafileFrom(test::PageEmf(3))), EWriteError);
  EXPECT_EQ(opened.StoredPages(), 2);
  EXPECT_EQ(opened.FetchPage(3), nullptr);
  EXPECT_EQ(FetchBytes(opened, 2), test::PageEmf(2));
}

TEST(PageListOpen, FailedOpenLeavesNoPageTotalOfTheFileBefore) {
  auto list = Record(Pages(2), false);
  EXPECT_THROW(list->OpenStream(test::StreamHolding(test::Bytes(100, 0))), EReadError);
  EXPECT_EQ(list->StoredPages(), 0);
  EXPECT_EQ(list->FetchPage(1), nullptr);
}

TEST_P(PageListStore, FetchingOnePageTwiceGivesTwoIndependentMetafiles) {
  auto list = Record(Pages(2), Compressed());
  auto first = list->FetchPage(2);
  auto second = list->FetchPage(2);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(first->Bytes(), second->Bytes());
}

TEST_P(PageListStore, PagesBeyondTheTotalOrBelowOneAreNone) {
  auto list = Record(Pages(3), Compressed());
  list->FetchPage(2);
  const int64_t position = list->DataStream()->Position();
  EXPECT_EQ(list->FetchPage(4), nullptr);
  EXPECT_EQ(list->FetchPage(0), nullptr);
  EXPECT_EQ(list->FetchPage(-1), nullptr);
  EXPECT_EQ(list->DataStream()->Position(), position);
}

TEST_P(PageListStore, RecordingPastTheMemoryLimitSpillsAndStillServesPages) {
  test::ScopedEnv tmpdir("TMPDIR", folder_.Path().c_str());
  const auto pages = Pages(5);
  auto list = Record(pages, Compressed(), 300);
  EXPECT_FALSE(list->DataStream()->Resident());
  EXPECT_EQ(folder_.EntriesStartingWith("VXP").size(), 1u);
  for (const int32_t n : ZigZag(5)) EXPECT_EQ(FetchBytes(*list, n), pages[n - 1]) << n;
  list.reset();
  EXPECT_TRUE(folder_.EntriesStartingWith("VXP").empty());
}

TEST_P(PageListStore, OneThreadAppendsWhileAnotherFetches) {
  constexpr int32_t kPages = 120;
  test::ScopedEnv tmpdir("TMPDIR", folder_.Path().c_str());
  TVXPageList list;
  list.SetCompressed(Compressed());
  list.SetDataStream(TVXStream::CreateInMemory(4000));
  std::vector<std::unique_ptr<TMetafile>> metafiles;
  for (int32_t n = 1; n <= kPages; ++n) metafiles.push_back(test::MetafileFrom(test::PageEmf(n)));

  std::atomic<bool> done = false;
  std::thread recorder([&] {
    for (auto& metafile : metafiles) list.AppendPage(*metafile);
    done = true;
  });
  int fetched = 0;
  int mismatches = 0;
  while (list.StoredPages() == 0) std::this_thread::yield();
  for (;;) {
    const bool finished = done;
    for (const int32_t n : ZigZag(list.StoredPages())) {
      if (FetchBytes(list, n) != test::PageEmf(n)) ++mismatches;
      ++fetched;
    }
    if (finished) break;
  }
  recorder.join();
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(fetched, 0);
  EXPECT_EQ(list.StoredPages(), kPages);
}

INSTANTIATE_TEST_SUITE_P(PlainAndCompressed, PageListStore, ::testing::Bool(),
                         [](const auto& c) { return c.param ? "Compressed" : "Plain"; });

TEST(PageListOpen, OlderHeaderFormsPutTheFirstRecordBehindThem) {
  const auto pages = Pages(3);
  for (const int32_t headerLength : {124, 96}) {
    const test::StoreLayout layout{headerLength};
    TVXPageList list;
    list.OpenStream(test::StreamHolding(test::StoreBytes(pages, layout)));
    EXPECT_EQ(list.StoredPages(), 3);
    EXPECT_EQ(list.DataStream()->DetectHeaderLength(), headerLength);
    for (const int32_t n : ZigZag(3)) EXPECT_EQ(FetchBytes(list, n), pages[n - 1]);
    EXPECT_EQ(list.DataStream()->Position(), test::RecordOffsets(pages, layout)[2]);
  }
}

TEST(PageListOpen, CodedFirstPageMeasuresAs128) {
  auto list = Record(Pages(2), true);
  EXPECT_EQ(list->DataStream()->DetectHeaderLength(), 128);
}

void ExpectOpenFails(TVXPageList& list, const std::string& file, const char* className,
                     const char* message) {
  try {
    list.OpenFile(file);
    ADD_FAILURE() << "opened " << file;
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), className);
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(PageListOpen, CompressedStoreOpenedAsPlainIsNoMetafile) {
  test::TempFolder folder;
  const std::string file = folder.File("coded.vxp");
  Record(Pages(2), true)->StoreToFile(file);
  TVXPageList list;
  ExpectOpenFails(list, file, "EInvalidGraphic", "Metafile is not valid");
}

TEST(PageListOpen, PlainStoreOpenedAsCompressedIsNoMetafile) {
  test::TempFolder folder;
  const std::string file = folder.File("plain.vxp");
  Record(Pages(2), false)->StoreToFile(file);
  TVXPageList list;
  list.SetCompressed(true);
  ExpectOpenFails(list, file, "EInvalidGraphic", "Metafile is not valid");
}

TEST(PageListOpen, BareHeaderCannotBeOpened) {
  test::TempFolder folder;
  const std::string file = folder.File("empty.vxp");
  TVXPageList recorder;
  recorder.SetDataStream(TVXStream::CreateInMemory(1000));
  recorder.WriteHeader();
  recorder.StoreToFile(file);
  EXPECT_EQ(test::ReadFileBytes(file).size(), 128u);
  TVXPageList list;
  ExpectOpenFails(list, file, "EReadError", "Stream read error");
}

TEST(PageListOpen, MissingFileFailsWithTheOpenError) {
  TVXPageList list;
  ExpectOpenFails(list, "/nonexistent-vxp-dir/a.vxp", "EFOpenError",
                  "Cannot open file \"/nonexistent-vxp-dir/a.vxp\". No such file or directory");
  EXPECT_EQ(list.DataStream(), nullptr);
}

TEST(PageListOwnership, OwnerTakesTheStreamBackAndResetsTheCount) {
  auto list = Record(Pages(2), false);
  std::unique_ptr<TVXStream> stream = list->ReleaseDataStream();
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(list->DataStream(), nullptr);
  EXPECT_EQ(list->StoredPages(), 2);
  list->ResetPageCount();
  EXPECT_EQ(list->StoredPages(), 0);
  EXPECT_EQ(list->FetchPage(1), nullptr);
  EXPECT_GT(stream->Size(), 128);
}

TEST(PageListOwnership, AppendWithoutAStreamFails) {
  TVXPageList list;
  EXPECT_THROW(list.AppendPage(*test::MetafileFrom(test::PageEmf(1))), EWriteError);
}

}  // namespace
}  // namespace vx
