#include <gtest/gtest.h>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;

struct Canvas {
  test::RenderedPage page = test::WhitePage(40, 40);
  TDeviceContext dc;
  Canvas() {
    dc.SelectSurface(&page.surface);
    dc.SelectBrush(LogBrush{BS_SOLID, RGB(0, 0, 0), 0, nullptr});
  }
  int Ink() const {
    int n = 0;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) n += page.At(x, y) != kWhite;
    return n;
  }
  void SquarePath(int32_t l, int32_t t, int32_t r, int32_t b) {
    dc.BeginPath();
    dc.Polygon({{l, t}, {r, t}, {r, b}, {l, b}});
    dc.EndPath();
  }
};

TEST(DeviceContextPath, DrawingCallsInTheBracketAddFiguresInDeviceCoordinates) {
  Canvas c;
  c.dc.SetViewportOrg({5, 5});
  c.dc.BeginPath();
  c.dc.MoveTo({0, 0});
  c.dc.LineTo({10, 0});
  c.dc.Rectangle({0, 0, 10, 10});
  EXPECT_EQ(c.Ink(), 0);
  const Path& path = c.dc.CurrentPath();
  ASSERT_EQ(path.Size(), 6u);  // a line, then a closed four-corner figure
  EXPECT_EQ(path.Points()[0].x, 5);
  EXPECT_EQ(path.Points()[1].x, 15);
  EXPECT_EQ(path.Types()[5], PT_LINETO | PT_CLOSEFIGURE);
  EXPECT_EQ(c.dc.CurrentPosition(), (Point{10, 0}));
}

TEST(DeviceContextPath, UsingThePathNeedsAClosedBracketAndConsumesIt) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.Polygon({{2, 2}, {12, 2}, {12, 12}});
  EXPECT_FALSE(c.dc.FillPath());  // still open
  EXPECT_TRUE(c.dc.EndPath());
  EXPECT_FALSE(c.dc.EndPath());
  EXPECT_TRUE(c.dc.FillPath());
  EXPECT_GT(c.Ink(), 0);
  EXPECT_TRUE(c.dc.CurrentPath().IsEmpty());
  EXPECT_FALSE(c.dc.FillPath());
  EXPECT_FALSE(c.dc.StrokePath());
  EXPECT_FALSE(c.dc.SelectClipPath(RGN_COPY));
}

TEST(DeviceContextPath, AbortPathDiscardsAndCloseFigureNeedsTheBracket) {
  Canvas c;
  EXPECT_FALSE(c.dc.CloseFigure());
  c.dc.BeginPath();
  c.dc.LineTo({10, 10});
  EXPECT_TRUE(c.dc.CloseFigure());
  c.dc.AbortPath();
  EXPECT_FALSE(c.dc.InPathBracket());
  EXPECT_FALSE(c.dc.StrokePath());
  EXPECT_EQ(c.Ink(), 0);
}

TEST(DeviceContextPath, RestoreDCBringsBackTheBracketAndItsPath) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.LineTo({10, 0});
  const int level = c.dc.SaveDC();
  c.dc.LineTo({10, 10});
  c.dc.EndPath();
  EXPECT_FALSE(c.dc.InPathBracket());
  c.dc.RestoreDC(level);
  EXPECT_TRUE(c.dc.InPathBracket());
  EXPECT_EQ(c.dc.CurrentPath().Size(), 2u);
  EXPECT_EQ(c.dc.CurrentPosition(), (Point{10, 0}));
}

TEST(DeviceContextPath, SavedStatesKeepTheirPathWhenTheCurrentOneChanges) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.LineTo({10, 0});
  c.dc.SaveDC();
  c.dc.AbortPath();
  c.dc.RestoreDC(-1);
  EXPECT_EQ(c.dc.CurrentPath().Size(), 2u);
}

TEST(DeviceContextPath, SavingALargePathAgainAndAgainDoesNotMultiplyIt) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.PolylineTo(std::vector<Point>(Path::kMaxPoints - 1, Point{5, 5}));
  int copies = 0;
  for (; copies < 10 && c.dc.CurrentPath().Size() == Path::kMaxPoints; ++copies) {
    c.dc.SaveDC();
    c.dc.LineTo({1, 1});  // edits a path shared with the saved state
  }
  EXPECT_LT(copies, 10);  // dropped (the line starts anew) once the saved states hold enough
  c.dc.RestoreDC(1);
  EXPECT_EQ(c.dc.CurrentPath().Size(), Path::kMaxPoints);
}

TEST(DeviceContextPath, SelectClipPathLimitsLaterDrawingToThePath) {
  Canvas c;
  c.SquarePath(10, 10, 20, 20);
  EXPECT_TRUE(c.dc.SelectClipPath(RGN_COPY));
  c.dc.SelectPen(LogPen{PS_NULL, 0, 0, {}, false});
  c.dc.Rectangle({0, 0, 40, 40});
  EXPECT_EQ(c.Ink(), 100);
  EXPECT_NE(c.page.At(10, 10), kWhite);
  EXPECT_EQ(c.page.At(20, 20), kWhite);
}

TEST(DeviceContextPath, SelectClipPathRejectsAnUnknownModeAndKeepsThePath) {
  Canvas c;
  c.SquarePath(10, 10, 20, 20);
  EXPECT_FALSE(c.dc.SelectClipPath(0));
  EXPECT_FALSE(c.dc.SelectClipPath(6));
  EXPECT_FALSE(c.dc.HasClipRegion());
  EXPECT_FALSE(c.dc.CurrentPath().IsEmpty());
}

TEST(DeviceContextPath, WidenPathNeedsAWidePen) {
  Canvas c;
  c.SquarePath(10, 10, 20, 20);
  EXPECT_FALSE(c.dc.WidenPath());  // the default pen is one pixel wide
  c.dc.SelectPen(LogPen{PS_SOLID, 4, RGB(0, 0, 0), {}, false});
  EXPECT_TRUE(c.dc.WidenPath());
  EXPECT_TRUE(c.dc.FillPath());
  EXPECT_NE(c.page.At(10, 15), kWhite);  // on the outline
  EXPECT_EQ(c.page.At(15, 15), kWhite);  // the widened outline is a ring
}

TEST(DeviceContextPath, FlattenPathReplacesCurvesWithLines) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.Ellipse({5, 5, 35, 25});
  c.dc.EndPath();
  ASSERT_EQ(c.dc.CurrentPath().Size(), 13u);  // four Béziers
  EXPECT_TRUE(c.dc.FlattenPath());
  EXPECT_GT(c.dc.CurrentPath().Size(), 13u);
  for (uint8_t type : c.dc.CurrentPath().Types()) EXPECT_NE(type & ~PT_CLOSEFIGURE, PT_BEZIERTO);
}

TEST(DeviceContextPath, PolyDrawWithAnIncompleteBezierDoesNothing) {
  Canvas c;
  c.dc.MoveTo({1, 1});
  c.dc.PolyDraw({{10, 1}, {10, 10}, {20, 10}}, {PT_LINETO, PT_BEZIERTO, PT_BEZIERTO});
  c.dc.PolyDraw({{10, 1}, {10, 10}}, {PT_LINETO, 8});  // not a point type
  EXPECT_EQ(c.Ink(), 0);
  EXPECT_EQ(c.dc.CurrentPosition(), (Point{1, 1}));
}

TEST(DeviceContextPath, PolyDrawDrawsItsFiguresAndMovesThePosition) {
  Canvas c;
  c.dc.MoveTo({1, 1});
  c.dc.PolyDraw({{10, 1}, {20, 20}, {30, 20}, {30, 30}}, {PT_LINETO, PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE});
  EXPECT_NE(c.page.At(5, 1), kWhite);    // from the current position
  EXPECT_EQ(c.page.At(15, 10), kWhite);  // no line across the move
  EXPECT_NE(c.page.At(25, 25), kWhite);  // the closing diagonal
  EXPECT_EQ(c.dc.CurrentPosition(), (Point{30, 30}));
}

TEST(DeviceContextPath, PolyDrawInTheBracketAddsToThePath) {
  Canvas c;
  c.dc.BeginPath();
  c.dc.PolyDraw({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO});
  EXPECT_EQ(c.Ink(), 0);
  EXPECT_EQ(c.dc.CurrentPath().Types(),
            (std::vector<uint8_t>{PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO}));
}

TEST(DeviceContextPath, HugeCoordinatesStayBounded) {
  Canvas c;
  c.dc.SetPolyFillMode(WINDING);
  c.dc.BeginPath();
  for (int i = 0; i < 100; ++i) c.dc.Ellipse({-2000000000, -2000000000, 2000000000, 2000000000});
  c.dc.AngleArc({0, 0}, 4000000000u, 0, 1e30f);
  c.dc.EndPath();
  EXPECT_TRUE(c.dc.StrokeAndFillPath());
  EXPECT_EQ(c.page.At(20, 20), 0);  // deep inside the filled ellipses
}

}  // namespace
}  // namespace vx::gdi
