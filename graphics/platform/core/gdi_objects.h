// Logical drawing objects (pens, brushes, fonts), the world transform and the
// GDI constants that select their behaviour. Plain values: a device context
// keeps copies, never handles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/platform/core/charset.h"
#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// Pen styles (low nibble), end caps, joins and pen type.
enum : uint32_t {
  PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
  PS_NULL = 5, PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8,
  PS_STYLE_MASK = 0x0000000F,
  PS_ENDCAP_ROUND = 0x00000000, PS_ENDCAP_SQUARE = 0x00000100, PS_ENDCAP_FLAT = 0x00000200,
  PS_ENDCAP_MASK = 0x00000F00,
  PS_JOIN_ROUND = 0x00000000, PS_JOIN_BEVEL = 0x00001000, PS_JOIN_MITER = 0x00002000,
  PS_JOIN_MASK = 0x0000F000,
  PS_COSMETIC = 0x00000000, PS_GEOMETRIC = 0x00010000, PS_TYPE_MASK = 0x000F0000,
};

// Brush styles and hatches.
enum : uint32_t {
  BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_INDEXED = 4,
  BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6, BS_PATTERN8X8 = 7, BS_DIBPATTERN8X8 = 8,
};
enum : uint32_t {
  HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3,
  HS_CROSS = 4, HS_DIAGCROSS = 5,
};

// Binary raster operations (SetROP2).
enum : int {
  R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT,
  R2_XORPEN, R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN,
  R2_COPYPEN, R2_MERGEPENNOT, R2_MERGEPEN, R2_WHITE,
};

// Ternary raster operations used by blits.
enum : uint32_t {
  SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
  SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
  NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226,
  PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
  DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062,
};

enum : int { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS,
             MM_ISOTROPIC, MM_ANISOTROPIC };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { ALTERNATE = 1, WINDING = 2 };
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : int { MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { GM_COMPATIBLE = 1, GM_ADVANCED = 2 };
enum : int { AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2 };

// Text alignment flags.
enum : uint32_t {
  TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
  TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256,
};
// Where the reference point sits vertically. Only the top, bottom and
// baseline values move the text; the 0x10 bit on its own leaves it on its
// baseline, like TA_BASELINE.
enum class VerticalTextAlign { Top, Bottom, Baseline };
inline VerticalTextAlign VerticalAlignOf(uint32_t text_align) {
  switch (text_align & TA_BASELINE) {
    case TA_TOP: return VerticalTextAlign::Top;
    case TA_BOTTOM: return VerticalTextAlign::Bottom;
    default: return VerticalTextAlign::Baseline;
  }
}
enum : uint32_t { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_GLYPH_INDEX = 0x10, ETO_PDY = 0x2000 };

// Stock object indices (the low bits of 0x80000000 | index in metafiles).
enum : uint32_t {
  WHITE_BRUSH = 0, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH,
  WHITE_PEN, BLACK_PEN, NULL_PEN, OEM_FIXED_FONT = 10, ANSI_FIXED_FONT, ANSI_VAR_FONT,
  SYSTEM_FONT, DEVICE_DEFAULT_FONT, DEFAULT_PALETTE, SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT,
  DC_BRUSH, DC_PEN,
};

struct LogBrush {
  uint32_t style = BS_SOLID;
  ColorRef color = RGB(255, 255, 255);
  uint32_t hatch = 0;
  // BS_DIBPATTERN(PT): the pattern image (shared, immutable).
  std::shared_ptr<const DibImage> pattern;
};

// The most on/off entries a user-styled pen may have.
inline constexpr uint32_t kMaxPenStyleEntries = 16;

struct LogPen {
  uint32_t style = PS_SOLID;  // style | end cap | join | type
  int32_t width = 0;          // logical units; 0 = one pixel
  ColorRef color = RGB(0, 0, 0);
  LogBrush brush;             // the fill of a geometric pen (solid colour by default)
  bool extended = false;      // created by ExtCreatePen (geometric widths keep flat styles)
  std::vector<uint32_t> style_entries;  // PS_USERSTYLE: on/off lengths (device pixels; style units when cosmetic)
};

struct LogFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;   // tenths of a degree
  int32_t orientation = 0;
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  uint8_t char_set = kDefaultCharset;
  uint8_t out_precision = 0;
  uint8_t clip_precision = 0;
  uint8_t quality = 0;
  uint8_t pitch_and_family = 0;
  std::u16string face_name;
};

// x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct XForm {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  friend bool operator==(const XForm&, const XForm&) = default;
};

// The transform that applies a, then b.
XForm Combine(const XForm& a, const XForm& b);
bool Invert(const XForm& x, XForm& inverse);

struct PointF {
  double x = 0;
  double y = 0;
};
inline PointF Apply(const XForm& x, PointF p) {
  return {p.x * x.m11 + p.y * x.m21 + x.dx, p.x * x.m12 + p.y * x.m22 + x.dy};
}

}  // namespace vx::gdi
