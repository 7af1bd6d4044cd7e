// ExtTextOut: glyphs of the realised font placed along the baseline, with
// the alignment, spacing array, opaque box and clipping rectangle.
#include <algorithm>
#include <cmath>

#include "graphics/platform/draw/device_painter.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/text/raster_font.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

char32_t NextCodePoint(const std::u16string& text, size_t& i) {
  const char16_t c = text[i++];
  if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
    return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i++]) - 0xDC00);
  return c;
}

// Truncates towards zero as the platform does; a transform can scale a font
// size beyond any int, where the size saturates (and the font is not drawn).
int32_t TruncatedSize(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
}

// Glyphs and their pen offsets along the baseline, in device pixels.
struct GlyphRun {
  std::vector<std::shared_ptr<const GlyphBitmap>> glyphs;
  std::vector<double> offsets;
  std::vector<double> rises;  // ETO_PDY: the baseline's rise under each glyph
  double width = 0;           // the pen's advance over the whole text
};

// The spacing the context adds: per character, and justification's extra
// space spread over the breaks.
struct TextSpacing {
  int32_t char_extra = 0;
  int32_t break_extra = 0;
  int32_t break_count = 0;
};

// Places the glyphs: by the advances given (logical units, x and y pairs with
// ETO_PDY) where there are any, else by the font's advances plus the spacing.
GlyphRun LayOutGlyphs(const RasterFont& font, const std::u16string& text, uint32_t options,
                      const std::vector<int32_t>& dx, double xscale, double yscale, const TextSpacing& spacing,
                      bool smoothed) {
  GlyphRun run;
  double pen = 0, rise = 0;
  const bool pdy = (options & ETO_PDY) != 0;
  double logical_advance = 0;
  int64_t breaks = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t unit = i;
    const char32_t ch = (options & ETO_GLYPH_INDEX) ? char32_t(text[i++]) : NextCodePoint(text, i);
    auto glyph = (options & ETO_GLYPH_INDEX) ? font.GlyphByIndex(ch, smoothed) : font.Glyph(ch, smoothed);
    run.glyphs.push_back(glyph);
    run.offsets.push_back(pen);
    run.rises.push_back(rise);
    const size_t k = pdy ? 2 * unit : unit;
    if (k < dx.size()) {
      logical_advance += dx[k];
      pen = logical_advance * xscale;
      // The y advances count upwards.
      if (pdy && k + 1 < dx.size()) rise += dx[k + 1] * yscale;
      continue;
    }
    pen += std::hypot(double(glyph->advanceX), double(glyph->advanceY)) + spacing.char_extra * xscale;
    // Justification spreads its extra space over the breaks, the remainder
    // one unit each to the first ones.
    if (ch == U' ' && spacing.break_count > 0 && !(options & ETO_GLYPH_INDEX)) {
      const int64_t extra = spacing.break_extra, count = spacing.break_count;
      const int64_t remainder = std::abs(extra % count);
      pen += double(extra / count + (breaks < remainder ? (extra < 0 ? -1 : 1) : 0)) * xscale;
      ++breaks;
    }
    logical_advance = pen / (xscale == 0 ? 1 : xscale);
  }
  run.width = pen;
  return run;
}

// The glyph masks at their places along the baseline from base, then the
// underline and strike-out across the whole run (horizontal text only).
// smooth_color: the colour smoothed glyphs blend in, when they are smoothed.
void PaintGlyphRun(DevicePainter& painter, const RasterFont& font, const GlyphRun& run, PointF base, double angle,
                   const PaletteEntry* smooth_color) {
  const double bx = std::cos(angle), by = -std::sin(angle);  // along the baseline
  const double ux = std::sin(angle), uy = std::cos(angle);   // "down" from the baseline
  for (size_t g = 0; g < run.glyphs.size(); ++g) {
    const GlyphBitmap& glyph = *run.glyphs[g];
    const int32_t gx = RoundDevice(base.x + run.offsets[g] * bx - run.rises[g] * ux);
    const int32_t gy = RoundDevice(base.y + run.offsets[g] * by - run.rises[g] * uy);
    if (glyph.IsEmpty()) continue;
    if (smooth_color != nullptr) {
      painter.BlendMask(gx + glyph.left, gy - glyph.top, glyph.width, glyph.height, glyph.pixels.data(), *smooth_color);
    } else {
      painter.FillMask(gx + glyph.left, gy - glyph.top, glyph.width, glyph.height, glyph.pixels.data());
    }
  }
  if (angle != 0) return;
  const auto rule = [&](int32_t offset_down, int32_t thickness) {
    const int32_t left = RoundDevice(base.x), right = RoundDevice(base.x + run.width * bx);
    const int32_t top = RoundDevice(base.y) + offset_down;
    painter.FillRegion(Region::FromRect({left, top, right, top + std::max(thickness, 1)}));
  };
  if (font.Underline()) rule(font.UnderlinePosition(), font.UnderlineThickness());
  if (font.StrikeOut()) rule(-font.StrikeoutPosition(), font.StrikeoutThickness());
}

// The font selected, realised at its size in device pixels through the
// transform; xscale and yscale are the transform's scales along the axes.
std::shared_ptr<const RasterFont> RealizeFont(LogFont lf, const XForm& x, double& xscale, double& yscale) {
  // A rotating transform turns the baseline with it (a mirror along x is
  // left as it is).
  if (x.m12 != 0) {
    const double turn = std::atan2(-x.m12, x.m11) * 1800.0 / M_PI;
    lf.escapement = int32_t(std::lround(std::fmod(lf.escapement + turn, 3600.0)));
  }
  yscale = std::hypot(x.m21, x.m22);
  xscale = std::hypot(x.m11, x.m12);
  // The device height is truncated, not rounded, as the platform does.
  const int32_t dev_height = TruncatedSize(lf.height * yscale);
  const int32_t dev_width = TruncatedSize(lf.width * xscale);
  return GetRasterFont(lf, dev_height, dev_width);
}

// Where the baseline of a run of the given width starts, from the reference
// point and the alignment, along the baseline's angle.
PointF BaselineStart(PointF ref, uint32_t text_align, const RasterFont& font, double width, double angle) {
  const double bx = std::cos(angle), by = -std::sin(angle);  // along the baseline
  const double ux = std::sin(angle), uy = std::cos(angle);   // "down" from the baseline
  double shift = 0;
  switch (text_align & TA_CENTER) {
    case TA_RIGHT: shift = -width; break;
    case TA_CENTER: shift = -width / 2; break;
    default: break;
  }
  double down = 0;  // from the reference point to the baseline
  switch (text_align & TA_BASELINE) {
    case TA_BASELINE: down = 0; break;
    case TA_BOTTOM: down = -font.Descent(); break;
    default: down = font.Ascent(); break;
  }
  return {ref.x + shift * bx + down * ux, ref.y + shift * by + down * uy};
}

}  // namespace

Region TDeviceContext::TextClip(uint32_t options, const Rect* rect) {
  Region clip = EffectiveClip();
  if (rect == nullptr || (options & (ETO_OPAQUE | ETO_CLIPPED)) == 0) return clip;
  const Rect box = DeviceRectOf(*rect);
  if (options & ETO_OPAQUE)
    DevicePainter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.bk_color)).FillRegion(Region::FromRect(box));
  if (options & ETO_CLIPPED) clip = clip.Intersect(Region::FromRect(box));
  return clip;
}

void TDeviceContext::ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                                const std::vector<int32_t>& dx) {
  const XForm x = LogicalToDevice();
  const bool update_cp = (state_.text_align & TA_UPDATECP) != 0;
  if (update_cp) origin = state_.current_position;

  const Region clip = TextClip(options, rect);
  if (text.empty()) return;

  double xscale = 0, yscale = 0;
  const std::shared_ptr<const RasterFont> font = RealizeFont(state_.font, x, xscale, yscale);
  if (!font) return;
  // Baseline direction from the escapement (counter-clockwise on screen).
  const double angle = font->Escapement() * M_PI / 1800.0;

  // True-colour surfaces draw glyphs smoothed, palette surfaces bilevel.
  const bool smoothed = target_->BitsPerPixel() >= 16 && font->AllowsSmoothing();
  const GlyphRun run = LayOutGlyphs(*font, text, options, dx, xscale, yscale,
                                    {state_.char_extra, state_.break_extra, state_.break_count}, smoothed);
  const PointF ref = Apply(x, {double(origin.x), double(origin.y)});
  const PointF base = BaselineStart(ref, state_.text_align, *font, run.width, angle);

  if (state_.bk_mode == OPAQUE && !(options & ETO_OPAQUE) && angle == 0) {
    const int32_t left = RoundDevice(base.x), right = RoundDevice(base.x + run.width);
    const int32_t top = RoundDevice(base.y) - font->Ascent(), bottom = RoundDevice(base.y) + font->Descent();
    DevicePainter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.bk_color))
        .FillRegion(Region::FromRect({left, top, right, bottom}));
  }

  DevicePainter painter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.text_color));
  const PaletteEntry text_color = target_->ColorOfPixel(target_->PixelOfColor(state_.text_color));
  PaintGlyphRun(painter, *font, run, base, angle, smoothed ? &text_color : nullptr);

  XForm inverse;
  if (update_cp && Invert(x, inverse)) {
    const double bx = std::cos(angle), by = -std::sin(angle);  // along the baseline
    const PointF end = Apply(inverse, {ref.x + run.width * bx, ref.y + run.width * by});
    state_.current_position = RoundPoint(end);
  }
}

}  // namespace vx::gdi
