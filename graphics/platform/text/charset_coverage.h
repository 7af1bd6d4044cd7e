// Whether any installed font can show a character set. The platform reads a
// font's 8-bit text in the code page of the character set the font mapper
// actually realised; when no installed font has the requested set, the
// mapper realises an ANSI font and the text is read as ANSI.
#pragma once

#include <cstdint>

namespace vx::gdi {

// True for the ANSI, default and symbol sets and for every set whose
// language some installed font covers (the build-time answer while it holds,
// else fontconfig). Cached; thread-safe.
bool InstalledFontsCoverCharset(uint8_t charset);

}  // namespace vx::gdi
