// Text on a true-colour page is smoothed (grey levels blended between text
// and background colour) while an 8-bit page keeps bilevel glyphs. The grey
// values and points were checked against the reference renderer drawing
// samples/text.emf into a 24-bit DIB section and onto its 8-bit page.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {
namespace {

struct GreyAt {
  int32_t x, y;
  uint8_t level;
};

std::unique_ptr<TBitmap> RenderTextSample(int depth) {
  TMetafile metafile;
  metafile.ReadFromFile(std::string(VXP_SOURCE_DIR) + "/samples/text.emf");
  TConversionOptions options;
  options.depth = depth;
  return RenderMetafile(metafile, 96, options);
}

class SmoothedTextRender : public ::testing::TestWithParam<int> {};

TEST_P(SmoothedTextRender, BlackTextOnWhiteHasTheReferenceGreyLevels) {
  const std::unique_ptr<TBitmap> page = RenderTextSample(GetParam());
  ASSERT_EQ(page->PixelDepth(), GetParam());
  const GreyAt facts[] = {
      {41, 40, 124}, {55, 41, 217}, {56, 44, 77},  {43, 67, 167},  {46, 141, 154}, {46, 178, 189},
      {46, 215, 225}, {40, 289, 178}, {40, 326, 199}, {43, 437, 124}, {64, 474, 77},  {42, 40, 0},
  };
  for (const GreyAt& f : facts) {
    const gdi::PaletteEntry c = page->PixelColor(f.x, f.y);
    EXPECT_EQ(gdi::RGB(c.r, c.g, c.b), gdi::RGB(f.level, f.level, f.level)) << "at " << f.x << ", " << f.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, SmoothedTextRender, ::testing::Values(24, 32));

TEST(SmoothedTextRender, EightBitPageKeepsBilevelGlyphs) {
  const std::unique_ptr<TBitmap> page = RenderTextSample(8);
  ASSERT_EQ(page->PixelDepth(), 8);
  // Through the colour table: a colour read per pixel would decode the bitmap each time.
  const std::vector<gdi::PaletteEntry>& table = page->ColorTable();
  std::set<uint32_t> colours;
  for (int32_t y = 30; y < 500; y += 4) {
    for (int32_t x = 40; x < 790; ++x) {
      const gdi::PaletteEntry c = table.at(page->PixelIndex(x, y));
      colours.insert(gdi::RGB(c.r, c.g, c.b));
    }
  }
  EXPECT_EQ(colours, (std::set<uint32_t>{gdi::RGB(0, 0, 0), gdi::RGB(255, 255, 255)}));
  const gdi::PaletteEntry edge = page->PixelColor(41, 40);  // grey 124 when smoothed
  EXPECT_EQ(gdi::RGB(edge.r, edge.g, edge.b), gdi::RGB(0, 0, 0));
}

}  // namespace
}  // namespace vx
