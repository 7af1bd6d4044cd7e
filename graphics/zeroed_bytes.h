// A fixed-size block of zeroed bytes for pixel data. Fresh memory costs a
// fault per page at its first touch, and on virtual machines each fault is
// dear (about 11 us): a large block (a page's surface) is mapped on its own,
// aligned to and advised for huge pages, so clearing it takes a fault per
// 2 MB instead of one per 4 KB. Small blocks come from calloc. Either way a
// block costs memory only where it is written (to the huge page for large
// ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace vx {

// Gives a block back: a mapping of its own or a block from calloc.
struct ZeroedBytesRelease {
  size_t mapped = 0;  // bytes of the block's own mapping; 0: from calloc
  void operator()(uint8_t* p) const;
};

class ZeroedBytes {
public:
  // Blocks from this size on are mapped for huge pages.
  static constexpr size_t kHugePageThreshold = size_t(512) << 10;

  ZeroedBytes() = default;
  // Throws std::bad_alloc when the memory is not there.
  explicit ZeroedBytes(size_t size);
  // A moved-from block is empty.
  ZeroedBytes(ZeroedBytes&& other) noexcept : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)) {}
  ZeroedBytes& operator=(ZeroedBytes&& other) noexcept {
    data_ = std::move(other.data_);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }

  uint8_t* Data() { return data_.get(); }
  const uint8_t* Data() const { return data_.get(); }
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  // Whether the block is a mapping of its own (large blocks, unless the
  // system refused one).
  bool IsMapped() const { return data_ && data_.get_deleter().mapped != 0; }

private:
  std::unique_ptr<uint8_t, ZeroedBytesRelease> data_;
  size_t size_ = 0;
};

}  // namespace vx
