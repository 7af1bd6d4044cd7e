#include "graphics/platform/text/font_resolver.h"

#include <map>
#include <mutex>
#include <tuple>

#include "graphics/platform/text/built_font_table.h"
#include "graphics/platform/text/charset_coverage.h"
#include "graphics/platform/text/face_code_pages.h"
#include "graphics/platform/text/fontconfig_faces.h"

namespace vx::gdi {
namespace {

// The build-time answers when they hold, so text costs no fontconfig set-up;
// fontconfig itself otherwise.
ResolvedFace Resolve(const std::string& lowerName, bool bold, bool italic, uint8_t pitchAndFamily) {
  if (std::optional<ResolvedFace> built = BuiltFontTableFace(lowerName, bold, italic, pitchAndFamily))
    return *built;
  if (std::optional<ResolvedFace> named = FontconfigNamedFace(lowerName, bold, italic)) return *named;
  return FontconfigDefaultFace(DefaultFamilyFor(pitchAndFamily), bold, italic);
}

// The mapper weighs a character set the face does not serve above a face
// name that differs, so such a request goes to the face that serves the set
// best for its pitch and family (the default face first), when one is
// installed; the named face stays when none is.
ResolvedFace ServingFace(ResolvedFace named, uint8_t charset, bool bold, bool italic, uint8_t pitchAndFamily) {
  const std::string_view language = FontconfigLanguageOfCharset(charset);
  if (named.path.empty() || language.empty() || FaceServesCharset(named.path, named.index, charset) ||
      !InstalledFontsCoverCharset(charset))
    return named;
  for (const ResolvedFace& face : FontconfigLanguageFaces(DefaultFamilyFor(pitchAndFamily), language, bold, italic)) {
    if (FaceServesCharset(face.path, face.index, charset)) return face;
  }
  return named;
}

}  // namespace

std::string MappedFamily(const std::u16string& faceName) {
  return std::string(AliasFamily(AsciiLower(FaceNameUtf8(faceName))));
}

ResolvedFace ResolveFontFace(const LogFont& font) {
  constexpr int32_t kBoldThreshold = 550;
  const std::string lowerName = AsciiLower(FaceNameUtf8(font.face_name));
  const bool bold = font.weight > kBoldThreshold;
  const bool italic = font.italic;
  using Key = std::tuple<std::string, bool, bool, uint8_t, uint8_t>;
  static std::mutex mutex;
  static std::map<Key, ResolvedFace> cache;
  constexpr size_t kMaxCachedNames = 4096;  // metafiles can name any number of faces

  const Key key{lowerName, bold, italic, font.pitch_and_family, font.char_set};
  std::lock_guard lock(mutex);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  ResolvedFace face = ServingFace(Resolve(lowerName, bold, italic, font.pitch_and_family), font.char_set, bold, italic,
                                  font.pitch_and_family);
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
