// The halftone match remembers recent answers; they must be the answers of
// the full search, also for colours that share a memory slot, and on several
// threads at once.
#include <gtest/gtest.h>

#include <thread>

#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"

namespace vx::gdi {
namespace {

// Mismatches with the plain search over a grid of colours, walked forwards
// then backwards so that remembered colours are met again and displaced.
int MismatchesOverGrid(int step) {
  const PaletteEntry* palette = HalftonePalette();
  int mismatches = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 256; i += step) {
      const int c = pass == 0 ? i : 255 - i;
      for (int g = 0; g < 256; g += step) {
        for (int b = 0; b < 256; b += step) {
          const uint8_t r = uint8_t(c);
          if (NearestHalftoneIndex(r, uint8_t(g), uint8_t(b)) != NearestColorIndex(palette, 256, r, uint8_t(g), uint8_t(b)))
            ++mismatches;
        }
      }
    }
  }
  return mismatches;
}

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

TEST(HalftonePaletteThreads, NearestIndexAgreesOnTwoThreadsAtOnce) {
  int other = -1;
  std::thread helper([&other] { other = MismatchesOverGrid(7); });
  const int mine = MismatchesOverGrid(3);
  helper.join();
  EXPECT_EQ(mine, 0);
  EXPECT_EQ(other, 0);
}

}  // namespace
}  // namespace vx::gdi
