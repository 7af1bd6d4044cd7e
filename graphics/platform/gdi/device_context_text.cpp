// ExtTextOut: glyphs of the realised font placed along the baseline, with
// the alignment, spacing array, opaque box and clipping rectangle.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/platform/draw/device_painter.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/text/device_font_size.h"
#include "graphics/platform/text/glyph_layout.h"
#include "graphics/platform/text/raster_font.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

// Text in a path adds the hinted outlines, as the platform's outline query
// gives them unless asked for unhinted ones (filled paths of big glyphs
// match the reference closer so).
constexpr bool kHintedPathOutlines = true;

char32_t NextCodePoint(const std::u16string& text, size_t& i) {
  const char16_t c = text[i++];
  if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
    return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i++]) - 0xDC00);
  return c;
}


// Glyphs and their pen positions from the rounded reference point, in
// device pixels.
struct GlyphRun {
  std::vector<std::shared_ptr<const GlyphBitmap>> glyphs;  // null where only placed
  std::vector<uint32_t> indices;  // the glyphs' indices in the face
  GlyphPens pens;
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
// rasterise: false when only the pens are wanted (text added to a path, or
// glyphs rendered later where they matter).
GlyphRun LayOutGlyphs(const RasterFont& font, const std::u16string& text, uint32_t options,
                      const std::vector<int32_t>& dx, const XForm& x, int32_t escapement,
                      bool compatible_mode, const TextSpacing& spacing, bool smoothed, bool rasterise) {
  GlyphRun run;
  const bool pdy = (options & ETO_PDY) != 0;
  std::vector<GlyphAdvance> advances;
  std::vector<int32_t> extra;
  int64_t breaks = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t unit = i;
    const char32_t ch = (options & ETO_GLYPH_INDEX) ? char32_t(text[i++]) : NextCodePoint(text, i);
    const uint32_t index = (options & ETO_GLYPH_INDEX) ? uint32_t(ch) : font.GlyphIndex(ch);
    std::shared_ptr<const GlyphBitmap> glyph = rasterise ? font.GlyphByIndex(index, smoothed) : nullptr;
    GlyphAdvance advance;
    int32_t justification = 0;
    const size_t k = pdy ? 2 * unit : unit;
    if (k < dx.size()) {
      advance.logical = true;
      advance.dx = dx[k];
      if (pdy && k + 1 < dx.size()) advance.dy = dx[k + 1];
    } else {
      advance.device = glyph ? Point{glyph->advanceX, glyph->advanceY} : font.AdvanceByIndex(index, smoothed);
      // Justification spreads its extra space over the breaks, the remainder
      // one unit each to the first ones.
      if (ch == U' ' && spacing.break_count > 0 && !(options & ETO_GLYPH_INDEX)) {
        const int64_t total = spacing.break_extra, count = spacing.break_count;
        const int64_t remainder = std::abs(total % count);
        justification = int32_t(total / count + (breaks < remainder ? (total < 0 ? -1 : 1) : 0));
        ++breaks;
      }
    }
    run.glyphs.push_back(glyph);
    run.indices.push_back(index);
    advances.push_back(advance);
    extra.push_back(justification);
  }
  TextLayoutRules rules;
  rules.transform = x;
  rules.escapement = escapement;
  rules.compatible_mode = compatible_mode;
  rules.char_extra = spacing.char_extra;
  rules.measure_device_advances =
      spacing.char_extra != 0 || (spacing.break_count > 0 && spacing.break_extra != 0) || escapement % 3600 != 0;
  run.pens = PlaceGlyphs(rules, advances, extra);
  return run;
}

// Whether a glyph placed but not rendered can still change what a target
// that shows only change tells: not when its box at pen gx, gy lies within
// the target's settled part. The box is asked for only when the pen lies
// there, as a glyph further right or down rarely ends inside it.
bool PlacedGlyphMatters(const PixelTarget& target, const RasterFont& font, uint32_t index, bool smoothed, int32_t gx,
                        int32_t gy) {
  const Rect settled = target.Settled();
  if (gx >= settled.right || gy >= settled.bottom) return true;
  const Rect box = font.GlyphBoxByIndex(index, smoothed);
  if (box.IsEmpty()) return false;
  return int64_t(gx) + box.right > settled.right || int64_t(gy) + box.bottom > settled.bottom;
}

// The glyph masks at their places from base, then the underline and
// strike-out across the whole run (horizontal text only). Glyphs the run
// only placed are rendered here where they can still matter.
// smooth_color: the colour smoothed glyphs blend in, when they are smoothed.
void PaintGlyphRun(DevicePainter& painter, const PixelTarget& target, const RasterFont& font, const GlyphRun& run,
                   Point base, double angle, double metric_scale, bool smoothed, const PaletteEntry* smooth_color) {
  for (size_t g = 0; g < run.glyphs.size(); ++g) {
    const int32_t gx = base.x + run.pens.pens[g].x;
    const int32_t gy = base.y + run.pens.pens[g].y;
    std::shared_ptr<const GlyphBitmap> rendered = run.glyphs[g];
    if (rendered == nullptr) {
      if (!PlacedGlyphMatters(target, font, run.indices[g], smoothed, gx, gy)) continue;
      rendered = font.GlyphByIndex(run.indices[g], smoothed);
    }
    if (rendered->withheld && !rendered->IsEmpty()) {
      // Too large to keep whole: only what the clip can show is rasterised.
      const GlyphBitmap& whole = *rendered;
      const Rect clip = painter.ClipBounds();
      const int64_t x0 = int64_t(gx) + whole.left, y0 = int64_t(gy) - whole.top;
      const auto inside = [](int64_t v, int32_t size) { return int32_t(std::clamp<int64_t>(v, 0, size)); };
      const Rect window{inside(clip.left - x0, whole.width), inside(clip.top - y0, whole.height),
                        inside(clip.right - x0, whole.width), inside(clip.bottom - y0, whole.height)};
      rendered = font.GlyphPartByIndex(run.indices[g], smoothed, window);
    }
    const GlyphBitmap& glyph = *rendered;
    if (glyph.IsEmpty()) continue;
    if (smooth_color != nullptr) {
      painter.BlendMask(gx + glyph.left, gy - glyph.top, glyph.width, glyph.height, glyph.pixels.data(), *smooth_color);
    } else {
      painter.FillMask(gx + glyph.left, gy - glyph.top, glyph.width, glyph.height, glyph.pixels.data());
    }
  }
  if (angle != 0) return;
  // metric_scale: device pixels per pixel of a font sized in logical units.
  const auto rule = [&](int32_t offset_down, int32_t thickness) {
    const int32_t left = base.x, right = base.x + run.pens.extent.x;
    const int32_t top = base.y + RoundDevice(offset_down * metric_scale);
    painter.FillRegion(Region::FromRect({left, top, right, top + std::max(RoundDevice(thickness * metric_scale), 1)}));
  };
  if (font.Underline()) rule(font.UnderlinePosition(), font.UnderlineThickness());
  if (font.StrikeOut()) rule(-font.StrikeoutPosition(), font.StrikeoutThickness());
}

}  // namespace

void TDeviceContext::ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                                const std::vector<int32_t>& dx) {
  const XForm x = LogicalToDevice();
  const bool update_cp = (state_.text_align & TA_UPDATECP) != 0;
  if (update_cp) origin = state_.current_position;

  // Inside a path bracket the glyphs' outlines join the path and nothing
  // is painted: neither the opaque box nor the background.
  const bool to_path = state_.path_open;
  Region clip = to_path ? Region() : EffectiveClip();
  Rect box;
  const bool has_box = !to_path && rect != nullptr && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  if (has_box) {
    box = DeviceRectOf(*rect);
    if (options & ETO_OPAQUE) {
      DevicePainter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.bk_color))
          .FillRegion(Region::FromRect(box));
    }
    if (options & ETO_CLIPPED) clip = clip.Intersect(Region::FromRect(box));
  }
  if (text.empty()) return;

  // The font's size in device pixels through the current transform.
  const bool advanced = state_.graphics_mode == GM_ADVANCED;
  const DeviceFontSize size = ChooseDeviceFontSize(state_.font, x, advanced);
  const std::shared_ptr<const RasterFont> font =
      GetRasterFont(size.font, size.height, size.width, size.outline_transform ? &size.transform : nullptr);
  if (!font) return;

  // Baseline direction (counter-clockwise on screen) and "down" from it.
  double angle = font->Escapement() * M_PI / 1800.0;
  if (size.outline_transform) {
    const double e = state_.font.escapement * M_PI / 1800.0;
    const PointF along = Apply(size.transform, {std::cos(e), -std::sin(e)});
    angle = std::atan2(-along.y, along.x);
  }
  const double ux = std::sin(angle), uy = std::cos(angle);
  const bool rotating = x.m12 != 0 || x.m21 != 0;

  // True-colour surfaces draw glyphs smoothed, palette surfaces bilevel.
  const bool smoothed = target_->BitsPerPixel() >= 16 && font->AllowsSmoothing();
  // A target that shows only change gets its glyphs rendered as they are painted, if they can matter.
  const GlyphRun run = LayOutGlyphs(*font, text, options, dx, x, size.baseline_escapement, !advanced,
                                    {state_.char_extra, state_.break_extra, state_.break_count}, smoothed,
                                    !to_path && !target_->ShowsOnlyChange());
  const Point extent = run.pens.extent;

  // Positions are whole pixels from the rounded reference point.
  const Point ref = RoundPoint(Apply(x, {double(origin.x), double(origin.y)}));
  Point base = ref;
  switch (state_.text_align & TA_CENTER) {
    case TA_RIGHT: base = {ref.x - extent.x, ref.y - extent.y}; break;
    case TA_CENTER: base = {ref.x - extent.x / 2, ref.y - extent.y / 2}; break;
    default: break;
  }
  // The context reports ascent and descent in logical units; they come back
  // to device pixels rounded.
  const auto device_height = [&](int32_t font_pixels) {
    if (size.outline_transform) return std::abs(DeviceOffsetOf(x, {0, double(font_pixels)}, false).y);
    return rotating ? font_pixels : RoundTripHeight(x, font_pixels);
  };
  const int32_t ascent = device_height(font->Ascent());
  const int32_t descent = device_height(font->Descent());
  double down = 0;  // from the reference point to the baseline
  switch (VerticalAlignOf(state_.text_align)) {
    case VerticalTextAlign::Baseline: down = 0; break;
    case VerticalTextAlign::Bottom: down = -descent; break;
    case VerticalTextAlign::Top: down = ascent; break;
  }
  if (down != 0) base = {int32_t(base.x + down * ux), int32_t(base.y + down * uy)};

  // An opaque background fills the text's cell too, unless an opaque box
  // that also clips covers it, or the text lies inside the opaque box.
  const Rect cell{base.x, base.y - ascent, base.x + extent.x, base.y + descent};
  const bool opaque_box = has_box && (options & ETO_OPAQUE);
  const bool inside_box = opaque_box && cell.left >= box.left && cell.right < box.right && cell.top >= box.top &&
                          cell.bottom < box.bottom;
  if (!to_path && state_.bk_mode == OPAQUE && angle == 0 && !(opaque_box && (options & ETO_CLIPPED)) && !inside_box) {
    DevicePainter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.bk_color)).FillRegion(Region::FromRect(cell));
  }

  if (to_path) {
    for (size_t g = 0; g < run.indices.size(); ++g) {
      const Point pen{base.x + run.pens.pens[g].x, base.y + run.pens.pens[g].y};
      PathAddOutline(font->OutlineByIndex(run.indices[g], kHintedPathOutlines), pen);
    }
  } else {
    DevicePainter painter(*target_, clip, R2_COPYPEN, Paint::Solid(state_.text_color));
    const PaletteEntry text_color = target_->ColorOfPixel(target_->PixelOfColor(state_.text_color));
    PaintGlyphRun(painter, *target_, *font, run, base, angle, size.metric_scale, smoothed,
                  smoothed ? &text_color : nullptr);
  }

  if (update_cp) {
    XForm inverse;
    if (Invert(x, inverse)) {
      // Right-aligned text leaves the position at its left end.
      const bool right = (state_.text_align & TA_CENTER) == TA_RIGHT;
      const Point end = right ? Point{ref.x - extent.x, ref.y - extent.y} : Point{ref.x + extent.x, ref.y + extent.y};
      state_.current_position = RoundPoint(Apply(inverse, {double(end.x), double(end.y)}));
    }
  }
}

namespace {

// The font a context draws its selected font with through transform x.
std::shared_ptr<const RasterFont> RealizedFont(const LogFont& logical, const XForm& x, bool advanced) {
  const DeviceFontSize size = ChooseDeviceFontSize(logical, x, advanced);
  return GetRasterFont(size.font, size.height, size.width, size.outline_transform ? &size.transform : nullptr);
}

}  // namespace

TDeviceContext::LogicalFontMetrics TDeviceContext::FontMetrics() const {
  const XForm x = LogicalToDevice();
  const std::shared_ptr<const RasterFont> font = RealizedFont(state_.font, x, state_.graphics_mode == GM_ADVANCED);
  XForm inverse;
  if (!font || !Invert(x, inverse)) return {};
  const double to_logical = std::hypot(inverse.m21, inverse.m22);
  return {std::abs(RoundDevice(font->Height() * to_logical)), std::abs(RoundDevice(font->Descent() * to_logical))};
}

std::vector<int32_t> TDeviceContext::CharacterExtents(const std::u16string& text) const {
  std::vector<int32_t> extents(text.size(), 0);
  if (text.empty()) return extents;
  const XForm x = LogicalToDevice();
  const std::shared_ptr<const RasterFont> font = RealizedFont(state_.font, x, state_.graphics_mode == GM_ADVANCED);
  XForm inverse;
  if (!font || !Invert(x, inverse)) return extents;
  const double to_logical = std::hypot(inverse.m11, inverse.m12);
  // Justification is kept in device pixels: a break measured alone gets its
  // even share and one of the pixels left over.
  int64_t break_share = 0;
  if (state_.break_count > 0) {
    const int64_t device_extra = std::abs(int64_t(RoundDevice(state_.break_extra * std::hypot(x.m11, x.m12))));
    break_share = device_extra / state_.break_count + (device_extra % state_.break_count != 0 ? 1 : 0);
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const Point advance = font->Advance(text[i]);
    double device = advance.y == 0 ? double(advance.x) : std::round(std::hypot(double(advance.x), double(advance.y)));
    if (text[i] == u' ') device += double(break_share);
    extents[i] = std::abs(RoundDevice(device * to_logical)) + state_.char_extra;
  }
  return extents;
}

}  // namespace vx::gdi
