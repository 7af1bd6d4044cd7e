#include "graphics/platform/text/code_page_text.h"

#include <iconv.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>

#include "graphics/platform/text/charset_coverage.h"

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

bool IsDoubleByteCodePage(uint32_t cp) {
  return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361;
}

const char* IconvName(uint32_t cp) {
  switch (cp) {
    case 437: return "IBM437";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "CP1361";
    case 10000: return "MACINTOSH";
    default: return nullptr;
  }
}

// One code page's decoder: single-byte pages as a table, double-byte pages
// through the C library's converter (lead bytes found by trying a pair).
class CodePage {
public:
  explicit CodePage(uint32_t cp) : double_byte_(IsDoubleByteCodePage(cp)) {
    const char* name = IconvName(cp);
    if (name != nullptr) converter_ = iconv_open("UTF-16LE", name);
    for (int c = 0; c < 256; ++c) {
      single_[size_t(c)] = char16_t(c);  // codes the page leaves unassigned keep their value
      if (c < 0x80 || !Usable()) continue;
      const uint8_t byte = uint8_t(c);
      char16_t out = 0;
      if (Convert(&byte, 1, out)) single_[size_t(c)] = out;
      else if (double_byte_) lead_[size_t(c)] = true;
    }
  }
  ~CodePage() {
    if (Usable()) iconv_close(converter_);
  }
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;

  // Decodes one character at text[0..count); returns the bytes it took.
  size_t Decode(const uint8_t* text, size_t count, char16_t& out) {
    const uint8_t c = text[0];
    if (lead_[c] && count >= 2 && Convert(text, 2, out)) return 2;
    out = lead_[c] ? char16_t(0x30FB) : single_[c];
    if (lead_[c] && count >= 2) return 2;
    return 1;
  }

private:
  bool Usable() const { return converter_ != reinterpret_cast<iconv_t>(-1); }
  bool Convert(const uint8_t* in, size_t size, char16_t& out) {
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    char buffer[8];
    char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
    char* dst = buffer;
    size_t in_left = size, out_left = sizeof buffer;
    if (iconv(converter_, &src, &in_left, &dst, &out_left) == size_t(-1) || in_left != 0 ||
        sizeof buffer - out_left != 2)
      return false;
    out = char16_t(uint8_t(buffer[0]) | (uint8_t(buffer[1]) << 8));
    return true;
  }

  bool double_byte_;
  iconv_t converter_ = reinterpret_cast<iconv_t>(-1);
  std::array<char16_t, 256> single_{};
  std::array<bool, 256> lead_{};
};

CodePage& CodePageFor(uint32_t cp, std::unique_lock<std::mutex>& lock) {
  static std::mutex mutex;
  static std::map<uint32_t, std::unique_ptr<CodePage>> pages;
  lock = std::unique_lock<std::mutex>(mutex);
  auto& page = pages[cp];
  if (!page) page = std::make_unique<CodePage>(cp);
  return *page;
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
  std::unique_lock<std::mutex> lock;
  CodePage& page = CodePageFor(cp, lock);
  for (size_t i = 0; i < count;) {
    char16_t c = 0;
    const size_t used = page.Decode(text + i, count - i, c);
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
