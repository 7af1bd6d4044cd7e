// Build step: asks fontconfig, as the converter would at run time, for the
// face of every name that can resolve to a face of its own and of the default
// families, and whether any font covers each character set's language, and writes the answers with the stamps of fontconfig's inputs as
// C++ data (see graphics/platform/text/built_font_table.h).
//   make_font_table OUTPUT.inc
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/platform/text/fontconfig_faces.h"

namespace {

using vx::gdi::ResolvedFace;

// A C++ string literal; octal escapes stop after three digits, so no byte
// that follows can be taken into one.
std::string Literal(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F && c != '?') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%03o", c);
      out += escaped;
    }
  }
  return out + "\"";
}

std::string Face(const ResolvedFace& face) {
  std::ostringstream out;
  out << "{" << Literal(face.path) << ", " << face.index << ", " << Literal(face.family) << ", "
      << (face.bold ? "true" : "false") << ", " << (face.italic ? "true" : "false") << ", "
      << (face.monospaced ? "true" : "false") << "}";
  return out.str();
}

std::string Bool(bool value) { return value ? "true" : "false"; }

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Font folders the configuration names that don't exist (yet): fonts put
// there later would change the answers, so the table requires them absent.
std::set<std::string> MissingFontFolders(const std::vector<std::string>& inputs) {
  static const std::regex dir("<dir(\\s[^>]*)?>\\s*(/[^<]*?)\\s*</dir>");
  std::set<std::string> missing;
  for (const std::string& path : inputs) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    const std::string text = FileText(path);
    for (std::sregex_iterator it(text.begin(), text.end(), dir), end; it != end; ++it) {
      if ((*it)[1].str().find("prefix") != std::string::npos) continue;  // relative to a per-user place
      if (!Exists((*it)[2].str())) missing.insert((*it)[2].str());
    }
  }
  return missing;
}

// The answers only hold for a system-wide set-up without per-user parts.
bool Usable() {
  if (vx::gdi::FontconfigEnvironmentSet()) return false;
  for (const std::string& path : vx::gdi::UserFontconfigLocations()) {
    if (Exists(path)) return false;
  }
  return FcInit() == FcTrue;
}

std::string Table() {
  std::ostringstream out;
  out << "// Made at build time by tools/make_font_table.cpp; not to be edited.\n";
  if (!Usable()) {
    out << "constexpr bool kBuiltFontTableMade = false;\n"
           "constexpr std::array<TBuiltStamp, 0> kBuiltStamps{};\n"
           "constexpr std::array<TBuiltNamedFace, 0> kBuiltNamedFaces{};\n"
           "constexpr std::array<TBuiltDefaultFace, 0> kBuiltDefaultFaces{};\n"
           "constexpr std::array<TBuiltLanguage, 0> kBuiltLanguages{};\n";
    return out.str();
  }
  std::vector<std::string> stamps;
  const std::vector<std::string> inputs = vx::gdi::FontconfigInputs();
  for (const std::string& path : MissingFontFolders(inputs)) stamps.push_back("{" + Literal(path) + ", -1, 0, 0}");
  for (const std::string& path : inputs) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) continue;
    stamps.push_back("{" + Literal(path) + ", " + std::to_string(info.st_mtim.tv_sec) + ", " +
                     std::to_string(info.st_mtim.tv_nsec) + ", " + std::to_string(info.st_size) + "}");
  }
  std::set<std::string> names;
  for (std::string_view name : vx::gdi::AliasFaceNames()) names.emplace(name);
  for (std::string_view name : vx::gdi::FontconfigFaceNames()) names.emplace(name);
  for (const std::string& name : vx::gdi::InstalledFamilyNames()) {
    if (!name.empty()) names.insert(name);
  }
  std::vector<std::string> named;
  for (const std::string& name : names) {  // std::set: sorted as the lookup expects
    for (const bool bold : {false, true}) {
      for (const bool italic : {false, true}) {
        const std::optional<ResolvedFace> face = vx::gdi::FontconfigNamedFace(name, bold, italic);
        named.push_back("{" + Literal(name) + ", " + Bool(bold) + ", " + Bool(italic) + ", " +
                        Bool(face.has_value()) + ", " + Face(face.value_or(ResolvedFace{})) + "}");
      }
    }
  }
  std::vector<std::string> defaults;
  for (std::string_view family : vx::gdi::DefaultFamilies()) {
    for (const bool bold : {false, true}) {
      for (const bool italic : {false, true}) {
        defaults.push_back("{" + Literal(std::string(family)) + ", " + Bool(bold) + ", " + Bool(italic) + ", " +
                           Face(vx::gdi::FontconfigDefaultFace(family, bold, italic)) + "}");
      }
    }
  }
  std::set<std::string_view> languages;
  for (int charset = 0; charset < 256; ++charset) {
    const std::string_view language = vx::gdi::FontconfigLanguageOfCharset(static_cast<uint8_t>(charset));
    if (!language.empty()) languages.insert(language);
  }
  std::vector<std::string> covered;
  for (const std::string_view language : languages) {
    covered.push_back("{" + Literal(std::string(language)) + ", " + Bool(vx::gdi::FontconfigHasLanguage(language)) + "}");
  }
  const auto list = [&out](const char* type, const char* name, const std::vector<std::string>& rows) {
    out << "constexpr std::array<" << type << ", " << rows.size() << "> " << name << "{{\n";
    for (const std::string& row : rows) out << "    " << row << ",\n";
    out << "}};\n";
  };
  out << "constexpr bool kBuiltFontTableMade = true;\n";
  list("TBuiltStamp", "kBuiltStamps", stamps);
  list("TBuiltNamedFace", "kBuiltNamedFaces", named);
  list("TBuiltDefaultFace", "kBuiltDefaultFaces", defaults);
  list("TBuiltLanguage", "kBuiltLanguages", covered);
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_font_table OUTPUT.inc\n");
    return 2;
  }
  const std::string table = Table();
  // Rewritten only when it changes, so an unchanged system rebuilds nothing.
  std::ifstream old(argv[1], std::ios::binary);
  std::ostringstream oldText;
  oldText << old.rdbuf();
  if (old && oldText.str() == table) return 0;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << table;
  return out ? 0 : 1;
}
