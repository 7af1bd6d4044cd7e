// Smoothed text of samples/text2.emf (faces mapped to DejaVu Sans, Carlito
// and Caladea, bold, coloured text, opaque backgrounds, font qualities) on
// true-colour pages. Every colour below was read off the reference renderer
// drawing the sample into a 24-bit DIB section at the same resolution.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"
#include "graphics/platform/raster/text_smoothing.h"

namespace vx {
namespace {

struct ColourAt {
  int32_t x, y;
  uint8_t r, g, b;
};

std::unique_ptr<TBitmap> RenderSample(int32_t resolution, int depth) {
  TMetafile metafile;
  metafile.ReadFromFile(std::string(VXP_SOURCE_DIR) + "/samples/text2.emf");
  TConversionOptions options;
  options.depth = depth;
  return RenderMetafile(metafile, resolution, options);
}

void ExpectColours(TBitmap& page, std::initializer_list<ColourAt> facts) {
  for (const ColourAt& f : facts) {
    const gdi::PaletteEntry c = page.PixelColor(f.x, f.y);
    EXPECT_EQ(gdi::RGB(c.r, c.g, c.b), gdi::RGB(f.r, f.g, f.b)) << "at " << f.x << ", " << f.y;
  }
}

class SmoothedTextReference : public ::testing::TestWithParam<int> {};

// Grey levels of faces whose gasp table asks for grey at 12 pt, and of bold.
TEST_P(SmoothedTextReference, GreyLevelsOfTheMappedFacesAndOfBold) {
  const std::unique_ptr<TBitmap> page = RenderSample(96, GetParam());
  ExpectColours(*page, {
                           {67, 179, 217, 217, 217},  // Calibri 12 pt
                           {210, 183, 124, 124, 124},
                           {49, 84, 77, 77, 77},      // MS Sans Serif 12 pt
                           {185, 92, 167, 167, 167},
                           {82, 423, 77, 77, 77},     // Arial 12 pt bold
                           {95, 427, 233, 233, 233},
                       });
}

// Three lines in the same face and size (19 pixels, where the gasp table
// allows grey) differ only in the font's quality: non-antialiased stays
// bilevel, antialiased and ClearType are grey; fonts of different quality are
// realised apart.
TEST_P(SmoothedTextReference, NonAntialiasedQualityAloneKeepsBilevelGlyphs) {
  const std::unique_ptr<TBitmap> page = RenderSample(96, GetParam());
  std::set<uint32_t> plain;
  for (int32_t y : {915, 918, 921, 924}) {  // through the line's letters
    for (int32_t x = 40; x < 200; ++x) {
      const gdi::PaletteEntry c = page->PixelColor(x, y);
      plain.insert(gdi::RGB(c.r, c.g, c.b));
    }
  }
  EXPECT_EQ(plain, (std::set<uint32_t>{gdi::RGB(0, 0, 0), gdi::RGB(255, 255, 255)}));
  ExpectColours(*page, {
                           {44, 945, 240, 240, 240},   // antialiased quality
                           {192, 949, 189, 189, 189},
                           {147, 979, 104, 104, 104},  // ClearType quality
                           {66, 984, 167, 167, 167},
                       });
}

INSTANTIATE_TEST_SUITE_P(Depths, SmoothedTextReference, ::testing::Values(24, 32));

// At 300 dpi the coloured lines are grey-levelled: each channel blends the text
// colour over the background, opaque backgrounds included.
TEST(SmoothedTextReference, ColouredTextAndOpaqueBackgroundsAt300Dpi) {
  const std::unique_ptr<TBitmap> page = RenderSample(300, 24);
  ExpectColours(*page, {
                           {1223, 1415, 226, 175, 149},  // RGB(200,100,50) on white
                           {1145, 1425, 233, 193, 173},
                           {1487, 1438, 250, 241, 237},
                           {1767, 1416, 77, 77, 255},    // blue on white
                           {1778, 1444, 240, 240, 255},
                           {492, 1508, 233, 233, 233},   // white on black
                           {158, 1522, 104, 104, 104},
                           {1326, 1508, 124, 124, 0},    // black on yellow
                           {1173, 1524, 140, 140, 0},
                       });
}

// The 256 grey values of a rendered glyph fall into 17 equal bands.
TEST(CoverageLevel, GreyValuesFallIntoSeventeenEqualBands) {
  EXPECT_EQ(gdi::CoverageLevel(0), 0);
  EXPECT_EQ(gdi::CoverageLevel(15), 0);
  EXPECT_EQ(gdi::CoverageLevel(16), 1);
  EXPECT_EQ(gdi::CoverageLevel(128), 8);
  EXPECT_EQ(gdi::CoverageLevel(240), 15);
  EXPECT_EQ(gdi::CoverageLevel(241), 16);
  EXPECT_EQ(gdi::CoverageLevel(255), 16);
}

}  // namespace
}  // namespace vx
