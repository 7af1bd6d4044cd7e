#include <benchmark/benchmark.h>

#include "base/arith.h"

// Keeps the benchmark target alive until the subsystem benchmarks land.
static void BM_MulDiv(benchmark::State& state) {
  int32_t v = 1;
  for (auto _ : state) benchmark::DoNotOptimize(v = vx::MulDiv(v + 794, 32000, 1024));
}
BENCHMARK(BM_MulDiv);
