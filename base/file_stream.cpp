#include "base/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/errors.h"

namespace vx {

std::string ExpandFileName(const std::string& fileName) {
  if (!fileName.empty() && fileName[0] == '/') return fileName;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return fileName;
  std::string dir(cwd);
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir + fileName;
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : file_name_(fileName) {
  if (mode == TFileMode::Create) {
    fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
      throw EFCreateError(Format(msg::kFCreate, ExpandFileName(fileName), std::strerror(errno)));
    return;
  }
  fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ >= 0) {
    // A directory opens on POSIX but is no file to read from.
    struct stat st {};
    if (fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      errno = EISDIR;
    }
  }
  if (fd_ < 0)
    throw EFOpenError(Format(msg::kFOpen, ExpandFileName(fileName), std::strerror(errno)));
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

void TFileStream::SetSize64(int64_t newSize) {
  if (newSize >= 0 && ::ftruncate(fd_, newSize) == 0 && Seek64(0, soCurrent) > newSize)
    Seek64(newSize, soBeginning);
}

int32_t TFileStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  auto* bytes = static_cast<char*>(buffer);
  int32_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, bytes + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<int32_t>(n);
  }
  position_ += done;
  return done;
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const auto* bytes = static_cast<const char*>(buffer);
  int32_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, bytes + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<int32_t>(n);
  }
  position_ += done;
  return done;
}

int64_t TFileStream::Seek64(int64_t offset, int origin) {
  if (origin == soCurrent && offset == 0) return position_;
  const int whence = origin == soCurrent ? SEEK_CUR : origin == soEnd ? SEEK_END : SEEK_SET;
  const off_t result = ::lseek(fd_, offset, whence);
  if (result < 0) return -1;
  position_ = static_cast<int64_t>(result);
  return position_;
}

int64_t TFileStream::GetSize() {
  // A regular file's size is its end: one status call instead of three seeks.
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) return static_cast<int64_t>(st.st_size);
  return TStream::GetSize();
}

int32_t TFileStream::Seek(int32_t offset, int origin) {
  return static_cast<int32_t>(Seek64(offset, origin));
}

}  // namespace vx
