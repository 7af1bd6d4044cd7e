#include "storage/vx_stream.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/errors.h"

namespace vx {

namespace {

constexpr int32_t kCopyBlockSize = 10240;

std::string TemporaryDirectory() {
  const char* dir = std::getenv("TMPDIR");
  if (dir == nullptr || *dir == '\0') return "/tmp";
  return dir;
}

// Creates an empty file with a fresh name beginning with "VXP" in the temporary
// directory, exclusively, and returns its name.
std::string CreateUniqueTemporaryFile() {
  std::string pattern = TemporaryDirectory();
  if (pattern.back() != '/') pattern += '/';
  pattern += "VXPXXXXXX";
  std::string name = pattern;
  const int fd = ::mkstemp(name.data());
  if (fd < 0)
    throw EFCreateError(Format(msg::kFCreate, ExpandFileName(pattern), std::strerror(errno)));
  ::close(fd);
  return name;
}

}  // namespace

std::unique_ptr<TVXStream> TVXStream::CreateInMemory(int32_t limit) {
  std::unique_ptr<TVXStream> stream(new TVXStream());
  stream->memory_part_ = std::make_unique<TMemoryStream>();
  stream->resident_ = true;
  stream->memory_limit_ = limit;
  return stream;
}

std::unique_ptr<TVXStream> TVXStream::CreateOnFile(const std::string& fileName) {
  auto file = std::make_unique<TFileStream>(fileName, TFileMode::OpenReadShared);
  std::unique_ptr<TVXStream> stream(new TVXStream());
  stream->file_part_ = std::move(file);
  return stream;
}

TVXStream::~TVXStream() {
  std::lock_guard guard(lock_);
  memory_part_.reset();
  file_part_.reset();
  if (!temporary_file_name_.empty()) ::unlink(temporary_file_name_.c_str());
}

bool TVXStream::Resident() const {
  std::lock_guard guard(lock_);
  return resident_;
}

std::string TVXStream::TemporaryFileName() const {
  std::lock_guard guard(lock_);
  return temporary_file_name_;
}

TStream& TVXStream::PartInUse() {
  if (resident_) return *memory_part_;
  return *file_part_;
}

int32_t TVXStream::Read(void* buffer, int32_t count) {
  std::lock_guard guard(lock_);
  return PartInUse().Read(buffer, count);
}

int32_t TVXStream::Write(const void* buffer, int32_t count) {
  std::lock_guard guard(lock_);
  const int32_t written = PartInUse().Write(buffer, count);
  if (resident_) SpillIfOverLimit();
  return written;
}

int32_t TVXStream::Seek(int32_t offset, int origin) {
  std::lock_guard guard(lock_);
  return PartInUse().Seek(offset, origin);
}

void TVXStream::CutTo(int64_t newSize) {
  std::lock_guard guard(lock_);
  PartInUse().SetSize64(newSize);
}

void TVXStream::SpillIfOverLimit() {
  if (memory_part_->GetSize() <= static_cast<int64_t>(memory_limit_)) return;
  Spill();
}

// Moves the resident bytes into a new temporary file. On failure the stream
// stays resident with all its bytes and no temporary file is left behind.
void TVXStream::Spill() {
  temporary_file_name_ = CreateUniqueTemporaryFile();
  try {
    file_part_ = std::make_unique<TFileStream>(temporary_file_name_, TFileMode::Create);
    memory_part_->SaveToStream(*file_part_);
    file_part_->Seek64(memory_part_->Seek64(0, soCurrent), soBeginning);
  } catch (...) {
    file_part_.reset();
    ::unlink(temporary_file_name_.c_str());
    temporary_file_name_.clear();
    throw;
  }
  memory_part_.reset();
  resident_ = false;
}

void TVXStream::CopyAllTo(TStream& target) {
  std::lock_guard guard(lock_);
  std::array<uint8_t, kCopyBlockSize> block{};
  Seek(0, soBeginning);
  int32_t count = 0;
  do {
    count = Read(block.data(), kCopyBlockSize);
    target.Write(block.data(), count);
  } while (count != 0);
}

int32_t TVXStream::DetectHeaderLength() {
  // The probes look for "EMF" and the zero low byte of the version field of a
  // plain first page behind each known header length.
  static constexpr uint8_t kSignature[4] = {0x45, 0x4D, 0x46, 0x00};
  struct Probe {
    int32_t offset;
    int32_t headerLength;
  };
  static constexpr Probe kProbes[] = {{173, 124}, {169, 128}, {145, 96}};

  std::lock_guard guard(lock_);
  const int64_t position = Seek64(0, soCurrent);
  auto signatureAt = [this](int32_t offset) {
    uint8_t bytes[4] = {};
    Seek(offset, soBeginning);
    ReadBuffer(bytes, 4);
    return std::memcmp(bytes, kSignature, 4) == 0;
  };
  int32_t result = 128;
  try {
    bool found = false;
    for (const Probe& probe : kProbes) {
      if (signatureAt(probe.offset)) {
        result = probe.headerLength;
        found = true;
        break;
      }
    }
    if (!found) signatureAt(177);
  } catch (...) {
    Seek64(position, soBeginning);
    throw;
  }
  Seek64(position, soBeginning);
  return result;
}

}  // namespace vx
