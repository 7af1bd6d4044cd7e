// A glyph's measured advance is the advance of the glyph as drawn: text is
// measured with one and placed with the other, so any difference moves ink.
#include "graphics/platform/text/raster_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "graphics/platform/core/charset.h"

namespace vx::gdi {
namespace {

// A quality no other test asks for: the fonts here are realised fresh, so
// their advances are measured before any glyph of them is rendered.
constexpr uint8_t kFreshQuality = 2;

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

std::u32string Characters() {
  std::u32string text;
  for (char32_t ch = 0x20; ch < 0x7F; ++ch) text += ch;
  // Latin, Greek, Cyrillic, CJK and full-width forms, symbol-area codes, a
  // lone surrogate, a supplementary character and U+0000.
  text += U"\u00E9\u00DF\u00F1\u20AC\u03B1\u0416\u4E2D\u65E5\uFF21\uF041\uF0B7";
  text += char32_t(0xD800);
  text += char32_t(0x1F600);
  text += char32_t(0);
  return text;
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

XForm Anisotropic() {
  XForm x;
  x.m11 = 1.7;
  x.m22 = 0.6;
  x.m21 = 0.25;  // and sheared
  return x;
}

struct Request {
  LogFont font;
  int32_t height = 0;
  int32_t width = 0;
  const XForm* transform = nullptr;
};

std::string Describe(const Request& r, const RasterFont& font, char32_t ch, bool smoothed) {
  std::ostringstream out;
  out << font.FamilyName() << " weight " << r.font.weight << (r.font.italic ? " italic" : "") << " height "
      << r.height << " width " << r.width << " escapement " << r.font.escapement
      << (r.transform ? " transformed" : "") << (smoothed ? " smoothed" : " bilevel") << " U+" << std::hex
      << uint32_t(ch);
  return out.str();
}

class GlyphAdvanceTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (GetRasterFont(Face(u"Arial"), -12, 0)->FamilyName() != "Liberation Sans")
      GTEST_SKIP() << "the Liberation fonts are not installed";
  }

  // Measures every character first, then renders it; counts the requests
  // whose glyphs move the pen at all, so a face drawing nothing cannot pass.
  void ExpectMeasuredEqualsRendered(const std::vector<Request>& requests) {
    const std::u32string text = Characters();
    for (const Request& r : requests) {
      const auto font = GetRasterFont(r.font, r.height, r.width, r.transform);
      for (bool smoothed : {false, true}) {
        std::vector<Point> measured;
        for (char32_t ch : text) measured.push_back(font->Advance(ch, smoothed));
        int moving = 0;
        for (size_t i = 0; i < text.size(); ++i) {
          const auto glyph = font->Glyph(text[i], smoothed);
          const Point drawn{glyph->advanceX, glyph->advanceY};
          ASSERT_EQ(measured[i], drawn) << Describe(r, *font, text[i], smoothed) << ": measured (" << measured[i].x
                                        << ", " << measured[i].y << ") drawn (" << drawn.x << ", " << drawn.y << ")";
          moving += drawn.x != 0 || drawn.y != 0;
          // Asked again, now that the glyph is cached, the answer stays.
          ASSERT_EQ(font->Advance(text[i], smoothed), drawn) << Describe(r, *font, text[i], smoothed);
        }
        EXPECT_GT(moving, int(text.size()) / 2) << Describe(r, *font, 0, smoothed);
      }
    }
  }
};

const std::vector<LogFont>& Faces() {
  static const std::vector<LogFont> faces = {
      Face(u"Arial"),
      Face(u"Arial", 700),
      Face(u"Arial", 400, true),
      Face(u"Times New Roman", 700, true),
      Face(u"Courier New"),                      // fixed pitch
      Face(u"DejaVu Math TeX Gyre", 700),        // bold synthesised
      Face(u"DejaVu Math TeX Gyre", 400, true),  // slant synthesised
      Face(u"Symbol", 400, false, kSymbolCharset),
      Face(u"MS Mincho"),                        // not installed: the fallback face
  };
  return faces;
}

const int32_t kHeights[] = {-7, -13, -50, -200, 13};

TEST_F(GlyphAdvanceTest, MeasuredAdvanceIsTheRenderedOne) {
  std::vector<Request> requests;
  for (const LogFont& face : Faces()) {
    for (int32_t height : kHeights) requests.push_back({face, height, 0, nullptr});
  }
  ExpectMeasuredEqualsRendered(requests);
}

TEST_F(GlyphAdvanceTest, MeasuredAdvanceIsTheRenderedOneThroughARotation) {
  static const XForm rotation = Rotation(30);
  std::vector<Request> requests;
  for (const LogFont& face : Faces()) {
    for (int32_t height : kHeights) requests.push_back({face, height, 0, &rotation});
  }
  ExpectMeasuredEqualsRendered(requests);
  // The advance is a vector then.
  const auto font = GetRasterFont(Face(u"Arial"), -50, 0, &rotation);
  EXPECT_NE(font->Advance(U'H').y, 0);
}

TEST_F(GlyphAdvanceTest, MeasuredAdvanceIsTheRenderedOneThroughAnAnisotropicScale) {
  static const XForm scale = Anisotropic();
  std::vector<Request> requests;
  for (const LogFont& face : Faces()) {
    for (int32_t height : kHeights) requests.push_back({face, height, 0, &scale});
  }
  ExpectMeasuredEqualsRendered(requests);
}

TEST_F(GlyphAdvanceTest, MeasuredAdvanceIsTheRenderedOneWithEscapementAndWidth) {
  std::vector<Request> requests;
  for (const LogFont& face : Faces()) {
    LogFont turned = face;
    turned.escapement = 450;
    for (int32_t height : {-13, -50}) {
      const int32_t natural = GetRasterFont(face, height, 0)->AveCharWidth();
      requests.push_back({turned, height, 0, nullptr});
      requests.push_back({face, height, natural * 3 / 2, nullptr});
      requests.push_back({face, height, std::max(1, natural / 2), nullptr});
    }
  }
  ExpectMeasuredEqualsRendered(requests);
}

TEST_F(GlyphAdvanceTest, MeasuringAndRenderingFromSeveralThreadsAgree) {
  const auto font = GetRasterFont(Face(u"Times New Roman"), -23, 0);
  const std::u32string text = Characters();
  std::vector<std::vector<Point>> seen(4);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < seen.size(); ++t) {
    threads.emplace_back([&, t] {
      for (char32_t ch : text) {
        // Half the threads render, half measure, all on the one face.
        if (t % 2 == 0) {
          const auto glyph = font->Glyph(ch);
          seen[t].push_back({glyph->advanceX, glyph->advanceY});
        } else {
          seen[t].push_back(font->Advance(ch));
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t i = 0; i < text.size(); ++i) {
    const auto glyph = font->Glyph(text[i]);
    const Point drawn{glyph->advanceX, glyph->advanceY};
    for (const std::vector<Point>& one : seen) ASSERT_EQ(one[i], drawn) << uint32_t(text[i]);
  }
  EXPECT_GT(font->Advance(U'W').x, font->Advance(U'i').x);
}

}  // namespace
}  // namespace vx::gdi
