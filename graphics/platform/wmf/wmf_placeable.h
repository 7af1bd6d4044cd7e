// The 22-byte header that makes a Windows metafile placeable: its bounds in
// metafile units and the units per inch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vx::gdi {

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr size_t kPlaceableHeaderSize = 22;

struct PlaceableHeader {
  uint16_t handle = 0;
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  uint16_t units_per_inch = 0;
  uint32_t reserved = 0;
};

// XOR of the ten 16-bit words that precede the checksum.
uint16_t PlaceableChecksum(const uint8_t* header);

// The header at the start of data, or none when data is shorter than the
// header or the key or checksum is wrong.
std::optional<PlaceableHeader> ParsePlaceableHeader(const uint8_t* data, size_t size);

// The 22 header bytes with key and checksum filled in.
std::vector<uint8_t> EncodePlaceableHeader(const PlaceableHeader& header);

}  // namespace vx::gdi
