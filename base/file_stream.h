// A stream on a file, opened in one of the three ways the system uses.
#pragma once

#include <string>

#include "base/stream.h"

namespace vx {

enum class TFileMode {
  OpenReadShared,     // existing file, read only; others may still read and write it
  OpenReadDenyWrite,  // existing file, read only; others may read but not write
  Create,             // created or cut to zero length, read and write, no sharing
};

class TFileStream : public TStream {
public:
  // Raises EFOpenError / EFCreateError with the absolute file name and the system's text.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  void SetSize(int32_t newSize) override { SetSize64(newSize); }
  void SetSize64(int64_t newSize) override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int32_t Seek(int32_t offset, int origin) override;
  int64_t Seek64(int64_t offset, int origin) override;
  int64_t GetSize() override;

  const std::string& FileName() const { return file_name_; }

private:
  std::string file_name_;
  int fd_ = -1;
  // Where the descriptor stands, kept here: readers ask for the position far
  // more often than they move it, and each asking would be a system call.
  int64_t position_ = 0;
};

// The name made absolute against the current directory, nothing else normalised.
std::string ExpandFileName(const std::string& fileName);

}  // namespace vx
