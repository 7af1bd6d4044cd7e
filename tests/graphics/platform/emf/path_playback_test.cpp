// Path records played as the reference renderer plays them: every expected
// pixel here was checked against the reference's render of the same file
// (a 100 x 100 page at 96 dpi, 0.99 device pixels per logical unit).
#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_path_records.h"

namespace vx::test {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint32_t kNullBrush = 5, kBlackPen = 7, kNullPen = 8;

struct Ink {
  gdi::Rect bounds{1000, 1000, -1, -1};
  int count = 0;
};

Ink InkOf(const RenderedPage& page, const gdi::Rect& window = {0, 0, 100, 100}) {
  Ink ink;
  for (int y = window.top; y < std::min(window.bottom, page.height); ++y)
    for (int x = window.left; x < std::min(window.right, page.width); ++x) {
      if (page.At(x, y) == kWhite) continue;
      ++ink.count;
      ink.bounds = {std::min(ink.bounds.left, x), std::min(ink.bounds.top, y), std::max(ink.bounds.right, x + 1),
                    std::max(ink.bounds.bottom, y + 1)};
    }
  return ink;
}

bool Inked(const RenderedPage& page, int x, int y) { return page.At(x, y) != kWhite; }

// A page with a black brush and the given stock pen selected.
EmfBuilder BlackBrushPage(uint32_t stock_pen) {
  EmfBuilder b = PathPage();
  CreateSolidBrush(b, 1, 0);
  SelectObject(b, 1);
  SelectStockObject(b, stock_pen);
  return b;
}

TEST(PathPlayback, FillPathLeavesOutTheRightAndBottomEdges) {
  EmfBuilder b = BlackBrushPage(kNullPen);
  BeginPath(b);
  Rectangle(b, 10, 10, 20, 20);
  EndPath(b);
  FillPath(b);
  const Ink ink = InkOf(RenderEmf(b.Build()));
  EXPECT_EQ(ink.bounds, (gdi::Rect{10, 10, 20, 20}));
  EXPECT_EQ(ink.count, 100);
}

TEST(PathPlayback, FillPathClosesAnOpenFigure) {
  EmfBuilder b = BlackBrushPage(kNullPen);
  BeginPath(b);
  MoveTo(b, 10, 40);
  LineTo(b, 30, 40);
  LineTo(b, 20, 55);
  EndPath(b);
  FillPath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_EQ(InkOf(page).bounds, (gdi::Rect{10, 40, 30, 54}));
  EXPECT_TRUE(Inked(page, 20, 50));
}

TEST(PathPlayback, StrokePathOfARectangleDrawsAllFourEdges) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  Rectangle(b, 40, 40, 50, 50);
  EndPath(b);
  StrokePath(b);
  const RenderedPage page = RenderEmf(b.Build());
  const Ink ink = InkOf(page);
  EXPECT_EQ(ink.bounds, (gdi::Rect{40, 40, 51, 51}));
  EXPECT_EQ(ink.count, 40);
  EXPECT_FALSE(Inked(page, 45, 45));  // the brush is not used
}

TEST(PathPlayback, StrokePathLeavesAnOpenFigureOpen) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  MoveTo(b, 60, 40);
  LineTo(b, 75, 40);
  LineTo(b, 75, 50);
  EndPath(b);
  StrokePath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_EQ(InkOf(page).bounds, (gdi::Rect{59, 40, 75, 50}));  // the last pixel stays out
  EXPECT_FALSE(Inked(page, 67, 45));
}

TEST(PathPlayback, CloseFigureStrokesTheLineBackToTheStart) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  MoveTo(b, 60, 60);
  LineTo(b, 75, 60);
  LineTo(b, 75, 70);
  CloseFigure(b);
  EndPath(b);
  StrokePath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_TRUE(Inked(page, 62, 61));
  EXPECT_TRUE(Inked(page, 71, 67));
  EXPECT_TRUE(Inked(page, 74, 68));
}

TEST(PathPlayback, StrokeAndFillPathClosesFillsAndOutlines) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  MoveTo(b, 10, 70);
  LineTo(b, 30, 70);
  LineTo(b, 30, 85);
  EndPath(b);
  StrokeAndFillPath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_EQ(InkOf(page).bounds, (gdi::Rect{10, 69, 31, 85}));
  EXPECT_TRUE(Inked(page, 20, 72));
  EXPECT_FALSE(Inked(page, 12, 80));
}

// A clip rectangle, then a path rectangle overlapping its right half
// selected with each mode, then a fill over both.
struct ClipCase {
  int mode;
  int32_t left;
  int count;
  gdi::Rect bounds;
};

class SelectClipPathModes : public ::testing::TestWithParam<ClipCase> {};

TEST_P(SelectClipPathModes, CombineThePathWithTheClip) {
  const ClipCase& c = GetParam();
  EmfBuilder b = BlackBrushPage(kNullPen);
  IntersectClipRect(b, c.left, 10, c.left + 10, 30);
  BeginPath(b);
  Rectangle(b, c.left + 5, 15, c.left + 15, 25);
  EndPath(b);
  SelectClipPath(b, c.mode);
  Rectangle(b, c.left - 3, 5, c.left + 18, 35);
  const Ink ink = InkOf(RenderEmf(b.Build()));
  EXPECT_EQ(ink.count, c.count);
  EXPECT_EQ(ink.bounds, c.bounds);
}

INSTANTIATE_TEST_SUITE_P(Modes, SelectClipPathModes,
                         ::testing::Values(ClipCase{1, 5, 50, {10, 15, 15, 25}},     // RGN_AND
                                           ClipCase{2, 24, 250, {24, 10, 39, 30}},   // RGN_OR
                                           ClipCase{3, 43, 190, {43, 10, 57, 30}},   // RGN_XOR
                                           ClipCase{4, 62, 150, {61, 10, 71, 30}},   // RGN_DIFF
                                           ClipCase{5, 81, 100, {85, 15, 95, 25}}));  // RGN_COPY

TEST(PathPlayback, FillPathFollowsThePolyFillMode) {
  for (const int mode : {1, 2}) {
    EmfBuilder b = BlackBrushPage(kNullPen);
    SetPolyFillMode(b, mode);
    BeginPath(b);
    Rectangle(b, 5, 45, 25, 60);
    Rectangle(b, 15, 50, 35, 65);
    EndPath(b);
    FillPath(b);
    const RenderedPage page = RenderEmf(b.Build());
    EXPECT_EQ(Inked(page, 20, 54), mode == 2) << "mode " << mode;  // the overlap
    EXPECT_TRUE(Inked(page, 10, 47));
    EXPECT_TRUE(Inked(page, 30, 62));
  }
}

TEST(PathPlayback, WidenPathThenFillPathPaintsThePenShape) {
  EmfBuilder b = BlackBrushPage(kNullPen);
  CreatePen(b, 2, 0, 5, 0);
  SelectObject(b, 2);
  BeginPath(b);
  MoveTo(b, 10, 80);
  LineTo(b, 40, 80);
  LineTo(b, 40, 95);
  EndPath(b);
  WidenPath(b);
  FillPath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_EQ(InkOf(page).bounds, (gdi::Rect{8, 77, 43, 97}));
  EXPECT_TRUE(Inked(page, 25, 81));
  EXPECT_TRUE(Inked(page, 42, 90));
  EXPECT_FALSE(Inked(page, 25, 84));
}

TEST(PathPlayback, RestoreDCReturnsToTheSavedPathAndPosition) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  MoveTo(b, 10, 10);
  LineTo(b, 40, 10);
  SaveDC(b);
  LineTo(b, 40, 20);  // dropped with the restore
  RestoreDC(b, -1);
  LineTo(b, 10, 20);  // from (40, 10)
  EndPath(b);
  StrokePath(b);
  const RenderedPage page = RenderEmf(b.Build());
  EXPECT_EQ(InkOf(page).bounds, (gdi::Rect{10, 10, 41, 21}));
  EXPECT_TRUE(Inked(page, 25, 15));
  EXPECT_FALSE(Inked(page, 40, 15));
}

TEST(PathPlayback, DrawingInsideTheBracketPaintsNothingUntilThePathIsUsed) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  BeginPath(b);
  Rectangle(b, 10, 10, 50, 50);
  MoveTo(b, 0, 0);
  LineTo(b, 90, 90);
  EndPath(b);
  EXPECT_EQ(InkOf(RenderEmf(b.Build())).count, 0);
  AbortPath(b);
  StrokePath(b);  // nothing left to stroke
  EXPECT_EQ(InkOf(RenderEmf(b.Build())).count, 0);
}

TEST(PathPlayback, AngleArcTurnsCounterClockwiseOnTheScreen) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  MoveTo(b, 50, 80);
  AngleArc(b, 70, 80, 15, 0, 90);
  const Ink ink = InkOf(RenderEmf(b.Build()));
  EXPECT_EQ(ink.bounds.top, 64);  // up to the top of the circle
  EXPECT_LE(ink.bounds.bottom, 81);
  EXPECT_EQ(ink.bounds.left, 50);  // the line from the current position
}

TEST(PathPlayback, PolyDraw16DrawsLikeLines) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  PolyDraw(b, {{10, 10}, {30, 10}, {30, 20}}, {6, 2, 2}, true);
  const Ink ink = InkOf(RenderEmf(b.Build()));
  EXPECT_EQ(ink.bounds, (gdi::Rect{10, 10, 31, 20}));
  EXPECT_EQ(ink.count, 20 + 10);  // the corner once, the end pixel left out
}

TEST(PathPlayback, DamagedPathRecordsAreSkippedAndPlaybackGoesOn) {
  EmfBuilder b = BlackBrushPage(kBlackPen);
  // A PolyDraw claiming more points than it holds.
  ByteWriter w;
  for (int32_t v : {0, 0, 0, 0, 1000, 10, 10, 50, 50}) w.I32(v);
  w.U8(6);
  w.U8(2);
  b.Record(gdi::EmfRecord::kPolyDraw, w.Bytes());
  b.Record(gdi::EmfRecord::kAngleArc, {1, 2, 3});  // AngleArc cut short
  BeginPath(b);
  Rectangle(b, 40, 40, 50, 50);
  EndPath(b);
  b.Record(gdi::EmfRecord::kSelectClipPath);  // SelectClipPath without its mode: skipped, the path stays
  b.Record(gdi::EmfRecord::kFillPath);  // FillPath without its bounds: skipped too
  StrokePath(b);
  const Ink ink = InkOf(RenderEmf(b.Build()));
  EXPECT_EQ(ink.bounds, (gdi::Rect{40, 40, 51, 51}));
  EXPECT_EQ(ink.count, 40);
}

}  // namespace
}  // namespace vx::test
