// Little-endian reading and writing of byte layouts with bounds checks. A read
// past the end never touches memory outside the buffer: it sets the failed flag
// and yields 0, so parsers check Ok() once after a group of fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vx {

class ByteReader {
public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Size() const { return size_; }
  size_t Offset() const { return offset_; }
  size_t Remaining() const { return offset_ <= size_ ? size_ - offset_ : 0; }
  bool Ok() const { return !failed_; }
  const uint8_t* Data() const { return data_; }

  void Seek(size_t offset) {
    if (offset > size_) failed_ = true;
    else offset_ = offset;
  }
  void Skip(size_t count) { Seek(count > Remaining() ? size_ + 1 : offset_ + count); }

  uint8_t U8() { return static_cast<uint8_t>(Take(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Take(2)); }
  int16_t I16() { return static_cast<int16_t>(Take(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Take(4)); }
  int32_t I32() { return static_cast<int32_t>(Take(4)); }
  float F32() {
    const uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  // Pointer to count bytes at the cursor, or nullptr (and failed) when they are not there.
  const uint8_t* Bytes(size_t count) {
    if (count > Remaining()) {
      failed_ = true;
      return nullptr;
    }
    const uint8_t* p = data_ + offset_;
    offset_ += count;
    return p;
  }

private:
  uint64_t Take(size_t count) {
    if (count > Remaining()) {
      failed_ = true;
      offset_ = size_;
      return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= uint64_t(data_[offset_ + i]) << (8 * i);
    offset_ += count;
    return value;
  }

  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
  bool failed_ = false;
};

// Little-endian field access at fixed offsets of a buffer the caller has sized.
inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t LoadI32(const uint8_t* p) { return static_cast<int32_t>(LoadU32(p)); }
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Appends little-endian fields to a byte vector (record writers, test data builders).
class ByteWriter {
public:
  std::vector<uint8_t>& Bytes() { return bytes_; }
  size_t Size() const { return bytes_.size(); }
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) { U8(uint8_t(v)); U8(uint8_t(v >> 8)); }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) { U16(uint16_t(v)); U16(uint16_t(v >> 16)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    U32(bits);
  }
  void Append(const void* data, size_t count) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
  }
  void PatchU32(size_t offset, uint32_t v) { StoreU32(bytes_.data() + offset, v); }

private:
  std::vector<uint8_t> bytes_;
};

}  // namespace vx
