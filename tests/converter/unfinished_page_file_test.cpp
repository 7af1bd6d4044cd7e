// A page whose file cannot be written to the end: the program reports the
// error and leaves no cut-off picture behind. The shell's file size limit
// makes the writes fail part way, as a full disk would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "converter/unfinished_file.h"
#include "converter/scratch_folder.h"

extern char** environ;

namespace vx {
namespace {

struct Outcome {
  int status = -1;  // -1: did not exit normally (a signal ended it)
  std::string err;
};

class UnfinishedPageFile : public testing::Test {
protected:
  // Runs the program in the scratch folder with files limited to limitBytes.
  Outcome RunLimited(int64_t limitBytes, const std::vector<std::string>& args) {
    const std::string errFile = folder_.Join(".stderr");
    const std::string script = "ulimit -f " + std::to_string(limitBytes / 512) + " && exec \"$@\"";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder_.Path().c_str());
    std::vector<std::string> words{"/bin/sh", "-c", script, "sh", VXP_BINARY};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    Outcome outcome;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start /bin/sh";
      return outcome;
    }
    int wait = 0;
    if (::waitpid(pid, &wait, 0) == pid && WIFEXITED(wait)) outcome.status = WEXITSTATUS(wait);
    std::ifstream in(errFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    outcome.err = text.str();
    std::remove(errFile.c_str());
    return outcome;
  }

  static std::string Sample(const std::string& name) { return std::string(VXP_SOURCE_DIR) + "/samples/" + name; }

  bool Exists(const std::string& name) const { return std::filesystem::exists(folder_.Join(name)); }

  test::ScratchFolder folder_;
};

constexpr int64_t kLimit = 4096;  // below the sample picture as BMP (875 KB) and as PNG (9 KB)
constexpr int64_t kBandsLimit = 64 * 1024;  // a few bands of 16 rows, not a page

TEST_F(UnfinishedPageFile, AMetafilePageCutOffIsReportedAndRemoved) {
  for (const char* format : {"--format=bmp", "--format=png"}) {
    SCOPED_TRACE(format);
    const Outcome r = RunLimited(kLimit, {Sample("shapes.emf"), "out.bmp", "96", format});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Exception EWriteError"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists("out.bmp"));
  }
}

TEST_F(UnfinishedPageFile, AFileOverwrittenAndCutOffGoesToo) {
  folder_.AddFile("out.bmp", "an earlier picture");
  const Outcome r = RunLimited(kLimit, {Sample("shapes.emf"), "out.bmp", "96"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_FALSE(Exists("out.bmp"));
}

TEST_F(UnfinishedPageFile, APageDrawnInBandsCutOffIsRemovedAndNoLaterPageIsWritten) {
  // The first bands fit under the limit; a later one does not.
  for (const char* jobs : {"--jobs=1", "--jobs=2"}) {
    SCOPED_TRACE(jobs);
    const Outcome r = RunLimited(kBandsLimit, {Sample("demo-report.vxp"), "page.bmp", "96", "--band-rows=16", jobs});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Exception EWriteError"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists("page00001.bmp"));
    EXPECT_FALSE(Exists("page00002.bmp"));
    EXPECT_FALSE(Exists("page00003.bmp"));
  }
}

TEST_F(UnfinishedPageFile, PagesWithinTheLimitAreWrittenWhole) {
  const Outcome r = RunLimited(2 * 1024 * 1024, {Sample("demo-report.vxp"), "page.bmp", "96", "--band-rows=16"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* name : {"page00001.bmp", "page00002.bmp", "page00003.bmp"}) {
    ASSERT_TRUE(Exists(name)) << name;
    EXPECT_EQ(std::filesystem::file_size(folder_.Join(name)), 894986u) << name;
  }
}

TEST(UnfinishedFileGuard, RemovesOnlyARegularFileItCreatedAndDidNotFinish) {
  test::ScratchFolder folder;
  const std::string kept = folder.AddFile("kept.bmp", "x");
  const std::string cut = folder.AddFile("cut.bmp", "x");
  const std::string untouched = folder.AddFile("untouched.bmp", "x");
  const std::string linked = folder.AddFile("target.bmp", "x");
  ASSERT_EQ(::symlink(linked.c_str(), folder.Join("link.bmp").c_str()), 0);
  {
    TUnfinishedFile finished;
    finished.Created(kept);
    finished.Finished();
    TUnfinishedFile abandoned;
    abandoned.Created(cut);
    TUnfinishedFile neverCreated;  // a name that could not be created stays as it was
    TUnfinishedFile throughLink;
    throughLink.Created(folder.Join("link.bmp"));
  }
  EXPECT_TRUE(std::filesystem::exists(kept));
  EXPECT_FALSE(std::filesystem::exists(cut));
  EXPECT_TRUE(std::filesystem::exists(untouched));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Join("link.bmp")));
  EXPECT_TRUE(std::filesystem::exists(linked));
}

}  // namespace
}  // namespace vx
