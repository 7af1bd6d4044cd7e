// Code-page conversion tables, written at build time (by
// tools/make_code_page_tables.cpp) so that no process needs the C library's
// converter, its modules or its set-up to read 8-bit text.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::gdi {

// The character a double-byte page gives a lead byte with a trail byte it
// does not pair with, or with no trail byte at all.
inline constexpr char16_t kUnmappedDoubleByte = 0x30FB;

// The trail bytes [first_trail, last_trail] one lead byte pairs with, their
// characters at pairs[offset ..]; trail bytes outside give kUnmappedDoubleByte.
struct LeadByteRow {
  bool lead;
  uint8_t first_trail;
  uint8_t last_trail;
  uint32_t offset;
};

struct CodePageTable {
  uint32_t code_page;
  const char16_t* high;      // bytes 0x80..0xFF read alone (lead bytes: their own value)
  const LeadByteRow* leads;  // bytes 0x80..0xFF of a double-byte page; nullptr otherwise
  const char16_t* pairs;
};

// The table of a code page, or nullptr for a page without one.
const CodePageTable* FindCodePageTable(uint32_t code_page);

// One character of text[0..count) (count > 0); returns the bytes it took.
size_t DecodeCodePageCharacter(const CodePageTable& table, const uint8_t* text, size_t count,
                               char16_t& out);

}  // namespace vx::gdi
