#include "graphics/platform/text/face_code_pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/platform/text/font_resolver.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kArabic = 178, kHebrew = 177, kRussian = 204, kShiftJis = 128, kOem = 255;

ResolvedFace FaceOf(const std::u16string& name) {
  LogFont font;
  font.face_name = name;
  font.char_set = 0;
  return ResolveFontFace(font);
}

bool IsFile(const ResolvedFace& face, const char* prefix) {
  return face.path.substr(face.path.find_last_of('/') + 1).rfind(prefix, 0) == 0;
}

TEST(FaceCodePages, CharacterSetsHaveTheirRangeBits) {
  EXPECT_EQ(CodePageBitOfCharset(0), 0u);
  EXPECT_EQ(CodePageBitOfCharset(238), 1u);
  EXPECT_EQ(CodePageBitOfCharset(kRussian), 2u);
  EXPECT_EQ(CodePageBitOfCharset(kHebrew), 5u);
  EXPECT_EQ(CodePageBitOfCharset(kArabic), 6u);
  EXPECT_EQ(CodePageBitOfCharset(kShiftJis), 17u);
  EXPECT_EQ(CodePageBitOfCharset(2), 31u);
  EXPECT_FALSE(CodePageBitOfCharset(1).has_value());
  EXPECT_FALSE(CodePageBitOfCharset(kOem).has_value());
}

TEST(FaceCodePages, TheInstalledFacesDeclareWhatTheyServe) {
  const ResolvedFace serif = FaceOf(u"Times New Roman");
  const ResolvedFace dejavu = FaceOf(u"DejaVu Sans");
  if (!IsFile(serif, "LiberationSerif") || !IsFile(dejavu, "DejaVuSans"))
    GTEST_SKIP() << "Liberation Serif or DejaVu Sans is not installed";
  const std::optional<uint32_t> latin = FaceCodePageRange(serif.path, serif.index);
  ASSERT_TRUE(latin.has_value());
  EXPECT_TRUE(*latin & 1u);          // Latin 1
  EXPECT_TRUE(*latin & 1u << 5);     // Hebrew
  EXPECT_FALSE(*latin & 1u << 6);    // no Arabic
  EXPECT_FALSE(FaceServesCharset(serif.path, serif.index, kArabic));
  EXPECT_TRUE(FaceServesCharset(serif.path, serif.index, kHebrew));
  EXPECT_TRUE(FaceServesCharset(dejavu.path, dejavu.index, kArabic));
  // Sets without a bit are served by every face.
  EXPECT_TRUE(FaceServesCharset(serif.path, serif.index, kOem));
}

TEST(FaceCodePages, FilesWithoutARangeDeclareNothing) {
  const std::string path = ::testing::TempDir() + "face_code_pages_test.bin";
  {
    // An sfnt header naming one table that is not OS/2.
    const std::vector<unsigned char> bytes = {0, 1, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 'h', 'e', 'a', 'd',
                                              0, 0, 0, 0, 0, 0, 0, 28, 0, 0, 0, 4, 1, 2, 3, 4};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  EXPECT_FALSE(FaceCodePageRange(path, 0).has_value());
  EXPECT_TRUE(FaceServesCharset(path, 0, kArabic));
  EXPECT_FALSE(FaceCodePageRange(path + ".missing", 0).has_value());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vx::gdi
