// Test support: bitmaps and the parameters of the blending, masked,
// parallelogram and gradient records, for EmfBuilder::Record.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/blend_types.h"
#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::test {

// A bitmap: BITMAPINFO (40-byte header, colour table) and bottom-up bits.
struct TestBitmap {
  std::vector<uint8_t> info;
  std::vector<uint8_t> bits;
  gdi::DibImage Image() const;
};

// Rows top-down: 32-bit pixels as 0xAARRGGBB.
TestBitmap Bitmap32(int32_t width, const std::vector<std::vector<uint32_t>>& rows);
// Rows top-down: colour-table indices (1, 4 or 8 bits per pixel).
TestBitmap IndexedBitmap(int bits_per_pixel, const std::vector<gdi::PaletteEntry>& colors,
                         const std::vector<std::vector<uint8_t>>& rows);


// EMR_ALPHABLEND / EMR_TRANSPARENTBLT parameters (EMR_STRETCHBLT's layout):
// dest and source as left, top, width, height; operation is the blend
// function or the transparent colour.
std::vector<uint8_t> StretchLikeParameters(const gdi::Rect& dest, uint32_t operation, const gdi::Rect& source,
                                           const TestBitmap& bitmap);
uint32_t PackBlend(const gdi::BlendFunction& blend);

std::vector<uint8_t> MaskBltParameters(const gdi::Rect& dest, uint32_t rop4, gdi::Point source_origin,
                                       const TestBitmap* source, gdi::Point mask_origin, const TestBitmap* mask);
std::vector<uint8_t> PlgBltParameters(const gdi::Point (&corners)[3], const gdi::Rect& source_rect,
                                      const TestBitmap& source, gdi::Point mask_origin, const TestBitmap* mask);
std::vector<uint8_t> GradientFillParameters(const std::vector<gdi::TriVertex>& vertices,
                                            const std::vector<gdi::GradientMesh>& mesh, uint32_t mode);

}  // namespace vx::test
