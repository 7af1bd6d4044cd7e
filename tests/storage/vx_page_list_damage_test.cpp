// Damaged report files: every case ends in a clean error of the right class,
// never in a hang, a crash or a read outside a buffer.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "base/errors.h"
#include "storage/page_store_fixtures.h"
#include "storage/vx_page_list.h"

namespace vx {
namespace {

using test::Bytes;

constexpr const char* kReadError = "EReadError";
constexpr const char* kInvalidGraphic = "EInvalidGraphic";

std::vector<Bytes> ThreePages() { return {test::PageEmf(1), test::PageEmf(2), test::PageEmf(3)}; }

struct Damage {
  const char* name;
  bool compressed;
  std::function<void(Bytes& store, const std::vector<int32_t>& records)> apply;
  // Pages fetched after opening; the last step is the one expected to fail.
  // An empty list means that opening itself fails.
  std::vector<int32_t> fetches;
  const char* className;
};

std::string Describe(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  } catch (const std::exception& e) {
    return std::string("foreign: ") + e.what();
  }
}

class DamagedStore : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedStore, FailsCleanlyWithTheRightError) {
  const Damage& damage = GetParam();
  const test::StoreLayout layout{128, std::nullopt, damage.compressed};
  Bytes store = test::StoreBytes(ThreePages(), layout);
  damage.apply(store, test::RecordOffsets(ThreePages(), layout));

  TVXPageList list;
  list.SetCompressed(damage.compressed);
  std::exception_ptr error;
  try {
    list.OpenStream(test::StreamHolding(store));
    for (size_t i = 0; i < damage.fetches.size(); ++i) {
      auto page = list.FetchPage(damage.fetches[i]);
      if (i + 1 < damage.fetches.size()) {
        ASSERT_NE(page, nullptr) << "fetch " << i;
      }
    }
  } catch (...) {
    error = std::current_exception();
  }
  ASSERT_TRUE(error) << "no error";
  const std::string expected = std::string(damage.className) + ": " +
      (std::string(damage.className) == kReadError ? "Stream read error" : "Metafile is not valid");
  EXPECT_EQ(Describe(error), expected);
}

// Where the links of record i live.
int32_t ForwardLinkOf(const std::vector<int32_t>& records, int i) { return records[i] + 4; }
int32_t BackLinkOf(const Bytes& store, const std::vector<int32_t>& records, int i) {
  return i + 1 < static_cast<int>(records.size()) ? records[i + 1] - 4
                                                  : static_cast<int32_t>(store.size()) - 4;
}

const Damage kDamages[] = {
    {"ForwardLinkBeyondTheEnd", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, ForwardLinkOf(r, 1), 0x7FFFFFF0); },
     {1, 3}, kReadError},
    {"ForwardLinkOntoItself", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, ForwardLinkOf(r, 1), r[1]); },
     {1, 3}, kReadError},
    {"ForwardLinkBackwards", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, ForwardLinkOf(r, 1), r[0]); },
     {1, 3}, kReadError},
    {"NegativeForwardLink", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, ForwardLinkOf(r, 1), -8); },
     {1, 3}, kReadError},
    {"LastBackLinkOutsideTheStream", false,
     [](Bytes& s, const auto&) { test::PutI32(s, s.size() - 4, static_cast<int32_t>(s.size()) + 40); },
     {2}, kReadError},
    {"LastBackLinkNegative", false,
     [](Bytes& s, const auto&) { test::PutI32(s, s.size() - 4, -1); }, {2}, kReadError},
    {"LastBackLinkOntoItself", false,
     [](Bytes& s, const auto&) { test::PutI32(s, s.size() - 4, static_cast<int32_t>(s.size()) - 4); },
     {2}, kReadError},
    {"BackLinkOntoItsOwnRecord", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, BackLinkOf(s, r, 1), r[2]); },
     {2}, kReadError},
    {"BackLinkForwards", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, BackLinkOf(s, r, 1), r[2] + 4); },
     {2}, kReadError},
    {"PageNumbersThatNeverMatch", false,
     [](Bytes& s, const auto& r) {
       test::PutI32(s, r[0], 1);
       test::PutI32(s, r[1], 5);
       test::PutI32(s, r[2], 9);
     },
     {}, kReadError},
    {"PageNumbersThatNeverMatchWalkingBack", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, r[1], 7); }, {2}, kReadError},
    {"PageTotalBeyondTheRecords", false,
     [](Bytes& s, const auto&) { test::PutI32(s, 8, 5); }, {}, kReadError},
    {"HugePageTotal", false,
     [](Bytes& s, const auto&) { test::PutI32(s, 8, 0x7FFFFFFF); }, {}, kReadError},
    {"LastRecordCutShort", false, [](Bytes& s, const auto&) { s.resize(s.size() - 2); }, {},
     kReadError},
    {"PayloadIsNoMetafile", false,
     [](Bytes& s, const auto& r) { s[r[2] + 8 + 40] = 'X'; }, {}, kInvalidGraphic},
    {"MiddlePayloadIsNoMetafile", false,
     [](Bytes& s, const auto& r) { s[r[1] + 8 + 40] = 'X'; }, {1, 2}, kInvalidGraphic},
    {"MetafileLongerThanTheStream", false,
     [](Bytes& s, const auto& r) { test::PutI32(s, r[2] + 8 + 48, 0x7FFFFFF0); }, {},
     kReadError},
    {"NegativeCompressedLength", true,
     [](Bytes& s, const auto& r) { test::PutI32(s, r[2] + 8, -5); }, {}, kInvalidGraphic},
    {"ZeroCompressedLength", true,
     [](Bytes& s, const auto& r) { test::PutI32(s, r[2] + 8, 0); }, {}, kInvalidGraphic},
    {"HugeCompressedLength", true,
     [](Bytes& s, const auto& r) { test::PutI32(s, r[2] + 8, 0x7FFFFFFF); }, {}, kReadError},
    {"CompressedLengthLongerThanItsCode", true,
     [](Bytes& s, const auto& r) {
       test::PutI32(s, r[2] + 8, test::GetI32(s, r[2] + 8) + 64);
     },
     {}, kReadError},
    {"CodeBytesCutShort", true,
     [](Bytes& s, const auto& r) { s.resize(static_cast<size_t>(r[2]) + 40); }, {}, kReadError},
    {"MiddleCodedPayloadIsNoMetafile", true,
     [](Bytes& s, const auto&) {
       s = test::StoreBytes({test::PageEmf(1), Bytes(150, 'Z'), test::PageEmf(3)},
                            {128, std::nullopt, true});
     },
     {1, 2}, kInvalidGraphic},
};

INSTANTIATE_TEST_SUITE_P(Cases, DamagedStore, ::testing::ValuesIn(kDamages),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(DamagedStore, TooShortForTheHeaderProbe) {
  TVXPageList list;
  Bytes store = test::StoreBytes(ThreePages());
  store.resize(176);
  EXPECT_THROW(list.OpenStream(test::StreamHolding(store)), EReadError);
}

TEST(DamagedStore, EveryCutOfAStoreFailsCleanlyOrStillOpens) {
  for (const bool compressed : {false, true}) {
    const Bytes store = test::StoreBytes(ThreePages(), {128, std::nullopt, compressed});
    for (size_t length = 0; length < store.size(); ++length) {
      TVXPageList list;
      list.SetCompressed(compressed);
      try {
        list.OpenStream(test::StreamHolding(Bytes(store.begin(), store.begin() + length)));
        for (int32_t n : {1, 2, 3, 2, 1}) list.FetchPage(n);
        ADD_FAILURE() << "a store cut to " << length << " bytes served all pages";
      } catch (const EReadError&) {
      } catch (const EInvalidGraphic&) {
      }
    }
  }
}

TEST(DamagedStore, FailedFetchLeavesTheOtherPagesReachable) {
  const auto pages = ThreePages();
  const auto records = test::RecordOffsets(pages);
  Bytes store = test::StoreBytes(pages);
  store[records[1] + 8 + 40] = 'X';
  TVXPageList list;
  list.OpenStream(test::StreamHolding(store));
  EXPECT_THROW(list.FetchPage(2), EInvalidGraphic);
  EXPECT_EQ(list.FetchPage(3)->Bytes(), pages[2]);
  EXPECT_EQ(list.FetchPage(1)->Bytes(), pages[0]);
  EXPECT_THROW(list.FetchPage(2), EInvalidGraphic);
}

TEST(DamagedStore, PageTotalZeroOpensWithNoPages) {
  Bytes store = test::StoreBytes(ThreePages());
  test::PutI32(store, 8, 0);
  TVXPageList list;
  list.OpenStream(test::StreamHolding(store));
  EXPECT_EQ(list.StoredPages(), 0);
  EXPECT_EQ(list.FetchPage(1), nullptr);
}

// Records of 12 bytes each (no payload) form the longest possible chain; a walk
// for a page that is not there must end after one hop per record.
TEST(DamagedStore, WalkThroughALongChainOfEmptyRecordsEnds) {
  constexpr int32_t kRecords = 200000;
  Bytes store = test::StoreBytes({test::PageEmf(1)});
  for (int32_t i = 0; i < kRecords; ++i) {
    const auto start = static_cast<int32_t>(store.size());
    store.resize(store.size() + 12);
    test::PutI32(store, start, 2);  // every record claims page 2
    test::PutI32(store, start + 4, start + 12);
    test::PutI32(store, start + 8, start);
  }
  test::PutI32(store, 8, 3);
  TVXPageList list;
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_THROW(list.OpenStream(test::StreamHolding(store)), EReadError);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(20));
}

}  // namespace
}  // namespace vx
