// Recording throughput: one table page of a report (40 rows of six text cells
// with ruled lines and shaded rows) recorded through the report printer, and
// a whole 20-page document recorded into a spilling page store.
#include <benchmark/benchmark.h>

#include <string>

#include "document/vx_printer.h"
#include "graphics/canvas.h"

namespace {

void DrawTablePage(vx::TCanvas& c, int page) {
  c.Font().Name = "Arial";
  c.Font().SetSize(9);
  for (int row = 0; row < 40; ++row) {
    const int top = 100 + row * 21;
    c.Brush().Style = vx::TBrushStyle::bsSolid;
    c.Brush().Color = row % 2 != 0 ? vx::gdi::RGB(232, 240, 248) : vx::gdi::RGB(255, 255, 255);
    for (int col = 0; col < 6; ++col) {
      const std::string text = std::to_string(page * 1000 + row * 10 + col) + ".00";
      c.TextRect({60 + col * 115, top, 175 + col * 115, top + 21}, 170 + col * 115 - c.TextWidth(text), top + 3,
                 text);
    }
    c.Pen().Color = vx::gdi::RGB(160, 160, 160);
    c.MoveTo(60, top + 21);
    c.LineTo(750, top + 21);
  }
}

void RecordTablePage(benchmark::State& state) {
  vx::TVXPrinter printer(nullptr);
  printer.BeginDocument();
  int page = 0;
  for (auto _ : state) {
    printer.NewPage();
    DrawTablePage(*printer.PageCanvas(), ++page);
  }
  printer.EndDocument();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RecordTablePage)->Unit(benchmark::kMillisecond);

void RecordTwentyPageDocument(benchmark::State& state) {
  for (auto _ : state) {
    vx::TVXPrinter printer(nullptr);
    printer.BeginDocument();
    for (int page = 1; page <= 20; ++page) {
      printer.NewPage();
      DrawTablePage(*printer.PageCanvas(), page);
    }
    printer.EndDocument();
    benchmark::DoNotOptimize(printer.PageStream()->GetSize());
  }
}
BENCHMARK(RecordTwentyPageDocument)->Unit(benchmark::kMillisecond);

}  // namespace
