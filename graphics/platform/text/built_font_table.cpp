#include "graphics/platform/text/built_font_table.h"

#include <sys/stat.h>

#include <algorithm>
#include <tuple>

#include "graphics/platform/text/fontconfig_faces.h"

namespace vx::gdi {
namespace {

// kBuiltFontTableMade, kBuiltStamps, kBuiltNamedFaces (sorted by name, bold,
// italic), kBuiltDefaultFaces and kBuiltLanguages, written by
// tools/make_font_table.cpp.
#include "built_font_table_data.inc"

bool StampHolds(const TBuiltStamp& stamp) {
  struct stat info {};
  if (::stat(stamp.path, &info) != 0) return stamp.seconds == -1;
  return stamp.seconds != -1 && info.st_mtim.tv_sec == stamp.seconds && info.st_mtim.tv_nsec == stamp.nanoseconds &&
         info.st_size == stamp.size;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

bool CheckBuiltFontTable() {
  if (!kBuiltFontTableMade || FontconfigEnvironmentSet()) return false;
  for (const std::string& path : UserFontconfigLocations()) {
    if (Exists(path)) return false;
  }
  return std::all_of(kBuiltStamps.begin(), kBuiltStamps.end(), StampHolds);
}

namespace {

ResolvedFace ToResolved(const TBuiltFace& face) {
  ResolvedFace resolved;
  resolved.path = face.path;
  resolved.index = face.index;
  resolved.family = face.family;
  resolved.bold = face.bold;
  resolved.italic = face.italic;
  resolved.monospaced = face.monospaced;
  return resolved;
}

}  // namespace

bool BuiltFontTableHolds() {
  static const bool holds = CheckBuiltFontTable();
  return holds;
}

std::optional<ResolvedFace> BuiltFontTableFace(const std::string& lowerName, bool bold, bool italic,
                                               uint8_t pitchAndFamily) {
  if (!BuiltFontTableHolds()) return std::nullopt;
  const auto key = std::make_tuple(std::string_view(lowerName), bold, italic);
  const auto keyOf = [](const TBuiltNamedFace& entry) {
    return std::make_tuple(std::string_view(entry.name), entry.bold, entry.italic);
  };
  const auto it = std::lower_bound(kBuiltNamedFaces.begin(), kBuiltNamedFaces.end(), key,
                                   [&](const TBuiltNamedFace& entry, const auto& k) { return keyOf(entry) < k; });
  // A name not in the table is no installed family: it falls back like one
  // the table marks so.
  if (it != kBuiltNamedFaces.end() && keyOf(*it) == key && it->has_face) return ToResolved(it->face);
  const std::string_view family = DefaultFamilyFor(pitchAndFamily);
  for (const TBuiltDefaultFace& entry : kBuiltDefaultFaces) {
    if (family == entry.family && entry.bold == bold && entry.italic == italic) return ToResolved(entry.face);
  }
  return std::nullopt;  // not made for this family: ask fontconfig
}

std::optional<bool> BuiltLanguageCovered(std::string_view language) {
  if (!BuiltFontTableHolds()) return std::nullopt;
  for (const TBuiltLanguage& entry : kBuiltLanguages) {
    if (language == entry.language) return entry.covered;
  }
  return std::nullopt;
}

}  // namespace vx::gdi
