// A multi-page report converted with one worker and with two: the ratio of
// the two wall times is what parallel pages gain on this machine.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "converter/conversion_driver.h"
#include "document/vx_printer.h"
#include "storage/vx_page_list.h"

namespace {

constexpr int32_t kResolution = 300;
constexpr int kRounds = 2;  // the demo's three A4 pages, twice over

// Under $TMPDIR when set (a memory file system keeps disk writeback out of the figures).
std::string Folder() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/vxp-parallel-bench-" + std::to_string(getpid());
}

// A six-page report made of the demo report's pages, written once.
std::string ReportFile() {
  static const std::string name = [] {
    std::filesystem::create_directories(Folder());
    const std::string path = Folder() + "/report.vxp";
    vx::TVXPrinter demo(nullptr);
    demo.LoadReportFile(std::string(VXP_SOURCE_DIR) + "/samples/demo-report.vxp");
    vx::TVXPageList list;
    list.SetDataStream(vx::TVXStream::CreateInMemory(1 << 30));
    for (int round = 0; round < kRounds; ++round) {
      for (int32_t n = 1; n <= demo.PageTotal(); ++n) list.AppendPage(*demo.PageMetafile(n));
    }
    list.WriteHeader();
    list.StoreToFile(path);
    return path;
  }();
  return name;
}

void BM_ReportPages(benchmark::State& state) {
  const std::string report = ReportFile();
  vx::TConversionOptions options;
  options.jobs = static_cast<int>(state.range(0));
  for (auto _ : state) vx::ConvertReportFile(report, Folder() + "/page.bmp", kResolution, options);
  state.SetItemsProcessed(state.iterations() * kRounds * 3);
  state.SetLabel(std::to_string(kRounds * 3) + " A4 pages at 300 dpi");
}
BENCHMARK(BM_ReportPages)->ArgName("jobs")->Arg(1)->Arg(2)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Removes the folder when the benchmark program ends.
struct FolderCleanup {
  ~FolderCleanup() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
  }
} cleanup;

}  // namespace
