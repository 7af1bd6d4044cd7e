#include "graphics/zeroed_bytes.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace vx {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t RoundUp(size_t size, size_t unit) { return (size + unit - 1) / unit * unit; }

// A zeroed mapping of whole huge pages holding size bytes, starting on a
// huge page; nullptr when the system refuses one.
uint8_t* MapForHugePages(size_t size, size_t& mapped) {
  if (size > SIZE_MAX - 2 * kHugePage) return nullptr;
  mapped = RoundUp(size, kHugePage);
  const size_t reserve = mapped + kHugePage;
  void* raw = ::mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  // Keep the aligned part, give back what lies before and after it.
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = RoundUp(start, kHugePage);
  if (aligned > start) ::munmap(raw, aligned - start);
  const size_t after = (start + reserve) - (aligned + mapped);
  if (after > 0) ::munmap(reinterpret_cast<void*>(aligned + mapped), after);
  uint8_t* block = reinterpret_cast<uint8_t*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(block, mapped, MADV_HUGEPAGE);  // only advice: without it, plain pages
#endif
  return block;
}

}  // namespace

void ZeroedBytesRelease::operator()(uint8_t* p) const {
  if (mapped != 0) {
    ::munmap(p, mapped);
  } else {
    std::free(p);
  }
}

ZeroedBytes::ZeroedBytes(size_t size) : size_(size) {
  if (size == 0) return;
  if (size >= kHugePageThreshold) {
    size_t mapped = 0;
    if (uint8_t* block = MapForHugePages(size, mapped)) {
      data_ = std::unique_ptr<uint8_t, ZeroedBytesRelease>(block, ZeroedBytesRelease{mapped});
      return;
    }
  }
  data_.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
  if (!data_) throw std::bad_alloc();
}

}  // namespace vx
