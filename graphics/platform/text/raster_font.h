// A logical font realised for a surface: the face fontconfig resolves for
// the request, scaled the way GDI scales, and glyphs rasterised bilevel (text
// on a palette surface is never antialiased) or, for true-colour surfaces,
// as coverage levels. Fonts are shared and
// immutable to their users; glyphs are rendered on demand and cached.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/text/glyph_outline.h"

namespace vx::gdi {

// One glyph: one byte per pixel, rows top-down; 0 or 1 when bilevel, a
// coverage level 0..16 (text_smoothing.h) when smoothed.
struct GlyphBitmap {
  int32_t left = 0;    // x offset of the bitmap's first column from the pen position
  int32_t top = 0;     // rows above the baseline: first row at y = baseline - top
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height
  // Pen movement in device pixels, y down; a rotated font's advance is a vector.
  int32_t advanceX = 0;
  int32_t advanceY = 0;
  // Too large to keep whole: the place and size are set, the pixels are not,
  // and the parts a draw shows come from RasterFont::GlyphPartByIndex.
  bool withheld = false;

  bool IsEmpty() const { return width <= 0 || height <= 0; }
  uint8_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class RasterFont {
public:
  struct Metrics {   // device pixels, as TEXTMETRIC reports them
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t height = 0;            // ascent + descent
    int32_t internalLeading = 0;   // height - em size
    int32_t externalLeading = 0;
    int32_t aveCharWidth = 0;
    int32_t maxCharWidth = 0;
    int32_t overhang = 0;          // extra width of a synthesised bold face
    // As OUTLINETEXTMETRIC reports them: distance of the line from the
    // baseline (underline below, strike-out above; magnitudes) and thickness.
    int32_t underlinePosition = 0;
    int32_t underlineThickness = 1;
    int32_t strikeoutPosition = 0;
    int32_t strikeoutThickness = 1;
  };

  struct Impl;  // the FreeType face and the scaling chosen for the request
  RasterFont(std::unique_ptr<Impl> impl, const Metrics& metrics, const LogFont& request);
  ~RasterFont();
  RasterFont(const RasterFont&) = delete;
  RasterFont& operator=(const RasterFont&) = delete;

  const Metrics& GetMetrics() const { return metrics_; }
  int32_t Ascent() const { return metrics_.ascent; }
  int32_t Descent() const { return metrics_.descent; }
  int32_t Height() const { return metrics_.height; }
  int32_t InternalLeading() const { return metrics_.internalLeading; }
  int32_t AveCharWidth() const { return metrics_.aveCharWidth; }
  int32_t UnderlinePosition() const { return metrics_.underlinePosition; }
  int32_t UnderlineThickness() const { return metrics_.underlineThickness; }
  int32_t StrikeoutPosition() const { return metrics_.strikeoutPosition; }
  int32_t StrikeoutThickness() const { return metrics_.strikeoutThickness; }

  // The LOGFONT flags the caller draws itself, and the rotation in tenths of
  // a degree (counter-clockwise, as GDI's escapement).
  bool Underline() const { return underline_; }
  bool StrikeOut() const { return strikeOut_; }
  int32_t Escapement() const { return escapement_; }

  // The glyph of one UTF-16 code unit or code point, looked up in the face's
  // character map as GDI does: a character the face lacks (and a lone
  // surrogate) draws the face's missing-glyph box. Never null; the result
  // stays valid while the caller holds it, whatever the cache evicts.
  // smoothed: coverage levels instead of a bilevel mask.
  std::shared_ptr<const GlyphBitmap> Glyph(char32_t ch, bool smoothed = false) const;
  // ETO_GLYPH_INDEX text: glyph indices of the face.
  std::shared_ptr<const GlyphBitmap> GlyphByIndex(uint32_t glyphIndex, bool smoothed = false) const;
  // The pixels of a withheld glyph inside window (columns and rows of its
  // whole bitmap, right and bottom exclusive): a bitmap of that part, placed
  // from the same pen position, the same pixels the whole glyph has there.
  // Rasterised for the call, not cached.
  std::shared_ptr<const GlyphBitmap> GlyphPartByIndex(uint32_t glyphIndex, bool smoothed, const Rect& window) const;
  // A glyph's pen movement (device pixels, y down): exactly the advanceX and
  // advanceY its GlyphBitmap has, found without rasterising it, since
  // measuring text needs no ink. Cached like the glyphs.
  Point Advance(char32_t ch, bool smoothed = false) const;
  Point AdvanceByIndex(uint32_t glyphIndex, bool smoothed = false) const;
  // The pixels a glyph's bitmap covers from its pen position (x right, y
  // down; empty when it has none), as GlyphByIndex would give it, found
  // without rasterising: what is drawn only to see where it lands may
  // leave out glyphs that cannot matter there.
  Rect GlyphBoxByIndex(uint32_t glyphIndex, bool smoothed = false) const;
  // The outline of a glyph (by glyph index) at the realised size, through
  // the font's transform, as ExtTextOut adds it to an open path.
  // hinted: the outline after the face's hinting; else the scaled design outline.
  GlyphOutline OutlineByIndex(uint32_t glyphIndex, bool hinted) const;
  // Whether the request lets glyphs be smoothed on a true-colour surface.
  bool AllowsSmoothing() const { return smoothable_; }
  uint32_t GlyphIndex(char32_t ch) const;

  // The font file used and its family name (diagnostics and tests).
  const std::string& FilePath() const;
  const std::string& FamilyName() const;

private:
  std::unique_ptr<Impl> impl_;
  Metrics metrics_;
  bool underline_ = false;
  bool strikeOut_ = false;
  int32_t escapement_ = 0;
  bool smoothable_ = true;
};

// The realised font for a logical font whose height and width are already in
// device pixels (the caller maps the logical height through its transform),
// with LOGFONT's sign rule: negative = em size, positive = cell height
// (ascent + descent), 0 = the default size. glyphTransform (its 2x2 part,
// device space, y down) is what remains of the logical-to-device transform
// when it is not a plain uniform scale folded into the height; glyph shapes
// and advances go through it. Process-wide cache; the same request gives the
// same object while it stays cached. Never null: a face that cannot be found
// falls back to the default face (or, with no fonts at all, draws nothing).
std::shared_ptr<const RasterFont> GetRasterFont(const LogFont& font, int32_t deviceHeight,
                                                int32_t deviceWidth,
                                                const XForm* glyphTransform = nullptr);

}  // namespace vx::gdi
