#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_blend_records.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

using test::Bitmap32;
using test::EmfBuilder;
using test::IndexedBitmap;
using test::TestBitmap;

constexpr uint8_t kWhite = 255;

// 64 x 64 pixels at one pixel per logical unit.
EmfBuilder Builder() {
  EmfBuilder b;
  b.Frame({0, 0, 2000, 2000}).Bounds({0, 0, 63, 63}).Handles(2);
  return b;
}

struct Played {
  test::RenderedPage page;
  std::vector<std::string> log;
  int Count(uint8_t index) const {
    int n = 0;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) n += page.At(x, y) == index;
    return n;
  }
};

Played Play(const std::vector<uint8_t>& emf) {
  Played played{test::WhitePage(64, 64), {}};
  TDeviceContext dc;
  dc.SelectSurface(&played.page.surface);
  PlaybackOptions options;
  options.verbose = true;
  options.log = [&played](const std::string& line) { played.log.push_back(line); };
  PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, 64, 64}, options);
  if (const char* dir = std::getenv("VXP_DUMP_EMF_DIR")) {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(std::string(dir) + "/" + name + ".emf", std::ios::binary)
        .write(reinterpret_cast<const char*>(emf.data()), std::streamsize(emf.size()));
  }
  return played;
}

uint32_t Argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

uint32_t PerPixelAlpha() {
  BlendFunction blend;
  blend.alpha_format = AC_SRC_ALPHA;
  return test::PackBlend(blend);
}

std::vector<uint8_t> AlphaBlendRecord(const Rect& dest, const TestBitmap& bitmap, const Rect& source) {
  return test::StretchLikeParameters(dest, PerPixelAlpha(), source, bitmap);
}

const TestBitmap& HalfRedHalfClear() {
  static const TestBitmap bitmap = Bitmap32(2, {{Argb(128, 128, 0, 0), Argb(0, 0, 0, 0)}});
  return bitmap;
}

TEST(EmfBlendRecords, AlphaBlendBlendsThePremultipliedSource) {
  const auto played =
      Play(Builder().Record(EmfRecord::kAlphaBlend, AlphaBlendRecord({10, 10, 20, 10}, HalfRedHalfClear(), {0, 0, 2, 1})).Build());
  // 128 red at half coverage over white is (255, 127, 127), the reference's
  // index 167; the clear half leaves white.
  const uint8_t pink = 167;
  EXPECT_EQ(played.page.At(10, 10), pink);
  EXPECT_EQ(played.page.At(19, 19), pink);
  EXPECT_EQ(played.Count(pink), 100);
  EXPECT_EQ(played.page.At(20, 10), kWhite);
  EXPECT_EQ(played.Count(kWhite), 64 * 64 - 100);
}

TEST(EmfBlendRecords, AlphaBlendReadsTheSourceRectangleThroughTheSourceTransform) {
  // The source rectangle 200 x 100 in units of 1/100 pixel is the 2 x 1 image.
  auto parameters = AlphaBlendRecord({10, 10, 20, 10}, HalfRedHalfClear(), {0, 0, 200, 100});
  StoreU32(parameters.data() + 44, 0x3C23D70A);  // xformSrc.eM11 = 0.01f
  StoreU32(parameters.data() + 56, 0x3C23D70A);  // xformSrc.eM22
  const auto played = Play(Builder().Record(EmfRecord::kAlphaBlend, parameters).Build());
  EXPECT_EQ(played.Count(167), 100);
}

TEST(EmfBlendRecords, AlphaBlendWithTheBitsOutsideTheRecordIsSkipped) {
  auto parameters = AlphaBlendRecord({10, 10, 20, 10}, HalfRedHalfClear(), {0, 0, 2, 1});
  StoreU32(parameters.data() + 84, 0x7FFFFFF0);  // offBitsSrc
  const auto played = Play(Builder().Record(EmfRecord::kAlphaBlend, parameters).Build());
  EXPECT_EQ(played.Count(kWhite), 64 * 64);
}

TEST(EmfBlendRecords, TruncatedBlendRecordsAreReportedAndSkipped) {
  for (EmfRecord type : {EmfRecord::kAlphaBlend, EmfRecord::kTransparentBlt, EmfRecord::kMaskBlt, EmfRecord::kPlgBlt,
                        EmfRecord::kGradientFill}) {
    const auto played = Play(Builder().Record(type, std::vector<uint8_t>(20, 0)).Build());
    EXPECT_EQ(played.Count(kWhite), 64 * 64) << TypeWord(type);
    ASSERT_EQ(played.log.size(), 1u) << TypeWord(type);
    EXPECT_NE(played.log[0].find("too short"), std::string::npos) << played.log[0];
  }
}

// The reference's playback never draws this record; ours draws it as GDI's
// TransparentBlt does.
TEST(EmfBlendRecords, TransparentBltLeavesTheTransparentColour) {
  const TestBitmap bitmap = IndexedBitmap(8, {{0, 0, 0}, {0, 255, 0}}, {{0, 1}});
  const auto played = Play(Builder()
                               .Record(EmfRecord::kTransparentBlt,
                                       test::StretchLikeParameters({0, 0, 8, 4}, RGB(0, 255, 0), {0, 0, 2, 1}, bitmap))
                               .Build());
  EXPECT_EQ(played.Count(0), 16);
  EXPECT_EQ(played.page.At(3, 3), 0);
  EXPECT_EQ(played.page.At(4, 0), kWhite);
}

TEST(EmfBlendRecords, MaskBltCombinesSourceAndMask) {
  const TestBitmap source = IndexedBitmap(8, {{0, 0, 0}}, {{0, 0}, {0, 0}});
  const TestBitmap mask = IndexedBitmap(1, {{0, 0, 0}, {255, 255, 255}}, {{1, 0}, {0, 0}});
  // Foreground SRCCOPY, background WHITENESS.
  const auto played = Play(Builder()
                               .Record(EmfRecord::kMaskBlt,
                                       test::MaskBltParameters({4, 4, 2, 2}, 0xFFCC0020, {0, 0}, &source, {0, 0}, &mask))
                               .Build());
  EXPECT_EQ(played.page.At(4, 4), 0);
  EXPECT_EQ(played.Count(0), 1);
}

// The reference's playback draws nothing here; GDI's MaskBlt without a mask
// is a BitBlt with the foreground operation, and so is ours.
TEST(EmfBlendRecords, MaskBltWithoutAMaskUsesTheForegroundRop) {
  const TestBitmap source = IndexedBitmap(8, {{0, 0, 0}}, {{0, 0}, {0, 0}});
  const auto played = Play(Builder()
                               .Record(EmfRecord::kMaskBlt,
                                       test::MaskBltParameters({4, 4, 2, 2}, 0xFFCC0020, {0, 0}, &source, {0, 0}, nullptr))
                               .Build());
  EXPECT_EQ(played.Count(0), 4);
}

TEST(EmfBlendRecords, PlgBltDrawsIntoTheParallelogram) {
  const TestBitmap source = IndexedBitmap(8, {{0, 0, 0}}, {{0}});
  const Point corners[3] = {{10, 10}, {20, 10}, {10, 30}};
  const auto played =
      Play(Builder().Record(EmfRecord::kPlgBlt, test::PlgBltParameters(corners, {0, 0, 1, 1}, source, {0, 0}, nullptr)).Build());
  EXPECT_EQ(played.Count(0), 200);
  EXPECT_EQ(played.page.At(10, 10), 0);
  EXPECT_EQ(played.page.At(19, 29), 0);
}

TEST(EmfBlendRecords, GradientFillRectReadsVerticesAndRectangles) {
  // Writers pad rectangle lists to 12 bytes an entry; the padding is ignored.
  auto parameters = test::GradientFillParameters({{0, 0, 0, 0, 0, 0}, {64, 8, 0, 0, 0, 0}}, {{{0, 1, 0}}},
                                                 GRADIENT_FILL_RECT_H);
  parameters.resize(parameters.size() + 4, 0);
  const auto played = Play(Builder().Record(EmfRecord::kGradientFill, parameters).Build());
  EXPECT_EQ(played.Count(0), 64 * 8);
}

TEST(EmfBlendRecords, GradientFillTriangleReadsThreeIndices) {
  const auto played = Play(Builder()
                               .Record(EmfRecord::kGradientFill,
                                       test::GradientFillParameters({{0, 0, 0, 0, 0, 0}, {40, 0, 0, 0, 0, 0}, {0, 40, 0, 0, 0, 0}},
                                                                    {{{0, 1, 2}}}, GRADIENT_FILL_TRIANGLE))
                               .Build());
  // Rows 0 to 39, row y from 0 to (excluding) 40 - y.
  EXPECT_EQ(played.Count(0), 40 * 41 / 2);
  EXPECT_EQ(played.page.At(39, 0), 0);
  EXPECT_EQ(played.page.At(40, 0), kWhite);
}

TEST(EmfBlendRecords, GradientFillCountsBeyondTheRecordAreSkipped) {
  auto parameters = test::GradientFillParameters({{0, 0, 0, 0, 0, 0}, {64, 8, 0, 0, 0, 0}}, {{{0, 1, 0}}},
                                                 GRADIENT_FILL_RECT_H);
  StoreU32(parameters.data() + 16, 0x10000000);  // nVer
  const auto played = Play(Builder().Record(EmfRecord::kGradientFill, parameters).Build());
  EXPECT_EQ(played.Count(kWhite), 64 * 64);
  ASSERT_EQ(played.log.size(), 1u);
  EXPECT_NE(played.log[0].find("too short"), std::string::npos);
}

TEST(EmfBlendRecords, GradientFillWithABadIndexDrawsNothing) {
  const auto played = Play(Builder()
                               .Record(EmfRecord::kGradientFill,
                                       test::GradientFillParameters({{0, 0, 0, 0, 0, 0}, {64, 8, 0, 0, 0, 0}},
                                                                    {{{0, 7, 0}}}, GRADIENT_FILL_RECT_H))
                               .Build());
  EXPECT_EQ(played.Count(kWhite), 64 * 64);
}

}  // namespace
}  // namespace vx::gdi
