// Encoding one rendered page as BMP and as PNG, in memory: what --format=png
// costs beside the BMP the converter writes by default.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/memory_stream.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"
#include "graphics/png_file.h"

namespace {

constexpr int32_t kResolution = 300;
constexpr const char* kPage = "corpus/files/libemf2svg/EA-test-file-030.emf";  // a text page

// The page rendered once; nullptr (and the benchmark skipped) without the corpus.
std::unique_ptr<vx::TBitmap> RenderedPage(benchmark::State& state) {
  const std::string path = std::string(VXP_SHARED_DIR) + "/" + kPage;
  if (!std::filesystem::exists(path)) {
    state.SkipWithError(("missing " + path).c_str());
    return nullptr;
  }
  vx::TMetafile metafile;
  metafile.ReadFromFile(path);
  auto bitmap = std::make_unique<vx::TBitmap>();
  vx::RenderMetafileToBitmap(metafile, *bitmap, kResolution, {});
  return bitmap;
}

void BM_EncodeBmp(benchmark::State& state) {
  const auto bitmap = RenderedPage(state);
  if (!bitmap) return;
  int64_t bytes = 0;
  for (auto _ : state) {
    vx::TMemoryStream out;
    bitmap->WriteToStream(out);
    bytes = out.Size();
    benchmark::DoNotOptimize(out.Memory());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_EncodePng(benchmark::State& state) {
  const auto bitmap = RenderedPage(state);
  if (!bitmap) return;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> png = vx::EncodePng(*bitmap);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

}  // namespace
