// The halftone tables written at build time agree with the nearest-colour rule
// worked out here at run time, entry by entry.
#include <gtest/gtest.h>

#include "graphics/platform/raster/halftone_gradient_levels.h"
#include "graphics/platform/raster/halftone_image_lookup.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {
namespace {

TEST(HalftoneImageLookup, EveryReducedColourMatchesNearestPaletteEntry) {
  const PaletteEntry* palette = HalftonePalette();
  int mismatches = 0;
  for (int r = 0; r < 256; r += 8) {
    for (int g = 0; g < 256; g += 8) {
      for (int b = 0; b < 256; b += 8) {
        const uint8_t expected = NearestColorIndex(palette, 256, ReducedImageChannel(uint8_t(r)),
                                                   ReducedImageChannel(uint8_t(g)), ReducedImageChannel(uint8_t(b)));
        if (ImagePixelHalftoneIndex(uint8_t(r), uint8_t(g), uint8_t(b)) != expected) ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(HalftoneImageLookup, LowBitsOfAChannelDoNotChangeTheAnswer) {
  for (int c = 0; c < 256; ++c) {
    const uint8_t v = uint8_t(c);
    EXPECT_EQ(ImagePixelHalftoneIndex(v, uint8_t(255 - c), uint8_t(c * 7)),
              NearestHalftoneIndexForImagePixel(v, uint8_t(255 - c), uint8_t(c * 7)))
        << "channel value " << c;
  }
}

TEST(HalftoneImageLookup, PrimaryColoursFindTheirOwnEntries) {
  EXPECT_EQ(ImagePixelHalftoneIndex(0, 0, 0), 0);
  EXPECT_EQ(ImagePixelHalftoneIndex(255, 255, 255), 255);
  EXPECT_EQ(ImagePixelHalftoneIndex(255, 0, 0), 249);
  EXPECT_EQ(ImagePixelHalftoneIndex(0, 0, 255), 252);
}

TEST(HalftoneGradientLevels, EachLevelColourMatchesNearestPaletteEntry) {
  for (int r = 0; r < 3; ++r)
    for (int g = 0; g < 3; ++g)
      for (int b = 0; b < 3; ++b)
        EXPECT_EQ(HalftoneGradientLevelIndex(r, g, b),
                  NearestHalftoneIndex(uint8_t(r * 127), uint8_t(g * 127), uint8_t(b * 127)))
            << r << "," << g << "," << b;
}

}  // namespace
}  // namespace vx::gdi
