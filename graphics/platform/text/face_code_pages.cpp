#include "graphics/platform/text/face_code_pages.h"

#include <array>
#include <climits>
#include <cstdio>
#include <memory>

namespace vx::gdi {
namespace {

uint32_t Big32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint16_t Big16(const unsigned char* p) { return uint16_t(p[0] << 8 | p[1]); }

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// C streams: a C++ file stream would set up the locale machinery, which
// costs more than the few reads.
bool ReadAt(std::FILE* file, uint64_t offset, unsigned char* out, size_t count) {
  if (offset > uint64_t(LONG_MAX) || std::fseek(file, long(offset), SEEK_SET) != 0) return false;
  return std::fread(out, 1, count, file) == count;
}

}  // namespace

std::optional<uint32_t> FaceCodePageRange(const std::string& path, int index) {
  const File opened(std::fopen(path.c_str(), "rb"));
  std::FILE* file = opened.get();
  if (!file || index < 0) return std::nullopt;
  unsigned char head[12];
  if (!ReadAt(file, 0, head, sizeof head)) return std::nullopt;
  uint64_t sfnt = 0;
  if (Big32(head) == 0x74746366) {  // 'ttcf': a collection, the face's own offset
    if (uint32_t(index) >= Big32(head + 8)) return std::nullopt;
    unsigned char offset[4];
    if (!ReadAt(file, 12 + 4 * uint64_t(index), offset, sizeof offset)) return std::nullopt;
    sfnt = Big32(offset);
    if (!ReadAt(file, sfnt, head, sizeof head)) return std::nullopt;
  }
  const uint16_t tables = Big16(head + 4);
  for (uint16_t t = 0; t < tables; ++t) {
    unsigned char entry[16];
    if (!ReadAt(file, sfnt + 12 + 16 * uint64_t(t), entry, sizeof entry)) return std::nullopt;
    if (Big32(entry) != 0x4F532F32) continue;  // 'OS/2'
    const uint32_t offset = Big32(entry + 8), length = Big32(entry + 12);
    constexpr uint32_t kRangeAt = 78;  // ulCodePageRange1, from version 1 on
    if (length < kRangeAt + 4) return std::nullopt;
    unsigned char version[2], range[4];
    if (!ReadAt(file, offset, version, sizeof version) || Big16(version) < 1) return std::nullopt;
    if (!ReadAt(file, uint64_t(offset) + kRangeAt, range, sizeof range)) return std::nullopt;
    return Big32(range);
  }
  return std::nullopt;
}

std::optional<uint32_t> CodePageBitOfCharset(uint8_t charset) {
  struct Bit {
    uint8_t charset;
    uint32_t bit;
  };
  static constexpr std::array kBits{
      Bit{0, 0},     // ANSI: Latin 1
      Bit{238, 1},   // Eastern Europe: Latin 2
      Bit{204, 2},   // Cyrillic
      Bit{161, 3},   // Greek
      Bit{162, 4},   // Turkish
      Bit{177, 5},   // Hebrew
      Bit{178, 6},   // Arabic
      Bit{186, 7},   // Baltic
      Bit{163, 8},   // Vietnamese
      Bit{222, 16},  // Thai
      Bit{128, 17},  // Shift-JIS
      Bit{134, 18},  // GB 2312
      Bit{129, 19},  // Hangul
      Bit{136, 20},  // Big 5
      Bit{130, 21},  // Johab
      Bit{77, 29},   // Macintosh
      Bit{2, 31},    // symbol
  };
  for (const Bit& b : kBits) {
    if (b.charset == charset) return b.bit;
  }
  return std::nullopt;
}

bool FaceServesCharset(const std::string& path, int index, uint8_t charset) {
  const std::optional<uint32_t> bit = CodePageBitOfCharset(charset);
  if (!bit) return true;
  const std::optional<uint32_t> range = FaceCodePageRange(path, index);
  // A range of no bits at all is a font that fills the word in wrongly, not
  // one that serves nothing.
  return !range || *range == 0 || (*range >> *bit & 1u) != 0;
}

}  // namespace vx::gdi
