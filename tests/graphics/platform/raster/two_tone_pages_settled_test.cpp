// What the two-tone pages leave out once pixels hold one value on both pages
// (Settled) never changes what they tell: checked against two plain pages
// drawn with every run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/two_tone_pages.h"
#include "support/plain_page_pair.h"

namespace vx::gdi {
namespace {

TEST(TwoTonePagesSettled, GrowsOnlyByPixelsAlikeOnBothPages) {
  TwoTonePages pages(64, 40);
  EXPECT_TRUE(pages.ShowsOnlyChange());
  const PixelPaint red = PixelPaint::Solid(pages.PixelOfColor(RGB(255, 0, 0)));
  // XOR changes both pages but keeps them apart; NOP changes nothing.
  pages.FillRun(30, 0, 64, R2_XORPEN, red);
  pages.FillRun(31, 0, 64, R2_NOP, red);
  EXPECT_TRUE(pages.Settled().IsEmpty());
  pages.FillRun(6, 3, 20, R2_COPYPEN, red);
  EXPECT_EQ(pages.Settled(), (Rect{0, 0, 20, 7}));
  // A copy over the XORed row settles it too; further left, only the bottom grows.
  pages.FillRun(30, 2, 5, R2_COPYPEN, red);
  EXPECT_EQ(pages.Settled(), (Rect{0, 0, 20, 31}));
  // Black with MERGEPEN leaves the dark page and the light one apart.
  pages.FillRun(35, 40, 50, R2_MERGEPEN, PixelPaint::Solid(pages.PixelOfColor(RGB(0, 0, 0))));
  EXPECT_EQ(pages.Settled(), (Rect{0, 0, 20, 31}));
  EXPECT_EQ(pages.LastChanged(), (Point{63, 30}));
}

TEST(TwoTonePagesSettled, RunsAreCutToWhatLiesOutside) {
  TwoTonePages pages(64, 40);
  const uint32_t red = pages.PixelOfColor(RGB(255, 0, 0)), blue = pages.PixelOfColor(RGB(0, 0, 255));
  pages.FillRun(10, 0, 30, R2_COPYPEN, PixelPaint::Solid(red));
  // Inside the settled box nothing is written; across its edge only the part outside.
  pages.FillRun(4, 5, 25, R2_COPYPEN, PixelPaint::Solid(blue));
  pages.FillRun(10, 20, 40, R2_COPYPEN, PixelPaint::Solid(blue));
  EXPECT_EQ(pages.PixelAt(10, 4), uint32_t(TwoTonePages::kDark));
  EXPECT_EQ(pages.PixelAt(25, 10), red);
  EXPECT_EQ(pages.PixelAt(30, 10), blue);
  const std::vector<uint32_t> source(10, blue);
  pages.BlitPixelRun(8, 35, 45, 0xCC, source.data(), nullptr, PixelPaint::Solid(0));
  EXPECT_EQ(pages.PixelAt(39, 8), uint32_t(TwoTonePages::kDark));
  EXPECT_EQ(pages.PixelAt(44, 8), blue);
  EXPECT_EQ(pages.Settled(), (Rect{0, 0, 45, 11}));
  EXPECT_EQ(pages.LastChanged(), (Point{44, 10}));
}

// Runs of every kind with every operation, many undone by the same run
// again (XOR twice, NOT twice), at random over a small page.
TEST(TwoTonePagesSettled, TellsWhatPlainPagesTell) {
  std::mt19937 random(20261210);
  const auto pick = [&](int32_t n) { return int32_t(random() % uint32_t(n)); };
  for (int trial = 0; trial < 60; ++trial) {
    TwoTonePages pages(48, 32);
    test::PlainPagePair plain(48, 32);
    const std::vector<PixelTarget*> both = {&pages, &plain};
    for (int step = 0; step < 40; ++step) {
      const int32_t y = pick(32), x0 = pick(48);
      const int32_t x1 = x0 + 1 + pick(48 - x0);
      const uint32_t pixel = pages.PixelOfColor(RGB(pick(256), pick(256), pick(256)));
      const size_t n = size_t(x1 - x0);
      std::vector<uint32_t> source(n);
      std::vector<uint8_t> skip(n), levels(n);
      for (size_t i = 0; i < n; ++i) {
        source[i] = uint32_t(pick(256));
        skip[i] = pick(4) == 0;
        levels[i] = uint8_t(pick(17));
      }
      const int kind = pick(5);
      const int rop2 = 1 + pick(16);
      const uint8_t code = uint8_t(pick(256));
      const int inverting = pick(2) ? R2_XORPEN : R2_NOT;
      const int repeats = pick(3) == 0 ? 2 : 1;  // the same run again undoes XOR and NOT
      for (int r = 0; r < repeats; ++r) {
        for (PixelTarget* t : both) {
          switch (kind) {
            case 0: t->FillRun(y, x0, x1, rop2, PixelPaint::Solid(pixel)); break;
            case 1: t->FillRun(y, x0, x1, inverting, PixelPaint::Solid(pixel)); break;
            case 2: t->BlitPixelRun(y, x0, x1, code, source.data(), skip.data(), PixelPaint::Solid(pixel)); break;
            case 3: t->BlitPixelRun(y, x0, x1, 0x66, source.data(), nullptr, PixelPaint::Solid(0)); break;  // SRCINVERT
            default: t->CoverageRun(y, x0, x1, levels.data(), PaletteEntry{0, 128, 255}); break;
          }
        }
      }
      ASSERT_EQ(pages.LastChanged(), plain.LastChanged()) << "trial " << trial << " step " << step;
    }
  }
}

}  // namespace
}  // namespace vx::gdi
