// Where played text lands: glyph origins from the advance array through the
// playback scale, fonts sized by the graphics mode each text record carries,
// advance pairs, and a mirroring mapping. The pixel facts were read off the
// reference renderer's pictures of the same metafiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

std::vector<uint8_t> FontRecord(int32_t height, int32_t escapement = 0) {
  ByteWriter w;
  w.U32(1);  // handle
  for (int32_t v : {height, 0, escapement, escapement, 400}) w.I32(v);
  for (uint8_t v : {0, 0, 0, 0, 0, 0, 0, 0}) w.U8(v);
  const std::u16string face = u"Arial";
  for (size_t i = 0; i < 32; ++i) w.U16(i < face.size() ? face[i] : 0);
  return w.Bytes();
}

std::vector<uint8_t> TextRecord(int32_t mode, Point at, const std::u16string& text, uint32_t options,
                                const std::vector<int32_t>& dx) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(uint32_t(mode));
  w.F32(1);
  w.F32(1);
  const uint32_t off_string = 76;
  const uint32_t off_dx = off_string + uint32_t((text.size() * 2 + 3) / 4 * 4);
  w.I32(at.x);
  w.I32(at.y);
  w.U32(uint32_t(text.size()));
  w.U32(off_string);
  w.U32(options);
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(dx.empty() ? 0 : off_dx);
  for (char16_t c : text) w.U16(c);
  while (w.Size() % 4) w.U8(0);
  for (int32_t v : dx) w.I32(v);
  return w.Bytes();
}

std::vector<uint8_t> Floats(std::initializer_list<float> values) {
  ByteWriter w;
  for (float v : values) w.F32(v);
  return w.Bytes();
}

// A 127 x 63 pixel page on a 96-dpi reference device.
test::EmfBuilder Page(int32_t height, int32_t escapement = 0) {
  test::EmfBuilder b;
  b.Device({1024, 768}, {320, 240}).Frame({0, 0, 4000, 2000}).Bounds({0, 0, 127, 63}).Handles(2);
  b.Record(EmfRecord::kExtCreateFontIndirectW, FontRecord(height, escapement)).RecordWords(EmfRecord::kSelectObject, {1});
  return b;
}

// Columns where ink starts, left to right, in rows y0..y1.
std::vector<int> InkStarts(const test::RenderedPage& page, int y0, int y1) {
  std::vector<int> starts;
  bool previous = false;
  for (int x = 0; x < page.width; ++x) {
    bool ink = false;
    for (int y = y0; y <= y1 && y < page.height; ++y) ink = ink || page.At(x, y) != 255;
    if (ink && !previous) starts.push_back(x);
    previous = ink;
  }
  return starts;
}

struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

InkBox BoxOf(const test::RenderedPage& page) {
  InkBox b;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) != 255) {
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

TEST(EmfTextPlacement, GlyphOriginsAreRoundedFromTheAccumulatedAdvancesAt300Dpi) {
  const std::vector<uint8_t> emf =
      Page(-16).Record(EmfRecord::kExtTextOutW, TextRecord(GM_COMPATIBLE, {3, 2}, u"llllllllll", 0, std::vector<int32_t>(10, 5))).Build();
  // 5 units at 3.125 pixels: origins at round(9.375 + 15.625 k) - 9, not at
  // steps of a rounded advance (which puts the third l at 44, the tenth at 153).
  const auto page = test::RenderEmf(emf, 300);
  const std::vector<int> starts = InkStarts(page, 0, page.height - 1);
  EXPECT_EQ(starts, (std::vector<int>{12, 28, 43, 59, 74, 90, 106, 121, 137, 152}));
}

TEST(EmfTextPlacement, AdvancedModeWithUnequalScalesFitsGlyphsAtTheLogicalSize) {
  const std::vector<uint8_t> emf = Page(-16)
                                       .Record(EmfRecord::kSetWorldTransform, Floats({3.0f, 0, 0, 2.5f, 4, 2}))
                                       .Record(EmfRecord::kExtTextOutW, TextRecord(GM_ADVANCED, {0, 0}, u"HHH", 0, {}))
                                       .Build();
  // Glyphs fitted at 16 pixels and then stretched: H's 33 pixels apart, caps
  // from row 6 to 35.
  const auto page = test::RenderEmf(emf, 96);
  const InkBox box = BoxOf(page);
  EXPECT_EQ(box.top, 6);
  EXPECT_EQ(box.bottom, 35);
  EXPECT_EQ(box.left, 8);
  EXPECT_EQ(box.right, 98);
  EXPECT_EQ(InkStarts(page, 0, page.height - 1), (std::vector<int>{8, 41, 74}));
}

TEST(EmfTextPlacement, CompatibleModeWithTheSameScalesFitsGlyphsAtTheDeviceSize) {
  const std::vector<uint8_t> emf = Page(-16)
                                       .Record(EmfRecord::kSetWorldTransform, Floats({3.0f, 0, 0, 2.5f, 4, 2}))
                                       .Record(EmfRecord::kExtTextOutW, TextRecord(GM_COMPATIBLE, {0, 0}, u"HHH", 0, {}))
                                       .Build();
  // The height scaled and truncated (-16 * 2.5 = -40), the glyphs fitted to it.
  const auto page = test::RenderEmf(emf, 96);
  const InkBox box = BoxOf(page);
  EXPECT_EQ(box.top, 9);
  EXPECT_EQ(box.bottom, 35);
  EXPECT_EQ(box.left, 7);
  EXPECT_EQ(box.right, 84);
  EXPECT_EQ(InkStarts(page, 0, page.height - 1), (std::vector<int>{7, 35, 63}));
}

TEST(EmfTextPlacement, AdvancePairsRaiseEachGlyphAt300Dpi) {
  const std::vector<uint8_t> emf =
      Page(-12).Record(EmfRecord::kExtTextOutW, TextRecord(GM_COMPATIBLE, {2, 10}, u"....", ETO_PDY, {7, 3, 7, 3, 7, 3, 7, 3})).Build();
  const auto page = test::RenderEmf(emf, 300);
  // Each dot 7 units on and 3 up: the last dot's top at row 33, the first
  // dot's foot at row 64.
  const InkBox box = BoxOf(page);
  EXPECT_EQ(box.top, 33);
  EXPECT_EQ(box.bottom, 64);
  EXPECT_EQ(InkStarts(page, 0, page.height - 1), (std::vector<int>{9, 31, 53, 74}));
}

TEST(EmfTextPlacement, AMirroringMappingTurnsEscapedTextTheOtherWay) {
  // y up from the page's foot; the font at 270 degrees, reference point at
  // logical (40, 20), so device (40, 43).
  const std::vector<uint8_t> emf = Page(-14, 2700)
                                       .RecordWords(EmfRecord::kSetMapMode, {MM_ANISOTROPIC})
                                       .RecordWords(EmfRecord::kSetWindowExtEx, {100, 100})
                                       .RecordWords(EmfRecord::kSetViewportExtEx, {100, -100})
                                       .RecordWords(EmfRecord::kSetViewportOrgEx, {0, 63})
                                       .Record(EmfRecord::kExtTextOutW, TextRecord(GM_COMPATIBLE, {40, 20}, u"TTTT", 0, {}))
                                       .Build();
  // The T's stand on their sides reading upwards from the reference point
  // (rows 41 up to 11 in the reference, which spaces them 8 pixels apart
  // where these glyphs advance by 7 along the turned baseline).
  const InkBox box = BoxOf(test::RenderEmf(emf, 96));
  EXPECT_EQ(box.bottom, 41);
  EXPECT_EQ(box.left, 42);
  EXPECT_EQ(box.right, 51);
  EXPECT_NEAR(box.top, 11, 3);
}

}  // namespace
}  // namespace vx::gdi
