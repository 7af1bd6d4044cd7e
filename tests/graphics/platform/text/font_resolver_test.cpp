#include "graphics/platform/text/font_resolver.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/platform/text/charset_coverage.h"

namespace vx::gdi {
namespace {

LogFont Face(const std::u16string& name, int32_t weight = 400, bool italic = false,
             uint8_t pitchAndFamily = 0) {
  LogFont font;
  font.face_name = name;
  font.weight = weight;
  font.italic = italic;
  font.pitch_and_family = pitchAndFamily;
  return font;
}

std::string FileName(const ResolvedFace& face) {
  return face.path.substr(face.path.find_last_of('/') + 1);
}

class FontResolverTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (FileName(ResolveFontFace(Face(u"Arial"))).rfind("LiberationSans", 0) != 0)
      GTEST_SKIP() << "the Liberation fonts are not installed";
  }
};

struct FaceCase {
  std::u16string face;
  const char* family;
};

TEST_F(FontResolverTest, WindowsFacesResolveToTheirMetricCompatibleFamilies) {
  const FaceCase cases[] = {
      {u"Arial", "Liberation Sans"},         {u"ARIAL", "Liberation Sans"},
      {u"Helvetica", "Liberation Sans"},     {u"Times New Roman", "Liberation Serif"},
      {u"Times", "Liberation Serif"},        {u"Courier New", "Liberation Mono"},
      {u"Calibri", "Carlito"},               {u"Cambria", "Caladea"},
  };
  for (const FaceCase& c : cases) {
    const std::string family = c.family;
    if (ResolveFontFace(Face(std::u16string(family.begin(), family.end()))).family != family)
      continue;  // that family is not installed here
    EXPECT_EQ(ResolveFontFace(Face(c.face)).family, family) << family;
  }
}

TEST_F(FontResolverTest, UnknownAndEmptyFacesFallBackToTheDefaultSansFace) {
  EXPECT_EQ(ResolveFontFace(Face(u"No Such Face 4711")).family, "Liberation Sans");
  EXPECT_EQ(ResolveFontFace(Face(u"")).family, "Liberation Sans");
  EXPECT_EQ(ResolveFontFace(Face(u"Wingdings")).family, "Liberation Sans");
}

TEST_F(FontResolverTest, UnknownFixedPitchOrRomanFacesFallBackByFamily) {
  constexpr uint8_t kFixedPitch = 0x01, kRoman = 0x10, kModern = 0x30;
  EXPECT_EQ(ResolveFontFace(Face(u"No Such Face", 400, false, kFixedPitch)).family, "Liberation Mono");
  EXPECT_EQ(ResolveFontFace(Face(u"No Such Face", 400, false, kModern)).family, "Liberation Mono");
  EXPECT_EQ(ResolveFontFace(Face(u"No Such Face", 400, false, kRoman)).family, "Liberation Serif");
}

TEST_F(FontResolverTest, WeightAboveFiveHundredFiftyPicksTheBoldFile) {
  EXPECT_EQ(FileName(ResolveFontFace(Face(u"Arial", 400))), "LiberationSans-Regular.ttf");
  EXPECT_EQ(FileName(ResolveFontFace(Face(u"Arial", 550))), "LiberationSans-Regular.ttf");
  EXPECT_EQ(FileName(ResolveFontFace(Face(u"Arial", 600))), "LiberationSans-Bold.ttf");
  EXPECT_EQ(FileName(ResolveFontFace(Face(u"Arial", 700, true))), "LiberationSans-BoldItalic.ttf");
  EXPECT_TRUE(ResolveFontFace(Face(u"Arial", 700)).bold);
}

TEST_F(FontResolverTest, FaceNamesEndAtTheirFirstNul) {
  std::u16string name = u"Courier New";
  name += u'\0';
  name += u"garbage";
  EXPECT_EQ(ResolveFontFace(Face(name)).family, "Liberation Mono");
}

LogFont WithCharset(const std::u16string& name, uint8_t charset, uint8_t pitchAndFamily = 0) {
  LogFont font = Face(name, 400, false, pitchAndFamily);
  font.char_set = charset;
  return font;
}

TEST_F(FontResolverTest, ACharacterSetTheFaceDoesNotServeGoesToAFaceThatDoes) {
  constexpr uint8_t kArabic = 178, kRoman = 0x12;
  const ResolvedFace dejavu = ResolveFontFace(Face(u"DejaVu Sans"));
  if (dejavu.family != "DejaVu Sans") GTEST_SKIP() << "DejaVu Sans is not installed";
  // Liberation Serif has no Arabic; of the installed faces DejaVu Sans has.
  const ResolvedFace arabic = ResolveFontFace(WithCharset(u"Times New Roman", kArabic, kRoman));
  EXPECT_EQ(arabic.family, "DejaVu Sans");
  EXPECT_EQ(FileName(arabic), FileName(dejavu));
  // The same face for the sets it serves.
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Times New Roman", 0, kRoman)).family, "Liberation Serif");
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Times New Roman", 177, kRoman)).family, "Liberation Serif");
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Times New Roman", 204, kRoman)).family, "Liberation Serif");
}

TEST_F(FontResolverTest, TheDefaultFaceOfThePitchAndFamilyComesFirst) {
  constexpr uint8_t kRussian = 204, kRoman = 0x12, kSwiss = 0x22;
  if (ResolveFontFace(Face(u"Cambria")).family != "Caladea") GTEST_SKIP() << "Caladea is not installed";
  // Caladea has no Cyrillic: the default face for the family has.
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Cambria", kRussian, kRoman)).family, "Liberation Serif");
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Cambria", kRussian, kSwiss)).family, "Liberation Sans");
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Cambria", 0, kRoman)).family, "Caladea");
}

TEST_F(FontResolverTest, ACharacterSetNoInstalledFaceServesKeepsTheNamedFace) {
  constexpr uint8_t kShiftJis = 128;
  if (InstalledFontsCoverCharset(kShiftJis)) GTEST_SKIP() << "a Japanese face is installed";
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Times New Roman", kShiftJis)).family, "Liberation Serif");
  EXPECT_EQ(ResolveFontFace(WithCharset(u"Arial", 255)).family, "Liberation Sans");  // OEM: no set to serve
}

TEST(FontMappedFamily, TableIgnoresCaseAndUnknownNames) {
  EXPECT_EQ(MappedFamily(u"arial"), "Liberation Sans");
  EXPECT_EQ(MappedFamily(u"Times New Roman"), "Liberation Serif");
  EXPECT_EQ(MappedFamily(u"COURIER NEW"), "Liberation Mono");
  EXPECT_EQ(MappedFamily(u"Calibri"), "Carlito");
  EXPECT_EQ(MappedFamily(u"Cambria"), "Caladea");
  EXPECT_EQ(MappedFamily(u"Tahoma"), "");
  EXPECT_EQ(MappedFamily(std::u16string(1, char16_t(0xD800))), "");
}

}  // namespace
}  // namespace vx::gdi
