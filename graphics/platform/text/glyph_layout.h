// Where ExtTextOut puts each glyph: whole-pixel pen positions from the
// logical advances (the dx array, or the font's widths measured back into
// logical units), mapped the way GDI maps them: every accumulated logical
// position goes through the logical-to-device transform and is rounded on
// its own, so glyphs sit where the rounded points of the text's logical
// layout fall, not at the sum of rounded advances.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// The rounded device offset of a logical vector from the logical origin:
// round(T(v)) - round(T(0)). In the compatible graphics mode (and without
// rotation) a mirrored axis does not turn the text round: the offset keeps
// the sign of the logical vector on that axis.
Point DeviceOffsetOf(const XForm& x, PointF logical, bool compatible_mode);

// A logical font measure (ascent, descent) as the context reports it and
// maps it back: rounded into logical units, then to a whole device length.
int32_t RoundTripHeight(const XForm& x, int32_t device_length);

struct GlyphAdvance {
  bool logical = false;  // the advance came from the dx array
  int32_t dx = 0;        // logical advance (x) when logical
  int32_t dy = 0;        // logical advance upwards (ETO_PDY) when logical
  Point device;          // the glyph's own advance in device pixels otherwise
};

struct TextLayoutRules {
  XForm transform;           // logical to device
  int32_t escapement = 0;    // the LOGFONT's, tenths of a degree, logical space
  bool compatible_mode = true;  // GM_COMPATIBLE: mirrored axes keep text reading forwards
  int32_t char_extra = 0;    // logical units added to every glyph without a dx
  // Glyphs without a dx are measured into logical units and mapped back when
  // the text is spaced or turned (as GDI does); otherwise they advance by
  // their device widths.
  bool measure_device_advances = false;
};

// Pen positions of the glyphs and the pen after the last one, in device
// pixels relative to the rounded reference point. extra_logical: logical
// space added after each glyph (justification), one entry per glyph or none.
struct GlyphPens {
  std::vector<Point> pens;
  Point end;     // the pen after the last glyph
  Point extent;  // the width alignment and the current position go by
};
GlyphPens PlaceGlyphs(const TextLayoutRules& rules, const std::vector<GlyphAdvance>& advances,
                      const std::vector<int32_t>& extra_logical);

}  // namespace vx::gdi
