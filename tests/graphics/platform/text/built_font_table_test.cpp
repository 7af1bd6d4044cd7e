#include "graphics/platform/text/built_font_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/platform/text/charset_coverage.h"
#include "graphics/platform/text/fontconfig_faces.h"
#include "storage/page_store_fixtures.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kFixedPitch = 0x01;
constexpr uint8_t kRoman = 0x10;
constexpr uint8_t kModern = 0x30;

// fontconfig's own answer, asked the way the resolver asks it.
ResolvedFace ThroughFontconfig(const std::string& lowerName, bool bold, bool italic, uint8_t pitch) {
  if (std::optional<ResolvedFace> named = FontconfigNamedFace(lowerName, bold, italic)) return *named;
  return FontconfigDefaultFace(DefaultFamilyFor(pitch), bold, italic);
}

auto Fields(const ResolvedFace& f) { return std::tie(f.path, f.index, f.family, f.bold, f.italic, f.monospaced); }

TEST(BuiltFontTable, HoldsOnTheSystemItWasBuiltOn) {
  // The tests run where the program was built, with nothing changed since.
  EXPECT_TRUE(BuiltFontTableHolds());
  EXPECT_TRUE(CheckBuiltFontTable());
}

TEST(BuiltFontTable, GivesFontconfigsAnswerForEveryKindOfName) {
  ASSERT_TRUE(BuiltFontTableHolds());
  std::vector<std::string> names = {"arial", "times new roman", "courier new", "calibri", "cambria", "helvetica",
                                    "tahoma", "ms sans serif", "verdana", "", "no such face 4711", "wingdings",
                                    "symbol"};
  const std::vector<std::string> installed = InstalledFamilyNames();
  names.insert(names.end(), installed.begin(), installed.end());
  int compared = 0;
  for (const std::string& name : names) {
    for (const bool bold : {false, true}) {
      for (const bool italic : {false, true}) {
        for (const uint8_t pitch : {uint8_t{0}, kFixedPitch, kRoman, kModern}) {
          const std::optional<ResolvedFace> built = BuiltFontTableFace(name, bold, italic, pitch);
          ASSERT_TRUE(built.has_value()) << name;
          const ResolvedFace expected = ThroughFontconfig(name, bold, italic, pitch);
          EXPECT_EQ(Fields(*built), Fields(expected)) << name << " bold " << bold << " italic " << italic
                                                      << " pitch " << int(pitch);
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 200);
}

TEST(BuiltFontTable, KnowsFontconfigsCoverageOfEveryCharsetLanguage) {
  ASSERT_TRUE(BuiltFontTableHolds());
  int languages = 0;
  for (int charset = 0; charset < 256; ++charset) {
    const std::string_view language = FontconfigLanguageOfCharset(static_cast<uint8_t>(charset));
    if (language.empty()) continue;
    const std::optional<bool> built = BuiltLanguageCovered(language);
    ASSERT_TRUE(built.has_value()) << language;
    EXPECT_EQ(*built, FontconfigHasLanguage(language)) << language;
    EXPECT_EQ(InstalledFontsCoverCharset(static_cast<uint8_t>(charset)), *built) << charset;
    ++languages;
  }
  EXPECT_EQ(languages, 15);  // one per non-ANSI character set, Johab sharing Korean
  EXPECT_FALSE(BuiltLanguageCovered("no such language").has_value());
}

TEST(BuiltFontTable, DoesNotHoldWithAFontconfigEnvironmentSetting) {
  test::ScopedEnv file("FONTCONFIG_FILE", "/etc/fonts/fonts.conf");
  EXPECT_FALSE(CheckBuiltFontTable());
}

TEST(BuiltFontTable, DoesNotHoldWithPerUserFonts) {
  test::TempFolder home;
  test::ScopedEnv homeVariable("HOME", home.Path().c_str());
  test::ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  test::ScopedEnv data("XDG_DATA_HOME", nullptr);
  EXPECT_TRUE(CheckBuiltFontTable());  // an empty home changes nothing
  std::filesystem::create_directories(home.File(".local/share/fonts"));
  EXPECT_FALSE(CheckBuiltFontTable());
  std::filesystem::remove_all(home.File(".local"));
  std::filesystem::create_directories(home.File(".config/fontconfig"));
  EXPECT_FALSE(CheckBuiltFontTable());
  std::filesystem::remove_all(home.File(".config"));
  test::WriteFileBytes(home.File(".fonts.conf"), {});
  EXPECT_FALSE(CheckBuiltFontTable());
}

}  // namespace
}  // namespace vx::gdi
