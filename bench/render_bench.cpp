// One page rendered at 300 dpi into a BMP file, beside the floor: writing the
// same number of bytes to a file. The ratio of the two is the cost of drawing.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/file_stream.h"
#include "converter/page_rasterizer.h"
#include "graphics/metafile.h"

namespace {

constexpr int32_t kResolution = 300;

struct Page {
  const char* label;
  const char* path;  // under the shared corpus
};

// Many text records, no images; many path and polygon records, no text; and
// one bitmap stretched over the whole page.
constexpr Page kTextPage{"text", "corpus/files/libemf2svg/EA-test-file-030.emf"};
constexpr Page kGraphicsPage{"graphics", "corpus/files/aspose-imaging-net/test.emf"};
constexpr Page kStretchedImagePage{"stretched image", "corpus/files/npoi/embedded/Issue1252.xlsx__image3.emf"};

std::string OutputName() { return "/tmp/vxp-render-bench-" + std::to_string(getpid()) + ".bmp"; }

std::unique_ptr<vx::TMetafile> LoadPage(benchmark::State& state, const Page& page) {
  const std::string path = std::string(VXP_SHARED_DIR) + "/" + page.path;
  if (!std::filesystem::exists(path)) {
    state.SkipWithError(("missing " + path).c_str());
    return nullptr;
  }
  auto metafile = std::make_unique<vx::TMetafile>();
  metafile->ReadFromFile(path);
  return metafile;
}

// The size of the page's BMP file at the benchmark's resolution.
int64_t OutputSize(vx::TMetafile& metafile) {
  const std::string name = OutputName();
  vx::RenderMetafileToFile(metafile, name, kResolution);
  const auto size = static_cast<int64_t>(std::filesystem::file_size(name));
  std::filesystem::remove(name);
  return size;
}

void BM_RenderPage(benchmark::State& state, const Page& page) {
  const auto metafile = LoadPage(state, page);
  if (!metafile) return;
  const std::string name = OutputName();
  const int64_t bytes = OutputSize(*metafile);
  for (auto _ : state) vx::RenderMetafileToFile(*metafile, name, kResolution);
  std::filesystem::remove(name);
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

// The floor: creating the file and writing as many bytes, nothing drawn.
void BM_WriteFloor(benchmark::State& state, const Page& page) {
  const auto metafile = LoadPage(state, page);
  if (!metafile) return;
  const std::string name = OutputName();
  const std::vector<uint8_t> bytes(static_cast<size_t>(OutputSize(*metafile)), 0xFF);
  for (auto _ : state) {
    vx::TFileStream file(name, vx::TFileMode::Create);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  std::filesystem::remove(name);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

BENCHMARK_CAPTURE(BM_RenderPage, text, kTextPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteFloor, text, kTextPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPage, graphics, kGraphicsPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteFloor, graphics, kGraphicsPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderPage, stretched_image, kStretchedImagePage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteFloor, stretched_image, kStretchedImagePage)->Unit(benchmark::kMillisecond);

}  // namespace
