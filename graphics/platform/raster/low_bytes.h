// The low byte of each of many 32-bit pixel values: how matched image pixels
// become the bytes of an 8-bit row. A stretched image writes every pixel of
// the page through here, so it goes sixteen at a time where it can.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx::gdi {

inline void StoreLowBytes(const uint32_t* source, size_t count, uint8_t* out) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i low = _mm_set1_epi32(0xFF);
  const auto load = [&](size_t at) {
    return _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at)), low);
  };
  for (; i + 16 <= count; i += 16) {
    // Masked to 0..255, the values pass both saturating packs unchanged.
    const __m128i first = _mm_packs_epi32(load(i), load(i + 4));
    const __m128i second = _mm_packs_epi32(load(i + 8), load(i + 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(first, second));
  }
#endif
  for (; i < count; ++i) out[i] = uint8_t(source[i]);
}

}  // namespace vx::gdi
