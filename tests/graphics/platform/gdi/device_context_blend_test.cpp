// Pixel facts checked against the reference renderer's output.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/pixel_targets.h"
#include "graphics/support/emf_render.h"
#include "support/emf_blend_records.h"

namespace vx::gdi {
namespace {

using test::Bitmap32;
using test::IndexedBitmap;

constexpr uint8_t kWhite = 255;

struct Canvas {
  test::RenderedPage page;
  TDeviceContext dc;
  Canvas(int w = 40, int h = 40) : page(test::WhitePage(w, h)) { dc.SelectSurface(&page.surface); }
  uint8_t At(int x, int y) const { return page.At(x, y); }
  void Fill(uint8_t index) {
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) page.surface.Row(y)[x] = index;
  }
  int CountOf(uint8_t index) const {
    int n = 0;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) n += At(x, y) == index;
    return n;
  }
};

uint32_t Argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

BlendFunction Blend(uint8_t constant, uint8_t format) {
  BlendFunction f;
  f.source_constant_alpha = constant;
  f.alpha_format = format;
  return f;
}

// One pixel blended over a destination index; the results are the
// reference's.
struct BlendCase {
  uint8_t dest;
  uint8_t r, g, b, a;
  uint8_t constant;
  uint8_t format;
  uint8_t expected;
};

class AlphaBlendPixel : public ::testing::TestWithParam<BlendCase> {};

TEST_P(AlphaBlendPixel, BlendsOnThePaletteColourAndMapsBackAsAnImagePixel) {
  const BlendCase& c = GetParam();
  Canvas canvas(4, 4);
  canvas.Fill(c.dest);
  const DibImage source = Bitmap32(1, {{Argb(c.a, c.r, c.g, c.b)}}).Image();
  canvas.dc.AlphaBlend({0, 0, 4, 4}, source, {0, 0, 1, 1}, Blend(c.constant, c.format));
  EXPECT_EQ(canvas.At(2, 2), c.expected);
  EXPECT_EQ(canvas.CountOf(c.expected), 16);
}

INSTANTIATE_TEST_SUITE_P(Reference, AlphaBlendPixel,
                         ::testing::Values(BlendCase{68, 35, 29, 64, 200, 255, 1, 74},
                                           BlendCase{1, 27, 61, 42, 64, 255, 1, 84},
                                           BlendCase{24, 121, 79, 19, 128, 255, 1, 3},
                                           BlendCase{108, 116, 27, 80, 254, 100, 1, 92},
                                           BlendCase{137, 111, 0, 49, 127, 100, 1, 138},
                                           BlendCase{216, 163, 71, 40, 240, 100, 1, 154},
                                           BlendCase{121, 14, 1, 20, 64, 77, 0, 105},
                                           BlendCase{132, 0, 1, 0, 1, 77, 0, 67},
                                           BlendCase{118, 95, 94, 102, 128, 77, 0, 109},
                                           BlendCase{kWhite, 0, 0, 0, 0, 255, 1, kWhite}));

TEST(DeviceContextBlend, AlphaBlendStretchesLikeStretchBltWithTiesToTheLowerPixel) {
  // 32 source pixels over 127 device pixels: pixel 63's centre lies exactly
  // on the border between source pixels 15 and 16; the reference takes 15.
  Canvas canvas(127, 1);
  std::vector<uint32_t> row(32, Argb(255, 0, 0, 0));
  row[16] = Argb(255, 255, 255, 255);
  canvas.dc.AlphaBlend({0, 0, 127, 1}, Bitmap32(32, {row}).Image(), {0, 0, 32, 1}, Blend(255, AC_SRC_ALPHA));
  EXPECT_EQ(canvas.At(63, 0), 0);
  EXPECT_EQ(canvas.At(64, 0), kWhite);
  EXPECT_EQ(canvas.At(66, 0), kWhite);
  EXPECT_EQ(canvas.At(67, 0), 0);
  EXPECT_EQ(canvas.CountOf(kWhite), 3);
}

TEST(DeviceContextBlend, AlphaBlendOutsideTheSourceDrawsNothing) {
  Canvas canvas(8, 8);
  const DibImage source = Bitmap32(2, {{Argb(255, 0, 0, 0), Argb(255, 0, 0, 0)}}).Image();
  canvas.dc.AlphaBlend({0, 0, 8, 8}, source, {1, 0, 2, 1}, Blend(255, AC_SRC_ALPHA));
  canvas.dc.AlphaBlend({0, 0, 8, 8}, source, {0, 0, 0, 1}, Blend(255, AC_SRC_ALPHA));
  EXPECT_EQ(canvas.CountOf(kWhite), 64);
}

TEST(DeviceContextBlend, AlphaBlendStaysInsideTheClipRegion) {
  Canvas canvas(10, 10);
  canvas.dc.IntersectClipRect({2, 2, 5, 5});
  canvas.dc.AlphaBlend({0, 0, 10, 10}, Bitmap32(1, {{Argb(255, 0, 0, 0)}}).Image(), {0, 0, 1, 1},
                       Blend(255, AC_SRC_ALPHA));
  EXPECT_EQ(canvas.CountOf(0), 9);
  EXPECT_EQ(canvas.At(2, 2), 0);
  EXPECT_EQ(canvas.At(5, 5), kWhite);
}

TEST(DeviceContextBlend, GradientRectDithersEachChannelToThreeLevels) {
  // Black to red over 255 pixels: only black, dark red and red appear, in
  // the reference's proportions and places.
  Canvas canvas(256, 16);
  canvas.dc.GradientFill({{0, 0, 0, 0, 0, 0}, {255, 16, 0xFF00, 0, 0, 0}}, {{{0, 1, 0}}}, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(canvas.CountOf(0), 1016);
  EXPECT_EQ(canvas.CountOf(1), 2048);
  EXPECT_EQ(canvas.CountOf(249), 1016);
  EXPECT_EQ(canvas.CountOf(kWhite), 16);  // the right edge is not filled
  EXPECT_EQ(canvas.At(0, 0), 0);
  EXPECT_EQ(canvas.At(14, 1), 1);
  EXPECT_EQ(canvas.At(128, 0), 1);
  EXPECT_EQ(canvas.At(200, 5), 249);
}

TEST(DeviceContextBlend, GradientRectVerticalRunsFromTopToBottom) {
  Canvas canvas(255, 16);
  canvas.dc.GradientFill({{0, 16, 0xFF00, 0xFF00, 0xFF00, 0}, {255, 0, 0, 0, 0, 0}}, {{{0, 1, 0}}},
                         GRADIENT_FILL_RECT_V);
  // The reference's black-to-white band, drawn here with its ends swapped.
  EXPECT_EQ(canvas.CountOf(0), 1164);
  EXPECT_EQ(canvas.CountOf(164), 2040);
  EXPECT_EQ(canvas.CountOf(kWhite), 876);
}

TEST(DeviceContextBlend, GradientTriangleCoversRowsFromCeilingToCeiling) {
  Canvas canvas(256, 256);
  canvas.dc.GradientFill({{10, 100, 0xFF00, 0, 0, 0}, {199, 110, 0, 0xFF00, 0, 0}, {60, 249, 0, 0, 0xFF00, 0}},
                         {{{0, 1, 2}}}, GRADIENT_FILL_TRIANGLE);
  EXPECT_EQ(canvas.CountOf(kWhite), 256 * 256 - 13761);
  EXPECT_EQ(canvas.At(10, 101), kWhite);
  EXPECT_EQ(canvas.At(11, 101), 249);
  EXPECT_EQ(canvas.At(28, 101), 249);
  EXPECT_EQ(canvas.At(29, 101), kWhite);
  EXPECT_EQ(canvas.At(60, 248), 252);
  EXPECT_EQ(canvas.At(100, 120), 0);
  EXPECT_EQ(canvas.At(50, 200), 4);
  EXPECT_EQ(canvas.CountOf(164), 1901);
}

TEST(DeviceContextBlend, GradientWithAnIndexOutOfRangeDrawsNothing) {
  Canvas canvas(20, 20);
  canvas.dc.GradientFill({{0, 0, 0, 0, 0, 0}, {20, 20, 0, 0, 0, 0}}, {{{0, 1, 0}}, {{0, 2, 0}}},
                         GRADIENT_FILL_RECT_H);
  EXPECT_EQ(canvas.CountOf(kWhite), 400);
}

TEST(DeviceContextBlend, GradientOnAHugeRectangleStaysOnTheSurface) {
  Canvas canvas(20, 20);
  canvas.dc.GradientFill({{-2000000000, -2000000000, 0, 0, 0, 0}, {2000000000, 2000000000, 0, 0, 0, 0}},
                         {{{0, 1, 0}}}, GRADIENT_FILL_RECT_V);
  canvas.dc.GradientFill({{-2000000000, -2000000000, 0, 0, 0, 0}, {2000000000, 0, 0, 0, 0, 0},
                          {0, 2000000000, 0, 0, 0, 0}},
                         {{{0, 1, 2}}}, GRADIENT_FILL_TRIANGLE);
  EXPECT_EQ(canvas.CountOf(0), 400);
}

TEST(DeviceContextBlend, MaskBltUsesTheBackgroundRopWhereTheMaskIsZero) {
  Canvas canvas(8, 4);
  const DibImage source = IndexedBitmap(8, {{0, 0, 0}}, {{0, 0, 0, 0}, {0, 0, 0, 0}}).Image();
  const DibImage mask = IndexedBitmap(1, {{0, 0, 0}, {255, 255, 255}}, {{1, 0, 1, 0}, {1, 1, 0, 0}}).Image();
  // Foreground SRCCOPY, background D (the destination stays).
  canvas.dc.MaskBlt({0, 0, 4, 2}, &source, {0, 0}, &mask, {0, 0}, 0xAACC0020);
  EXPECT_EQ(canvas.At(0, 0), 0);
  EXPECT_EQ(canvas.At(1, 0), kWhite);
  EXPECT_EQ(canvas.At(2, 0), 0);
  EXPECT_EQ(canvas.At(1, 1), 0);
  EXPECT_EQ(canvas.At(2, 1), kWhite);
  EXPECT_EQ(canvas.CountOf(0), 4);
}

TEST(DeviceContextBlend, MaskBltRepeatsTheMaskBeyondItsSize) {
  Canvas canvas(8, 2);
  const DibImage mask = IndexedBitmap(1, {{0, 0, 0}, {255, 255, 255}}, {{1, 0}}).Image();
  // Foreground BLACKNESS, background D, no source needed.
  canvas.dc.MaskBlt({0, 0, 8, 2}, nullptr, {0, 0}, &mask, {0, 0}, 0xAA000042);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.At(x, 1), x % 2 == 0 ? 0 : kWhite) << x;
}

TEST(DeviceContextBlend, MaskBltWithoutTheSourceItsRopNeedsDrawsNothing) {
  Canvas canvas(4, 4);
  canvas.dc.MaskBlt({0, 0, 4, 4}, nullptr, {0, 0}, nullptr, {0, 0}, SRCCOPY);
  EXPECT_EQ(canvas.CountOf(kWhite), 16);
}

TEST(DeviceContextBlend, TransparentBltKeepsTheDestinationUnderTheTransparentColour) {
  Canvas canvas(4, 2);
  const DibImage source =
      IndexedBitmap(8, {{255, 0, 0}, {0, 0, 255}}, {{0, 1, 0, 1}, {1, 1, 0, 0}}).Image();
  canvas.dc.TransparentBlt({0, 0, 4, 2}, source, {0, 0, 4, 2}, RGB(0, 0, 255));
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(0, 0), red);
  EXPECT_EQ(canvas.At(1, 0), kWhite);
  EXPECT_EQ(canvas.At(2, 1), red);
  EXPECT_EQ(canvas.CountOf(kWhite), 4);
}

TEST(DeviceContextBlend, TransparentBltComparesTrueColourPixelsExactly) {
  Canvas canvas(2, 1);
  const DibImage source = Bitmap32(2, {{Argb(0, 10, 20, 30), Argb(0, 10, 20, 31)}}).Image();
  canvas.dc.TransparentBlt({0, 0, 2, 1}, source, {0, 0, 2, 1}, RGB(10, 20, 30));
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_NE(canvas.At(1, 0), kWhite);
}

TEST(DeviceContextBlend, PlgBltMapsTheSourceOntoTheParallelogram) {
  Canvas canvas(20, 20);
  const DibImage source = IndexedBitmap(8, {{0, 0, 0}, {255, 0, 0}}, {{0, 1}, {1, 1}}).Image();
  // A mirrored square: the source's left column lands on the right.
  const Point corners[3] = {{10, 0}, {0, 0}, {10, 10}};
  canvas.dc.PlgBlt(corners, source, {0, 0, 2, 2}, nullptr, {0, 0});
  EXPECT_EQ(canvas.CountOf(0), 25);
  EXPECT_EQ(canvas.At(7, 2), 0);
  EXPECT_EQ(canvas.At(2, 2), NearestHalftoneIndex(RGB(255, 0, 0)));
  EXPECT_EQ(canvas.At(10, 2), kWhite);
}

TEST(DeviceContextBlend, PlgBltSkipsPixelsWhereTheMaskIsZero) {
  Canvas canvas(10, 10);
  const DibImage source = IndexedBitmap(8, {{0, 0, 0}}, {{0, 0}, {0, 0}}).Image();
  const DibImage mask = IndexedBitmap(1, {{0, 0, 0}, {255, 255, 255}}, {{1, 0}, {0, 1}}).Image();
  const Point corners[3] = {{0, 0}, {4, 0}, {0, 4}};
  canvas.dc.PlgBlt(corners, source, {0, 0, 2, 2}, &mask, {0, 0});
  EXPECT_EQ(canvas.CountOf(0), 8);
  EXPECT_EQ(canvas.At(0, 0), 0);
  EXPECT_EQ(canvas.At(3, 0), kWhite);
  EXPECT_EQ(canvas.At(3, 3), 0);
}

TEST(DeviceContextBlend, PlgBltRotatedCoversTheParallelogramOnly) {
  Canvas canvas(30, 30);
  const DibImage source = IndexedBitmap(8, {{0, 0, 0}}, {{0}}).Image();
  const Point corners[3] = {{15, 0}, {30, 15}, {0, 15}};  // a diamond
  canvas.dc.PlgBlt(corners, source, {0, 0, 1, 1}, nullptr, {0, 0});
  EXPECT_EQ(canvas.At(15, 15), 0);
  EXPECT_EQ(canvas.At(2, 2), kWhite);
  EXPECT_EQ(canvas.At(27, 27), kWhite);
  EXPECT_NEAR(canvas.CountOf(0), 450, 30);  // half of the 30 x 30 box
}

}  // namespace
}  // namespace vx::gdi

namespace vx::gdi {
namespace {

// Six pixels: red, green, blue, black, white, grey (top-down, one row).
DibImage SixColours() {
  return IndexedBitmap(8, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}, {255, 255, 255}, {128, 128, 128}},
                       {{0, 1, 2, 3, 4, 5}})
      .Image();
}

TEST(DeviceContextStretch, ShrinkingKeepsTheLastPixelOfEachShare) {
  Canvas canvas(2, 1);
  canvas.dc.SetStretchBltMode(COLORONCOLOR);
  const DibImage source = SixColours();
  canvas.dc.StretchBlt({0, 0, 2, 1}, &source, {0, 0, 6, 1}, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), NearestHalftoneIndex(RGB(0, 0, 255)));
  EXPECT_EQ(canvas.At(1, 0), NearestHalftoneIndex(RGB(128, 128, 128)));
}

TEST(DeviceContextStretch, HalftoneShrinkingStartsEachShareAtItsFirstPixel) {
  Canvas canvas(2, 1);
  canvas.dc.SetStretchBltMode(HALFTONE);
  const DibImage source = SixColours();
  canvas.dc.StretchBlt({0, 0, 2, 1}, &source, {0, 0, 6, 1}, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), NearestHalftoneIndex(RGB(255, 0, 0)));
  EXPECT_EQ(canvas.At(1, 0), 0);
}

TEST(DeviceContextStretch, HalftoneInterpolatesBetweenSourcePixels) {
  Canvas canvas(4, 1);
  canvas.dc.SetStretchBltMode(HALFTONE);
  const DibImage black_white = IndexedBitmap(8, {{0, 0, 0}, {255, 255, 255}}, {{0, 1}}).Image();
  canvas.dc.StretchBlt({0, 0, 4, 1}, &black_white, {0, 0, 2, 1}, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), 0);
  EXPECT_EQ(HalftonePalette()[canvas.At(1, 0)].r, 128);  // halfway: grey
  EXPECT_EQ(canvas.At(2, 0), kWhite);
  EXPECT_EQ(canvas.At(3, 0), kWhite);  // the edge repeats
}

// On the halftone palette each source pixel first becomes its palette
// colour ((200,100,50) -> 94 (192,96,64), (30,200,90) -> 113 (32,192,64));
// the stretch interpolates those and draws the nearest entry.
TEST(DeviceContextStretch, HalftoneInterpolatesThePaletteColoursOfTheSourcePixels) {
  Canvas canvas(5, 1);
  canvas.dc.SetStretchBltMode(HALFTONE);
  const DibImage source = Bitmap32(2, {{Argb(255, 200, 100, 50), Argb(255, 30, 200, 90)}}).Image();
  canvas.dc.StretchBlt({0, 0, 5, 1}, &source, {0, 0, 2, 1}, SRCCOPY);
  const uint8_t expected[5] = {94, 100, 106, 113, 113};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.At(x, 0), expected[x]) << x;
}

// The colour table of an indexed source matches the palette at full
// precision, a true-colour pixel by the image rule: (144,112,112) is 156 from
// a colour table and 165 as a 32-bit pixel.
TEST(DeviceContextStretch, HalftoneMatchesColourTablesAtFullPrecision) {
  ASSERT_EQ(NearestHalftoneIndex(RGB(144, 112, 112)), 156);
  ASSERT_EQ(NearestHalftoneIndexForImagePixel(144, 112, 112), 165);
  const DibImage indexed = IndexedBitmap(8, {{144, 112, 112}, {144, 112, 112}}, {{0, 1}}).Image();
  const DibImage true_colour = Bitmap32(2, {{Argb(255, 144, 112, 112), Argb(255, 144, 112, 112)}}).Image();
  for (const auto& [source, expected] : {std::pair{&indexed, 156}, std::pair{&true_colour, 165}}) {
    Canvas canvas(4, 1);
    canvas.dc.SetStretchBltMode(HALFTONE);
    canvas.dc.StretchBlt({0, 0, 4, 1}, source, {0, 0, 2, 1}, SRCCOPY);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(x, 0), expected) << x;
  }
}

// Corners black, red, green, white enlarged 2 x 2 -> 3 x 3: the centre is
// (170,170,113) before the palette, index 173.
TEST(DeviceContextStretch, HalftoneInterpolatesAlongRowsAndBetweenRows) {
  Canvas canvas(3, 3);
  canvas.dc.SetStretchBltMode(HALFTONE);
  const DibImage source = Bitmap32(2, {{Argb(255, 0, 0, 0), Argb(255, 255, 0, 0)},
                                       {Argb(255, 0, 255, 0), Argb(255, 255, 255, 255)}}).Image();
  canvas.dc.StretchBlt({0, 0, 3, 3}, &source, {0, 0, 2, 2}, SRCCOPY);
  const uint8_t expected[3][3] = {{0, 13, 249}, {40, 173, 239}, {250, 8, 255}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.At(x, y), expected[y][x]) << x << "," << y;
}

// On a 24-bit target the interpolated colour is kept: each step rounds, so
// two thirds of the way from 0 to 255 is 170.
TEST(DeviceContextStretch, HalftoneOnTrueColourRoundsEachStep) {
  constexpr int kSize = 3;
  std::vector<uint8_t> bytes(size_t(DibRowStride(kSize, 24)) * kSize, 0xFF);
  PixelLayout layout;
  layout.rows = {kSize, kSize, DibRowStride(kSize, 24), true, bytes.data()};
  layout.bit_count = 24;
  const auto target = MakePixelTarget(layout);
  TDeviceContext dc;
  dc.SelectTarget(target.get());
  dc.SetStretchBltMode(HALFTONE);
  const DibImage source = Bitmap32(2, {{Argb(255, 0, 0, 0), Argb(255, 255, 0, 0)},
                                       {Argb(255, 0, 255, 0), Argb(255, 255, 255, 255)}}).Image();
  dc.StretchBlt({0, 0, kSize, kSize}, &source, {0, 0, 2, 2}, SRCCOPY);
  const auto at = [&](int x, int y) { return target->ColorOfPixel(target->PixelAt(x, y)); };
  EXPECT_EQ(at(1, 0).r, 170);
  EXPECT_EQ(at(1, 0).g, 0);
  EXPECT_EQ(at(0, 1).g, 170);
  const PaletteEntry centre = at(1, 1);
  EXPECT_EQ(centre.r, 170);
  EXPECT_EQ(centre.g, 170);
  EXPECT_EQ(centre.b, 113);
  EXPECT_EQ(at(2, 1).g, 170);
  EXPECT_EQ(at(2, 1).b, 170);
}

// Without interpolation too: a colour-table entry is matched as a solid
// colour, a true-colour pixel by the image rule.
TEST(DeviceContextStretch, CopiesMatchColourTablesAtFullPrecision) {
  const DibImage indexed = IndexedBitmap(8, {{144, 112, 112}}, {{0}}).Image();
  const DibImage true_colour = Bitmap32(1, {{Argb(255, 144, 112, 112)}}).Image();
  for (const auto& [source, expected] : {std::pair{&indexed, 156}, std::pair{&true_colour, 165}}) {
    Canvas canvas(3, 1);
    canvas.dc.StretchBlt({0, 0, 3, 1}, source, {0, 0, 1, 1}, SRCCOPY);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.At(x, 0), expected) << x;
  }
}

TEST(DeviceContextStretch, ColorOnColorEnlargingTakesThePixelUnderTheCentre) {
  Canvas canvas(4, 1);
  const DibImage black_white = IndexedBitmap(8, {{0, 0, 0}, {255, 255, 255}}, {{0, 1}}).Image();
  canvas.dc.StretchBlt({0, 0, 4, 1}, &black_white, {0, 0, 2, 1}, SRCCOPY);
  EXPECT_EQ(canvas.At(1, 0), 0);
  EXPECT_EQ(canvas.At(2, 0), kWhite);
}

// One 32-bit pixel drawn through its own target: BI_RGB (the top byte is
// alpha to blends and gradients) or bit fields naming only red, green, blue.
struct Pixel32 {
  explicit Pixel32(bool bit_fields) {
    PixelLayout layout;
    layout.rows = {1, 1, 4, false, bytes.data()};
    layout.bit_count = 32;
    layout.has_masks = bit_fields;
    layout.masks[0] = 0xFF0000;
    layout.masks[1] = 0x00FF00;
    layout.masks[2] = 0x0000FF;
    target = MakePixelTarget(layout);
    dc.SelectTarget(target.get());
  }
  std::array<uint8_t, 4> bytes{0xCC, 0xCC, 0xCC, 0xCC};
  std::unique_ptr<PixelTarget> target;
  TDeviceContext dc;
};

DibImage BlackPixel24() {
  std::vector<uint8_t> info(40, 0);
  info[0] = 40;
  info[4] = 1;
  info[8] = 1;
  info[12] = 1;
  info[14] = 24;
  const std::vector<uint8_t> bits = {0, 0, 0, 0};
  return *DibImage::Parse(info.data(), info.size(), bits.data(), bits.size());
}

BlendFunction ConstantAlpha(uint8_t alpha) {
  BlendFunction blend;
  blend.source_constant_alpha = alpha;
  return blend;
}

TEST(DeviceContextBlend, AlphaBlendOnThirtyTwoBitsBlendsTheAlphaByteOfAnOpaqueSource) {
  Pixel32 pixel(false);
  pixel.dc.AlphaBlend({0, 0, 1, 1}, BlackPixel24(), {0, 0, 1, 1}, ConstantAlpha(0x80));
  // 0xCC * 127 / 255 = 0x66 for colour; (255 * 128 + 0xCC * 127) / 255 = 0xE6 for alpha.
  EXPECT_EQ(pixel.bytes, (std::array<uint8_t, 4>{0x66, 0x66, 0x66, 0xE6}));
}

TEST(DeviceContextBlend, AlphaBlendOnThirtyTwoBitFieldsLeavesNoAlpha) {
  Pixel32 pixel(true);
  pixel.dc.AlphaBlend({0, 0, 1, 1}, BlackPixel24(), {0, 0, 1, 1}, ConstantAlpha(0x80));
  EXPECT_EQ(pixel.bytes, (std::array<uint8_t, 4>{0x66, 0x66, 0x66, 0x00}));
}

TEST(DeviceContextBlend, GradientOnThirtyTwoBitsWritesTheVertexAlpha) {
  Pixel32 pixel(false);
  const std::vector<TriVertex> vertices = {{0, 0, 0xFF00, 0x0000, 0x1200, 0x8000}, {1, 1, 0xFF00, 0x0000, 0x1200, 0x8000}};
  pixel.dc.GradientFill(vertices, {GradientMesh{{0, 1, 0}}}, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(pixel.bytes, (std::array<uint8_t, 4>{0x12, 0x00, 0xFF, 0x80}));
}

}  // namespace
}  // namespace vx::gdi
