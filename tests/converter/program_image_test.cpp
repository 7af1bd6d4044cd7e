#include "converter/program_image.h"

#include <gtest/gtest.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace vx {
namespace {

struct Segment {
  const volatile char* begin;
  size_t size;
};

// The executable's read-only segments, whole pages.
std::vector<Segment> ReadOnlySegments() {
  std::vector<Segment> segments;
  ::dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* out) {
        const uintptr_t pageMask = static_cast<uintptr_t>(::getpagesize()) - 1;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& segment = info->dlpi_phdr[i];
          if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) != 0 || segment.p_filesz == 0) continue;
          const uintptr_t begin = (info->dlpi_addr + segment.p_vaddr) & ~pageMask;
          const uintptr_t end = (info->dlpi_addr + segment.p_vaddr + segment.p_filesz + pageMask) & ~pageMask;
          static_cast<std::vector<Segment>*>(out)->push_back({reinterpret_cast<const char*>(begin), end - begin});
        }
        return 1;
      },
      &segments);
  return segments;
}

long MinorFaults() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Drops the page-table entries of the segments (the pages stay cached) and
// counts the faults of reading one byte of every page afterwards. The bytes
// read lie anywhere in the image, redzones of the address sanitizer included,
// so the reads are not checked.
__attribute__((no_sanitize_address)) long FaultsReadingEveryPage(const std::vector<Segment>& segments, bool mapFirst) {
  const size_t page = static_cast<size_t>(::getpagesize());
  for (const Segment& segment : segments)
    ::madvise(const_cast<char*>(segment.begin), segment.size, MADV_DONTNEED);
  if (mapFirst) MapProgramImage();
  const long before = MinorFaults();
  char sum = 0;
  for (const Segment& segment : segments) {
    for (size_t offset = 0; offset < segment.size; offset += page) sum = static_cast<char>(sum + segment.begin[offset]);
  }
  const long after = MinorFaults();
  static_cast<void>(sum);
  return after - before;
}

TEST(ProgramImage, MapsEveryReadOnlyPageAtOnce) {
  const std::vector<Segment> segments = ReadOnlySegments();
  ASSERT_FALSE(segments.empty());
  size_t pages = 0;
  for (const Segment& segment : segments) pages += segment.size / static_cast<size_t>(::getpagesize());
  ASSERT_GT(pages, 64u);
  // Left alone, every window of pages faults in on its own.
  const long unmapped = FaultsReadingEveryPage(segments, false);
  EXPECT_GT(unmapped, 4);
  const long mapped = FaultsReadingEveryPage(segments, true);
  EXPECT_LE(mapped, 2) << "left alone: " << unmapped;  // the page the reading loop runs on, at most
}

}  // namespace
}  // namespace vx
