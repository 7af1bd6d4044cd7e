// The byte stream that holds a report's pages: resident in memory up to a
// limit, then spilled into a temporary file; or opened read-only on a saved
// report. Every operation runs under the stream's own re-entrant lock.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/file_stream.h"
#include "base/memory_stream.h"
#include "base/stream.h"

namespace vx {

class TVXStream : public TStream {
public:
  // A resident stream that spills to a temporary file once its size exceeds limit.
  static std::unique_ptr<TVXStream> CreateInMemory(int32_t limit);
  // A read-only stream on an existing file; raises EFOpenError when it can't be opened.
  static std::unique_ptr<TVXStream> CreateOnFile(const std::string& fileName);

  ~TVXStream() override;
  TVXStream(const TVXStream&) = delete;
  TVXStream& operator=(const TVXStream&) = delete;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int32_t Seek(int32_t offset, int origin) override;

  // Cuts the part in use back to newSize bytes, taking back a write that
  // failed half-way (SetSize stays a no-op, as callers expect); a read-only
  // file stays as it is.
  void CutTo(int64_t newSize);
  // Copies the whole content to target's position in 10240-byte blocks; leaves
  // this stream at its end.
  void CopyAllTo(TStream& target);
  // Length of the report file header in front of the first record: 96, 124 or 128.
  int32_t DetectHeaderLength();

  bool Resident() const;
  int32_t MemoryLimit() const { return memory_limit_; }
  std::string TemporaryFileName() const;

  // Held by every operation; callers may hold it across several of them.
  std::recursive_mutex& Lock() const { return lock_; }

private:
  TVXStream() = default;
  void SpillIfOverLimit();
  void Spill();
  TStream& PartInUse();

  mutable std::recursive_mutex lock_;
  std::unique_ptr<TMemoryStream> memory_part_;
  std::string temporary_file_name_;
  std::unique_ptr<TFileStream> file_part_;
  bool resident_ = false;
  int32_t memory_limit_ = 0;
};

}  // namespace vx
