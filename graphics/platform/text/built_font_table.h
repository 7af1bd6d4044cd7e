// The answers of fontconfig for every face name that can give a face of its
// own (alias faces, fontconfig's faces, installed families) and for the
// default families, worked out when the program was built, so a page with
// text needs no fontconfig set-up. They hold while nothing fontconfig reads
// has changed since: the configuration files and folders and font folders
// (compared by modification time and size), no per-user configuration or font
// folder, no fontconfig environment setting.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/platform/text/font_resolver.h"

namespace vx::gdi {

struct TBuiltFace {
  const char* path;
  int index;
  const char* family;
  bool bold;
  bool italic;
  bool monospaced;
};

// A lowered face name with its own face, or none (it falls back to a default).
struct TBuiltNamedFace {
  const char* name;
  bool bold;
  bool italic;
  bool has_face;
  TBuiltFace face;
};

struct TBuiltDefaultFace {
  const char* family;
  bool bold;
  bool italic;
  TBuiltFace face;
};

// Whether some installed font covers a language (fontconfig's name).
struct TBuiltLanguage {
  const char* language;
  bool covered;
};

struct TBuiltStamp {
  const char* path;
  int64_t seconds;      // modification time; -1: the path must not exist
  int64_t nanoseconds;
  int64_t size;
};

// Whether the build-time answers still hold on this system; checked once.
bool BuiltFontTableHolds();
// The same check made afresh.
bool CheckBuiltFontTable();

// The face for a request from the build-time answers, as fontconfig would
// resolve it; none when the table does not hold.
std::optional<ResolvedFace> BuiltFontTableFace(const std::string& lowerName, bool bold, bool italic,
                                               uint8_t pitchAndFamily);

// The build-time answer to whether some installed font covers the language;
// none when the table does not hold or does not know the language.
std::optional<bool> BuiltLanguageCovered(std::string_view language);

}  // namespace vx::gdi
