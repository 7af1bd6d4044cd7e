// The text records beside ExtTextOut: small text, poly text, justification
// and 8-bit text in the font's code page.
#include <gtest/gtest.h>

#include <string>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {


constexpr uint32_t kEtoNoRect = 0x100, kEtoSmallChars = 0x200;

std::vector<uint8_t> FontRecord(int32_t height) {
  ByteWriter w;
  w.U32(1);  // handle
  for (int32_t v : {height, 0, 0, 0, 400}) w.I32(v);
  for (uint8_t v : {0, 0, 0, 0, 0, 0, 0, 0}) w.U8(v);  // italic .. pitch, ANSI charset
  const std::u16string face = u"Arial";
  for (size_t i = 0; i < 32; ++i) w.U16(i < face.size() ? face[i] : 0);
  return w.Bytes();
}

test::EmfBuilder WithFont() {
  test::EmfBuilder b;
  b.Frame({0, 0, 4000, 1000}).Bounds({0, 0, 127, 31}).Handles(2);
  b.Record(EmfRecord::kExtCreateFontIndirectW, FontRecord(-20)).RecordWords(EmfRecord::kSelectObject, {1});
  return b;
}

// The EMRTEXT at the end of the fixed part (offsets from the record start),
// then the string; no advances.
void PutEmrText(ByteWriter& w, Point at, const std::u16string& text, uint32_t off_string) {
  w.I32(at.x);
  w.I32(at.y);
  w.U32(uint32_t(text.size()));
  w.U32(off_string);
  w.U32(0);  // options
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(0);  // no advances
}

void PutWide(ByteWriter& w, const std::u16string& text) {
  for (char16_t c : text) w.U16(c);
  while (w.Size() % 4) w.U8(0);
}

std::vector<uint8_t> ExtTextOutW(Point at, const std::u16string& text) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);  // bounds
  w.U32(2);                                   // advanced graphics mode
  w.F32(1);
  w.F32(1);
  PutEmrText(w, at, text, 76);
  PutWide(w, text);
  return w.Bytes();
}

std::vector<uint8_t> SmallTextOut(Point at, const std::u16string& text, bool eight_bit,
                                  uint32_t declared_chars) {
  ByteWriter w;
  w.I32(at.x);
  w.I32(at.y);
  w.U32(declared_chars);
  w.U32(kEtoNoRect | (eight_bit ? kEtoSmallChars : 0));
  w.U32(2);
  w.F32(1);
  w.F32(1);
  if (eight_bit) {
    for (char16_t c : text) w.U8(uint8_t(c));
    while (w.Size() % 4) w.U8(0);
  } else {
    PutWide(w, text);
  }
  return w.Bytes();
}

std::vector<uint8_t> Pixels(const test::RenderedPage& page) { return page.bits; }

int InkColumns(const test::RenderedPage& page, int& first, int& last) {
  first = page.width;
  last = -1;
  for (int x = 0; x < page.width; ++x)
    for (int y = 0; y < page.height; ++y)
      if (page.At(x, y) != 255) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return last < 0 ? 0 : last - first + 1;
}

TEST(EmfTextRecords, SmallTextDrawsLikeExtTextOutWithoutAdvances) {
  const auto reference = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutW, ExtTextOutW({4, 4}, u"Hix")).Build());
  const auto wide = test::RenderEmf(WithFont().Record(EmfRecord::kSmallTextOut, SmallTextOut({4, 4}, u"Hix", false, 3)).Build());
  const auto narrow = test::RenderEmf(WithFont().Record(EmfRecord::kSmallTextOut, SmallTextOut({4, 4}, u"Hix", true, 3)).Build());
  int first = 0, last = 0;
  ASSERT_GT(InkColumns(reference, first, last), 10);
  EXPECT_EQ(Pixels(wide), Pixels(reference));
  EXPECT_EQ(Pixels(narrow), Pixels(reference));
}

TEST(EmfTextRecords, SmallTextLongerThanItsRecordDrawsNothing) {
  const auto page = test::RenderEmf(WithFont().Record(EmfRecord::kSmallTextOut, SmallTextOut({4, 4}, u"Hi", false, 4000)).Build());
  int first = 0, last = 0;
  EXPECT_EQ(InkColumns(page, first, last), 0);
}

TEST(EmfTextRecords, PolyTextDrawsEveryString) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(2);
  w.F32(1);
  w.F32(1);
  w.U32(2);  // strings
  const uint32_t strings_at = 8 + 32 + 2 * 40;
  PutEmrText(w, {4, 2}, u"Ab", strings_at);
  PutEmrText(w, {60, 2}, u"Cd", strings_at + 4);
  PutWide(w, u"AbCd");
  const auto poly = test::RenderEmf(WithFont().Record(EmfRecord::kPolyTextOutW, w.Bytes()).Build());
  const auto separate = test::RenderEmf(WithFont()
                                            .Record(EmfRecord::kExtTextOutW, ExtTextOutW({4, 2}, u"Ab"))
                                            .Record(EmfRecord::kExtTextOutW, ExtTextOutW({60, 2}, u"Cd"))
                                            .Build());
  int first = 0, last = 0;
  ASSERT_GT(InkColumns(separate, first, last), 56);
  EXPECT_EQ(Pixels(poly), Pixels(separate));
}

TEST(EmfTextRecords, PolyTextWithMoreStringsThanItsRecordHoldsDrawsNothing) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(2);
  w.F32(1);
  w.F32(1);
  w.U32(1000000);
  PutEmrText(w, {4, 2}, u"Ab", 8 + 32 + 40);
  PutWide(w, u"Ab");
  const auto page = test::RenderEmf(WithFont().Record(EmfRecord::kPolyTextOutW, w.Bytes()).Build());
  int first = 0, last = 0;
  EXPECT_EQ(InkColumns(page, first, last), 0);
}

TEST(EmfTextRecords, JustificationWidensTheBreaks) {
  const auto plain = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutW, ExtTextOutW({2, 4}, u"a a")).Build());
  const auto justified = test::RenderEmf(WithFont()
                                             .RecordWords(EmfRecord::kSetTextJustification, {12, 1})
                                             .Record(EmfRecord::kExtTextOutW, ExtTextOutW({2, 4}, u"a a"))
                                             .Build());
  int plain_first = 0, plain_last = 0, first = 0, last = 0;
  InkColumns(plain, plain_first, plain_last);
  InkColumns(justified, first, last);
  EXPECT_EQ(first, plain_first);
  // 12 logical units over the one break, about a pixel each here; the
  // reference renderer moves the last glyph by 12 pixels.
  EXPECT_GE(last - plain_last, 11);
  EXPECT_LE(last - plain_last, 12);
}

TEST(EmfTextRecords, EightBitTextIsReadInTheAnsiCodePage) {
  ByteWriter a;
  for (int32_t v : {0, 0, -1, -1}) a.I32(v);
  a.U32(2);
  a.F32(1);
  a.F32(1);
  PutEmrText(a, {4, 4}, u"x", 76);
  a.U8(0x80);  // the euro sign in Windows-1252
  while (a.Size() % 4) a.U8(0);
  const auto ansi = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutA, a.Bytes()).Build());
  const auto wide = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutW, ExtTextOutW({4, 4}, u"\u20AC")).Build());
  int first = 0, last = 0;
  ASSERT_GT(InkColumns(wide, first, last), 3);
  EXPECT_EQ(Pixels(ansi), Pixels(wide));
}
// ETO_PDY: x and y advance pairs; the y advances move the next glyph up.
std::vector<uint8_t> ExtTextOutWithPairs(const std::u16string& text, const std::vector<int32_t>& pairs) {
  ByteWriter w;
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(2);
  w.F32(1);
  w.F32(1);
  const uint32_t off_string = 76;
  const uint32_t off_dx = off_string + uint32_t((text.size() * 2 + 3) / 4 * 4);
  for (int32_t v : {2, 8}) w.I32(v);
  w.U32(uint32_t(text.size()));
  w.U32(off_string);
  w.U32(ETO_PDY);
  for (int32_t v : {0, 0, -1, -1}) w.I32(v);
  w.U32(off_dx);
  PutWide(w, text);
  for (int32_t v : pairs) w.I32(v);
  return w.Bytes();
}

int TopInkRow(const test::RenderedPage& page, int x0, int x1) {
  for (int y = 0; y < page.height; ++y)
    for (int x = x0; x < x1; ++x)
      if (page.At(x, y) != 255) return y;
  return -1;
}

TEST(EmfTextRecords, YAdvancesRaiseTheFollowingGlyphs) {
  const auto flat = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutW, ExtTextOutWithPairs(u"II", {20, 0, 20, 0})).Build());
  const auto rising = test::RenderEmf(WithFont().Record(EmfRecord::kExtTextOutW, ExtTextOutWithPairs(u"II", {20, 6, 20, 6})).Build());
  // The first glyph stays; the second, 20 units on, is 6 units (6 pixels) higher,
  // as the reference renderer draws it.
  EXPECT_EQ(TopInkRow(rising, 0, 15), TopInkRow(flat, 0, 15));
  ASSERT_GE(TopInkRow(flat, 15, 40), 0);
  EXPECT_EQ(TopInkRow(flat, 15, 40) - TopInkRow(rising, 15, 40), 6);
}
int TopInkRow(const test::RenderedPage& page) { return TopInkRow(page, 0, page.width); }

TEST(EmfTextRecords, TheBitBetweenBottomAndBaselineAloneKeepsTheBaseline) {
  // Of the vertical alignments only top, bottom and baseline move the text;
  // 0x10 alone draws where TA_BASELINE does.
  const auto aligned = [](int32_t align) {
    return test::RenderEmf(WithFont()
                               .RecordWords(EmfRecord::kSetTextAlign, {align})
                               .Record(EmfRecord::kExtTextOutW, ExtTextOutW({4, 24}, u"Hx"))
                               .Build());
  };
  const auto top = aligned(int32_t(TA_TOP)), baseline = aligned(int32_t(TA_BASELINE)), bit = aligned(0x10);
  ASSERT_GE(TopInkRow(top), 24);
  ASSERT_LT(TopInkRow(baseline), 24);
  EXPECT_EQ(Pixels(bit), Pixels(baseline));
}

TEST(EmfTextRecords, ARotatingWorldTransformTurnsTheBaseline) {
  // 30 degrees clockwise on the page, reference point (40, 10), top-aligned.
  // The reference renderer draws six H's 45 pixels tall from y 10 to 55, the
  // baseline falling 23 pixels from the first ink column to the last, as
  // here. It moves the reference point down to the baseline only vertically,
  // so its ink starts at x 41; the reference point is on the top edge of the
  // turned text box (SetTextAlign), so the baseline starts ascent * sin 30
  // to the left of it and the ink at about x 33.
  ByteWriter xform;
  for (float v : {0.8660254f, 0.5f, -0.5f, 0.8660254f, 40.0f, 10.0f}) xform.F32(v);
  test::EmfBuilder b;
  b.Frame({0, 0, 4000, 4000}).Bounds({0, 0, 127, 127}).Handles(2);
  b.Record(EmfRecord::kExtCreateFontIndirectW, FontRecord(-20)).RecordWords(EmfRecord::kSelectObject, {1});
  const auto page = test::RenderEmf(b.Record(EmfRecord::kSetWorldTransform, xform.Bytes()).Record(EmfRecord::kExtTextOutW, ExtTextOutW({0, 0}, u"HHHHHH")).Build());
  int top = page.height, bottom = -1, left_y = -1, right_y = -1, first = 0, last = 0;
  ASSERT_GT(InkColumns(page, first, last), 60);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) != 255) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        if (x == first) left_y = y;
        if (x == last) right_y = y;
      }
  EXPECT_NEAR(top, 10, 1);
  EXPECT_NEAR(bottom, 55, 1);
  EXPECT_NEAR(right_y - left_y, 23, 1);
  EXPECT_NEAR(first, 33, 2);
  EXPECT_NEAR(last - first, 75, 2);
}
}  // namespace
}  // namespace vx::gdi
