// Pages rendered into a true-colour bitmap keep every colour exactly; the
// points and colours were checked against the reference renderer drawing the
// same sample into a 24-bit DIB section.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"

namespace vx {
namespace {

struct ColourAt {
  int32_t x, y;
  uint8_t r, g, b;
};

class TrueColourRender : public ::testing::TestWithParam<int> {};

TEST_P(TrueColourRender, ShapesKeepTheirExactColours) {
  TMetafile metafile;
  metafile.ReadFromFile(std::string(VXP_SOURCE_DIR) + "/samples/shapes.emf");
  TConversionOptions options;
  options.depth = GetParam();
  const std::unique_ptr<TBitmap> page = RenderMetafile(metafile, 96, options);
  ASSERT_EQ(page->PixelDepth(), GetParam());
  EXPECT_EQ(page->PixelWidth(), 794);
  EXPECT_EQ(page->PixelHeight(), 1123);
  EXPECT_TRUE(page->ColorTable().empty());
  const ColourAt facts[] = {
      {42, 42, 255, 0, 0},      {119, 42, 0, 0, 0},       {133, 42, 0, 255, 0},
      {224, 42, 0, 0, 255},     {315, 42, 200, 100, 50},  {490, 42, 192, 192, 192},
      {581, 42, 100, 149, 237}, {672, 42, 128, 0, 128},   {42, 126, 255, 255, 224},
      {112, 224, 255, 200, 200}, {140, 378, 50, 150, 200}, {2, 2, 255, 255, 255},
  };
  for (const ColourAt& f : facts) {
    const gdi::PaletteEntry c = page->PixelColor(f.x, f.y);
    EXPECT_EQ(gdi::RGB(c.r, c.g, c.b), gdi::RGB(f.r, f.g, f.b)) << "at " << f.x << ", " << f.y;
  }
}

// The sample's HALFTONE-stretched picture (x 380..442, y 40..103 at 96 dpi):
// each interpolation step rounds to nearest on a true-colour page.
TEST_P(TrueColourRender, HalftoneStretchedImageHasTheReferenceColours) {
  TMetafile metafile;
  metafile.ReadFromFile(std::string(VXP_SOURCE_DIR) + "/samples/image.emf");
  TConversionOptions options;
  options.depth = GetParam();
  const std::unique_ptr<TBitmap> page = RenderMetafile(metafile, 96, options);
  const ColourAt facts[] = {
      {388, 40, 33, 143, 255}, {425, 52, 188, 196, 205}, {420, 65, 167, 159, 152},
      {388, 78, 33, 65, 98},   {439, 90, 246, 148, 49},  {440, 103, 250, 125, 0},
      {381, 41, 4, 127, 251},
  };
  for (const ColourAt& f : facts) {
    const gdi::PaletteEntry c = page->PixelColor(f.x, f.y);
    EXPECT_EQ(gdi::RGB(c.r, c.g, c.b), gdi::RGB(f.r, f.g, f.b)) << "at " << f.x << ", " << f.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, TrueColourRender, ::testing::Values(24, 32));

}  // namespace
}  // namespace vx
