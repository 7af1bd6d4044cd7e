// Opens arbitrary bytes as a saved report, plain and compressed, and fetches
// every page forwards and some backwards. Any vx::Exception is a clean refusal.
#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "storage/vx_page_list.h"

namespace {

// Fetching is bounded per input so a huge page total can't stall the fuzzer.
constexpr int32_t kMaxFetches = 64;

void OpenAndFetch(const uint8_t* data, size_t size, bool compressed) {
  auto stream = vx::TVXStream::CreateInMemory(INT32_MAX);
  if (size > 0) stream->WriteBuffer(data, static_cast<int64_t>(size));
  stream->Seek(0, vx::soBeginning);
  vx::TVXPageList list;
  list.SetCompressed(compressed);
  try {
    list.OpenStream(std::move(stream));
  } catch (const vx::Exception&) {
    return;
  }
  const int32_t total = list.StoredPages();
  int32_t budget = kMaxFetches;
  for (int32_t n = 1; n <= total && budget > 0; ++n, --budget) {
    try {
      list.FetchPage(n);
    } catch (const vx::Exception&) {
    }
  }
  for (int32_t n = total; n >= 1 && budget > 0; n -= 2, --budget) {
    try {
      list.FetchPage(n);
    } catch (const vx::Exception&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  OpenAndFetch(data, size, false);
  OpenAndFetch(data, size, true);
  return 0;
}
