// The halftone match remembers recent answers; they must be the answers of
// the full search, also for colours that share a memory slot.
#include <gtest/gtest.h>

#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {
namespace {

TEST(NearestHalftoneIndex, RepeatedAndCollidingColoursGetTheFullSearchsAnswer) {
  const PaletteEntry* palette = HalftonePalette();
  int mismatches = 0;
  // Twice over more colours than there are slots: every slot is taken by
  // several colours in turn, and the second pass asks what the first did.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 5000; ++i) {
      const uint8_t r = uint8_t(i * 53), g = uint8_t(i * 29 + pass), b = uint8_t(i * 7);
      if (NearestHalftoneIndex(r, g, b) != NearestColorIndex(palette, 256, r, g, b)) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(NearestHalftoneIndex, KnownColoursFindTheirEntries) {
  EXPECT_EQ(NearestHalftoneIndex(RGB(0, 0, 0)), 0);
  EXPECT_EQ(NearestHalftoneIndex(RGB(255, 255, 255)), 255);
  EXPECT_EQ(NearestHalftoneIndex(RGB(0, 0, 0)), 0);  // asked again: the remembered answer
  const PaletteEntry red = HalftonePalette()[NearestHalftoneIndex(255, 0, 0)];
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.g, 0);
  EXPECT_EQ(red.b, 0);
}

}  // namespace
}  // namespace vx::gdi
