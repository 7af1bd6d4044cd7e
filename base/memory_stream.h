// A stream whose bytes live in one growable memory block.
#pragma once

#include <cstdint>
#include <vector>

#include "base/stream.h"

namespace vx {

class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;

  void SetSize(int32_t newSize) override { SetSize64(newSize); }
  void SetSize64(int64_t newSize) override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int32_t Seek(int32_t offset, int origin) override;
  int64_t Seek64(int64_t offset, int origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(data_.size()); }

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void Clear();
  // Writes the whole content into another stream with one whole-buffer write.
  void SaveToStream(TStream& target) const;

private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace vx
