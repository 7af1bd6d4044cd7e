// Page store throughput: the splay-tree codec on a real metafile, and fetching
// every page of a 1,000-page store in order and in reverse.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/byte_reader.h"
#include "base/memory_stream.h"
#include "graphics/metafile.h"
#include "storage/vx_compress.h"
#include "storage/vx_page_list.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The largest EMF of at most 4 MB in the shared corpus (empty when it is missing).
const Bytes& CorpusEmf() {
  static const Bytes bytes = [] {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(VXP_SHARED_DIR) / "corpus" / "files";
    std::error_code error;
    fs::path best;
    uintmax_t bestSize = 0;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (!it->is_regular_file() || it->path().extension() != ".emf") continue;
      const uintmax_t size = it->file_size();
      if (size > bestSize && size <= (4u << 20)) {
        best = it->path();
        bestSize = size;
      }
    }
    if (best.empty()) return Bytes();
    std::ifstream in(best, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  return bytes;
}

Bytes EncodeAll(const Bytes& plain) {
  vx::TMemoryStream out;
  {
    vx::TVXCompress encoder(out, true);
    for (const uint8_t b : plain) encoder.EncodeByte(b);
  }
  return out.Bytes();
}

void BM_CodecEncode(benchmark::State& state) {
  const Bytes& plain = CorpusEmf();
  if (plain.empty()) {
    state.SkipWithError("corpus missing");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(EncodeAll(plain));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
  state.counters["ratio"] = double(EncodeAll(plain).size()) / double(plain.size());
}
BENCHMARK(BM_CodecEncode)->Unit(benchmark::kMillisecond);

void BM_CodecDecode(benchmark::State& state) {
  const Bytes& plain = CorpusEmf();
  if (plain.empty()) {
    state.SkipWithError("corpus missing");
    return;
  }
  const Bytes code = EncodeAll(plain);
  Bytes out(plain.size());
  for (auto _ : state) {
    vx::TMemoryStream in;
    in.WriteBuffer(code.data(), int64_t(code.size()));
    in.Seek(0, vx::soBeginning);
    vx::TVXCompress decoder(in, false);
    for (auto& b : out) b = decoder.DecodeByte();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
}
BENCHMARK(BM_CodecDecode)->Unit(benchmark::kMillisecond);

// A page of about 1.2 KB: header, 50 small records, end of file.
Bytes PageBytes(int page) {
  vx::ByteWriter out;
  constexpr uint32_t kRecords = 50;
  const uint32_t total = 108 + kRecords * 20 + 20;
  const int32_t header[] = {1, 108, 0, 0, 99, 49, 0, 0, 2645 + page, 1322};
  for (const int32_t v : header) out.I32(v);
  out.U32(0x464D4520);
  out.U32(0x10000);
  out.U32(total);
  out.U32(kRecords + 2);
  out.U16(1);
  out.U16(0);
  for (int i = 0; i < 3; ++i) out.U32(0);
  for (const int32_t v : {1024, 768, 320, 240, 0, 0, 0, 320000, 240000}) out.I32(v);
  for (uint32_t i = 0; i < kRecords; ++i) {
    out.U32(27);  // EMR_MOVETOEX-sized filler: type, size, two words
    out.U32(20);
    out.I32(int32_t(i));
    out.I32(page);
    out.I32(0);
  }
  for (const uint32_t v : {14u, 20u, 0u, 16u, 20u}) out.U32(v);
  return out.Bytes();
}

vx::TVXPageList& Store(bool compressed) {
  static vx::TVXPageList stores[2];
  vx::TVXPageList& list = stores[compressed ? 1 : 0];
  if (list.StoredPages() == 0) {
    list.SetCompressed(compressed);
    list.SetDataStream(vx::TVXStream::CreateInMemory(INT32_MAX));
    for (int page = 1; page <= 1000; ++page) {
      const Bytes bytes = PageBytes(page);
      vx::TMemoryStream in;
      in.WriteBuffer(bytes.data(), int64_t(bytes.size()));
      in.Seek(0, vx::soBeginning);
      vx::TMetafile metafile;
      metafile.ReadFromStream(in);
      list.AppendPage(metafile);
    }
    list.WriteHeader();
  }
  return list;
}

void BM_FetchAllInOrder(benchmark::State& state) {
  vx::TVXPageList& list = Store(state.range(0) != 0);
  for (auto _ : state)
    for (int32_t n = 1; n <= list.StoredPages(); ++n) benchmark::DoNotOptimize(list.FetchPage(n));
  state.SetItemsProcessed(int64_t(state.iterations()) * list.StoredPages());
}
BENCHMARK(BM_FetchAllInOrder)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FetchAllInReverse(benchmark::State& state) {
  vx::TVXPageList& list = Store(state.range(0) != 0);
  for (auto _ : state)
    for (int32_t n = list.StoredPages(); n >= 1; --n) benchmark::DoNotOptimize(list.FetchPage(n));
  state.SetItemsProcessed(int64_t(state.iterations()) * list.StoredPages());
}
BENCHMARK(BM_FetchAllInReverse)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
