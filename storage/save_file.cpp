#include "storage/save_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <cstring>

#include "base/errors.h"
#include "base/file_stream.h"

namespace vx {

namespace {

constexpr mode_t kNewFileMode = 0666;

std::string DirectoryOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return "./";
  return fileName.substr(0, slash + 1);
}

[[noreturn]] void FailCreate(const std::string& fileName, int error) {
  throw EFCreateError(Format(msg::kFCreate, ExpandFileName(fileName), std::strerror(error)));
}

// The mode a plain create gives a new file: 0666 less the process's umask.
mode_t CreatedFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return kNewFileMode & ~mask;
}

}  // namespace

TSaveFile::TSaveFile(const std::string& fileName) : requested_name_(fileName), file_name_(fileName) {
  struct stat target {};
  if (::stat(fileName.c_str(), &target) == 0) {
    if (!S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)) {
      in_place_ = true;
      temporary_name_ = fileName;
      return;
    }
    char resolved[PATH_MAX];
    if (::realpath(fileName.c_str(), resolved) != nullptr) file_name_ = resolved;
  }
  std::string pattern = DirectoryOf(file_name_) + "VXPXXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) FailCreate(fileName, errno);
  ::close(fd);
  temporary_name_ = pattern;
}

TSaveFile::~TSaveFile() {
  if (!committed_ && !in_place_) ::unlink(temporary_name_.c_str());
}

void TSaveFile::Commit() {
  if (in_place_) return;
  // A file that exists keeps its permissions; a new one gets a plain create's.
  struct stat existing {};
  const mode_t mode = ::stat(file_name_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : CreatedFileMode();
  ::chmod(temporary_name_.c_str(), mode);
  if (::rename(temporary_name_.c_str(), file_name_.c_str()) != 0) FailCreate(requested_name_, errno);
  committed_ = true;
}

}  // namespace vx
