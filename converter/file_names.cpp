#include "converter/file_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <optional>
#include <vector>

namespace vx {

namespace {

constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 2107;
// 1980-01-01 and 2108-01-01 at 00:00 UTC. A local clock is never two days
// off UTC (zone offsets and old local mean times stay within a day), so only
// a time that close to either end needs the local calendar, and with it the
// time zone file.
constexpr time_t kFirstDosSecondUtc = 315532800;
constexpr time_t kPastDosSecondUtc = 4354819200;
constexpr time_t kZoneMargin = 2 * 24 * 60 * 60;

bool HasDirectoryPart(const std::string& fileName) {
  return fileName.find('/') != std::string::npos;
}

// `*` and `?` stay wildcards; every other character matches only itself.
std::string WildcardPattern(const std::string& name) {
  std::string pattern;
  pattern.reserve(name.size());
  for (const char c : name) {
    if (c == '[' || c == ']' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern;
}

std::vector<std::string> SortedMatches(const std::string& directory, const std::string& pattern) {
  std::vector<std::string> matches;
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return matches;
  while (const dirent* entry = ::readdir(dir)) {
    if (::fnmatch(pattern.c_str(), entry->d_name, 0) == 0) matches.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(matches.begin(), matches.end());
  return matches;
}

bool InDosDateRange(time_t modified) {
  if (modified >= kFirstDosSecondUtc + kZoneMargin && modified < kPastDosSecondUtc - kZoneMargin) return true;
  if (modified < kFirstDosSecondUtc - kZoneMargin || modified >= kPastDosSecondUtc + kZoneMargin) return false;
  std::tm local{};
  if (::localtime_r(&modified, &local) == nullptr) return false;
  const long year = static_cast<long>(local.tm_year) + 1900;
  return year >= kFirstDosYear && year <= kLastDosYear;
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// The first entry of the directory that matches the last component, in sorted
// order. Without a wildcard only the name itself can match, so it is looked up
// without reading the directory; a listing would also need read permission on
// the directory, which a lookup does not, so that is checked instead.
std::optional<std::string> FirstMatch(const std::string& directory, const std::string& lastComponent) {
  if (!HasWildcard(lastComponent)) {
    if (::faccessat(AT_FDCWD, directory.c_str(), R_OK, AT_EACCESS) != 0) return std::nullopt;
    return lastComponent;
  }
  const std::vector<std::string> matches = SortedMatches(directory, WildcardPattern(lastComponent));
  if (matches.empty()) return std::nullopt;
  return matches.front();
}

}  // namespace

std::string CurrentDirectory() {
  std::vector<char> buffer(256);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string CompleteFileName(const std::string& fileName, const std::string& currentDirectory) {
  if (HasDirectoryPart(fileName)) return fileName;
  return currentDirectory + "/" + fileName;
}

std::string CompleteFileName(const std::string& fileName) {
  if (HasDirectoryPart(fileName)) return fileName;
  return CompleteFileName(fileName, CurrentDirectory());
}

bool SourceFileExists(const std::string& fileName) {
  const size_t slash = fileName.rfind('/');
  const std::string directory = slash == std::string::npos ? "."
                                : slash == 0               ? "/"
                                                           : fileName.substr(0, slash);
  const std::string lastComponent = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  if (lastComponent.empty()) return false;

  const std::optional<std::string> match = FirstMatch(directory, lastComponent);
  if (!match) return false;
  struct stat info {};
  if (::stat((directory + "/" + *match).c_str(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode)) return false;
  return InDosDateRange(info.st_mtime);
}

std::string ExtractExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return "";
  const size_t slash = fileName.rfind('/');
  if (slash != std::string::npos && slash > dot) return "";
  return fileName.substr(dot);
}

TSourceKind DetectSourceKind(const std::string& fileName) {
  std::string extension = ExtractExtension(fileName);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (extension == ".vxp") return skReport;
  if (extension == ".wmf") return skWindowsMetafile;
  if (extension == ".emf") return skEnhancedMetafile;
  return skUnsupported;
}

}  // namespace vx
