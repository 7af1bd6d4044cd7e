#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/platform/raster/low_bytes.h"

namespace vx::gdi {
namespace {

// Values with every byte set, so a lane taking a wrong byte shows.
std::vector<uint32_t> Values(size_t count) {
  std::vector<uint32_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(0xA5C30000u | uint32_t(i * 37 % 251) << 8 | uint32_t(i * 73 % 256));
  return values;
}

TEST(LowBytes, KeepsTheLowByteOfEachValueInOrder) {
  for (const size_t count : {size_t(0), size_t(1), size_t(15), size_t(16), size_t(17), size_t(40), size_t(2237)}) {
    const std::vector<uint32_t> values = Values(count);
    std::vector<uint8_t> out(count + 1, 0x5A);
    StoreLowBytes(values.data(), count, out.data());
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(out[i], uint8_t(i * 73 % 256)) << count << " at " << i;
    EXPECT_EQ(out[count], 0x5A) << count;  // nothing past the end
  }
}

TEST(LowBytes, BytesAboveOneHundredAndTwentySevenAreNotSaturated) {
  const std::vector<uint32_t> values(16, 0xFFFFFF80u);
  std::vector<uint8_t> out(16);
  StoreLowBytes(values.data(), values.size(), out.data());
  EXPECT_EQ(out, std::vector<uint8_t>(16, 0x80));
}

}  // namespace
}  // namespace vx::gdi
