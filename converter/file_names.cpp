#include "converter/file_names.h"

#include <dirent.h>
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
  std::tm local{};
  if (::localtime_r(&modified, &local) == nullptr) return false;
  const long year = static_cast<long>(local.tm_year) + 1900;
  return year >= kFirstDosYear && year <= kLastDosYear;
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

  const std::vector<std::string> matches = SortedMatches(directory, WildcardPattern(lastComponent));
  if (matches.empty()) return false;
  struct stat info {};
  if (::stat((directory + "/" + matches.front()).c_str(), &info) != 0) return false;
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
