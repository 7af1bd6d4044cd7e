// The drawing verbs of a pixel target written once for every format: a
// FormatTarget<Format> walks runs and leaves loading, storing and colour
// conversion to its Format (pixel_formats.h).
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/low_bytes.h"
#include "graphics/platform/raster/pixel_formats.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/rop.h"
#include "graphics/platform/raster/text_smoothing.h"

namespace vx::gdi {

// One channel of a premultiplied source over the destination.
inline uint8_t BlendOver(uint8_t s, uint8_t d, uint8_t alpha) {
  return uint8_t(std::min<uint32_t>(255, s + (uint32_t(d) * (255 - alpha) + 127) / 255));
}
// x / 255 rounded, at most 255.
inline uint8_t Div255(uint32_t v) { return uint8_t(std::min<uint32_t>(255, (v + 127) / 255)); }
// One channel of a constant-alpha blend.
inline uint8_t BlendMix(uint8_t s, uint8_t d, uint8_t alpha) {
  return Div255(uint32_t(s) * alpha + uint32_t(d) * (255 - alpha));
}

// Formats that may keep an alpha byte beside their colour channels.
template <class Format>
concept MayHaveAlphaByte = requires(const Format& f) { f.alpha_byte; };

template <class Format>
class FormatTarget final : public PixelTarget {
public:
  FormatTarget(const PixelRows& rows, Format format) : rows_(rows), format_(std::move(format)) {}

  int32_t Width() const override { return rows_.width; }
  int32_t Height() const override { return rows_.height; }
  int BitsPerPixel() const override { return Format::kBitsPerPixel; }

  uint32_t PixelOfColor(ColorRef color) const override { return format_.PixelOfColor(color); }
  uint32_t PixelOfImageColor(PaletteEntry color) const override { return format_.PixelOfImageColor(color); }
  uint32_t PixelOfTableColor(PaletteEntry color) const override { return format_.PixelOfTableColor(color); }
  PaletteEntry ColorOfPixel(uint32_t pixel) const override { return format_.ColorOfPixel(pixel & Format::kMask); }
  uint32_t PixelAt(int32_t x, int32_t y) const override { return Format::Load(rows_.Row(y), x); }
  void PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const override {
    if constexpr (requires { format_.PixelsOfImageColors(colors, count, out); }) {
      format_.PixelsOfImageColors(colors, count, out);
    } else {
      for (size_t i = 0; i < count; ++i) out[i] = format_.PixelOfImageColor(colors[i]);
    }
  }

  void FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) override {
    uint8_t* row = rows_.Row(y);
    if (paint.IsSolid() && rop2 == R2_COPYPEN) {
      if constexpr (Format::kBitsPerPixel == 8) {
        std::fill(row + x0, row + x1, uint8_t(paint.pixel));
      } else {
        for (int32_t x = x0; x < x1; ++x) Format::Store(row, x, paint.pixel);
      }
      return;
    }
    for (int32_t x = x0; x < x1; ++x) {
      uint32_t source;
      if (!paint.At(x, y, source)) continue;
      Format::Store(row, x, ApplyRop2(rop2, source, Format::Load(row, x)) & Format::kMask);
    }
  }

  bool SharesPixelFormat(const DibImage& image) const override { return format_.SharesFormatOf(image); }

  void BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source, const uint8_t* skip,
               const PixelPaint& pattern) override {
    Blit(y, x0, x1, code, skip, pattern, source != nullptr, [&](int32_t i) { return format_.PixelOfImageColor(source[i]); });
  }

  void BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source, const uint8_t* skip,
                    const PixelPaint& pattern) override {
    uint8_t* row = rows_.Row(y);
    if (code == uint8_t(SRCCOPY >> 16) && source != nullptr && skip == nullptr) {
      if constexpr (Format::kBitsPerPixel == 8) {
        StoreLowBytes(source, size_t(x1 - x0), row + x0);
      } else {
        for (int32_t x = x0; x < x1; ++x) Format::Store(row, x, source[x - x0]);
      }
      return;
    }
    Blit(y, x0, x1, code, skip, pattern, source != nullptr, [&](int32_t i) { return source[i] & Format::kMask; });
  }

  void BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) override {
    uint8_t* row = rows_.Row(y);
    for (int32_t x = x0; x < x1; ++x) {
      const BlendPixel& s = source[x - x0];
      if (!s.present) continue;
      const uint32_t old = Format::Load(row, x);
      const PaletteEntry d = format_.ColorOfPixel(old & Format::kMask);
      const PaletteEntry out =
          premultiplied
              ? PaletteEntry{BlendOver(s.color.r, d.r, s.alpha), BlendOver(s.color.g, d.g, s.alpha),
                             BlendOver(s.color.b, d.b, s.alpha)}
              : PaletteEntry{BlendMix(s.color.r, d.r, s.alpha), BlendMix(s.color.g, d.g, s.alpha),
                             BlendMix(s.color.b, d.b, s.alpha)};
      uint32_t pixel = format_.PixelOfImageColor(out);
      if (HasAlphaByte()) {
        const uint8_t da = uint8_t(old >> 24);
        pixel |= uint32_t(premultiplied ? BlendOver(s.source_alpha, da, s.alpha) : BlendMix(s.source_alpha, da, s.alpha)) << 24;
      }
      Format::Store(row, x, pixel);
    }
  }

  void CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) override {
    uint8_t* row = rows_.Row(y);
    for (int32_t x = x0; x < x1; ++x) {
      const uint8_t level = levels[x - x0];
      if (level <= 1) continue;
      if (level >= kFullCoverage) {
        Format::Store(row, x, format_.PixelOfImageColor(color));
        continue;
      }
      const PaletteEntry d = format_.ColorOfPixel(Format::Load(row, x) & Format::kMask);
      Format::Store(row, x, format_.PixelOfImageColor(SmoothedColor(d, color, level)));
    }
  }

  void GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) override {
    uint8_t* row = rows_.Row(y);
    for (int32_t x = x0; x < x1; ++x) {
      const GradientColor& c = colors[x - x0];
      uint32_t pixel = format_.PixelOfGradient(c.r, c.g, c.b, x, y);
      if (HasAlphaByte()) pixel |= (c.a >> 8) << 24;
      Format::Store(row, x, pixel);
    }
  }

private:
  bool HasAlphaByte() const {
    if constexpr (MayHaveAlphaByte<Format>) return format_.alpha_byte;
    else return false;
  }

  // d = rop3(pattern, source pixel, d), the source pixel of run index i
  // given by source_pixel.
  template <class SourcePixel>
  void Blit(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint8_t* skip, const PixelPaint& pattern,
            bool has_source, SourcePixel&& source_pixel) {
    uint8_t* row = rows_.Row(y);
    const bool uses_pattern = Rop3UsesPattern(code);
    // An operation without the source (the destination kept, say) matches no image colour.
    const bool uses_source = has_source && Rop3UsesSource(code);
    for (int32_t x = x0; x < x1; ++x) {
      const int32_t i = x - x0;
      if (skip != nullptr && skip[i]) continue;
      const uint32_t s = uses_source ? source_pixel(i) : 0;
      uint32_t p = 0;
      if (uses_pattern && !pattern.At(x, y, p)) p = 0;
      Format::Store(row, x, code == uint8_t(SRCCOPY >> 16) ? s : ApplyRop3(code, p, s, Format::Load(row, x)) & Format::kMask);
    }
  }

  PixelRows rows_;
  Format format_;
};

}  // namespace vx::gdi
