// The code pages a font file declares it serves (the OS/2 table's code-page
// range), by which the platform's font mapper matches a logical font's
// character set: a face that does not declare the set is not a match for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vx::gdi {

// The first code-page range word (bit 0 Latin 1, 6 Arabic, ...) of face
// index in the file; none when the file has no OS/2 table of version 1 or
// later, or cannot be read.
std::optional<uint32_t> FaceCodePageRange(const std::string& path, int index);

// The bit a character set has in that word; none for sets without one
// (default, OEM and unknown sets).
std::optional<uint32_t> CodePageBitOfCharset(uint8_t charset);

// Whether the face serves the character set: also true when the set has no
// bit or the face declares no range (or an empty one), as then nothing
// speaks against it.
bool FaceServesCharset(const std::string& path, int index, uint8_t charset);

}  // namespace vx::gdi
