// The 8-bit and double-byte code pages text is read in, with the names the C
// library's converter knows them by. Only the build step that writes the
// conversion tables and the tests that check them use the names; the
// converter itself reads the tables.
#pragma once

#include <array>
#include <cstdint>

namespace vx::gdi {

struct CodePageName {
  uint32_t code_page;
  const char* converter_name;
  bool double_byte;
};

inline constexpr std::array<CodePageName, 16> kCodePageNames = {{
    {437, "IBM437", false},
    {874, "CP874", false},
    {932, "CP932", true},
    {936, "CP936", true},
    {949, "CP949", true},
    {950, "CP950", true},
    {1250, "CP1250", false},
    {1251, "CP1251", false},
    {1253, "CP1253", false},
    {1254, "CP1254", false},
    {1255, "CP1255", false},
    {1256, "CP1256", false},
    {1257, "CP1257", false},
    {1258, "CP1258", false},
    {1361, "CP1361", true},
    {10000, "MACINTOSH", false},
}};

}  // namespace vx::gdi
