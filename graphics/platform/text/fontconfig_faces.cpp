#include "graphics/platform/text/fontconfig_faces.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <set>

namespace vx::gdi {
namespace {

constexpr uint8_t kFixedPitch = 0x01;
constexpr uint8_t kFamilyMask = 0xF0;
constexpr uint8_t kFamilyRoman = 0x10;
constexpr uint8_t kFamilyModern = 0x30;

// Windows faces with a metric-compatible family installed under another name.
struct FamilyAlias {
  std::string_view face;
  std::string_view family;
};
constexpr std::array kFamilyAliases{
    FamilyAlias{"arial", "Liberation Sans"},
    FamilyAlias{"helvetica", "Liberation Sans"},
    FamilyAlias{"times new roman", "Liberation Serif"},
    FamilyAlias{"times", "Liberation Serif"},
    FamilyAlias{"courier new", "Liberation Mono"},
    FamilyAlias{"calibri", "Carlito"},
    FamilyAlias{"cambria", "Caladea"},
};

// Windows faces that go to whatever fontconfig substitutes for the name.
constexpr std::array<std::string_view, 19> kFontconfigFaces{
    "ms sans serif", "microsoft sans serif", "tahoma", "verdana", "segoe ui",
    "georgia", "trebuchet ms", "comic sans ms", "consolas", "lucida console",
    "lucida sans unicode", "arial narrow", "arial black", "century gothic",
    "palatino linotype", "book antiqua", "garamond", "ms serif", "courier",
};

// The platform's defaults for faces it does not know.
constexpr std::string_view kDefaultSans = "Liberation Sans";
constexpr std::string_view kDefaultSerif = "Liberation Serif";
constexpr std::string_view kDefaultFixed = "Liberation Mono";

std::string ToUtf8Text(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == 0) break;  // a face name ends at its first NUL
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsFontconfigFace(const std::string& lowerName) {
  for (std::string_view face : kFontconfigFaces) {
    if (lowerName == face) return true;
  }
  return false;
}

struct FcPatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

// fontconfig's best scalable font for a family name and style.
PatternPtr MatchFamily(const std::string& family, bool bold, bool italic) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (result != FcResultMatch) return nullptr;
  return match;
}

bool HasFamily(const FcPattern* match, const std::string& lowerName) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    if (AsciiLower(reinterpret_cast<const char*>(value)) == lowerName) return true;
  }
  return false;
}

ResolvedFace FaceOf(const FcPattern* match) {
  ResolvedFace face;
  FcChar8* value = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
    face.path = reinterpret_cast<const char*>(value);
  if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
    face.family = reinterpret_cast<const char*>(value);
  int number = 0;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &number) == FcResultMatch) face.index = number;
  FcBool synthetic = FcFalse;
  if (FcPatternGetInteger(match, FC_WEIGHT, 0, &number) == FcResultMatch)
    face.bold = number >= FC_WEIGHT_DEMIBOLD;
  if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &synthetic) == FcResultMatch && synthetic)
    face.bold = false;  // fontconfig's own emboldening, not a bold file
  if (FcPatternGetInteger(match, FC_SLANT, 0, &number) == FcResultMatch)
    face.italic = number != FC_SLANT_ROMAN;
  FcMatrix* slant = nullptr;
  if (FcPatternGetMatrix(match, FC_MATRIX, 0, &slant) == FcResultMatch && slant && slant->xy != 0)
    face.italic = false;  // fontconfig's own oblique
  if (FcPatternGetInteger(match, FC_SPACING, 0, &number) == FcResultMatch)
    face.monospaced = number >= FC_MONO;
  return face;
}

std::vector<std::string> StringList(FcStrList* list) {
  std::vector<std::string> out;
  if (!list) return out;
  while (FcChar8* value = FcStrListNext(list)) out.emplace_back(reinterpret_cast<const char*>(value));
  FcStrListDone(list);
  return out;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : fallback;
}

}  // namespace

std::string_view FontconfigLanguageOfCharset(uint8_t charset) {
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
    default: return {};        // ANSI, DEFAULT, SYMBOL, OEM and unknown sets
  }
}

bool FontconfigHasLanguage(std::string_view language) {
  if (!FcInit()) return false;
  const std::string name(language);
  FcPattern* pattern = FcPatternCreate();
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(name.c_str()));
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

std::vector<ResolvedFace> FontconfigLanguageFaces(std::string_view family, std::string_view language, bool bold,
                                                  bool italic) {
  std::vector<ResolvedFace> faces;
  if (!FcInit()) return faces;
  const std::string familyName(family), languageName(language);
  const auto* lang = reinterpret_cast<const FcChar8*>(languageName.c_str());
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return faces;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyName.c_str()));
  FcPatternAddString(pattern.get(), FC_LANG, lang);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result);
  if (!sorted) return faces;
  for (int i = 0; i < sorted->nfont; ++i) {
    const FcPattern* font = sorted->fonts[i];
    FcBool scalable = FcFalse;
    FcLangSet* langs = nullptr;
    if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) continue;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch) continue;
    if (FcLangSetHasLang(langs, lang) == FcLangDifferentLang) continue;
    faces.push_back(FaceOf(font));
  }
  FcFontSetDestroy(sorted);
  return faces;
}

std::string FaceNameUtf8(const std::u16string& faceName) { return ToUtf8Text(faceName); }

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  // Surrounding blanks are not part of a face name.
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> AliasFaceNames() {
  std::vector<std::string_view> names;
  for (const FamilyAlias& alias : kFamilyAliases) names.push_back(alias.face);
  return names;
}

std::vector<std::string_view> FontconfigFaceNames() { return {kFontconfigFaces.begin(), kFontconfigFaces.end()}; }

std::string_view AliasFamily(const std::string& lowerName) {
  for (const FamilyAlias& alias : kFamilyAliases) {
    if (lowerName == alias.face) return alias.family;
  }
  return {};
}

std::vector<std::string_view> DefaultFamilies() { return {kDefaultSans, kDefaultSerif, kDefaultFixed}; }

std::string_view DefaultFamilyFor(uint8_t pitchAndFamily) {
  if ((pitchAndFamily & kFixedPitch) || (pitchAndFamily & kFamilyMask) == kFamilyModern)
    return kDefaultFixed;
  if ((pitchAndFamily & kFamilyMask) == kFamilyRoman) return kDefaultSerif;
  return kDefaultSans;
}

std::optional<ResolvedFace> FontconfigNamedFace(const std::string& lowerName, bool bold, bool italic) {
  if (!FcInit()) return ResolvedFace{};
  if (const std::string_view family = AliasFamily(lowerName); !family.empty()) {
    if (PatternPtr match = MatchFamily(std::string(family), bold, italic)) {
      if (HasFamily(match.get(), AsciiLower(std::string(family)))) return FaceOf(match.get());
    }
    // The family is not installed: fall back like any unknown face.
  }
  if (!lowerName.empty()) {
    if (PatternPtr match = MatchFamily(lowerName, bold, italic)) {
      if (IsFontconfigFace(lowerName) || HasFamily(match.get(), lowerName)) return FaceOf(match.get());
    }
  }
  return std::nullopt;
}

ResolvedFace FontconfigDefaultFace(std::string_view family, bool bold, bool italic) {
  if (!FcInit()) return {};
  PatternPtr match = MatchFamily(std::string(family), bold, italic);
  return match ? FaceOf(match.get()) : ResolvedFace{};
}

std::vector<std::string> InstalledFamilyNames() {
  std::set<std::string> names;
  if (!FcInit()) return {};
  PatternPtr pattern(FcPatternCreate());
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (FcFontSet* fonts = FcFontList(nullptr, pattern.get(), objects)) {
    for (int i = 0; i < fonts->nfont; ++i) {
      FcChar8* value = nullptr;
      for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &value) == FcResultMatch; ++k)
        names.insert(AsciiLower(reinterpret_cast<const char*>(value)));
    }
    FcFontSetDestroy(fonts);
  }
  FcObjectSetDestroy(objects);
  return {names.begin(), names.end()};
}

std::vector<std::string> FontconfigInputs() {
  std::set<std::string> paths;
  if (!FcInit()) return {};
  FcConfig* config = FcConfigGetCurrent();
  for (const std::string& file : StringList(FcConfigGetConfigFiles(config))) {
    paths.insert(file);
    // A file added beside it changes its folder.
    if (const size_t slash = file.rfind('/'); slash != std::string::npos && slash > 0) paths.insert(file.substr(0, slash));
  }
  for (const std::string& dir : StringList(FcConfigGetConfigDirs(config))) paths.insert(dir);
  for (const std::string& dir : StringList(FcConfigGetFontDirs(config))) paths.insert(dir);
  return {paths.begin(), paths.end()};
}

std::vector<std::string> UserFontconfigLocations() {
  const std::string home = EnvOr("HOME", "");
  std::vector<std::string> paths;
  if (!home.empty()) {
    paths.push_back(home + "/.fonts.conf");
    paths.push_back(home + "/.fonts.conf.d");
    paths.push_back(home + "/.fonts");
  }
  const std::string config = EnvOr("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
  const std::string data = EnvOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
  if (!config.empty()) paths.push_back(config + "/fontconfig");
  if (!data.empty()) paths.push_back(data + "/fonts");
  return paths;
}

bool FontconfigEnvironmentSet() {
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"}) {
    if (const char* value = std::getenv(name); value && *value) return true;
  }
  return false;
}

}  // namespace vx::gdi
