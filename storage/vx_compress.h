// Adaptive prefix code over a semi-splayed tree (one instance per page). The
// encoder writes completed code bytes to its stream at once; the decoder reads
// code bytes only as it needs them, so it stops right after a page's last byte.
#pragma once

#include <array>
#include <cstdint>

#include "base/stream.h"

namespace vx {

class TVXCompress {
public:
  TVXCompress(TStream& stream, bool compressing);
  // An encoder with pending bits writes its last, partial byte.
  ~TVXCompress();
  TVXCompress(const TVXCompress&) = delete;
  TVXCompress& operator=(const TVXCompress&) = delete;

  void EncodeByte(uint8_t value);
  // At the end of the stream the decoder yields 0 bytes and sets EndReached().
  uint8_t DecodeByte();
  // Writes the pending partial byte now; the destructor then has nothing left to do.
  void Finish();

  bool EndReached() const { return end_reached_; }

private:
  static constexpr int kInternalNodes = 256;
  static constexpr int kNodes = 513;
  static constexpr uint16_t kRoot = 0;

  void ResetTree();
  void Splay(uint8_t value);
  void EmitBit(bool bit);
  bool NextBit();

  uint8_t bit_position_ = 0;
  bool compressing_ = false;
  uint16_t input_byte_ = 0;
  std::array<uint16_t, kInternalNodes> left_child_{};
  std::array<uint16_t, kInternalNodes> right_child_{};
  uint16_t output_byte_ = 0;
  TStream& stream_;
  std::array<uint8_t, kNodes> parent_{};
  bool end_reached_ = false;
};

}  // namespace vx
