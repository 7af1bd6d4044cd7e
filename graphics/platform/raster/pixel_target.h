// The one interface between drawing and pixels. A target owns no pixels; it
// writes into the rows of one bitmap of one format and knows how colours
// become pixel values there. Callers clip: every run passed in lies within
// the target (0 <= x0 < x1 <= Width(), 0 <= y < Height()). There is one
// implementation per pixel format (pixel_targets.h) and a null target, so
// drawing code never checks for a missing surface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/paint.h"

namespace vx::gdi {

// A source pixel of an alpha blend: its colour and, for a per-pixel blend,
// its (premultiplied) alpha; absent pixels leave the destination.
struct BlendPixel {
  PaletteEntry color;
  uint8_t alpha = 255;
  // The source's own alpha, which a destination with an alpha byte blends
  // as a channel (255 for sources without one: they are opaque).
  uint8_t source_alpha = 0;
  bool present = false;
};

// A gradient's colour at one pixel, 16 bits per channel.
struct GradientColor {
  uint32_t r = 0;
  uint32_t g = 0;
  uint32_t b = 0;
  uint32_t a = 0;  // written only where the format has an alpha byte
};

class PixelTarget {
public:
  virtual ~PixelTarget() = default;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
  // The part that holds pixels: the whole target, but for a band of a page
  // (band_target.h), whose runs elsewhere are dropped. Clipping drawing to it
  // early changes no pixel.
  virtual Rect HeldBounds() const { return {0, 0, Width(), Height()}; }
  // Whether the target only tells where drawing changed pixels, not what
  // they show (two_tone_pages.h): a pixel written whatever the destination
  // held may then be written in any value, and drawing inside Settled()
  // changes nothing it tells, so it need not be drawn at all.
  virtual bool ShowsOnlyChange() const { return false; }
  // Empty but for such a target.
  virtual Rect Settled() const { return {}; }
  // Bits per pixel of the format (0: no pixels); text is smoothed from 16 up.
  virtual int BitsPerPixel() const = 0;

  // --- colour to pixel -------------------------------------------------
  // A pen, brush, text or background colour.
  virtual uint32_t PixelOfColor(ColorRef color) const = 0;
  // A pixel of an image being copied in (palettes match image pixels at
  // 5 bits per channel).
  virtual uint32_t PixelOfImageColor(PaletteEntry color) const = 0;
  // A colour of an image's colour table: colour tables match it exactly,
  // the halftone page as any image pixel.
  virtual uint32_t PixelOfTableColor(PaletteEntry color) const = 0;
  // The colour a pixel value shows.
  virtual PaletteEntry ColorOfPixel(uint32_t pixel) const = 0;
  // Whether the image's pixel values mean here what they mean in the image
  // (same depth and bit masks, or a colour table showing the same colours at
  // every index): a blit from it then copies pixel values whole, spare bits
  // included, as the platform does between surfaces of one format.
  virtual bool SharesPixelFormat(const DibImage& image) const = 0;
  // A paint's colours as this target's pixels.
  PixelPaint Realize(const Paint& paint) const;
  // PixelOfImageColor of count colours at once.
  virtual void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const = 0;

  // --- writing ---------------------------------------------------------
  // d = rop2(paint, d) over [x0, x1) of row y.
  virtual void FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) = 0;
  // d = rop3(pattern, source, d) over the run; source holds x1 - x0 image
  // colours (nullptr when the operation uses none), skip marks pixels left
  // as they are (nullptr: none); a pattern pixel that is not drawn counts 0.
  virtual void BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source,
                       const uint8_t* skip, const PixelPaint& pattern) = 0;
  // As BlitRun, with source holding x1 - x0 pixel values of this format:
  // from an image that SharesPixelFormat, or matched once per image row
  // (PixelsOfImageColors) when a row shows on several device rows.
  virtual void BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source,
                            const uint8_t* skip, const PixelPaint& pattern) = 0;
  // Image colours over the destination: premultiplied (source + d x (1 - alpha))
  // or, when not, mixed by a constant alpha.
  virtual void BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) = 0;
  // Text colour smoothed over the destination: levels holds x1 - x0
  // coverage levels (0..16, text_smoothing.h); levels 0 and 1 leave the pixel.
  virtual void CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) = 0;
  // A gradient's colours, one per pixel of the run.
  virtual void GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) = 0;
  // The pixel value at x, y (inside the target).
  virtual uint32_t PixelAt(int32_t x, int32_t y) const = 0;
};

// A target of no pixels: 0 x 0, so every clipped drawing call draws nothing.
PixelTarget& NullPixelTarget();

}  // namespace vx::gdi
