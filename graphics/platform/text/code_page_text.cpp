#include "graphics/platform/text/code_page_text.h"

#include <array>

#include "graphics/platform/text/charset_coverage.h"
#include "graphics/platform/text/code_page_tables.h"

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

uint32_t CodePageOfCharset(uint8_t charset) {
  switch (charset) {
    case kSymbolCharset: return 0;
    case 77: return 10000;   // MAC_CHARSET
    case 128: return 932;    // SHIFTJIS_CHARSET
    case 129: return 949;    // HANGUL_CHARSET
    case 130: return 1361;   // JOHAB_CHARSET
    case 134: return 936;    // GB2312_CHARSET
    case 136: return 950;    // CHINESEBIG5_CHARSET
    case 161: return 1253;   // GREEK_CHARSET
    case 162: return 1254;   // TURKISH_CHARSET
    case 163: return 1258;   // VIETNAMESE_CHARSET
    case 177: return 1255;   // HEBREW_CHARSET
    case 178: return 1256;   // ARABIC_CHARSET
    case 186: return 1257;   // BALTIC_CHARSET
    case 204: return 1251;   // RUSSIAN_CHARSET
    case 222: return 874;    // THAI_CHARSET
    case 238: return 1250;   // EASTEUROPE_CHARSET
    case 255: return 437;    // OEM_CHARSET
    default: return 1252;    // ANSI, DEFAULT and unknown sets
  }
}

std::u16string DecodeWmfText(const uint8_t* text, size_t count, uint8_t charset,
                             std::vector<uint8_t>* bytes_per_char) {
  const uint32_t cp = InstalledFontsCoverCharset(charset) ? CodePageOfCharset(charset) : 1252;
  return DecodeCodePageText(text, count, cp, bytes_per_char);
}

std::u16string DecodeCodePageText(const uint8_t* text, size_t count, uint32_t cp,
                                  std::vector<uint8_t>* bytes_per_char) {
  std::u16string out;
  out.reserve(count);
  if (bytes_per_char) bytes_per_char->clear();
  if (cp == 0 || cp == 1252) {
    for (size_t i = 0; i < count; ++i) {
      out.push_back(cp == 0 ? char16_t(0xF000 + text[i]) : Cp1252ToUnicode(text[i]));
      if (bytes_per_char) bytes_per_char->push_back(1);
    }
    return out;
  }
  const CodePageTable* table = FindCodePageTable(cp);
  for (size_t i = 0; i < count;) {
    char16_t c = text[i];  // a page without a table keeps every byte's value
    const size_t used = table ? DecodeCodePageCharacter(*table, text + i, count - i, c) : 1;
    out.push_back(c);
    if (bytes_per_char) bytes_per_char->push_back(uint8_t(used));
    i += used;
  }
  return out;
}

std::vector<int32_t> AdvancesPerCharacter(const std::vector<int32_t>& per_byte,
                                          const std::vector<uint8_t>& bytes_per_char, bool pairs) {
  const size_t stride = pairs ? 2 : 1;
  std::vector<int32_t> out;
  out.reserve(bytes_per_char.size() * stride);
  size_t byte = 0;
  for (const uint8_t n : bytes_per_char) {
    for (size_t axis = 0; axis < stride; ++axis) {
      int64_t sum = 0;
      for (size_t k = 0; k < n; ++k) {
        const size_t at = (byte + k) * stride + axis;
        if (at < per_byte.size()) sum += per_byte[at];
      }
      out.push_back(int32_t(sum));
    }
    byte += n;
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
