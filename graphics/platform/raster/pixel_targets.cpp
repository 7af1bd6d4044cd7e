#include "graphics/platform/raster/pixel_targets.h"

#include <algorithm>

#include "graphics/platform/raster/format_target.h"
#include "graphics/platform/raster/gradient_fill.h"
#include "graphics/platform/raster/halftone_image_lookup.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/hatch.h"

namespace vx::gdi {

namespace {

class NullTarget final : public PixelTarget {
public:
  int32_t Width() const override { return 0; }
  int32_t Height() const override { return 0; }
  int BitsPerPixel() const override { return 0; }
  uint32_t PixelOfColor(ColorRef) const override { return 0; }
  uint32_t PixelOfImageColor(PaletteEntry) const override { return 0; }
  uint32_t PixelOfTableColor(PaletteEntry) const override { return 0; }
  PaletteEntry ColorOfPixel(uint32_t) const override { return {}; }
  bool SharesPixelFormat(const DibImage&) const override { return false; }
  void PixelsOfImageColors(const PaletteEntry*, size_t count, uint32_t* out) const override {
    std::fill(out, out + count, 0u);
  }
  uint32_t PixelAt(int32_t, int32_t) const override { return 0; }
  void FillRun(int32_t, int32_t, int32_t, int, const PixelPaint&) override {}
  void BlitRun(int32_t, int32_t, int32_t, uint8_t, const PaletteEntry*, const uint8_t*, const PixelPaint&) override {}
  void BlitPixelRun(int32_t, int32_t, int32_t, uint8_t, const uint32_t*, const uint8_t*, const PixelPaint&) override {}
  void BlendRun(int32_t, int32_t, int32_t, const BlendPixel*, bool) override {}
  void GradientRun(int32_t, int32_t, int32_t, const GradientColor*) override {}
  void CoverageRun(int32_t, int32_t, int32_t, const uint8_t*, PaletteEntry) override {}
};

// Default masks of 16 bits (5-5-5) and 32 bits (8-8-8) without bit fields.
constexpr uint32_t k555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t k888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

}  // namespace

bool PixelPaint::At(int32_t x, int32_t y, uint32_t& out) const {
  x -= origin.x;
  y -= origin.y;
  switch (kind) {
    case Paint::Kind::Solid:
      out = pixel;
      return true;
    case Paint::Kind::Hatch:
      if (HatchCovers(hatch, x, y)) {
        out = pixel;
        return true;
      }
      out = background;
      return opaque;
    case Paint::Kind::Pattern: {
      if (pattern_width <= 0 || pattern_height <= 0) return false;
      const int32_t px = ((x % pattern_width) + pattern_width) % pattern_width;
      const int32_t py = ((y % pattern_height) + pattern_height) % pattern_height;
      out = pattern[size_t(py) * size_t(pattern_width) + size_t(px)];
      return true;
    }
  }
  return false;
}

PixelPaint PixelTarget::Realize(const Paint& paint) const {
  PixelPaint p;
  p.kind = paint.kind;
  p.pixel = PixelOfColor(paint.color);
  p.origin = paint.origin;
  if (paint.kind == Paint::Kind::Hatch) {
    p.hatch = paint.hatch;
    p.background = PixelOfColor(paint.background);
    p.opaque = paint.opaque;
  } else if (paint.kind == Paint::Kind::Pattern) {
    p.pattern_width = paint.pattern_width;
    p.pattern_height = paint.pattern_height;
    p.pattern.reserve(paint.pattern.size());
    for (const PaletteEntry& c : paint.pattern) p.pattern.push_back(PixelOfColor(RGB(c.r, c.g, c.b)));
  }
  return p;
}

PixelTarget& NullPixelTarget() {
  static NullTarget target;
  return target;
}

uint32_t Halftone8Format::PixelOfColor(ColorRef c) const { return NearestHalftoneIndex(c); }
uint32_t Halftone8Format::PixelOfImageColor(PaletteEntry c) const { return ImagePixelHalftoneIndex(c.r, c.g, c.b); }
void Halftone8Format::PixelsOfImageColors(const PaletteEntry* colors, size_t count, uint32_t* out) const {
  ImagePixelHalftoneIndices(colors, count, out);
}
PaletteEntry Halftone8Format::ColorOfPixel(uint32_t v) const { return HalftonePalette()[v & 0xFF]; }
uint32_t Halftone8Format::PixelOfGradient(uint32_t r, uint32_t g, uint32_t b, int32_t x, int32_t y) const {
  return DitheredGradientIndex(r, g, b, x, y);
}

template <int Bytes>
PackedFormat<Bytes>::Field::Field(uint32_t mask) {
  if (mask == 0) return;
  while (!((mask >> shift) & 1)) ++shift;
  while (shift + width < 32 && ((mask >> (shift + width)) & 1)) ++width;
}

template <int Bytes>
uint32_t PackedFormat<Bytes>::Field::Put(uint8_t c) const {
  if (width == 0) return 0;
  const uint32_t bits = width >= 8 ? uint32_t(c) << (width - 8) : uint32_t(c) >> (8 - width);
  return bits << shift;
}

template <int Bytes>
uint8_t PackedFormat<Bytes>::Field::Get(uint32_t v) const {
  if (width == 0) return 0;
  const uint32_t bits = (v >> shift) & ((width >= 32 ? 0 : (1u << width)) - 1);
  if (width >= 8) return uint8_t(bits >> (width - 8));
  uint32_t c = bits << (8 - width);
  for (int filled = width; filled < 8; filled += width) c |= c >> width;
  return uint8_t(c);
}

template struct PackedFormat<2>;
template struct PackedFormat<4>;

bool IsHalftoneTable(const std::vector<PaletteEntry>& table) {
  const PaletteEntry* h = HalftonePalette();
  return table.size() == 256 && std::equal(table.begin(), table.end(), h, [](const PaletteEntry& a, const PaletteEntry& b) {
           return a.r == b.r && a.g == b.g && a.b == b.b;
         });
}

std::unique_ptr<PixelTarget> MakeHalftoneTarget(const PixelSurface8& surface) {
  if (surface.IsEmpty()) return nullptr;
  const PixelRows rows{surface.width, surface.height, surface.stride, false, surface.bits};
  return std::make_unique<FormatTarget<Halftone8Format>>(rows, Halftone8Format{});
}

std::unique_ptr<PixelTarget> MakePixelTarget(const PixelLayout& layout) {
  const PixelRows& rows = layout.rows;
  if (rows.IsEmpty()) return nullptr;
  const uint32_t* masks = layout.has_masks ? layout.masks : layout.bit_count == 16 ? k555 : k888;
  switch (layout.bit_count) {
    case 1: return std::make_unique<FormatTarget<IndexedFormat<1>>>(rows, IndexedFormat<1>(layout.colors));
    case 4: return std::make_unique<FormatTarget<IndexedFormat<4>>>(rows, IndexedFormat<4>(layout.colors));
    case 8:
      if (IsHalftoneTable(layout.colors)) return std::make_unique<FormatTarget<Halftone8Format>>(rows, Halftone8Format{});
      return std::make_unique<FormatTarget<IndexedFormat<8>>>(rows, IndexedFormat<8>(layout.colors));
    case 16:
      return std::make_unique<FormatTarget<PackedFormat<2>>>(rows, PackedFormat<2>(masks[0], masks[1], masks[2]));
    case 24: return std::make_unique<FormatTarget<Rgb24Format>>(rows, Rgb24Format{});
    case 32:
      return std::make_unique<FormatTarget<PackedFormat<4>>>(
          rows, PackedFormat<4>(masks[0], masks[1], masks[2], !layout.has_masks));
    default: return nullptr;
  }
}

}  // namespace vx::gdi
