// Text drawn inside a path bracket: the glyph outlines join the path and the
// later fill, stroke or clip uses them. The pixel facts were read off the
// reference renderer's pictures of the same metafiles (400 x 200 pixels).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint32_t kBlue = 0xFF0000, kRed = 0x0000FF;

std::vector<uint8_t> FontRecord(int32_t height, int32_t escapement = 0, int32_t weight = 400) {
  ByteWriter w;
  w.U32(1);  // handle
  for (int32_t v : {height, 0, escapement, escapement, weight}) w.I32(v);
  for (uint8_t v : {0, 0, 0, 0, 0, 0, 0, 0}) w.U8(v);
  const std::u16string face = u"Arial";
  for (size_t i = 0; i < 32; ++i) w.U16(i < face.size() ? face[i] : 0);
  return w.Bytes();
}

std::vector<uint8_t> TextRecord(Point at, const std::u16string& text, uint32_t options = 0,
                                const Rect& box = {0, 0, 0, 0}) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(GM_COMPATIBLE);
  w.F32(1);
  w.F32(1);
  w.I32(at.x);
  w.I32(at.y);
  w.U32(uint32_t(text.size()));
  w.U32(76);  // the string's offset
  w.U32(options);
  for (int32_t v : {box.left, box.top, box.right, box.bottom}) w.I32(v);
  w.U32(0);  // no advances
  for (char16_t c : text) w.U16(c);
  return w.Bytes();
}

// A 400 x 200 pixel page on a 96-dpi reference device, with a font and a
// solid brush of `fill` selected.
test::EmfBuilder Page(const std::vector<uint8_t>& font, uint32_t fill) {
  test::EmfBuilder b;
  b.Device({1024, 768}, {320, 240}).Frame({0, 0, 12500, 6250}).Bounds({0, 0, 399, 199}).Handles(4);
  b.Record(EmfRecord::kExtCreateFontIndirectW, font).RecordWords(EmfRecord::kSelectObject, {1});
  b.RecordWords(EmfRecord::kCreateBrushIndirect, {2, BS_SOLID, int32_t(fill), 0}).RecordWords(EmfRecord::kSelectObject, {2});
  return b;
}

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

Ink InkOf(const test::RenderedPage& page) {
  Ink ink;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) != kWhite) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ++ink.count;
      }
  return ink;
}

bool Inked(const test::RenderedPage& page, int x, int y) { return page.At(x, y) != kWhite; }

TEST(EmfPathText, FillPathFillsTheGlyphOutlines) {
  const auto emf = Page(FontRecord(-120), kBlue)
                       .Record(EmfRecord::kBeginPath)
                       .Record(EmfRecord::kExtTextOutW, TextRecord({10, 20}, u"Ag&"))
                       .Record(EmfRecord::kEndPath)
                       .RecordWords(EmfRecord::kFillPath, {0, 0, -1, -1})
                       .Build();
  const auto page = test::RenderEmf(emf);
  const Ink ink = InkOf(page);
  EXPECT_EQ(ink.left, 11);
  EXPECT_EQ(ink.top, 46);
  EXPECT_EQ(ink.right, 232);
  EXPECT_EQ(ink.bottom, 152);
  // The reference fills 6590 pixels; edges may differ by a pixel here and there.
  EXPECT_NEAR(ink.count, 6590, 30);
  EXPECT_TRUE(Inked(page, 50, 100));    // the A's crossbar
  EXPECT_FALSE(Inked(page, 85, 100));   // between A and g
  EXPECT_FALSE(Inked(page, 120, 100));  // inside the g's bowl
  EXPECT_TRUE(Inked(page, 141, 100));   // the g's stem
  EXPECT_TRUE(Inked(page, 43, 60));     // the A's left stroke near the apex
  EXPECT_FALSE(Inked(page, 49, 60));    // the A's counter
  EXPECT_EQ(page.At(50, 100), page.At(216, 100));
}

TEST(EmfPathText, StrokePathOutlinesEveryContourClosed) {
  const auto emf = Page(FontRecord(-120), kBlue)
                       .RecordWords(EmfRecord::kCreatePen, {3, PS_SOLID, 1, 0, int32_t(kRed)})
                       .RecordWords(EmfRecord::kSelectObject, {3})
                       .Record(EmfRecord::kBeginPath)
                       .Record(EmfRecord::kExtTextOutW, TextRecord({10, 20}, u"Ag&o"))
                       .Record(EmfRecord::kEndPath)
                       .RecordWords(EmfRecord::kStrokePath, {0, 0, -1, -1})
                       .Build();
  const auto page = test::RenderEmf(emf);
  const Ink ink = InkOf(page);
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.top, 46);
  EXPECT_EQ(ink.right, 295);
  EXPECT_EQ(ink.bottom, 153);
  EXPECT_NEAR(ink.count, 1632, 30);
  // One-pixel outlines: the crossbar's ends, nothing between them.
  EXPECT_TRUE(Inked(page, 22, 100));
  EXPECT_FALSE(Inked(page, 23, 100));
  EXPECT_FALSE(Inked(page, 50, 100));
  EXPECT_TRUE(Inked(page, 78, 100));
  EXPECT_TRUE(Inked(page, 137, 100));
}

TEST(EmfPathText, TurnedTextAddsTheTurnedOutline) {
  const auto emf = Page(FontRecord(-100, 300), kBlue)
                       .Record(EmfRecord::kBeginPath)
                       .Record(EmfRecord::kExtTextOutW, TextRecord({40, 60}, u"L"))
                       .Record(EmfRecord::kEndPath)
                       .RecordWords(EmfRecord::kFillPath, {0, 0, -1, -1})
                       .Build();
  const auto page = test::RenderEmf(emf);
  const Ink ink = InkOf(page);
  // The reference's picture, pixel for pixel.
  EXPECT_EQ(ink.left, 58);
  EXPECT_EQ(ink.top, 70);
  EXPECT_EQ(ink.right, 129);
  EXPECT_EQ(ink.bottom, 132);
  EXPECT_EQ(ink.count, 880);
}

TEST(EmfPathText, SelectClipPathClipsToTheGlyphs) {
  const auto emf = Page(FontRecord(-140, 0, 700), kRed)
                       .Record(EmfRecord::kBeginPath)
                       .Record(EmfRecord::kExtTextOutW, TextRecord({10, 10}, u"CLIP"))
                       .Record(EmfRecord::kEndPath)
                       .RecordWords(EmfRecord::kSelectClipPath, {RGN_COPY})
                       .RecordWords(EmfRecord::kRectangle, {0, 0, 400, 200})
                       .Build();
  const auto page = test::RenderEmf(emf);
  const Ink ink = InkOf(page);
  EXPECT_EQ(ink.left, 16);
  EXPECT_EQ(ink.top, 40);
  EXPECT_EQ(ink.right, 321);
  EXPECT_EQ(ink.bottom, 136);
  EXPECT_NEAR(ink.count, 12485, 30);
  EXPECT_TRUE(Inked(page, 25, 88));    // the C's bow
  EXPECT_FALSE(Inked(page, 80, 88));   // the C's opening
  EXPECT_TRUE(Inked(page, 130, 88));   // the L's stem
  EXPECT_FALSE(Inked(page, 240, 88));  // between I and P
  EXPECT_FALSE(Inked(page, 390, 190)); // the rectangle outside the glyphs
}

TEST(EmfPathText, NeitherOpaqueBoxNorBackgroundIsPaintedInAPath) {
  const auto emf = Page(FontRecord(-50), kBlue)
                       .RecordWords(EmfRecord::kSetBkMode, {OPAQUE})
                       .RecordWords(EmfRecord::kSetBkColor, {int32_t(kRed)})
                       .RecordWords(EmfRecord::kSetTextAlign, {TA_BASELINE | TA_CENTER})
                       .Record(EmfRecord::kBeginPath)
                       .Record(EmfRecord::kExtTextOutW, TextRecord({200, 100}, u"Mid", ETO_OPAQUE, {10, 10, 100, 60}))
                       .Record(EmfRecord::kEndPath)
                       .RecordWords(EmfRecord::kFillPath, {0, 0, -1, -1})
                       .Build();
  const auto page = test::RenderEmf(emf);
  const Ink ink = InkOf(page);
  EXPECT_FALSE(Inked(page, 50, 30));  // the opaque box stays white
  // Centred on x = 200, baseline at y = 100.
  EXPECT_EQ(ink.left, 165);
  EXPECT_EQ(ink.top, 64);
  EXPECT_NEAR(ink.right, 236, 1);
  EXPECT_EQ(ink.bottom, 99);
  EXPECT_NEAR(ink.count, 986, 20);
}

TEST(EmfPathText, TextInTheBracketPaintsNothingAndAddsClosedFigures) {
  test::RenderedPage page = test::WhitePage(80, 80);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  LogFont font;
  font.height = -60;
  font.face_name = u"Arial";
  dc.SelectFont(font);
  dc.BeginPath();
  dc.ExtTextOut({5, 5}, 0, nullptr, u"O", {});
  dc.EndPath();
  EXPECT_EQ(InkOf(page).count, 0);
  // An O is two contours, each closed.
  const Path& path = dc.CurrentPath();
  int figures = 0, closed = 0;
  for (size_t i = 0; i < path.Size(); ++i) {
    figures += (path.Types()[i] & ~PT_CLOSEFIGURE) == PT_MOVETO;
    closed += (path.Types()[i] & PT_CLOSEFIGURE) != 0;
  }
  EXPECT_EQ(figures, 2);
  EXPECT_EQ(closed, 2);
}

}  // namespace
}  // namespace vx::gdi
