// UTF-8 text (what callers write in source code) as the UTF-16 the drawing
// layer takes. Malformed sequences become U+FFFD.
#pragma once

#include <string>

namespace vx {

std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace vx
