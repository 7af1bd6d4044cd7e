#include "graphics/platform/text/text_advances.h"

#include <cmath>

#include "graphics/platform/text/raster_font.h"

namespace vx::gdi {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

std::vector<int32_t> UntransformedAdvances(const LogFont& font, const std::u16string& text) {
  std::vector<int32_t> advances(text.size(), 0);
  if (text.empty()) return advances;
  const std::shared_ptr<const RasterFont> realized = GetRasterFont(font, font.height, font.width);
  if (!realized) return advances;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    const size_t first = i;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ch = 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      ++i;
    }
    const Point advance = realized->Advance(ch);
    advances[first] =
        advance.y == 0 ? advance.x : int32_t(std::lround(std::hypot(double(advance.x), double(advance.y))));
  }
  return advances;
}

int32_t UntransformedFontHeight(const LogFont& font) {
  const std::shared_ptr<const RasterFont> realized = GetRasterFont(font, font.height, font.width);
  return realized ? realized->Height() : 0;
}

}  // namespace vx::gdi
