// The face lookups that need fontconfig: a face name (through the alias table
// or as installed) and the default face of a pitch class, plus an inventory of
// what fontconfig's answers depend on. The font resolver uses the lookups when
// the table of faces made at build time does not hold; the build-time table
// generator uses all of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/platform/text/font_resolver.h"

namespace vx::gdi {

// ASCII letters lowered and surrounding blanks removed: how face names compare.
std::string AsciiLower(std::string text);
// A face name as UTF-8, up to its first NUL.
std::string FaceNameUtf8(const std::u16string& faceName);

// The Windows faces of the alias table and the ones left to fontconfig.
std::vector<std::string_view> AliasFaceNames();
std::vector<std::string_view> FontconfigFaceNames();
// The family a lowered face name maps to through the alias table; empty if none.
std::string_view AliasFamily(const std::string& lowerName);

// The default families, and which one a pitch-and-family byte falls back to.
std::vector<std::string_view> DefaultFamilies();
std::string_view DefaultFamilyFor(uint8_t pitchAndFamily);

// The face a lowered name itself resolves to (alias family when installed,
// else the name when fontconfig knows it); none when it falls back to a default.
std::optional<ResolvedFace> FontconfigNamedFace(const std::string& lowerName, bool bold, bool italic);
// fontconfig's best scalable face of a default family; empty when there is none.
ResolvedFace FontconfigDefaultFace(std::string_view family, bool bold, bool italic);

// The language a character set is written in, as fontconfig names it; empty
// for the ANSI, default, symbol, OEM and unknown sets.
std::string_view FontconfigLanguageOfCharset(uint8_t charset);
// Whether some installed font covers the language (fontconfig, not cached).
bool FontconfigHasLanguage(std::string_view language);
// The scalable faces that cover the language, fontconfig's best first for a
// family and style (not cached).
std::vector<ResolvedFace> FontconfigLanguageFaces(std::string_view family, std::string_view language, bool bold,
                                                  bool italic);

// Every family name (lowered) of every installed font.
std::vector<std::string> InstalledFamilyNames();
// The configuration files and directories fontconfig read and the font
// directories it scanned; a change to any of them can change its answers.
std::vector<std::string> FontconfigInputs();
// Per-user configuration and font locations and environment settings
// fontconfig would consult; a table made at build time holds only while none
// of them is present.
std::vector<std::string> UserFontconfigLocations();
bool FontconfigEnvironmentSet();

}  // namespace vx::gdi
