// A glyph's box found without rendering is the box of its rendered bitmap:
// drawing that only looks for where ink lands leaves out glyphs by it.
#include "graphics/platform/text/raster_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/platform/core/charset.h"

namespace vx::gdi {
namespace {

// A quality no other test asks for: these fonts are realised fresh, so the
// boxes are found before any glyph of them is rendered.
constexpr uint8_t kFreshQuality = 6;

LogFont Face(const std::u16string& name, int32_t weight = 400, bool italic = false,
             uint8_t charSet = kDefaultCharset) {
  LogFont font;
  font.face_name = name;
  font.weight = weight;
  font.italic = italic;
  font.char_set = charSet;
  font.quality = kFreshQuality;
  return font;
}

XForm Rotation(double degrees) {
  const double a = degrees * M_PI / 180;
  XForm x;
  x.m11 = std::cos(a);
  x.m12 = -std::sin(a);
  x.m21 = std::sin(a);
  x.m22 = std::cos(a);
  return x;
}

Rect BoxOf(const GlyphBitmap& g) {
  return g.IsEmpty() ? Rect{} : Rect{g.left, -g.top, g.left + g.width, -g.top + g.height};
}

class GlyphBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (GetRasterFont(Face(u"Arial"), -12, 0)->FamilyName() != "Liberation Sans")
      GTEST_SKIP() << "the Liberation fonts are not installed";
  }
};

TEST_F(GlyphBoxTest, BoxFoundWithoutRenderingIsTheRenderedOne) {
  static const XForm rotation = Rotation(30);
  const std::vector<LogFont> faces = {Face(u"Arial"), Face(u"Times New Roman", 700, true),
                                      Face(u"DejaVu Math TeX Gyre", 700),  // bold synthesised
                                      Face(u"Symbol", 400, false, kSymbolCharset)};
  std::u32string text;
  for (char32_t ch = 0x20; ch < 0x7F; ++ch) text += ch;
  text += U"\u00E9\u00C5\u0416\uF041";
  int inked = 0;
  for (const LogFont& face : faces) {
    for (int32_t height : {-9, -40, -700}) {
      for (const XForm* transform : {static_cast<const XForm*>(nullptr), &rotation}) {
        const auto font = GetRasterFont(face, height, 0, transform);
        std::vector<Rect> placed;
        for (char32_t ch : text) placed.push_back(font->GlyphBoxByIndex(font->GlyphIndex(ch)));
        for (size_t i = 0; i < text.size(); ++i) {
          const uint32_t index = font->GlyphIndex(text[i]);
          const Rect drawn = BoxOf(*font->GlyphByIndex(index));
          ASSERT_EQ(placed[i], drawn) << font->FamilyName() << " height " << height << (transform ? " turned" : "")
                                      << " U+" << std::hex << uint32_t(text[i]);
          // Asked again once the glyph is cached, the answer stays.
          ASSERT_EQ(font->GlyphBoxByIndex(index), drawn);
          inked += !drawn.IsEmpty();
        }
      }
    }
  }
  EXPECT_GT(inked, int(text.size()) * 12);
}

}  // namespace
}  // namespace vx::gdi
