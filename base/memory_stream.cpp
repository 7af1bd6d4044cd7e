#include "base/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"

namespace vx {

void TMemoryStream::SetSize64(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  data_.resize(static_cast<size_t>(newSize));
  position_ = std::min(position_, newSize);
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
  const int64_t size = GetSize();
  if (count <= 0 || position_ < 0 || position_ >= size) return 0;
  const int64_t n = std::min<int64_t>(count, size - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0 || position_ < 0) return 0;
  const int64_t end = position_ + count;
  if (end > GetSize()) {
    if (static_cast<uint64_t>(end) > data_.capacity())
      data_.reserve(std::max<size_t>(static_cast<size_t>(end), data_.capacity() * 2));
    data_.resize(static_cast<size_t>(end));
  }
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek64(int64_t offset, int origin) {
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = GetSize() + offset; break;
    default: break;
  }
  return position_;
}

int32_t TMemoryStream::Seek(int32_t offset, int origin) {
  return static_cast<int32_t>(Seek64(offset, origin));
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
  if (!data_.empty()) target.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

}  // namespace vx
