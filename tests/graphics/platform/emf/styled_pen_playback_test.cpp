// Styled pens as played from EXTCREATEPEN records. The runs were read off the
// reference renderer's pictures of the same records.
#include <gtest/gtest.h>

#include <string>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

using test::EmfBuilder;

constexpr uint8_t kBlack = 0;
constexpr uint8_t kWhite = 255;

std::vector<uint8_t> ExtPen(uint32_t handle, uint32_t style, int32_t width, std::vector<uint32_t> entries = {}) {
  ByteWriter w;
  const uint32_t fixed = 52 + 4 * uint32_t(entries.size());
  w.U32(handle);
  w.U32(fixed);  // no brush bitmap: offsets point past the record
  w.U32(0);
  w.U32(fixed);
  w.U32(0);
  w.U32(style);
  w.I32(width);
  w.U32(BS_SOLID);
  w.U32(RGB(0, 0, 0));
  w.U32(0);
  w.U32(uint32_t(entries.size()));
  for (const uint32_t e : entries) w.U32(e);
  return w.Bytes();
}

// One line from (x0, y) to (x1, y) with a freshly made pen, on a 64 x 64
// page at one pixel per logical unit.
test::RenderedPage DrawLine(const std::vector<uint8_t>& pen_record, int32_t x0, int32_t x1, int32_t y) {
  EmfBuilder b;
  b.Frame({0, 0, 2000, 2000}).Bounds({0, 0, 63, 63}).Handles(2);
  const auto emf = b.Record(EmfRecord::kExtCreatePen, pen_record)
                       .RecordWords(EmfRecord::kSelectObject, {1})
                       .RecordWords(EmfRecord::kMoveToEx, {x0, y})
                       .RecordWords(EmfRecord::kLineTo, {x1, y})
                       .Build();
  test::RenderedPage page = test::WhitePage(64, 64);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, 64, 64}, {});
  return page;
}

// The row as '#' for ink and '.' for white, from x0 to x1 (exclusive).
std::string Row(const test::RenderedPage& page, int32_t y, int32_t x0, int32_t x1) {
  std::string s;
  for (int32_t x = x0; x < x1; ++x) s += page.At(x, y) == kWhite ? '.' : '#';
  return s;
}

TEST(StyledPenPlayback, FlatDashesAreThreeWidthsOnAndOneOff) {
  const auto page = DrawLine(ExtPen(1, PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4), 7, 60, 20);
  EXPECT_EQ(Row(page, 20, 5, 41), "..############....############....##");
  EXPECT_EQ(Row(page, 18, 5, 41), Row(page, 20, 5, 41));
  EXPECT_EQ(Row(page, 21, 5, 41), Row(page, 20, 5, 41));
  EXPECT_EQ(Row(page, 17, 5, 41), std::string(36, '.'));
  EXPECT_EQ(Row(page, 22, 5, 41), std::string(36, '.'));
  EXPECT_EQ(page.At(10, 20), kBlack);
}

TEST(StyledPenPlayback, RoundCapsCountInTheDashLength) {
  // Width 6: 18 pixels of ink (the line part of 12 and two caps), 6 white.
  const auto page = DrawLine(ExtPen(1, PS_GEOMETRIC | PS_DASH | PS_ENDCAP_ROUND, 6), 10, 60, 30);
  EXPECT_EQ(Row(page, 30, 5, 51), "..##################......##################..");
}

TEST(StyledPenPlayback, CosmeticUserStyleCountsInThreePixelUnits) {
  const auto page = DrawLine(ExtPen(1, PS_COSMETIC | PS_USERSTYLE, 1, {5, 3}), 10, 60, 40);
  EXPECT_EQ(Row(page, 40, 8, 51), "..###############.........###############..");
  EXPECT_EQ(Row(page, 39, 8, 51), std::string(43, '.'));
}

TEST(StyledPenPlayback, GeometricUserStyleRunsInDevicePixels) {
  const auto page = DrawLine(ExtPen(1, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, {6, 2}),
                             10, 60, 50);
  EXPECT_EQ(Row(page, 50, 8, 34), "..######..######..######..");
}

TEST(StyledPenPlayback, AnOddUserStyleAlternatesDashAndGap) {
  const auto page = DrawLine(ExtPen(1, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, {7}), 10, 60, 58);
  EXPECT_EQ(Row(page, 58, 8, 40), "..#######.......#######.......##");
}

TEST(StyledPenPlayback, UserStyleWithoutEntriesIsRefusedAndTheOldPenDraws) {
  // The refused pen leaves handle 1 empty; the stock black pen draws solid.
  const auto page = DrawLine(ExtPen(1, PS_GEOMETRIC | PS_USERSTYLE, 4, {}), 10, 60, 20);
  EXPECT_EQ(Row(page, 20, 8, 20), "..##########");
  EXPECT_EQ(Row(page, 21, 8, 20), std::string(12, '.'));
}

TEST(StyledPenPlayback, APlainWidePenDrawsDashStylesSolid) {
  EmfBuilder b;
  b.Frame({0, 0, 2000, 2000}).Bounds({0, 0, 63, 63}).Handles(2);
  const auto emf = b.RecordWords(EmfRecord::kCreatePen, {1, PS_DASH, 4, 0, 0})
                       .RecordWords(EmfRecord::kSelectObject, {1})
                       .RecordWords(EmfRecord::kMoveToEx, {10, 20})
                       .RecordWords(EmfRecord::kLineTo, {60, 20})
                       .Build();
  test::RenderedPage page = test::WhitePage(64, 64);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, 64, 64}, {});
  for (int32_t x = 12; x < 58; ++x) EXPECT_EQ(page.At(x, 20), kBlack) << x;
}

}  // namespace
}  // namespace vx::gdi
