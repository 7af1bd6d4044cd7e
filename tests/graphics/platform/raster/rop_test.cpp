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

// The operation as its code defines it: one minterm per set bit.
uint32_t Rop3ByMinterms(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if ((code >> k) & 1) r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  }
  return r;
}

TEST(Rop, EveryTernaryCodeGivesItsMintermsOnEveryBit) {
  const uint32_t values[] = {0u, 0xFFFFFFFFu, 0x0F0F0F0Fu, 0x12345678u, 0xCAFEBABEu, 0x00FF00FFu, 0x80000001u};
  int checked = 0;
  for (int code = 0; code < 256; ++code) {
    for (const uint32_t p : values) {
      for (const uint32_t s : values) {
        for (const uint32_t d : values) {
          ASSERT_EQ(ApplyRop3(uint8_t(code), p, s, d), Rop3ByMinterms(uint8_t(code), p, s, d))
              << "code " << code << " p " << p << " s " << s << " d " << d;
          ++checked;
        }
      }
    }
  }
  EXPECT_EQ(checked, 256 * 7 * 7 * 7);
  EXPECT_EQ(ApplyRop3(0xAA, 0x12, 0x34, 0x56), 0x56u);  // the destination kept
  EXPECT_EQ(ApplyRop3(uint8_t(SRCAND >> 16), 0, 0xF0, 0x3C), 0x30u);
}

}  // namespace
}  // namespace vx::gdi
