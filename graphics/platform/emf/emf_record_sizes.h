// Sizes of the fixed parts of the records that carry variable data (a
// bitmap, a string): where the writers place that data, and the least a
// record of the type holds when played.
#pragma once

#include <cstdint>

namespace vx::gdi {

inline constexpr uint32_t kBitBltFixedSize = 100;
inline constexpr uint32_t kStretchBltFixedSize = 108;
inline constexpr uint32_t kSetDIBitsToDeviceFixedSize = 76;
inline constexpr uint32_t kStretchDIBitsFixedSize = 80;
inline constexpr uint32_t kExtTextOutFixedSize = 76;

}  // namespace vx::gdi
