// Glyphs too large to keep whole are rasterised in parts, only where a draw
// can show them; every part must hold the pixels the whole glyph has there.
#include <gtest/gtest.h>

#include <string>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/text/raster_font.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

LogFont Arial(int32_t height) {
  LogFont font;
  font.face_name = u"Arial";
  font.height = height;
  return font;
}

// The whole glyph, through the part path with a window over all of it.
std::shared_ptr<const GlyphBitmap> Whole(const RasterFont& font, uint32_t index, bool smoothed,
                                         const GlyphBitmap& withheld) {
  return font.GlyphPartByIndex(index, smoothed, {0, 0, withheld.width, withheld.height});
}

TEST(WithheldGlyph, LargeGlyphsKeepTheirPlaceButNotTheirPixels) {
  const auto small = GetRasterFont(Arial(-100), -100, 0);
  const auto large = GetRasterFont(Arial(-2400), -2400, 0);
  const auto kept = small->Glyph(U'W');
  const auto withheld = large->Glyph(U'W');
  EXPECT_FALSE(kept->withheld);
  EXPECT_EQ(kept->pixels.size(), size_t(kept->width) * kept->height);
  ASSERT_TRUE(withheld->withheld);
  EXPECT_TRUE(withheld->pixels.empty());
  EXPECT_GT(int64_t(withheld->width) * withheld->height, int64_t(1) << 20);
  // Measuring without rasterising agrees with the withheld glyph's advance.
  EXPECT_EQ(large->Advance(U'W'), (Point{withheld->advanceX, withheld->advanceY}));
}

TEST(WithheldGlyph, EveryPartHoldsTheWholeGlyphsPixelsBilevelAndSmoothed) {
  XForm turned{};  // 30 degrees: a transformed outline as well as a plain one
  turned.m11 = 0.8660254;
  turned.m12 = -0.5;
  turned.m21 = 0.5;
  turned.m22 = 0.8660254;
  for (const XForm* transform : {static_cast<const XForm*>(nullptr), static_cast<const XForm*>(&turned)}) {
    const auto font = GetRasterFont(Arial(-2000), -2000, 0, transform);
    for (char32_t ch : {U'W', U'g', U'@'}) {
      for (bool smoothed : {false, true}) {
        SCOPED_TRACE(testing::Message() << "char " << uint32_t(ch) << " smoothed " << smoothed << " turned "
                                        << (transform != nullptr));
        const uint32_t index = font->GlyphIndex(ch);
        const auto withheld = font->GlyphByIndex(index, smoothed);
        ASSERT_TRUE(withheld->withheld);
        const auto whole = Whole(*font, index, smoothed, *withheld);
        ASSERT_EQ(whole->width, withheld->width);
        ASSERT_EQ(whole->height, withheld->height);
        EXPECT_EQ(whole->left, withheld->left);
        EXPECT_EQ(whole->top, withheld->top);
        int ink = 0;
        for (uint8_t p : whole->pixels) ink += p != 0;
        EXPECT_GT(ink, whole->width * whole->height / 20);
        const int32_t w = whole->width, h = whole->height;
        // Windows at the corners, across the middle, one pixel wide, and reaching outside.
        const Rect windows[] = {{0, 0, 37, 41},         {w - 53, h - 29, w, h},     {w / 3, h / 4, w / 3 + 211, h / 4 + 97},
                                {w / 2, 0, w / 2 + 1, h}, {0, h / 2, w, h / 2 + 1}, {-50, -70, 30, 20},
                                {w - 10, h - 10, w + 90, h + 90}};
        for (const Rect& window : windows) {
          const auto part = font->GlyphPartByIndex(index, smoothed, window);
          const int32_t x0 = std::max(window.left, 0), y0 = std::max(window.top, 0);
          EXPECT_EQ(part->left, whole->left + x0);
          EXPECT_EQ(part->top, whole->top - y0);
          EXPECT_EQ(part->width, std::min(window.right, w) - x0);
          EXPECT_EQ(part->height, std::min(window.bottom, h) - y0);
          int differ = 0;
          for (int32_t y = 0; y < part->height; ++y)
            for (int32_t x = 0; x < part->width; ++x) differ += part->At(x, y) != whole->At(x0 + x, y0 + y);
          EXPECT_EQ(differ, 0) << "window " << window.left << "," << window.top;
        }
        const auto outside = font->GlyphPartByIndex(index, smoothed, {w + 5, 0, w + 50, 40});
        EXPECT_TRUE(outside->IsEmpty());
      }
    }
  }
}

// A glyph far larger than the surface, drawn at an offset into a small one,
// gives the pixels a large surface has at the same places.
TEST(WithheldGlyph, DrawnIntoASmallSurfaceItShowsTheLargeSurfacesPixels) {
  test::RenderedPage large = test::WhitePage(1800, 2300);
  test::RenderedPage small = test::WhitePage(160, 120);
  const Point at{700, 1300};
  for (test::RenderedPage* page : {&large, &small}) {
    TDeviceContext dc;
    dc.SelectSurface(&page->surface);
    dc.SelectFont(Arial(-2000));
    dc.SetTextAlign(TA_BASELINE);
    const Point origin = page == &large ? Point{100, 1900} : Point{100 - at.x, 1900 - at.y};
    dc.ExtTextOut(origin, 0, nullptr, u"W", {});
  }
  int ink = 0, differ = 0;
  for (int32_t y = 0; y < small.height; ++y) {
    for (int32_t x = 0; x < small.width; ++x) {
      ink += small.At(x, y) != 255;
      differ += small.At(x, y) != large.At(at.x + x, at.y + y);
    }
  }
  EXPECT_GT(ink, 0);
  EXPECT_LT(ink, small.width * small.height);
  EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace vx::gdi
