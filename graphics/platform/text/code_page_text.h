// 8-bit text of Windows metafile records in UTF-16, by the selected font's
// character set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/platform/core/charset.h"

namespace vx::gdi {

// The code page the platform reads a character set's text in (0 for the
// symbol set); unknown sets read as the system's ANSI code page, 1252.
uint32_t CodePageOfCharset(uint8_t charset);

// Text in a code page (0: the symbol set, whose glyphs sit at U+F000 +
// code); a lead byte and its trail byte of the double-byte code pages make
// one character. bytes_per_char (optional) receives how many bytes each
// character of the result took.
std::u16string DecodeCodePageText(const uint8_t* text, size_t count, uint32_t code_page,
                                  std::vector<uint8_t>* bytes_per_char = nullptr);

// Text of a font with the character set: read in the set's code page when an
// installed font can show the set, else (the font mapper then realises an
// ANSI font) in the ANSI code page.
std::u16string DecodeWmfText(const uint8_t* text, size_t count, uint8_t charset,
                             std::vector<uint8_t>* bytes_per_char = nullptr);

// Advances given per byte, summed per character as bytes_per_char groups
// them; pairs (x, y per byte) when pairs is true.
std::vector<int32_t> AdvancesPerCharacter(const std::vector<int32_t>& per_byte,
                                          const std::vector<uint8_t>& bytes_per_char, bool pairs);

// The reverse for text written back into a Windows metafile; characters
// without an 8-bit form become '?'.
std::string EncodeWmfText(const std::u16string& text, uint8_t charset);

}  // namespace vx::gdi
