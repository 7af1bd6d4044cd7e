#include "graphics/platform/text/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <tuple>

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

std::string ToUtf8(const std::u16string& text) {
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

bool IsFontconfigFace(const std::string& lowerName) {
  for (std::string_view face : kFontconfigFaces) {
    if (lowerName == face) return true;
  }
  return false;
}

std::string_view DefaultFamilyFor(uint8_t pitchAndFamily) {
  if ((pitchAndFamily & kFixedPitch) || (pitchAndFamily & kFamilyMask) == kFamilyModern)
    return kDefaultFixed;
  if ((pitchAndFamily & kFamilyMask) == kFamilyRoman) return kDefaultSerif;
  return kDefaultSans;
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

ResolvedFace Resolve(const std::string& lowerName, bool bold, bool italic, uint8_t pitchAndFamily) {
  if (!FcInit()) return {};
  for (const FamilyAlias& alias : kFamilyAliases) {
    if (lowerName != alias.face) continue;
    if (PatternPtr match = MatchFamily(std::string(alias.family), bold, italic)) {
      if (HasFamily(match.get(), AsciiLower(std::string(alias.family)))) return FaceOf(match.get());
    }
    break;  // the family is not installed: fall back like any unknown face
  }
  if (!lowerName.empty()) {
    if (PatternPtr match = MatchFamily(lowerName, bold, italic)) {
      if (IsFontconfigFace(lowerName) || HasFamily(match.get(), lowerName)) return FaceOf(match.get());
    }
  }
  const std::string fallback(DefaultFamilyFor(pitchAndFamily));
  PatternPtr match = MatchFamily(fallback, bold, italic);
  return match ? FaceOf(match.get()) : ResolvedFace{};
}

}  // namespace

std::string MappedFamily(const std::u16string& faceName) {
  const std::string lowerName = AsciiLower(ToUtf8(faceName));
  for (const FamilyAlias& alias : kFamilyAliases) {
    if (lowerName == alias.face) return std::string(alias.family);
  }
  return {};
}

ResolvedFace ResolveFontFace(const LogFont& font) {
  constexpr int32_t kBoldThreshold = 550;
  const std::string lowerName = AsciiLower(ToUtf8(font.face_name));
  const bool bold = font.weight > kBoldThreshold;
  const bool italic = font.italic;
  using Key = std::tuple<std::string, bool, bool, uint8_t>;
  static std::mutex mutex;
  static std::map<Key, ResolvedFace> cache;
  constexpr size_t kMaxCachedNames = 4096;  // metafiles can name any number of faces

  const Key key{lowerName, bold, italic, font.pitch_and_family};
  std::lock_guard lock(mutex);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  ResolvedFace face = Resolve(lowerName, bold, italic, font.pitch_and_family);
  if (cache.size() >= kMaxCachedNames) cache.clear();
  cache.emplace(key, face);
  return face;
}

}  // namespace vx::gdi

// fontconfig keeps a few blocks of its configuration parse unreachable for the
// life of the process; sanitizer builds must not count that as our leak.
#if defined(__SANITIZE_ADDRESS__)
#define VXP_FONT_RESOLVER_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VXP_FONT_RESOLVER_LSAN 1
#endif
#endif
#ifdef VXP_FONT_RESOLVER_LSAN
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
