#include "graphics/platform/text/code_page_text.h"

#include <array>

namespace vx::gdi {

namespace {

// Windows-1252 at 0x80..0x9F; the unassigned codes keep their value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Cp1252ToUnicode(uint8_t c) {
  if (c >= 0x80 && c <= 0x9F) return kCp1252High[c - 0x80];
  return c;
}

int UnicodeToCp1252(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == u) return int(0x80 + i);
  }
  return -1;
}

}  // namespace

std::u16string DecodeWmfText(const uint8_t* text, size_t count, uint8_t charset) {
  std::u16string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    out.push_back(charset == kSymbolCharset ? char16_t(0xF000 + text[i]) : Cp1252ToUnicode(text[i]));
  }
  return out;
}

std::string EncodeWmfText(const std::u16string& text, uint8_t charset) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t u : text) {
    if (charset == kSymbolCharset && u >= 0xF000 && u <= 0xF0FF) {
      out.push_back(static_cast<char>(u - 0xF000));
      continue;
    }
    const int c = UnicodeToCp1252(u);
    out.push_back(c < 0 ? '?' : static_cast<char>(c));
  }
  return out;
}

}  // namespace vx::gdi
