#include <gtest/gtest.h>

#include <string>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/text/font_resolver.h"
#include "graphics/support/emf_render.h"

namespace vx::gdi {
namespace {

using test::RenderedPage;
using test::WhitePage;

constexpr uint8_t kArabicCharset = 178;

LogFont Font(const std::u16string& face, uint8_t charset) {
  LogFont font;
  font.height = -24;
  font.face_name = face;
  font.char_set = charset;
  font.pitch_and_family = 0x12;  // variable pitch, roman
  return font;
}

// The page after one ExtTextOut of text in the font at (4, 4).
RenderedPage Drawn(const LogFont& font, const std::u16string& text) {
  RenderedPage page = WhitePage(80, 40);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(font);
  dc.ExtTextOut({4, 4}, 0, nullptr, text, {});
  return page;
}

int Ink(const RenderedPage& page) {
  int n = 0;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) n += page.At(x, y) != 255;
  return n;
}

// Text in a character set the named face lacks is drawn in the face that
// has it, as the reference draws Arabic asked for in Times New Roman.
TEST(DeviceContextText, ArabicInAFaceWithoutItIsDrawnInTheFaceThatHasIt) {
  LogFont probe;
  probe.face_name = u"DejaVu Sans";
  if (ResolveFontFace(probe).family != "DejaVu Sans" ||
      ResolveFontFace(Font(u"Times New Roman", 0)).family != "Liberation Serif")
    GTEST_SKIP() << "DejaVu Sans or Liberation Serif is not installed";
  const std::u16string text = u"\u0628\u0627\u0628";
  const RenderedPage arabic = Drawn(Font(u"Times New Roman", kArabicCharset), text);
  const RenderedPage dejavu = Drawn(Font(u"DejaVu Sans", 0), text);
  const RenderedPage latin = Drawn(Font(u"Times New Roman", 0), text);
  EXPECT_GT(Ink(arabic), 20);
  EXPECT_EQ(arabic.bits, dejavu.bits);
  // In the Latin set the same request keeps its own face, which has no such letters.
  EXPECT_NE(latin.bits, dejavu.bits);
}

}  // namespace
}  // namespace vx::gdi
