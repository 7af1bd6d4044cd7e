// A fixed-size block of zeroed bytes for pixel data. Taken from calloc, so a
// large image costs memory only where it is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace vx {

class ZeroedBytes {
public:
  ZeroedBytes() = default;
  explicit ZeroedBytes(size_t size) : size_(size) {
    if (size == 0) return;
    data_.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
    if (!data_) throw std::bad_alloc();
  }

  uint8_t* Data() { return data_.get(); }
  const uint8_t* Data() const { return data_.get(); }
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }

private:
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, Free> data_;
  size_t size_ = 0;
};

}  // namespace vx
