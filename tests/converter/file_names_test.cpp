#include "converter/file_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "converter/scratch_folder.h"

namespace vx {
namespace {

using test::ScratchFolder;

struct KindCase {
  const char* name;
  TSourceKind kind;
};

class SourceKindByExtension : public testing::TestWithParam<KindCase> {};

TEST_P(SourceKindByExtension, FollowsTheLetterCaseFreeExtension) {
  EXPECT_EQ(DetectSourceKind(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, SourceKindByExtension,
    testing::Values(KindCase{"/data/in.vxp", skReport}, KindCase{"/data/REPORT.VXP", skReport},
                    KindCase{"/data/Report.VxP", skReport}, KindCase{"/data/a.b.vxp", skReport},
                    KindCase{"/data/pic.wmf", skWindowsMetafile}, KindCase{"/data/PIC.WMF", skWindowsMetafile},
                    KindCase{"/data/pic.emf", skEnhancedMetafile}, KindCase{"/data/pic.Emf", skEnhancedMetafile},
                    KindCase{"/data/notes.txt", skUnsupported}, KindCase{"/data.old/report", skUnsupported},
                    KindCase{"/data/report.", skUnsupported}, KindCase{"/data/report", skUnsupported},
                    KindCase{"/data/in.vxp.bak", skUnsupported}, KindCase{"/data/in.vxpx", skUnsupported},
                    KindCase{"/data/in.vx", skUnsupported}, KindCase{"/data/in.vxp ", skUnsupported},
                    KindCase{"/data/.vxp", skReport}, KindCase{"C:\\data.vxp\\report", skUnsupported},
                    KindCase{"C:report.vxp", skReport}, KindCase{"in.vxp", skReport}));

TEST(ExtractExtension, StartsAtTheLastPeriodAfterTheDirectoryPart) {
  EXPECT_EQ(ExtractExtension("/a.b/c.d.e"), ".e");
  EXPECT_EQ(ExtractExtension("/a.b/c"), "");
  EXPECT_EQ(ExtractExtension("/a/c."), ".");
  EXPECT_EQ(ExtractExtension("name"), "");
}

TEST(CompleteFileName, PutsTheCurrentDirectoryBeforeABareName) {
  EXPECT_EQ(CompleteFileName("in.vxp", "/home/user"), "/home/user/in.vxp");
  EXPECT_EQ(CompleteFileName("C:in.vxp", "/home/user"), "/home/user/C:in.vxp");
  EXPECT_EQ(CompleteFileName("a\\b.vxp", "/home/user"), "/home/user/a\\b.vxp");
}

TEST(CompleteFileName, GivesADoubledSlashInTheRootDirectory) {
  EXPECT_EQ(CompleteFileName("in.vxp", "/"), "//in.vxp");
}

TEST(CompleteFileName, LeavesNamesWithADirectoryPartAlone) {
  EXPECT_EQ(CompleteFileName("sub/in.vxp", "/home/user"), "sub/in.vxp");
  EXPECT_EQ(CompleteFileName("./in.vxp", "/home/user"), "./in.vxp");
  EXPECT_EQ(CompleteFileName("../x/../in.vxp", "/home/user"), "../x/../in.vxp");
  EXPECT_EQ(CompleteFileName("/data//in.vxp", "/home/user"), "/data//in.vxp");
}

TEST(CompleteFileName, UsesTheProcessCurrentDirectory) {
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(CurrentDirectory(), cwd);
  EXPECT_EQ(CompleteFileName("in.vxp"), std::string(cwd) + "/in.vxp");
  EXPECT_EQ(CompleteFileName("sub/in.vxp"), "sub/in.vxp");
}

class SourceExistence : public testing::Test {
protected:
  ScratchFolder folder_;
};

TEST_F(SourceExistence, FindsAPlainFile) {
  EXPECT_TRUE(SourceFileExists(folder_.AddFile("in.vxp")));
}

TEST_F(SourceExistence, MissesAnAbsentFile) {
  folder_.AddFile("in.vxp");
  EXPECT_FALSE(SourceFileExists(folder_.Join("missing.vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("IN.VXP")));  // names keep their letter case
  EXPECT_FALSE(SourceFileExists(folder_.Join("nofolder/in.vxp")));
}

TEST_F(SourceExistence, RejectsADirectory) {
  EXPECT_FALSE(SourceFileExists(folder_.AddFolder("in.vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Path() + "/"));
  EXPECT_FALSE(SourceFileExists(folder_.Path()));
}

TEST_F(SourceExistence, MatchesStarAndQuestionMarkInTheLastComponent) {
  folder_.AddFile("report.vxp");
  EXPECT_TRUE(SourceFileExists(folder_.Join("*.vxp")));
  EXPECT_TRUE(SourceFileExists(folder_.Join("rep?rt.vxp")));
  EXPECT_TRUE(SourceFileExists(folder_.Join("r*")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("*.emf")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("report?.vxp")));
}

TEST_F(SourceExistence, TakesOnlyStarAndQuestionMarkAsWildcards) {
  folder_.AddFile("a.vxp");
  folder_.AddFile("[a].vxp");
  EXPECT_TRUE(SourceFileExists(folder_.Join("[a].vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("[ab].vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("\\a.vxp")));
}

TEST_F(SourceExistence, JudgesTheFirstMatchInSortedOrder) {
  folder_.AddFolder("a.vxp");
  folder_.AddFile("b.vxp");
  EXPECT_FALSE(SourceFileExists(folder_.Join("*.vxp")));  // a.vxp, a directory, comes first
  folder_.AddFile("0.vxp");
  EXPECT_TRUE(SourceFileExists(folder_.Join("*.vxp")));
}

TEST_F(SourceExistence, TakesTheDotEntriesAsDirectories) {
  folder_.AddFile("a.vxp");
  EXPECT_FALSE(SourceFileExists(folder_.Join("*")));  // "." sorts first
}

TEST_F(SourceExistence, WantsAModificationTimeInTheDosRange) {
  const std::string file = folder_.AddFile("in.vxp");
  struct YearCase {
    int year;
    bool exists;
  };
  for (const YearCase c : {YearCase{1975, false}, YearCase{1979, false}, YearCase{1980, true},
                           YearCase{2024, true}, YearCase{2107, true}, YearCase{2108, false},
                           YearCase{2110, false}}) {
    ASSERT_TRUE(test::SetModificationTime(file, test::LocalNoonOf(c.year)));
    EXPECT_EQ(SourceFileExists(file), c.exists) << c.year;
  }
}

TEST_F(SourceExistence, WantsTheDosRangeToTheSecondInLocalTime) {
  const std::string file = folder_.AddFile("in.vxp");
  const auto local = [](int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    when.tm_isdst = -1;
    return std::mktime(&when);
  };
  struct TimeCase {
    time_t when;
    bool exists;
  };
  for (const TimeCase c : {TimeCase{local(1979, 12, 31, 23, 59, 59), false}, TimeCase{local(1980, 1, 1, 0, 0, 0), true},
                           TimeCase{local(1980, 1, 2, 12, 0, 0), true}, TimeCase{local(1979, 12, 30, 12, 0, 0), false},
                           TimeCase{local(2107, 12, 31, 23, 59, 59), true}, TimeCase{local(2108, 1, 1, 0, 0, 0), false},
                           TimeCase{local(2107, 12, 30, 12, 0, 0), true}, TimeCase{local(2108, 1, 2, 12, 0, 0), false}}) {
    ASSERT_TRUE(test::SetModificationTime(file, c.when));
    EXPECT_EQ(SourceFileExists(file), c.exists) << c.when;
  }
}

TEST_F(SourceExistence, FindsAnExactNameWithoutAnyOtherMatch) {
  folder_.AddFile("in.vxp");
  folder_.AddFile("in.vxp.bak");
  folder_.AddFile("in");
  EXPECT_TRUE(SourceFileExists(folder_.Join("in.vxp")));
  EXPECT_TRUE(SourceFileExists(folder_.Join("in")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("in.vx")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("In.vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("IN.*")));  // wildcards keep the letter case too
  EXPECT_TRUE(SourceFileExists(folder_.Join("in.*")));
}

TEST_F(SourceExistence, ListsTheFolderForANameWithAWildcardEvenWhenItExists) {
  folder_.AddFile("a?.vxp");
  EXPECT_TRUE(SourceFileExists(folder_.Join("a?.vxp")));
  folder_.AddFolder("a0.vxp");  // sorts before "a?.vxp" and matches it
  EXPECT_FALSE(SourceFileExists(folder_.Join("a?.vxp")));
  EXPECT_FALSE(SourceFileExists(folder_.Join("a*")));
}

TEST_F(SourceExistence, FindsABareNameInTheCurrentDirectory) {
  folder_.AddFile("in.vxp");
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(folder_.Path().c_str()), 0);
  const bool exact = SourceFileExists("in.vxp");
  const bool wildcard = SourceFileExists("i?.vxp");
  const bool missing = SourceFileExists("out.vxp");
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_TRUE(exact);
  EXPECT_TRUE(wildcard);
  EXPECT_FALSE(missing);
}

TEST_F(SourceExistence, WantsAFolderItCouldList) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string sub = folder_.AddFolder("sub");
  folder_.AddFile("sub/in.vxp");
  ASSERT_EQ(::chmod(sub.c_str(), 0300), 0);  // searchable, not readable
  const bool exact = SourceFileExists(sub + "/in.vxp");
  const bool wildcard = SourceFileExists(sub + "/*.vxp");
  ASSERT_EQ(::chmod(sub.c_str(), 0700), 0);
  EXPECT_FALSE(exact);
  EXPECT_FALSE(wildcard);
  EXPECT_TRUE(SourceFileExists(sub + "/in.vxp"));
}

TEST_F(SourceExistence, FollowsASymbolicLinkToAFile) {
  const std::string target = folder_.AddFile("target.vxp");
  ASSERT_EQ(::symlink(target.c_str(), folder_.Join("link.vxp").c_str()), 0);
  EXPECT_TRUE(SourceFileExists(folder_.Join("link.vxp")));
  ASSERT_EQ(::symlink(folder_.Path().c_str(), folder_.Join("dirlink.vxp").c_str()), 0);
  EXPECT_FALSE(SourceFileExists(folder_.Join("dirlink.vxp")));
}

}  // namespace
}  // namespace vx
