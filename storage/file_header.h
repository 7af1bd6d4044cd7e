// The report file header (TVXFileHeader): 128 bytes as written, read also in
// its older 124- and 96-byte forms. Only the page total is read back.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>

namespace vx {

inline constexpr int32_t kHeaderLength = 128;
inline constexpr int32_t kPackedHeaderLength = 124;
inline constexpr int32_t kShortHeaderLength = 96;

using TVXFileHeaderBytes = std::array<uint8_t, kHeaderLength>;

struct TVXFileHeader {
  static constexpr uint16_t kFirstVersion = 3;
  static constexpr uint16_t kSecondVersion = 40;
  static constexpr uint8_t kFillCharacter = 0x48;  // 'H'

  int32_t pageTotal = 0;
  double date = 0.0;  // OLE Automation date, local time
  bool compressed = false;

  // The 128-byte form; bytes the writer does not set are zero.
  TVXFileHeaderBytes Encode() const;
};

// Moves the fields of a 124-byte header (date aligned on 4 bytes) to their
// places in the 128-byte layout.
TVXFileHeaderBytes ExpandPackedHeader(const TVXFileHeaderBytes& packed);

// The page total of a header in any of its forms (offset 8 in all of them).
int32_t HeaderPageTotal(const TVXFileHeaderBytes& header);

// Days since 30 December 1899 plus the elapsed fraction of the day.
double OleAutomationDate(const std::tm& localTime, int milliseconds);
// The current local date and time as an OLE Automation date.
double CurrentOleAutomationDate();

}  // namespace vx
