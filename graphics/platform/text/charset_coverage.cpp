#include "graphics/platform/text/charset_coverage.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

namespace vx::gdi {

namespace {

// A language each character set is written in, as fontconfig names it.
const char* LanguageOfCharset(uint8_t charset) {
  switch (charset) {
    case 77: return "en";      // MAC_CHARSET
    case 128: return "ja";     // SHIFTJIS_CHARSET
    case 129: return "ko";     // HANGUL_CHARSET
    case 130: return "ko";     // JOHAB_CHARSET
    case 134: return "zh-cn";  // GB2312_CHARSET
    case 136: return "zh-tw";  // CHINESEBIG5_CHARSET
    case 161: return "el";     // GREEK_CHARSET
    case 162: return "tr";     // TURKISH_CHARSET
    case 163: return "vi";     // VIETNAMESE_CHARSET
    case 177: return "he";     // HEBREW_CHARSET
    case 178: return "ar";     // ARABIC_CHARSET
    case 186: return "lt";     // BALTIC_CHARSET
    case 204: return "ru";     // RUSSIAN_CHARSET
    case 222: return "th";     // THAI_CHARSET
    case 238: return "pl";     // EASTEUROPE_CHARSET
    default: return nullptr;   // ANSI, DEFAULT, SYMBOL, OEM and unknown sets
  }
}

bool AnyFontHasLanguage(const char* language) {
  FcPattern* pattern = FcPatternCreate();
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(language));
  FcPatternAddLangSet(pattern, FC_LANG, langs);
  FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, fields);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(fields);
  FcLangSetDestroy(langs);
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

bool InstalledFontsCoverCharset(uint8_t charset) {
  const char* language = LanguageOfCharset(charset);
  if (language == nullptr) return true;
  static std::mutex mutex;
  static std::map<uint8_t, bool> known;
  std::lock_guard<std::mutex> lock(mutex);
  const auto it = known.find(charset);
  if (it != known.end()) return it->second;
  const bool covered = AnyFontHasLanguage(language);
  known.emplace(charset, covered);
  return covered;
}

}  // namespace vx::gdi
