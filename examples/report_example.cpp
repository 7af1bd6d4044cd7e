// Generates a multi-page sales report through the report printer's recording
// cycle and saves it as a .vxp file that vxp2bmp converts:
//
//   vxp_example_report OUTPUT.vxp [ROWS]
//
// Each page has a header with a logo and a footer "Page n of N"; page 1 opens
// with a title; the table has ruled lines, shaded rows and right-aligned
// numbers, and the report ends with a summary. The memory limit is set low so
// the page store moves to a temporary file while the report is recorded.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "base/errors.h"
#include "document/vx_printer.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/canvas.h"

namespace {

using vx::Extended;
using vx::TCanvas;
using vx::TVXPrinter;
namespace gdi = vx::gdi;

// Report geometry in 0.1 mm on an A4 portrait page (2100 x 2970).
constexpr int kLeft = 150;
constexpr int kRight = 2100 - 150;
constexpr int kHeaderTop = 100;
constexpr int kBodyTop = 420;
constexpr int kTitleHeight = 260;
constexpr int kFooterTop = 2970 - 180;
constexpr int kRowHeight = 55;
constexpr int kMemoryLimit = 250000;  // bytes (the default); the report spills past it

struct Column {
  const char* title;
  int right;       // right edge in 0.1 mm
  bool numeric;    // right-aligned
};
constexpr Column kColumns[] = {
    {"No.", kLeft + 120, true},       {"Article", kLeft + 700, false}, {"Region", kLeft + 1000, false},
    {"Quantity", kLeft + 1250, true}, {"Unit price", kLeft + 1500, true}, {"Amount", kRight, true},
};

struct Row {
  int number;
  std::string article;
  std::string region;
  int quantity;
  long unit_cents;
};

std::vector<Row> SalesRows(int count) {
  static const char* const kArticles[] = {"Ball bearing 6204-2RS", "Hex bolt M8 x 40", "Cable gland PG11",
                                          "Timing belt HTD 5M", "Pressure gauge 0-10 bar", "Solenoid valve 24 V",
                                          "Linear guide rail 600", "Stepper motor NEMA 17"};
  static const char* const kRegions[] = {"North", "South", "East", "West", "Central"};
  std::vector<Row> rows;
  uint32_t seed = 20261209;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
  for (int i = 1; i <= count; ++i) {
    rows.push_back({i, kArticles[(next() >> 16) % 8], kRegions[(next() >> 16) % 5], int(1 + (next() >> 16) % 480),
                    long(95 + (next() >> 16) % 48000)});
  }
  return rows;
}

std::string Money(long cents) {
  std::string whole = std::to_string(cents / 100);
  for (int at = int(whole.size()) - 3; at > 0; at -= 3) whole.insert(size_t(at), ",");
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%02ld", cents % 100);
  return whole + fraction;
}

// The company logo, drawn once on an 8-bit bitmap.
void PaintLogo(vx::TBitmap& logo) {
  logo.SetPixelDepth(8);
  logo.SetPixelWidth(72);
  logo.SetPixelHeight(72);
  TCanvas& c = logo.DrawingSurface();
  c.Brush().Color = gdi::RGB(255, 255, 255);
  c.FillRect({0, 0, 72, 72});
  c.Pen().Color = gdi::RGB(0, 64, 128);
  c.Pen().Width = 3;
  c.Brush().Color = gdi::RGB(0, 96, 192);
  c.Ellipse({4, 4, 68, 68});
  c.Brush().Color = gdi::RGB(255, 192, 0);
  c.Pen().Width = 1;
  c.Pie({14, 14, 58, 58}, {58, 36}, {36, 14});
  c.Brush().Color = gdi::RGB(255, 255, 255);
  c.Polygon({{36, 22}, {50, 50}, {22, 50}});
}

class ReportWriter {
public:
  ReportWriter(TVXPrinter& printer, const std::vector<Row>& rows) : printer_(printer), rows_(rows) {
    PaintLogo(logo_);
    const int first_page_rows = (kFooterTop - kBodyTop - kTitleHeight) / kRowHeight - 1;
    const int page_rows = (kFooterTop - kBodyTop) / kRowHeight - 1;
    rows_on_first_ = first_page_rows;
    rows_per_page_ = page_rows;
    const int rest = std::max(0, int(rows_.size()) - first_page_rows);
    page_count_ = 1 + (rest + page_rows - 1) / page_rows;
    // The summary needs three rows after the last one.
    const int on_last = rest == 0 ? int(rows_.size()) : rest - (page_count_ - 2) * page_rows;
    if (on_last + 3 > (page_count_ == 1 ? first_page_rows : page_rows)) ++page_count_;
  }

  int PageCount() const { return page_count_; }

  void Write() {
    printer_.BeginDocument();
    size_t next = 0;
    long total = 0;
    for (int page = 1; page <= page_count_; ++page) {
      printer_.NewPage();
      TCanvas& c = *printer_.PageCanvas();
      PageHeader(c);
      int y = kBodyTop;
      if (page == 1) y = Title(c, y);
      const int capacity = page == 1 ? rows_on_first_ : rows_per_page_;
      if (next < rows_.size()) {
        y = TableHeader(c, y);
        for (int i = 0; i < capacity && next < rows_.size(); ++i, ++next) {
          total += rows_[next].quantity * rows_[next].unit_cents;
          y = TableRow(c, y, rows_[next], i % 2 == 1);
        }
      }
      if (next == rows_.size() && page == page_count_) Summary(c, y + kRowHeight, total);
      PageFooter(c, page);
      printer_.ReportProgress(page * 100 / page_count_);
    }
    printer_.EndDocument();
  }

private:
  int X(Extended x) const { return printer_.ToDeviceX(x); }
  int Y(Extended y) const { return printer_.ToDeviceY(y); }

  void Font(TCanvas& c, const char* face, int points, bool bold, gdi::ColorRef color) {
    c.Font().Name = face;
    c.Font().SetSize(points);
    c.Font().Bold = bold;
    c.Font().Italic = false;
    c.Font().Color = color;
  }

  void HorizontalRule(TCanvas& c, int y, int width, gdi::ColorRef color) {
    c.Pen().Color = color;
    c.Pen().Width = width;
    c.MoveTo(X(kLeft), Y(y));
    c.LineTo(X(kRight), Y(y));
  }

  void PageHeader(TCanvas& c) {
    c.Draw(X(kLeft), Y(kHeaderTop), logo_);
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Arial", 16, true, gdi::RGB(0, 64, 128));
    c.TextOut(X(kLeft + 230), Y(kHeaderTop + 20), "Northwind Components Ltd.");
    Font(c, "Arial", 9, false, gdi::RGB(64, 64, 64));
    c.TextOut(X(kLeft + 230), Y(kHeaderTop + 110), "Sales by article and region, fiscal year 2026");
    const std::string stamp = "Printed 9 December 2026";
    c.TextOut(X(kRight) - c.TextWidth(stamp), Y(kHeaderTop + 110), stamp);
    HorizontalRule(c, kHeaderTop + 230, 2, gdi::RGB(0, 64, 128));
  }

  int Title(TCanvas& c, int y) {
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Times New Roman", 24, true, gdi::RGB(0, 0, 0));
    c.TextOut(X(kLeft), Y(y), "Annual Sales Report");
    Font(c, "Times New Roman", 11, false, gdi::RGB(80, 80, 80));
    c.Font().Italic = true;
    c.TextOut(X(kLeft), Y(y + 130), std::to_string(rows_.size()) + " orders, all regions, amounts in EUR");
    return y + kTitleHeight;
  }

  // Text in a cell: numbers against the right edge, text from the left.
  void Cell(TCanvas& c, int column, int top, const std::string& text) {
    const int left = column == 0 ? kLeft : kColumns[column - 1].right;
    const int right = kColumns[column].right;
    const gdi::Rect box{X(left), Y(top), X(right), Y(top + kRowHeight)};
    const int text_y = Y(top) + (box.Height() - c.TextHeight(text)) / 2;
    const int padding = X(left + 20) - X(left);
    const int x = kColumns[column].numeric ? box.right - padding - c.TextWidth(text) : box.left + padding;
    c.TextRect(box, x, text_y, text);
  }

  int TableHeader(TCanvas& c, int y) {
    c.Brush().Style = vx::TBrushStyle::bsSolid;
    c.Brush().Color = gdi::RGB(0, 64, 128);
    c.FillRect({X(kLeft), Y(y), X(kRight), Y(y + kRowHeight)});
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Arial", 9, true, gdi::RGB(255, 255, 255));
    for (int i = 0; i < 6; ++i) Cell(c, i, y, kColumns[i].title);
    return y + kRowHeight;
  }

  int TableRow(TCanvas& c, int y, const Row& row, bool shaded) {
    c.Brush().Style = vx::TBrushStyle::bsSolid;
    c.Brush().Color = shaded ? gdi::RGB(232, 240, 248) : gdi::RGB(255, 255, 255);
    Font(c, "Arial", 9, false, gdi::RGB(0, 0, 0));
    const long amount = row.quantity * row.unit_cents;
    const std::string cells[] = {std::to_string(row.number), row.article, row.region,
                                 std::to_string(row.quantity), Money(row.unit_cents), Money(amount)};
    for (int i = 0; i < 6; ++i) Cell(c, i, y, cells[i]);
    // Ruled lines: the row's bottom and the column separators.
    c.Pen().Color = gdi::RGB(160, 160, 160);
    c.Pen().Width = 1;
    c.MoveTo(X(kLeft), Y(y + kRowHeight));
    c.LineTo(X(kRight), Y(y + kRowHeight));
    for (int i = 0; i < 5; ++i) {
      c.MoveTo(X(kColumns[i].right), Y(y));
      c.LineTo(X(kColumns[i].right), Y(y + kRowHeight));
    }
    c.Brush().Color = gdi::RGB(0, 64, 128);
    c.FrameRect({X(kLeft), Y(y) - 1, X(kRight), Y(y + kRowHeight) + 1});
    return y + kRowHeight;
  }

  void Summary(TCanvas& c, int y, long total) {
    HorizontalRule(c, y, 3, gdi::RGB(0, 0, 0));
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Arial", 11, true, gdi::RGB(0, 0, 0));
    c.TextOut(X(kColumns[2].right), Y(y + 40), "Total");
    const std::string amount = Money(total);
    c.TextOut(X(kRight - 20) - c.TextWidth(amount), Y(y + 40), amount);
    c.Pen().Width = 1;
    c.Brush().Style = vx::TBrushStyle::bsSolid;
    c.Brush().Color = gdi::RGB(255, 248, 220);
    c.RoundRect({X(kLeft), Y(y + 200), X(kLeft + 900), Y(y + 400)}, 16, 16);
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Arial", 9, false, gdi::RGB(64, 64, 64));
    c.TextOut(X(kLeft + 40), Y(y + 240), "All amounts exclude VAT.");
    c.TextOut(X(kLeft + 40), Y(y + 300), "Figures are unaudited.");
  }

  void PageFooter(TCanvas& c, int page) {
    HorizontalRule(c, kFooterTop, 1, gdi::RGB(0, 64, 128));
    c.Brush().Style = vx::TBrushStyle::bsClear;
    Font(c, "Arial", 8, false, gdi::RGB(64, 64, 64));
    c.TextOut(X(kLeft), Y(kFooterTop + 40), "Northwind Components Ltd. - confidential");
    const std::string number = "Page " + std::to_string(page) + " of " + std::to_string(page_count_);
    c.TextOut(X(kRight) - c.TextWidth(number), Y(kFooterTop + 40), number);
  }

  TVXPrinter& printer_;
  const std::vector<Row>& rows_;
  vx::TBitmap logo_;
  int rows_on_first_ = 0;
  int rows_per_page_ = 0;
  int page_count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.vxp [ROWS]\n", argv[0]);
    return 2;
  }
  const std::string output = argv[1];
  const int row_count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 900;
  try {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Row> rows = SalesRows(row_count);
    TVXPrinter printer(nullptr);
    printer.Settings().SetMemoryLimit(kMemoryLimit);
    bool spilled = false;
    printer.SetPreviewWindow([&](uint32_t message, int32_t) {
      if (message == vx::kPageAvailableMessage && printer.PageStream() != nullptr &&
          !printer.PageStream()->Resident())
        spilled = true;
    });
    ReportWriter writer(printer, rows);
    writer.Write();
    printer.SaveReportFile(output);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("recorded %d pages (page store %s memory limit of %d bytes) and saved %s: %lld bytes in %.3f s\n",
                printer.PageTotal(), spilled ? "spilled past its" : "stayed within its", kMemoryLimit,
                output.c_str(), static_cast<long long>(printer.PageStream()->GetSize()), seconds);
    return 0;
  } catch (const vx::Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
