// Test support: plays an EMF into an 8-bit halftone surface sized as the
// converter sizes it and writes the result as an 8-bit BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/raster/pixel_surface.h"

namespace vx::test {

struct RenderedPage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;  // bottom-up rows, DibStride(width, 8) each
  gdi::PixelSurface8 surface;

  uint8_t At(int32_t x, int32_t y) const { return surface.Row(y)[x]; }
};

// An empty white page of the given size.
RenderedPage WhitePage(int32_t width, int32_t height);

// The page size for an EMF at a resolution, as the converter computes it.
gdi::Size PageSizeFor(const std::vector<uint8_t>& emf, int dpi);

RenderedPage RenderEmf(const std::vector<uint8_t>& emf, int dpi = 96,
                       const gdi::PlaybackOptions& options = {});

void WriteBmp(const RenderedPage& page, const std::string& path);
std::vector<uint8_t> ReadEmfFile(const std::string& path);

}  // namespace vx::test
