// Text drawn before the metafile selects any font uses the font a new device
// context starts with, the stock System font, whose height is in logical
// units: it grows with the page resolution like every other request.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/core/stock_font.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;

// ExtTextOutW of text at (2, 2), no advances, recorded in the given mode.
std::vector<uint8_t> ExtTextOutW(int32_t graphics_mode, const std::u16string& text) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);  // bounds
  w.U32(uint32_t(graphics_mode));
  w.F32(1);
  w.F32(1);
  w.I32(2);
  w.I32(2);
  w.U32(uint32_t(text.size()));
  w.U32(76);  // the string follows the fixed part
  w.U32(0);   // options
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(0);  // no advances
  for (char16_t c : text) w.U16(c);
  while (w.Size() % 4) w.U8(0);
  return w.Bytes();
}

// 128 x 32 reference pixels; text before any font is selected.
std::vector<uint8_t> TextWithoutFont(int32_t graphics_mode, const std::u16string& text = u"HHHH") {
  test::EmfBuilder b;
  b.Frame({0, 0, 4000, 1000}).Bounds({0, 0, 127, 31});
  b.Record(EmfRecord::kExtTextOutW, ExtTextOutW(graphics_mode, text));
  return b.Build();
}

int InkRows(const test::RenderedPage& page) {
  int first = page.height, last = -1;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) != kWhite) {
        first = std::min(first, y);
        last = std::max(last, y);
      }
  return last < first ? 0 : last - first + 1;
}

TEST(EmfDefaultFont, ANewDeviceContextHasTheSystemFontSelected) {
  TDeviceContext dc;
  EXPECT_EQ(dc.Font().height, 16);
  EXPECT_EQ(dc.Font().width, 7);
  EXPECT_EQ(dc.Font().weight, 700);
  EXPECT_EQ(dc.Font().face_name, u"System");
  EXPECT_EQ(dc.Font().face_name, StockFont(SYSTEM_FONT).face_name);
}

TEST(EmfDefaultFont, CompatibleModeTextGrowsWithTheResolution) {
  // The reference draws "HHHH" 10 rows high at 96 dpi and 30 at 300.
  const std::vector<uint8_t> emf = TextWithoutFont(1);
  EXPECT_EQ(InkRows(test::RenderEmf(emf, 96)), 10);
  const int rows = InkRows(test::RenderEmf(emf, 300));
  EXPECT_GE(rows, 29);
  EXPECT_LE(rows, 31);
}

TEST(EmfDefaultFont, AdvancedModeTextGrowsWithTheResolution) {
  // The reference: 10 rows at 96 dpi, 31 at 300.
  const std::vector<uint8_t> emf = TextWithoutFont(2);
  EXPECT_EQ(InkRows(test::RenderEmf(emf, 96)), 10);
  const int rows = InkRows(test::RenderEmf(emf, 300));
  EXPECT_GE(rows, 30);
  EXPECT_LE(rows, 32);
}

TEST(EmfDefaultFont, GlyphsAreNarrowedToTheAverageWidthOfSeven) {
  // The reference at 96 dpi: in row 10 the stems of each "H" 4 pixels apart
  // and the "i" 3 further, one pixel wide each, a pair every 10 pixels.
  const test::RenderedPage page = test::RenderEmf(TextWithoutFont(1, u"HiHiHi"), 96);
  std::vector<int> ink;
  for (int x = 0; x < page.width; ++x)
    if (page.At(x, 10) != kWhite) ink.push_back(x);
  EXPECT_EQ(ink, (std::vector<int>{3, 7, 10, 13, 17, 20, 23, 27, 30}));
}

}  // namespace
}  // namespace vx::gdi
