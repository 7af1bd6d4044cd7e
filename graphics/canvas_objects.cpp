#include "graphics/canvas_objects.h"

#include "base/arith.h"
#include "base/utf16_text.h"

namespace vx {

namespace {

constexpr int32_t kPointsPerInch = 72;
constexpr int32_t kNormalWeight = 400;
constexpr int32_t kBoldWeight = 700;

}  // namespace

gdi::LogPen TPen::ToLogPen() const {
  static constexpr uint32_t kStyles[] = {gdi::PS_SOLID, gdi::PS_DASH, gdi::PS_DOT, gdi::PS_DASHDOT,
                                         gdi::PS_DASHDOTDOT, gdi::PS_NULL, gdi::PS_INSIDEFRAME};
  gdi::LogPen pen{kStyles[static_cast<int>(Style)], Width, Color & 0x00FFFFFF, {}, false};
  pen.brush.color = pen.color;
  return pen;
}

gdi::LogBrush TBrush::ToLogBrush() const {
  switch (Style) {
    case TBrushStyle::bsSolid: return {gdi::BS_SOLID, Color & 0x00FFFFFF, 0, nullptr};
    case TBrushStyle::bsClear: return {gdi::BS_NULL, Color & 0x00FFFFFF, 0, nullptr};
    default:
      return {gdi::BS_HATCHED, Color & 0x00FFFFFF,
              uint32_t(static_cast<int>(Style) - static_cast<int>(TBrushStyle::bsHorizontal)), nullptr};
  }
}

void TFont::SetSize(int32_t points, int32_t pixels_per_inch) {
  Height = -MulDiv(points, pixels_per_inch, kPointsPerInch);
}

gdi::LogFont TFont::ToLogFont() const {
  gdi::LogFont f;
  f.height = Height;
  f.weight = Bold ? kBoldWeight : kNormalWeight;
  f.italic = Italic;
  f.underline = Underline;
  f.strike_out = StrikeOut;
  f.char_set = CharSet;
  f.face_name = Utf8ToUtf16(Name);
  return f;
}

}  // namespace vx
