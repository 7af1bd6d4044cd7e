// A poster: the sample drawing at 1,200 dpi (a 139 MB page at 8 bits), drawn
// whole (--band-rows beyond its height) and in bands (the default), with one
// worker and two. Peak memory is the other half of the story: see README.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "converter/conversion_driver.h"

namespace {

constexpr int32_t kPosterResolution = 1200;

std::string OutputFile() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/vxp-banded-bench-" + std::to_string(getpid()) + ".bmp";
}

void BM_Poster(benchmark::State& state) {
  const std::string source = std::string(VXP_SOURCE_DIR) + "/samples/shapes.emf";
  const std::string out = OutputFile();
  vx::TConversionOptions options;
  options.jobs = static_cast<int>(state.range(0));
  options.band_rows = state.range(1) != 0 ? 0 : 1 << 30;  // 1 << 30 rows: one band, the whole page
  for (auto _ : state) vx::ConvertMetafileFile(source, out, kPosterResolution, options);
  std::remove(out.c_str());
  state.SetLabel(state.range(1) != 0 ? "in bands" : "whole");
}
BENCHMARK(BM_Poster)
    ->ArgNames({"jobs", "bands"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
