#include "support/sha1.h"

#include <array>
#include <vector>

namespace vx::test {

namespace {

uint32_t RotateLeft(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

// One 64-byte block into the five-word state.
void CompressBlock(std::array<uint32_t, 5>& h, const uint8_t* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t(block[4 * i]) << 24 | uint32_t(block[4 * i + 1]) << 16 | uint32_t(block[4 * i + 2]) << 8 |
           uint32_t(block[4 * i + 3]);
  for (int i = 16; i < 80; ++i) w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t f, k;
    if (i < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (i < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (i < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const uint32_t t = RotateLeft(a, 5) + f + e + k + w[i];
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = t;
  }
  h[0] += a;
  h[1] += b;
  h[2] += c;
  h[3] += d;
  h[4] += e;
}

}  // namespace

std::string Sha1Hex(const uint8_t* data, size_t size) {
  std::array<uint32_t, 5> h{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  size_t whole = size - size % 64;
  for (size_t i = 0; i < whole; i += 64) CompressBlock(h, data + i);
  // The tail, a 1 bit, zeros and the length in bits (big-endian).
  std::vector<uint8_t> tail(data + whole, data + size);
  tail.push_back(0x80);
  while (tail.size() % 64 != 56) tail.push_back(0);
  const uint64_t bits = uint64_t(size) * 8;
  for (int i = 7; i >= 0; --i) tail.push_back(uint8_t(bits >> (8 * i)));
  for (size_t i = 0; i < tail.size(); i += 64) CompressBlock(h, tail.data() + i);
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (const uint32_t word : h)
    for (int shift = 28; shift >= 0; shift -= 4) out.push_back(hex[(word >> shift) & 15]);
  return out;
}

}  // namespace vx::test
