#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/draw/cosmetic_stroke.h"
#include "graphics/platform/draw/device_painter.h"
#include "graphics/platform/draw/ellipse_drawing.h"
#include "graphics/platform/draw/polygon_region.h"
#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi {
namespace {

constexpr ColorRef kBlack = RGB(0, 0, 0);
constexpr ColorRef kWhite = RGB(255, 255, 255);
constexpr ColorRef kRed = RGB(255, 0, 0);
constexpr ColorRef kBlue = RGB(0, 0, 255);

// A black 32-bit surface of width x height with its target.
struct Surface {
  Surface(int32_t width, int32_t height) : bytes(size_t(DibRowStride(width, 32) * height), 0) {
    PixelLayout layout;
    layout.rows = {width, height, DibRowStride(width, 32), false, bytes.data()};
    layout.bit_count = 32;
    target = MakePixelTarget(layout);
  }
  Region Whole() const { return Region::FromRect({0, 0, target->Width(), target->Height()}); }
  ColorRef At(int32_t x, int32_t y) const {
    const PaletteEntry c = target->ColorOfPixel(target->PixelAt(x, y));
    return RGB(c.r, c.g, c.b);
  }
  int CountOf(ColorRef color) const {
    int n = 0;
    for (int32_t y = 0; y < target->Height(); ++y)
      for (int32_t x = 0; x < target->Width(); ++x) n += At(x, y) == color;
    return n;
  }
  std::vector<uint8_t> bytes;
  std::unique_ptr<PixelTarget> target;
};

// Two 4 x 4 squares overlapping in 2 x 2 pixels, both wound the same way.
const std::vector<std::vector<Point>> kOverlappingSquares{{{0, 0}, {4, 0}, {4, 4}, {0, 4}},
                                                          {{2, 2}, {6, 2}, {6, 6}, {2, 6}}};

TEST(DevicePainter, AlternateLeavesTheOverlapOfTwoPolygonsEmpty) {
  Surface s(8, 8);
  DevicePainter(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kWhite)).FillPolygons(kOverlappingSquares, ALTERNATE);
  EXPECT_EQ(s.At(1, 1), kWhite);
  EXPECT_EQ(s.At(5, 5), kWhite);
  EXPECT_EQ(s.At(3, 3), kBlack);
  // Left and top edges are inside, right and bottom ones are not.
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(6, 5), kBlack);
  EXPECT_EQ(s.CountOf(kWhite), 16 + 16 - 2 * 4);
}

TEST(DevicePainter, WindingFillsTheOverlapOfTwoPolygons) {
  Surface s(8, 8);
  DevicePainter(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kWhite)).FillPolygons(kOverlappingSquares, WINDING);
  EXPECT_EQ(s.At(3, 3), kWhite);
  EXPECT_EQ(s.CountOf(kWhite), 16 + 16 - 4);
}

TEST(DevicePainter, RectangleStaysInsideTheClipRegion) {
  Surface s(10, 4);
  const Region clip = Region::FromRects({{0, 0, 3, 4}, {6, 1, 10, 2}});
  DevicePainter(*s.target, clip, R2_COPYPEN, Paint::Solid(kRed)).FillRect({-5, -5, 50, 50});
  EXPECT_EQ(s.At(2, 3), kRed);
  EXPECT_EQ(s.At(3, 3), kBlack);
  EXPECT_EQ(s.At(6, 1), kRed);
  EXPECT_EQ(s.At(6, 0), kBlack);
  EXPECT_EQ(s.CountOf(kRed), 3 * 4 + 4);
}

TEST(DevicePainter, XorPaintsEveryPixelOfOverlappingSpansOnce) {
  Surface s(6, 1);
  const std::vector<Span> spans{{0, 0, 4}, {0, 2, 6}};
  DevicePainter(*s.target, s.Whole(), R2_XORPEN, Paint::Solid(kWhite)).FillSpanUnion(spans);
  EXPECT_EQ(s.CountOf(kWhite), 6);
  // The same spans one after the other: the overlap is turned back.
  DevicePainter(*s.target, s.Whole(), R2_XORPEN, Paint::Solid(kWhite)).FillSpans(spans);
  EXPECT_EQ(s.At(1, 0), kBlack);
  EXPECT_EQ(s.At(2, 0), kWhite);
  EXPECT_EQ(s.At(3, 0), kWhite);
  EXPECT_EQ(s.At(4, 0), kBlack);
}

TEST(DevicePainter, NotInvertsTheRegionWhateverThePaint) {
  Surface s(4, 4);
  DevicePainter(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kRed)).FillRect({0, 0, 2, 4});
  DevicePainter(*s.target, s.Whole(), R2_NOT, Paint::Solid(kRed)).FillRegion(Region::FromRect({1, 1, 3, 3}));
  EXPECT_EQ(s.At(1, 1), RGB(0, 255, 255));
  EXPECT_EQ(s.At(2, 1), kWhite);
  EXPECT_EQ(s.At(0, 1), kRed);
  EXPECT_EQ(s.At(3, 3), kBlack);
}

TEST(DevicePainter, GlyphMaskPaintsCoveredPixelsInsideTheClip) {
  Surface s(4, 2);
  const uint8_t mask[] = {1, 0, 1, 1,  //
                          0, 1, 0, 1};
  const Region clip = Region::FromRect({0, 0, 3, 2});
  DevicePainter(*s.target, clip, R2_COPYPEN, Paint::Solid(kBlue)).FillMask(0, 0, 4, 2, mask);
  EXPECT_EQ(s.At(0, 0), kBlue);
  EXPECT_EQ(s.At(1, 0), kBlack);
  EXPECT_EQ(s.At(2, 0), kBlue);
  EXPECT_EQ(s.At(3, 0), kBlack);  // covered, outside the clip
  EXPECT_EQ(s.At(1, 1), kBlue);
  EXPECT_EQ(s.CountOf(kBlue), 3);
}

TEST(CosmeticStroke, DashesRunOnAcrossSegmentsAndGapsTakeTheGapPaint) {
  Surface s(8, 4);
  const std::vector<int32_t> runs{2, 1};
  DevicePainter pen(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kWhite));
  DevicePainter gaps(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kRed));
  StrokeCosmeticPolyline({{0, 0}, {6, 0}, {6, 3}}, {runs, 3}, pen, &gaps);
  const ColorRef row[] = {kWhite, kWhite, kRed, kWhite, kWhite, kRed};
  for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(s.At(x, 0), row[x]) << x;
  // The second segment starts at pattern position 6: on, on, off.
  EXPECT_EQ(s.At(6, 0), kWhite);
  EXPECT_EQ(s.At(6, 1), kWhite);
  EXPECT_EQ(s.At(6, 2), kRed);
  EXPECT_EQ(s.At(6, 3), kBlack);  // the last point is not drawn
}

TEST(CosmeticStroke, TransparentGapsLeaveTheDestination) {
  Surface s(6, 1);
  const std::vector<int32_t> runs{1, 1};
  DevicePainter pen(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kWhite));
  StrokeCosmeticPolyline({{0, 0}, {6, 0}}, {runs, 2}, pen, nullptr);
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(1, 0), kBlack);
  EXPECT_EQ(s.CountOf(kWhite), 3);
}

TEST(EllipseDrawing, BrushFillsInsideThePenOutline) {
  Surface s(9, 9);
  DevicePainter brush(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kBlue));
  DevicePainter pen(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kRed));
  DrawEllipse({0, 0, 9, 9}, &brush, &pen, 1);
  EXPECT_EQ(s.At(4, 4), kBlue);
  EXPECT_EQ(s.At(0, 4), kRed);
  EXPECT_EQ(s.At(8, 4), kRed);
  EXPECT_EQ(s.At(4, 0), kRed);
  EXPECT_EQ(s.At(4, 8), kRed);
  EXPECT_EQ(s.At(0, 0), kBlack);
}

TEST(EllipseDrawing, WidePenRingCoversTheOutlineAndAPixelEachSide) {
  Surface s(21, 21);
  DevicePainter pen(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kRed));
  DrawEllipse({5, 5, 16, 16}, nullptr, &pen, 3);
  EXPECT_EQ(s.At(4, 10), kRed);   // a pixel outside the outline
  EXPECT_EQ(s.At(5, 10), kRed);   // the outline
  EXPECT_EQ(s.At(6, 10), kRed);   // a pixel inside it
  EXPECT_EQ(s.At(7, 10), kBlack);
  EXPECT_EQ(s.At(3, 10), kBlack);
  EXPECT_EQ(s.At(10, 10), kBlack);
}

TEST(EllipseDrawing, PenWiderThanAnyEllipseDrawsNoRingButTheBrushStillFills) {
  Surface s(9, 9);
  DevicePainter brush(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kBlue));
  DevicePainter pen(*s.target, s.Whole(), R2_COPYPEN, Paint::Solid(kRed));
  DrawEllipse({0, 0, 9, 9}, &brush, &pen, 1e12);
  EXPECT_EQ(s.At(4, 4), kBlue);
  EXPECT_EQ(s.CountOf(kRed), 0);
}

TEST(EllipseDrawing, ArcPixelsFollowTheQuarterFromStartToEnd) {
  const std::optional<std::vector<Point>> arc = EllipseArcPixels({0, 0, 9, 9}, {20, 4}, {4, -20}, true);
  ASSERT_TRUE(arc.has_value());
  ASSERT_FALSE(arc->empty());
  EXPECT_EQ(arc->front(), (Point{8, 4}));
  EXPECT_EQ(arc->back(), (Point{4, 0}));
  for (const Point& p : *arc) {
    EXPECT_GE(p.x, 4);
    EXPECT_LE(p.y, 4);
  }
  EXPECT_FALSE(EllipseArcPixels({0, 0, 0, 9}, {20, 4}, {4, -20}, true).has_value());
}

TEST(PolygonRegion, CoversThePixelsAPolygonFillPaints) {
  const Region region = PolygonRegion(kOverlappingSquares, ALTERNATE, {0, 0, 8, 8});
  EXPECT_TRUE(region.Contains(1, 1));
  EXPECT_FALSE(region.Contains(3, 3));
  EXPECT_TRUE(region.Contains(5, 5));
  EXPECT_FALSE(region.Contains(6, 6));
}

}  // namespace
}  // namespace vx::gdi
