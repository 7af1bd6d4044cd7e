#include "graphics/platform/text/raster_font.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace vx::gdi {
namespace {

LogFont Face(const std::u16string& name, int32_t weight = 400, bool italic = false) {
  LogFont font;
  font.face_name = name;
  font.weight = weight;
  font.italic = italic;
  return font;
}

int InkOf(const GlyphBitmap& glyph) {
  int ink = 0;
  for (uint8_t p : glyph.pixels) ink += p;
  return ink;
}

class RasterFontTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (GetRasterFont(Face(u"Arial"), -12, 0)->FamilyName() != "Liberation Sans")
      GTEST_SKIP() << "the Liberation fonts are not installed";
  }
};

// Figures the reference renderer reports for these faces at height -100.
struct MetricCase {
  std::u16string face;
  int32_t height, ascent, descent, aveCharWidth;
};

TEST_F(RasterFontTest, NegativeHeightIsTheEmSizeWithTheReferenceMetrics) {
  const MetricCase cases[] = {
      {u"Arial", 112, 91, 21, 58},   {u"Times New Roman", 111, 89, 22, 55},
      {u"Courier New", 113, 83, 30, 60}, {u"Calibri", 122, 95, 27, 51},
      {u"Cambria", 130, 105, 25, 51},
  };
  for (const MetricCase& c : cases) {
    const auto font = GetRasterFont(Face(c.face), -100, 0);
    if (c.face == u"Calibri" && font->FamilyName() != "Carlito") continue;
    if (c.face == u"Cambria" && font->FamilyName() != "Caladea") continue;
    EXPECT_EQ(font->Height(), c.height) << font->FamilyName();
    EXPECT_EQ(font->Ascent(), c.ascent) << font->FamilyName();
    EXPECT_EQ(font->Descent(), c.descent) << font->FamilyName();
    EXPECT_EQ(font->AveCharWidth(), c.aveCharWidth) << font->FamilyName();
  }
}

TEST_F(RasterFontTest, PositiveHeightIsTheCellHeight) {
  for (int32_t height : {12, 16, 20, 112}) {
    const auto font = GetRasterFont(Face(u"Arial"), height, 0);
    EXPECT_EQ(font->Height(), height);
    EXPECT_EQ(font->Ascent() + font->Descent(), height);
  }
  // The same number as an em size gives a taller cell.
  EXPECT_GT(GetRasterFont(Face(u"Arial"), -12, 0)->Height(), 12);
  EXPECT_EQ(GetRasterFont(Face(u"Arial"), -12, 0)->Height(), 14);
}

TEST_F(RasterFontTest, ZeroHeightIsTheDefaultSize) {
  EXPECT_EQ(GetRasterFont(Face(u"Arial"), 0, 0)->Height(), GetRasterFont(Face(u"Arial"), 16, 0)->Height());
}

TEST_F(RasterFontTest, GlyphPixelsAreBilevel) {
  const auto font = GetRasterFont(Face(u"Times New Roman"), -37, 0);
  for (char32_t ch : std::u32string(U"Wag@%")) {
    const auto glyph = font->Glyph(ch);
    ASSERT_FALSE(glyph->IsEmpty());
    EXPECT_EQ(glyph->pixels.size(), size_t(glyph->width) * glyph->height);
    for (uint8_t p : glyph->pixels) ASSERT_LE(p, 1);
    EXPECT_GT(InkOf(*glyph), 0);
  }
}

TEST_F(RasterFontTest, GlyphSitsOnTheBaseline) {
  const auto font = GetRasterFont(Face(u"Arial"), -100, 0);
  const auto h = font->Glyph(U'H');
  // The cap height of Liberation Sans is 1409/2048 em; H has no descender.
  EXPECT_NEAR(h->top, 69, 1);
  EXPECT_EQ(h->top, h->height);
  const auto g = font->Glyph(U'g');
  EXPECT_GT(g->height, g->top);  // reaches below the baseline
  EXPECT_LE(g->height - g->top, font->Descent());
}

TEST_F(RasterFontTest, BoldIsWiderAndHeavier) {
  const auto regular = GetRasterFont(Face(u"Arial", 400), -40, 0);
  const auto bold = GetRasterFont(Face(u"Arial", 700), -40, 0);
  int32_t regularWidth = 0, boldWidth = 0, regularInk = 0, boldInk = 0;
  for (char32_t ch : std::u32string(U"bdhnpqu")) {
    regularWidth += regular->Glyph(ch)->advanceX;
    boldWidth += bold->Glyph(ch)->advanceX;
    regularInk += InkOf(*regular->Glyph(ch));
    boldInk += InkOf(*bold->Glyph(ch));
  }
  EXPECT_GT(boldWidth, regularWidth);
  EXPECT_GT(boldInk, regularInk * 5 / 4);
}

TEST_F(RasterFontTest, BoldWithoutABoldFileIsSynthesisedOnePixelWider) {
  const auto regular = GetRasterFont(Face(u"DejaVu Math TeX Gyre", 400), -40, 0);
  if (regular->FamilyName() != "DejaVu Math TeX Gyre") GTEST_SKIP() << "no single-style family";
  const auto bold = GetRasterFont(Face(u"DejaVu Math TeX Gyre", 700), -40, 0);
  EXPECT_EQ(bold->FilePath(), regular->FilePath());
  EXPECT_EQ(bold->Glyph(U'n')->advanceX, regular->Glyph(U'n')->advanceX + 1);
  EXPECT_GT(InkOf(*bold->Glyph(U'n')), InkOf(*regular->Glyph(U'n')));
}

TEST_F(RasterFontTest, ItalicLeansRight) {
  const auto upright = GetRasterFont(Face(u"Arial"), -60, 0)->Glyph(U'l');
  const auto italic = GetRasterFont(Face(u"Arial", 400, true), -60, 0)->Glyph(U'l');
  EXPECT_GT(italic->width, upright->width * 2);
}

TEST_F(RasterFontTest, MonospacedFaceHasEqualAdvances) {
  const auto font = GetRasterFont(Face(u"Courier New"), -17, 0);
  const int32_t advance = font->Glyph(U'i')->advanceX;
  EXPECT_GT(advance, 0);
  for (char32_t ch : std::u32string(U"WM.m 0")) EXPECT_EQ(font->Glyph(ch)->advanceX, advance);
}

TEST_F(RasterFontTest, EscapementTurnsTheAdvanceVector) {
  const auto level = GetRasterFont(Face(u"Arial"), -30, 0)->Glyph(U'H');
  LogFont up = Face(u"Arial");
  up.escapement = 900;
  const auto rotated = GetRasterFont(up, -30, 0)->Glyph(U'H');
  EXPECT_EQ(rotated->advanceX, 0);
  EXPECT_EQ(rotated->advanceY, -level->advanceX);  // y grows downwards
  EXPECT_EQ(rotated->width, level->height);
  EXPECT_EQ(rotated->height, level->width);
}

TEST_F(RasterFontTest, WidthScalesHorizontally) {
  const auto natural = GetRasterFont(Face(u"Arial"), -40, 0);
  const int32_t wide = natural->AveCharWidth() * 2;
  const auto stretched = GetRasterFont(Face(u"Arial"), -40, wide);
  EXPECT_EQ(stretched->AveCharWidth(), wide);
  EXPECT_EQ(stretched->Height(), natural->Height());
  EXPECT_NEAR(stretched->Glyph(U'H')->advanceX, natural->Glyph(U'H')->advanceX * 2, 2);
}

TEST_F(RasterFontTest, SameRequestGivesTheSameCachedObject) {
  const auto a = GetRasterFont(Face(u"Arial"), -21, 0);
  const auto b = GetRasterFont(Face(u"arial"), -21, 0);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_NE(a.get(), GetRasterFont(Face(u"Arial"), -22, 0).get());
  EXPECT_EQ(a->Glyph(U'x').get(), a->Glyph(U'x').get());
}

TEST_F(RasterFontTest, UnknownFaceFallsBackWithoutError) {
  const auto font = GetRasterFont(Face(u"No Such Face 4711"), -20, 0);
  EXPECT_EQ(font->FamilyName(), "Liberation Sans");
  EXPECT_FALSE(font->Glyph(U'A')->IsEmpty());
}

TEST_F(RasterFontTest, NonCharactersDrawTheMissingGlyphBox) {
  const auto font = GetRasterFont(Face(u"Arial"), -20, 0);
  EXPECT_EQ(font->GlyphIndex(0xD800), 0u);  // a lone surrogate
  EXPECT_EQ(font->GlyphIndex(0x110000), 0u);
  const auto box = font->Glyph(0xD800);
  EXPECT_FALSE(box->IsEmpty());
  EXPECT_GT(box->advanceX, 0);
  const auto nul = font->Glyph(0);  // whatever the face maps U+0000 to, no crash
  EXPECT_EQ(nul->pixels.size(), size_t(nul->width) * nul->height);
  const auto space = font->Glyph(U' ');
  EXPECT_TRUE(space->IsEmpty());
  EXPECT_GT(space->advanceX, 0);
}

TEST_F(RasterFontTest, HugeFontsStayBoundedInMemory) {
  const auto font = GetRasterFont(Face(u"Arial"), -60000, 0);
  const auto glyph = font->Glyph(U'W');
  EXPECT_LE(glyph->pixels.size(), size_t(32) << 20);
  EXPECT_GT(glyph->advanceX, 10000);
}

TEST_F(RasterFontTest, GlyphsCanBeFetchedFromSeveralThreads) {
  const auto font = GetRasterFont(Face(u"Arial"), -18, 0);
  std::atomic<int> ink{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (char32_t ch = U'A'; ch <= U'z'; ++ch) ink += InkOf(*font->Glyph(ch));
    });
  }
  for (std::thread& thread : threads) thread.join();
  int expected = 0;
  for (char32_t ch = U'A'; ch <= U'z'; ++ch) expected += InkOf(*font->Glyph(ch));
  EXPECT_EQ(ink.load(), expected * 4);
}

}  // namespace
}  // namespace vx::gdi
