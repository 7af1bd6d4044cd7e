#include "base/utf16_text.h"

#include <cstdint>

namespace vx {

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  constexpr char32_t kReplacement = 0xFFFD;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) cp = lead;
    else if ((lead & 0xE0) == 0xC0) { cp = lead & 0x1F; extra = 1; }
    else if ((lead & 0xF0) == 0xE0) { cp = lead & 0x0F; extra = 2; }
    else if ((lead & 0xF8) == 0xF0) { cp = lead & 0x07; extra = 3; }
    else { out.push_back(char16_t(kReplacement)); ++i; continue; }
    bool ok = true;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= text.size()) { ok = false; break; }
      const auto next = static_cast<uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out.push_back(char16_t(kReplacement));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += size_t(extra) + 1;
  }
  return out;
}

}  // namespace vx
