#include "graphics/platform/text/charset_coverage.h"

#include <map>
#include <mutex>

#include "graphics/platform/text/built_font_table.h"
#include "graphics/platform/text/fontconfig_faces.h"

namespace vx::gdi {

bool InstalledFontsCoverCharset(uint8_t charset) {
  const std::string_view language = FontconfigLanguageOfCharset(charset);
  if (language.empty()) return true;
  // The build-time answer spares a page with such text the whole fontconfig set-up.
  if (const std::optional<bool> built = BuiltLanguageCovered(language)) return *built;
  static std::mutex mutex;
  static std::map<uint8_t, bool> known;
  std::lock_guard<std::mutex> lock(mutex);
  const auto it = known.find(charset);
  if (it != known.end()) return it->second;
  const bool covered = FontconfigHasLanguage(language);
  known.emplace(charset, covered);
  return covered;
}

}  // namespace vx::gdi
