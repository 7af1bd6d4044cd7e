#include "graphics/platform/text/code_page_tables.h"

namespace vx::gdi {

namespace {

#include "code_page_tables_data.inc"

}  // namespace

const CodePageTable* FindCodePageTable(uint32_t code_page) {
  for (const CodePageTable& table : kCodePageTables) {
    if (table.code_page == code_page) return &table;
  }
  return nullptr;
}

size_t DecodeCodePageCharacter(const CodePageTable& table, const uint8_t* text, size_t count,
                               char16_t& out) {
  const uint8_t c = text[0];
  if (c < 0x80) {
    out = c;
    return 1;
  }
  const LeadByteRow* row = table.leads != nullptr ? &table.leads[c - 0x80] : nullptr;
  if (row == nullptr || !row->lead) {
    out = table.high[c - 0x80];
    return 1;
  }
  out = kUnmappedDoubleByte;
  if (count < 2) return 1;
  const uint8_t trail = text[1];
  if (trail >= row->first_trail && trail <= row->last_trail)
    out = table.pairs[row->offset + uint32_t(trail - row->first_trail)];
  return 2;
}

}  // namespace vx::gdi
