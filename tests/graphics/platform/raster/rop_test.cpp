#include <gtest/gtest.h>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/rop.h"

namespace vx::gdi {
namespace {

TEST(Rop, BinaryOperationsWorkBitwiseOnPixelValues) {
  const auto rop2 = [](int code, uint32_t p, uint32_t d) { return ApplyRop2(code, p, d) & 0xFF; };
  EXPECT_EQ(rop2(R2_BLACK, 77, 200), 0u);
  EXPECT_EQ(rop2(R2_WHITE, 77, 200), 255u);
  EXPECT_EQ(rop2(R2_COPYPEN, 77, 200), 77u);
  EXPECT_EQ(rop2(R2_NOP, 77, 200), 200u);
  EXPECT_EQ(rop2(R2_NOT, 77, 200), uint8_t(~200));
  EXPECT_EQ(rop2(R2_NOTCOPYPEN, 77, 200), uint8_t(~77));
  EXPECT_EQ(rop2(R2_MASKPEN, 77, 200), 77u & 200u);
  EXPECT_EQ(rop2(R2_MERGEPEN, 77, 200), 77u | 200u);
  EXPECT_EQ(ApplyRop2(R2_XORPEN, 0x123456, 0xFFFFFF) & 0xFFFFFF, 0xEDCBA9u);
}

TEST(Rop, TernaryOperationsCombinePatternSourceAndDestination) {
  EXPECT_EQ(ApplyRop3(uint8_t(SRCCOPY >> 16), 1, 0xAB, 2), 0xABu);
  EXPECT_EQ(ApplyRop3(uint8_t(PATCOPY >> 16), 0x5A, 1, 2), 0x5Au);
  EXPECT_EQ(ApplyRop3(uint8_t(SRCINVERT >> 16), 0, 0xF0, 0xFF), 0x0Fu);
  EXPECT_EQ(ApplyRop3(uint8_t(DSTINVERT >> 16), 0, 0, 0xF0) & 0xFF, 0x0Fu);
  EXPECT_TRUE(Rop3UsesSource(uint8_t(SRCAND >> 16)));
  EXPECT_FALSE(Rop3UsesSource(uint8_t(PATCOPY >> 16)));
  EXPECT_TRUE(Rop3UsesPattern(uint8_t(PATINVERT >> 16)));
  EXPECT_FALSE(Rop3UsesPattern(uint8_t(SRCCOPY >> 16)));
}

}  // namespace
}  // namespace vx::gdi
