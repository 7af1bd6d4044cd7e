#include "base/stream.h"

#include <limits>

#include "base/errors.h"

namespace vx {

int64_t TStream::GetSize() {
  const int64_t position = Seek64(0, soCurrent);
  const int64_t size = Seek64(0, soEnd);
  Seek64(position, soBeginning);
  return size;
}

void TStream::SetSize(int32_t) {}

void TStream::SetSize64(int64_t newSize) { SetSize(static_cast<int32_t>(newSize)); }

int64_t TStream::Seek64(int64_t offset, int origin) {
  if (offset < std::numeric_limits<int32_t>::min() || offset > std::numeric_limits<int32_t>::max())
    throw EStreamError("Stream seek offset out of range");
  return Seek(static_cast<int32_t>(offset), origin);
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const int32_t chunk = count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
    if (Read(bytes, chunk) != chunk) throw EReadError(msg::kStreamRead);
    bytes += chunk;
    count -= chunk;
  }
  if (count < 0) throw EReadError(msg::kStreamRead);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    const int32_t chunk = count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
    if (Write(bytes, chunk) != chunk) throw EWriteError(msg::kStreamWrite);
    bytes += chunk;
    count -= chunk;
  }
  if (count < 0) throw EWriteError(msg::kStreamWrite);
}

}  // namespace vx
