#include "graphics/platform/text/glyph_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx::gdi {
namespace {

GlyphAdvance Logical(int32_t dx, int32_t dy = 0) {
  GlyphAdvance a;
  a.logical = true;
  a.dx = dx;
  a.dy = dy;
  return a;
}

GlyphAdvance Device(int32_t x, int32_t y = 0) {
  GlyphAdvance a;
  a.device = {x, y};
  return a;
}

TEST(GlyphLayout, EachOriginIsTheRoundedAccumulatedLogicalPosition) {
  // Advances of 5 logical units at 3.125 pixels each: the origins fall at
  // round(15.625 k), 0 16 31 47 63, not at multiples of a rounded advance.
  TextLayoutRules rules;
  rules.transform = {3.125, 0, 0, 3.125, 0, 0};
  const GlyphPens pens = PlaceGlyphs(rules, {Logical(5), Logical(5), Logical(5), Logical(5)}, {});
  ASSERT_EQ(pens.pens.size(), 4u);
  EXPECT_EQ(pens.pens[0].x, 0);
  EXPECT_EQ(pens.pens[1].x, 16);
  EXPECT_EQ(pens.pens[2].x, 31);
  EXPECT_EQ(pens.pens[3].x, 47);
  EXPECT_EQ(pens.end.x, 63);
  EXPECT_EQ(pens.extent.x, 63);
  EXPECT_EQ(pens.end.y, 0);
}

TEST(GlyphLayout, TheTranslationTakesPartInTheRounding) {
  // round(0.4 + 1.2) - round(0.4) = 2 where round(1.2) alone would be 1.
  EXPECT_EQ(DeviceOffsetOf({1.2, 0, 0, 1, 0.4, 0}, {1, 0}, true).x, 2);
  EXPECT_EQ(DeviceOffsetOf({1.2, 0, 0, 1, 0, 0}, {1, 0}, true).x, 1);
}

TEST(GlyphLayout, MirroredAxesKeepTextReadingForwardsInTheCompatibleMode) {
  const XForm mirrored{-2, 0, 0, -2, 100, 100};
  EXPECT_EQ(DeviceOffsetOf(mirrored, {3, -4}, true).x, 6);
  EXPECT_EQ(DeviceOffsetOf(mirrored, {3, -4}, true).y, -8);
  EXPECT_EQ(DeviceOffsetOf(mirrored, {3, -4}, false).x, -6);
  EXPECT_EQ(DeviceOffsetOf(mirrored, {3, -4}, false).y, 8);
}

TEST(GlyphLayout, YAdvancesCountUpwards) {
  TextLayoutRules rules;
  const GlyphPens pens = PlaceGlyphs(rules, {Logical(10, 3), Logical(10, 3)}, {});
  EXPECT_EQ(pens.pens[1].x, 10);
  EXPECT_EQ(pens.pens[1].y, -3);
  EXPECT_EQ(pens.end.y, -6);
}

TEST(GlyphLayout, DeviceAdvancesPlaceGlyphsButTheExtentIsMeasuredInLogicalUnits) {
  // 7 + 8 device pixels at 3.125 per unit: 15 / 3.125 = 4.8, 5 units, 15.625
  // pixels, 16 after rounding. The glyphs themselves stay at 0 and 7.
  TextLayoutRules rules;
  rules.transform = {3.125, 0, 0, 3.125, 0, 0};
  const GlyphPens pens = PlaceGlyphs(rules, {Device(7), Device(8)}, {});
  EXPECT_EQ(pens.pens[1].x, 7);
  EXPECT_EQ(pens.end.x, 15);
  EXPECT_EQ(pens.extent.x, 16);
}

TEST(GlyphLayout, SpacedTextMeasuresItsGlyphsIntoLogicalUnits) {
  // Character extra of 1 unit at 2 pixels a unit: glyphs of 5 device pixels
  // are 2.5 -> 3 units, so the second glyph starts at (3 + 1) * 2 = 8.
  TextLayoutRules rules;
  rules.transform = {2, 0, 0, 2, 0, 0};
  rules.char_extra = 1;
  rules.measure_device_advances = true;
  const GlyphPens pens = PlaceGlyphs(rules, {Device(5), Device(5)}, {});
  EXPECT_EQ(pens.pens[1].x, 8);
  EXPECT_EQ(pens.end.x, 14);  // 5 + 5 = 10 pixels, 5 units, + 2 extra = 7 units
}

TEST(GlyphLayout, EscapementTurnsTheLogicalBaseline) {
  TextLayoutRules rules;
  rules.escapement = 900;  // upwards on the page
  const GlyphPens pens = PlaceGlyphs(rules, {Logical(10), Logical(10)}, {});
  EXPECT_EQ(pens.pens[1].x, 0);
  EXPECT_EQ(pens.pens[1].y, -10);
}

TEST(GlyphLayout, TurnedAdvancesAreCutToWholeLogicalPointsBeforeMapping) {
  // 20 degrees at 300 / 72 pixels a unit: 12 units along the baseline are
  // (11.28, -4.10) logical, cut to (11, -4), so the pen is at (46, -17), not
  // at (47, -17); 24 units are (22, -8): (92, -33), not (94, -34). The cut
  // goes toward zero on every side of the origin.
  TextLayoutRules rules;
  rules.transform = {300.0 / 72, 0, 0, 300.0 / 72, 0, 0};
  rules.escapement = 200;
  GlyphPens pens = PlaceGlyphs(rules, {Logical(12), Logical(12), Logical(12)}, {});
  EXPECT_EQ(pens.pens[1].x, 46);
  EXPECT_EQ(pens.pens[1].y, -17);
  EXPECT_EQ(pens.pens[2].x, 92);
  EXPECT_EQ(pens.pens[2].y, -33);
  rules.escapement = 2000;  // pointing down to the left: -11.28 -> -11
  pens = PlaceGlyphs(rules, {Logical(12), Logical(12)}, {});
  EXPECT_EQ(pens.pens[1].x, -46);
  EXPECT_EQ(pens.pens[1].y, 17);
}

TEST(GlyphLayout, AscentComesBackThroughLogicalUnits) {
  // 40 pixels at 3.125 pixels a unit: 12.8 -> 13 units -> 40.625 -> 41.
  EXPECT_EQ(RoundTripHeight({3.125, 0, 0, 3.125, 0, 0}, 40), 41);
  EXPECT_EQ(RoundTripHeight({1, 0, 0, 1, 0, 0}, 40), 40);
  EXPECT_EQ(RoundTripHeight({1, 0, 0, -1, 0, 0}, 40), 40);
}

}  // namespace
}  // namespace vx::gdi
