#include "graphics/platform/geometry/path.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx::gdi {
namespace {

TEST(Path, FiguresSplitAtMovesAndKeepTheCloseFlag) {
  Path path;
  path.StartFigure({0, 0});
  path.LineTo({10, 0});
  path.LineTo({10, 10});
  path.CloseFigure();
  path.StartFigure({20, 20});
  path.LineTo({30, 20});
  const std::vector<Path::Figure> figures = path.Figures();
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].points.size(), 3u);
  EXPECT_TRUE(figures[0].closed);
  EXPECT_EQ(figures[1].points.size(), 2u);
  EXPECT_FALSE(figures[1].closed);
  EXPECT_EQ(path.Types(), (std::vector<uint8_t>{PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE, PT_MOVETO,
                                                PT_LINETO}));
}

TEST(Path, LinesNeedAnOpenFigure) {
  Path path;
  path.LineTo({5, 5});
  path.BezierTo({1, 1}, {2, 2}, {3, 3});
  EXPECT_TRUE(path.IsEmpty());
  path.StartFigure({0, 0});
  path.CloseFigure();
  path.LineTo({5, 5});  // after a close a figure must start anew
  EXPECT_EQ(path.Size(), 1u);
  EXPECT_FALSE(path.HasOpenFigure());
}

TEST(Path, PointsSnapToThePixelGridHalvesUp) {
  Path path;
  path.StartFigure({1.5, 2.49});
  path.LineTo({-1.5, 1e30});
  EXPECT_EQ(path.Points()[0].x, 2);
  EXPECT_EQ(path.Points()[0].y, 2);
  EXPECT_EQ(path.Points()[1].x, -1);
  EXPECT_EQ(path.Points()[1].y, 1e8);  // far coordinates are held within range
}

TEST(Path, BeziersFlattenOntoTheCurveEndingAtItsEndPoint) {
  Path path;
  path.StartFigure({0, 0});
  path.BezierTo({0, 100}, {100, 100}, {100, 0});
  const std::vector<Path::Figure> figures = path.Figures();
  ASSERT_EQ(figures.size(), 1u);
  const std::vector<PointF>& pts = figures[0].points;
  ASSERT_GT(pts.size(), 8u);
  EXPECT_EQ(pts.back().x, 100);
  EXPECT_EQ(pts.back().y, 0);
  // The curve's apex is at y = 75 (three quarters of the control height).
  double top = 0;
  for (const PointF& p : pts) top = std::max(top, p.y);
  EXPECT_NEAR(top, 75, 0.5);
}

TEST(Path, FlattenedPathHasOnlyMovesAndLines) {
  Path path;
  path.StartFigure({0, 0});
  path.BezierTo({0, 40}, {40, 40}, {40, 0});
  path.CloseFigure();
  const Path flat = path.Flattened();
  for (uint8_t type : flat.Types()) EXPECT_NE(type & ~PT_CLOSEFIGURE, PT_BEZIERTO);
  EXPECT_EQ(flat.Types().back(), PT_LINETO | PT_CLOSEFIGURE);
  EXPECT_GT(flat.Size(), 4u);
}

TEST(Path, PointsBeyondTheCapAreDroppedAndFlagged) {
  Path path;
  path.StartFigure({0, 0});
  for (size_t i = 0; i < Path::kMaxPoints + 10; ++i) path.LineTo({double(i % 100), 1});
  EXPECT_EQ(path.Size(), Path::kMaxPoints);
  EXPECT_TRUE(path.Overflowed());
}

TEST(Path, FlatteningAHugeCurveIsBounded) {
  std::vector<PointF> out;
  FlattenBezier({-1e8, -1e8}, {1e8, -1e8}, {-1e8, 1e8}, {1e8, 1e8}, out);
  EXPECT_LE(out.size(), 4096u);
  out.clear();
  FlattenBezier({0, 0}, {NAN, 0}, {0, NAN}, {1, 1}, out);
  EXPECT_EQ(out.size(), 1u);
  out.clear();
  FlattenBezier({-1e8, -1e8}, {1e8, -1e8}, {-1e8, 1e8}, {1e8, 1e8}, out, 10);
  EXPECT_LE(out.size(), 10u);
}

TEST(Path, ArcBeziersRunCounterClockwiseOnTheScreenForPositiveSweeps) {
  const std::vector<PointF> quarter = ArcBeziers({0, 0}, 10, 10, 0, M_PI / 2);
  ASSERT_EQ(quarter.size(), 4u);  // one piece: start, two controls, end
  EXPECT_NEAR(quarter.front().x, 10, 1e-9);
  EXPECT_NEAR(quarter.back().y, -10, 1e-9);  // up, as the screen's y grows down
  const std::vector<PointF> full = ArcBeziers({0, 0}, 10, 5, 0, -2 * M_PI);
  EXPECT_EQ(full.size(), 13u);  // four pieces
  EXPECT_NEAR(full[3].y, 5, 1e-9);  // clockwise: down first
  EXPECT_TRUE(ArcBeziers({0, 0}, 1, 1, NAN, 1).empty());
}

}  // namespace
}  // namespace vx::gdi
