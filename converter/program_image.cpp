#include "converter/program_image.h"

#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace vx {
namespace {

struct Range {
  uintptr_t begin = 0;
  uintptr_t end = 0;
};

void Populate(const Range& range) {
  if (range.end == range.begin) return;
  ::madvise(reinterpret_cast<void*>(range.begin), range.end - range.begin, MADV_POPULATE_READ);
}

int MapReadOnlySegments(dl_phdr_info* info, size_t, void*) {
  const uintptr_t pageMask = static_cast<uintptr_t>(::getpagesize()) - 1;
  // Segments that follow each other without a gap (code, then constants)
  // are populated in one call.
  Range pending;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) != 0 || segment.p_filesz == 0) continue;
    const uintptr_t begin = (info->dlpi_addr + segment.p_vaddr) & ~pageMask;
    const uintptr_t end = (info->dlpi_addr + segment.p_vaddr + segment.p_filesz + pageMask) & ~pageMask;
    if (end - begin <= pageMask + 1) continue;  // faults in once at most anyway (the headers)
    if (begin == pending.end) {
      pending.end = end;
      continue;
    }
    Populate(pending);
    pending = {begin, end};
  }
  Populate(pending);
  return 1;  // the executable comes first; shared libraries fault as usual
}

}  // namespace

void MapProgramImage() { ::dl_iterate_phdr(MapReadOnlySegments, nullptr); }

}  // namespace vx
