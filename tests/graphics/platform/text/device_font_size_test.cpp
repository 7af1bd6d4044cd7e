#include "graphics/platform/text/device_font_size.h"

#include <gtest/gtest.h>

namespace vx::gdi {
namespace {

LogFont Font(int32_t height, int32_t escapement = 0) {
  LogFont f;
  f.height = height;
  f.escapement = escapement;
  f.orientation = escapement;
  f.face_name = u"Arial";
  return f;
}

TEST(DeviceFontSize, CompatibleModeTruncatesTheScaledHeight) {
  // -19 at 0.999: 18.98 pixels, drawn at 18 (the reference draws samples/text.emf so).
  const DeviceFontSize size = ChooseDeviceFontSize(Font(-19), {0.998745, 0, 0, 0.999125, 0, 0}, false);
  EXPECT_EQ(size.height, -18);
  EXPECT_FALSE(size.outline_transform);
}

TEST(DeviceFontSize, CompatibleModeScalesTheRequestedWidthByTheVerticalScale) {
  // An anisotropic chart (9360 x 7020 units on 660 x 413 pixels) drawn at
  // 300 dpi: the reference draws its -198 x 75 labels at 36 x 13 pixels
  // (glyphs 14 pixels wide for "M", 10 for "e"), not at the 16 the
  // horizontal scale would give.
  LogFont font = Font(-198);
  font.width = 75;
  const DeviceFontSize size = ChooseDeviceFontSize(font, {0.22063, 0, 0, -0.18433, 0, 0}, false);
  EXPECT_EQ(size.height, -36);
  EXPECT_EQ(size.width, 13);
  EXPECT_FALSE(size.outline_transform);
}

TEST(DeviceFontSize, AdvancedModeWithAUniformScaleAlsoTruncates) {
  const DeviceFontSize size = ChooseDeviceFontSize(Font(-16), {3.125, 0, 0, 3.125, 0, 0}, true);
  EXPECT_EQ(size.height, -50);
  EXPECT_FALSE(size.outline_transform);
}

TEST(DeviceFontSize, AdvancedModeWithUnequalScalesKeepsTheLogicalSizeAndTransformsOutlines) {
  const DeviceFontSize size = ChooseDeviceFontSize(Font(-16), {3.12405, 0, 0, 3.12145, 7, 9}, true);
  EXPECT_EQ(size.height, -16);
  EXPECT_TRUE(size.outline_transform);
  EXPECT_DOUBLE_EQ(size.transform.m11, 3.12405);
  EXPECT_DOUBLE_EQ(size.transform.m22, 3.12145);
  EXPECT_EQ(size.transform.dx, 0);
  EXPECT_DOUBLE_EQ(size.metric_scale, 3.12145);
}

TEST(DeviceFontSize, AMirroringMappingTurnsTheEscapementTheOtherWayInTheCompatibleMode) {
  // A y-up mapping: text at 270 degrees reads upwards on the page, as the
  // reference draws TestExtTextOutScaleGM_COMPATIBLE.emf.
  const DeviceFontSize size = ChooseDeviceFontSize(Font(-125, 2700), {0.3, 0, 0, -0.3, 0, 0}, false);
  EXPECT_EQ(size.font.escapement, -2700);
  EXPECT_EQ(size.baseline_escapement, -2700);
  EXPECT_EQ(size.height, -37);
  const DeviceFontSize upright = ChooseDeviceFontSize(Font(-125, 2700), {0.3, 0, 0, 0.3, 0, 0}, false);
  EXPECT_EQ(upright.baseline_escapement, 2700);
}

TEST(DeviceFontSize, ARotatingTransformTurnsTheFontInTheCompatibleMode) {
  const DeviceFontSize size = ChooseDeviceFontSize(Font(-20), {0.8660254, 0.5, -0.5, 0.8660254, 0, 0}, false);
  EXPECT_EQ(size.font.escapement, -300);
  EXPECT_EQ(size.baseline_escapement, 0);
  EXPECT_EQ(size.height, -19);  // 20 * |(-0.5, 0.866)| = 19.99..., truncated
}

}  // namespace
}  // namespace vx::gdi
