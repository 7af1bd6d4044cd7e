#include "graphics/platform/text/device_font_size.h"

#include <algorithm>
#include <cmath>

namespace vx::gdi {

namespace {

// Truncated towards zero; a transform can scale a font size beyond any int,
// where the size saturates (and the font is not drawn).
int32_t TruncatedSize(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
}

}  // namespace

DeviceFontSize ChooseDeviceFontSize(const LogFont& font, const XForm& x, bool advanced_mode) {
  DeviceFontSize size;
  size.font = font;
  size.baseline_escapement = font.escapement;
  const bool rotating = x.m12 != 0 || x.m21 != 0;
  if (advanced_mode && (rotating || x.m11 != x.m22)) {
    size.height = font.height;
    size.width = font.width;
    size.outline_transform = true;
    size.transform = {x.m11, x.m12, x.m21, x.m22, 0, 0};
    size.metric_scale = std::hypot(x.m21, x.m22);
    return size;
  }
  if (!advanced_mode && x.m11 * x.m22 < 0) {
    size.font.escapement = -font.escapement;
    size.font.orientation = -font.orientation;
    size.baseline_escapement = -font.escapement;
  }
  // A rotating transform turns the baseline with it (a mirror along x is
  // left as it is).
  if (x.m12 != 0) {
    const double turn = std::atan2(-x.m12, x.m11) * 1800.0 / M_PI;
    size.font.escapement = int32_t(std::lround(std::fmod(size.font.escapement + turn, 3600.0)));
  }
  // Height and width both follow the vertical scale: a mapping that
  // stretches x more than y does not widen the glyphs of a font that asks
  // for an average width.
  const double scale = std::hypot(x.m21, x.m22);
  size.height = TruncatedSize(font.height * scale);
  size.width = TruncatedSize(font.width * scale);
  return size;
}

}  // namespace vx::gdi
