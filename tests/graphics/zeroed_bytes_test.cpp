// Zeroed pixel blocks: small ones from the heap, large ones mapped on their
// own for huge pages; both zeroed, writable to their last byte and movable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "graphics/zeroed_bytes.h"

namespace vx {
namespace {

bool AllZero(const ZeroedBytes& block) {
  return std::all_of(block.Data(), block.Data() + block.Size(), [](uint8_t b) { return b == 0; });
}

TEST(ZeroedBytes, AnEmptyBlockHasNoBytes) {
  const ZeroedBytes none(0);
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.Data(), nullptr);
}

TEST(ZeroedBytes, SmallBlocksComeFromTheHeapZeroed) {
  ZeroedBytes block(1000);
  EXPECT_FALSE(block.IsMapped());
  EXPECT_EQ(block.Size(), 1000u);
  EXPECT_TRUE(AllZero(block));
  block.Data()[999] = 7;
  EXPECT_EQ(block.Data()[999], 7);
}

TEST(ZeroedBytes, LargeBlocksAreMappedOnHugePageBoundariesZeroed) {
  const size_t size = ZeroedBytes::kHugePageThreshold * 5 + 3;
  ZeroedBytes block(size);
  ASSERT_TRUE(block.IsMapped());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block.Data()) % (uintptr_t(2) << 20), 0u);
  EXPECT_TRUE(AllZero(block));
  std::fill(block.Data(), block.Data() + size, uint8_t(0xFF));
  EXPECT_EQ(block.Data()[size - 1], 0xFF);
}

TEST(ZeroedBytes, MovingABlockKeepsItsBytes) {
  ZeroedBytes large(ZeroedBytes::kHugePageThreshold);
  large.Data()[5] = 9;
  ZeroedBytes moved = std::move(large);
  EXPECT_TRUE(moved.IsMapped());
  EXPECT_TRUE(large.Empty());  // NOLINT(bugprone-use-after-move): a moved-from block is empty
  EXPECT_EQ(large.Data(), nullptr);
  EXPECT_EQ(moved.Data()[5], 9);
  moved = ZeroedBytes(16);  // the mapping is given back, the new block kept
  EXPECT_FALSE(moved.IsMapped());
  EXPECT_TRUE(AllZero(moved));
}

}  // namespace
}  // namespace vx
