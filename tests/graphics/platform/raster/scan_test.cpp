#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "graphics/platform/raster/scan.h"

namespace vx::gdi {
namespace {

const Rect kAll{-1000, -1000, 1000, 1000};

std::set<std::pair<int, int>> Pixels(Point a, Point b) {
  std::set<std::pair<int, int>> out;
  for (const LinePixel& p : ScanLine(a, b, kAll)) out.insert({p.x, p.y});
  return out;
}

TEST(ScanLine, LastPixelIsExcluded) {
  const auto px = Pixels({0, 0}, {5, 0});
  EXPECT_EQ(px.size(), 5u);
  EXPECT_TRUE(px.count({0, 0}));
  EXPECT_FALSE(px.count({5, 0}));
  EXPECT_TRUE(Pixels({3, 3}, {3, 3}).empty());
}

TEST(ScanLine, DiagonalStepsOnePixelEachWay) {
  const auto px = Pixels({0, 0}, {4, 4});
  const std::set<std::pair<int, int>> expected{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  EXPECT_EQ(px, expected);
}

// A line with an exact tie between two pixels (dx = 2 * dy) breaks it
// towards the start in octant 1 and towards the end when drawn backwards.
TEST(ScanLine, TiesBreakByOctant) {
  const auto forward = Pixels({0, 0}, {4, 2});
  const std::set<std::pair<int, int>> forward_expected{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
  EXPECT_EQ(forward, forward_expected);
  const auto backward = Pixels({4, 2}, {0, 0});
  const std::set<std::pair<int, int>> backward_expected{{4, 2}, {3, 1}, {2, 1}, {1, 0}};
  EXPECT_EQ(backward, backward_expected);
}

TEST(ScanLine, EveryOctantCoversTheMajorLength) {
  const Point ends[] = {{7, 3}, {3, 7}, {-3, 7}, {-7, 3}, {-7, -3}, {-3, -7}, {3, -7}, {7, -3}};
  for (const Point& e : ends) {
    const auto px = ScanLine({0, 0}, e, kAll);
    ASSERT_EQ(px.size(), 7u);
    EXPECT_EQ(px.front().x, 0);
    EXPECT_EQ(px.front().y, 0);
    // The last pixel drawn is one major step short of the end point.
    EXPECT_EQ(std::max(std::abs(e.x - px.back().x), std::abs(e.y - px.back().y)), 1);
  }
}

TEST(ScanLine, BoundsLimitTheWalkWithoutChangingThePath) {
  const auto full = ScanLine({0, 0}, {100, 37}, kAll);
  const auto part = ScanLine({0, 0}, {100, 37}, {40, 0, 60, 100});
  ASSERT_EQ(part.size(), 20u);
  for (const LinePixel& p : part) EXPECT_EQ(p.y, full[size_t(p.x)].y);
}

// Bounds are a band of rows: the line keeps exactly its own pixels inside
// the band, and one beside the band has none.
TEST(ScanLine, BoundsOfABandKeepTheLinesPixelsInsideIt) {
  const Rect band{0, 40, 200, 60};
  const Point lines[][2] = {{{5, 10}, {180, 30}}, {{5, 70}, {180, 75}},   {{5, 50}, {180, 50}},
                            {{5, 35}, {180, 65}}, {{190, 62}, {3, 38}},  {{50, 0}, {60, 100}},
                            {{20, 39}, {150, 39}}, {{20, 60}, {150, 60}}};
  for (const auto& line : lines) {
    std::set<std::pair<int, int>> expected;
    for (const auto& [x, y] : Pixels(line[0], line[1]))
      if (y >= band.top && y < band.bottom && x >= band.left && x < band.right) expected.insert({x, y});
    std::set<std::pair<int, int>> clipped;
    for (const LinePixel& p : ScanLine(line[0], line[1], band)) clipped.insert({p.x, p.y});
    EXPECT_EQ(clipped, expected) << line[0].x << "," << line[0].y << " to " << line[1].x << "," << line[1].y;
  }
  EXPECT_TRUE(ScanLine({5, 10}, {180, 30}, band).empty());
  EXPECT_TRUE(ScanLine({20, 60}, {150, 60}, band).empty());
  EXPECT_EQ(ScanLine({20, 59}, {150, 59}, band).size(), 130u);
}

TEST(ScanLine, HugeCoordinatesStayWithinTheBounds) {
  const auto px = ScanLine({-2000000000, 5}, {2000000000, 5}, {0, 0, 10, 10});
  EXPECT_EQ(px.size(), 10u);
}

int Count(const std::vector<Span>& spans) {
  int n = 0;
  for (const Span& s : spans) n += s.x1 - s.x0;
  return n;
}

TEST(ScanPolygons, SquareFillsTopLeftInclusiveBottomRightExclusive) {
  const auto spans = ScanPolygons({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, 1, kAll);
  EXPECT_EQ(Count(spans), 100);
  EXPECT_EQ(spans.front().y, 0);
  EXPECT_EQ(spans.back().y, 9);
  EXPECT_EQ(spans.front().x0, 0);
  EXPECT_EQ(spans.front().x1, 10);
}

// A five-pointed star: the centre pentagon is a hole with ALTERNATE and
// filled with WINDING.
TEST(ScanPolygons, StarCentreDependsOnFillMode) {
  const std::vector<Point> star{{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  auto inside = [](const std::vector<Span>& spans, int x, int y) {
    return std::any_of(spans.begin(), spans.end(),
                       [&](const Span& s) { return s.y == y && x >= s.x0 && x < s.x1; });
  };
  const auto alternate = ScanPolygons({star}, 1, kAll);
  const auto winding = ScanPolygons({star}, 2, kAll);
  EXPECT_FALSE(inside(alternate, 50, 50));
  EXPECT_TRUE(inside(winding, 50, 50));
  EXPECT_TRUE(inside(alternate, 50, 10));
  EXPECT_TRUE(inside(winding, 50, 10));
}

// Pieces wholly beside the window (left, right, above, below) are left out
// of the scan; what the window shows must not change, whatever the fill mode.
TEST(ScanPolygons, AWindowShowsWhatTheWholeScanHasInsideIt) {
  uint32_t seed = 12345;
  auto next = [&seed](int32_t lo, int32_t hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + int32_t((seed >> 8) % uint32_t(hi - lo));
  };
  const Rect window{100, 80, 220, 160};
  auto pixels = [&window](const std::vector<Span>& spans) {
    std::set<std::pair<int, int>> out;
    for (const Span& s : spans)
      for (int32_t x = std::max(s.x0, window.left); x < std::min(s.x1, window.right); ++x)
        if (s.y >= window.top && s.y < window.bottom) out.insert({x, s.y});
    return out;
  };
  for (int round = 0; round < 40; ++round) {
    std::vector<std::vector<Point>> polygons;
    for (int i = 0; i < 12; ++i) {
      const int32_t cx = next(-200, 500), cy = next(-200, 400), r = next(5, 160);
      std::vector<Point> poly;
      for (int k = next(3, 8); k > 0; --k) poly.push_back({cx + next(-r, r + 1), cy + next(-r, r + 1)});
      polygons.push_back(poly);
    }
    for (const int mode : {1, 2}) {
      EXPECT_EQ(pixels(ScanPolygons(polygons, mode, window)), pixels(ScanPolygons(polygons, mode, kAll)))
          << "round " << round << " mode " << mode;
    }
  }
}

TEST(ScanEllipse, OutlineStaysInsideTheBoxAndIsSymmetric) {
  const EllipseShape e = ScanEllipse({10, 20, 31, 36});  // 21 x 16
  int minx = 1000, maxx = -1000, miny = 1000, maxy = -1000;
  std::set<std::pair<int, int>> outline;
  for (const Point& p : e.outline) {
    minx = std::min(minx, p.x);
    maxx = std::max(maxx, p.x);
    miny = std::min(miny, p.y);
    maxy = std::max(maxy, p.y);
    outline.insert({p.x, p.y});
  }
  EXPECT_EQ(minx, 10);
  EXPECT_EQ(maxx, 30);
  EXPECT_EQ(miny, 20);
  EXPECT_EQ(maxy, 35);
  for (const auto& [x, y] : outline) {
    EXPECT_TRUE(outline.count({10 + 30 - x, y}));
    EXPECT_TRUE(outline.count({x, 20 + 35 - y}));
  }
  for (const Span& s : e.interior)
    for (int x = s.x0; x < s.x1; ++x) EXPECT_FALSE(outline.count({x, s.y}));
}

TEST(ScanEllipse, EmptyOrAbsurdBoxesGiveNothing) {
  EXPECT_TRUE(ScanEllipse({5, 5, 5, 9}).outline.empty());
  EXPECT_TRUE(ScanEllipse({0, 0, 2000000000, 10}).outline.empty());
}

// A window keeps exactly the outline pixels (in their order) and the parts of
// the interior spans that lie inside it, for odd and even boxes, windows
// across edges, inside the ellipse, outside it, and one row or column wide.
TEST(ScanEllipse, AWindowKeepsWhatTheWholeEllipseHasInsideIt) {
  const Rect boxes[] = {{10, 20, 31, 36}, {-7, 3, 54, 4}, {0, 0, 1, 1}, {-400, -300, 401, 300}, {5, 5, 6, 90}};
  for (const Rect& box : boxes) {
    const EllipseShape whole = ScanEllipse(box);
    const int32_t cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const Rect windows[] = {{box.left, box.top, box.right, box.bottom}, {cx - 3, cy - 2, cx + 4, cy + 5},
                            {box.left - 9, box.top - 9, cx, cy},        {cx, box.top, cx + 1, box.bottom},
                            {box.left, cy, box.right, cy + 1},          {box.right + 1, box.top, box.right + 9, cy},
                            {cx - 1, box.bottom - 2, box.right + 50, box.bottom + 50}};
    for (const Rect& w : windows) {
      SCOPED_TRACE(testing::Message() << "box " << box.left << "," << box.top << " window " << w.left << "," << w.top
                                      << "," << w.right << "," << w.bottom);
      const EllipseShape part = ScanEllipse(box, &w);
      std::vector<Point> outline;
      for (const Point& p : whole.outline)
        if (p.x >= w.left && p.x < w.right && p.y >= w.top && p.y < w.bottom) outline.push_back(p);
      EXPECT_EQ(part.outline, outline);
      std::vector<Span> interior;
      for (const Span& s : whole.interior) {
        const int32_t x0 = std::max(s.x0, w.left), x1 = std::min(s.x1, w.right);
        if (s.y >= w.top && s.y < w.bottom && x0 < x1) interior.push_back({s.y, x0, x1});
      }
      ASSERT_EQ(part.interior.size(), interior.size());
      for (size_t i = 0; i < interior.size(); ++i) {
        EXPECT_EQ(part.interior[i].y, interior[i].y);
        EXPECT_EQ(part.interior[i].x0, interior[i].x0);
        EXPECT_EQ(part.interior[i].x1, interior[i].x1);
      }
    }
  }
}

// The largest ellipse scanned through a page-sized window keeps only the
// page's pixels: the row the window crosses and the outline near it.
TEST(ScanEllipse, AHugeEllipseThroughASmallWindowKeepsOnlyThatWindow) {
  const int32_t size = int32_t(kMaxEllipseExtent);
  const Rect box{-size / 2, 50, size / 2, size + 50};
  const Rect page{0, 0, 200, 100};
  const EllipseShape part = ScanEllipse(box, &page);
  ASSERT_FALSE(part.outline.empty());
  for (const Point& p : part.outline) {
    EXPECT_TRUE(p.x >= 0 && p.x < 200 && p.y >= 0 && p.y < 100);
  }
  for (const Span& s : part.interior) {
    EXPECT_TRUE(s.y >= 0 && s.y < 100 && s.x0 >= 0 && s.x1 <= 200 && s.x0 < s.x1);
  }
  // The top of the ellipse crosses the page: rows below the outline are inside.
  EXPECT_FALSE(part.interior.empty());
  EXPECT_EQ(part.interior.back().y, 99);
}

}  // namespace
}  // namespace vx::gdi
