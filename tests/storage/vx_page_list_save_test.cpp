#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/errors.h"
#include "base/file_stream.h"
#include "storage/page_store_fixtures.h"
#include "storage/vx_page_list.h"

namespace vx {
namespace {

using test::Bytes;
using test::TempFolder;

std::unique_ptr<TVXPageList> Recorded(int pages) {
  auto list = std::make_unique<TVXPageList>();
  list->SetDataStream(TVXStream::CreateInMemory(1 << 24));
  for (int n = 1; n <= pages; ++n) list->AppendPage(*test::MetafileFrom(test::PageEmf(n)));
  list->WriteHeader();
  return list;
}

// A file stream that takes the first `room` bytes and then refuses every
// write, as a disk does when it fills up.
class FillingStream : public TStream {
public:
  FillingStream(const std::string& name, int64_t room) : file_(name, TFileMode::Create), room_(room) {}
  int32_t Read(void* buffer, int32_t count) override { return file_.Read(buffer, count); }
  int32_t Write(const void* buffer, int32_t count) override {
    const int64_t allowed = std::min<int64_t>(count, room_);
    room_ -= allowed;
    return allowed <= 0 ? 0 : file_.Write(buffer, int32_t(allowed));
  }
  int32_t Seek(int32_t offset, int origin) override { return file_.Seek(offset, origin); }
  int64_t Seek64(int64_t offset, int origin) override { return file_.Seek64(offset, origin); }

private:
  TFileStream file_;
  int64_t room_;
};

TEST(PageListSafeSave, ASaveThatFailsHalfWayLeavesTheOldFileAndNoTemporaryFile) {
  TempFolder folder;
  const std::string file = folder.File("report.vxp");
  Recorded(2)->StoreToFile(file);
  const Bytes before = test::ReadFileBytes(file);

  auto bigger = Recorded(5);
  const int64_t half = bigger->DataStream()->GetSize() / 2;
  std::string written_to;
  try {
    bigger->StoreToFile(file, [&](const std::string& temporaryName) -> std::unique_ptr<TStream> {
      written_to = temporaryName;
      return std::make_unique<FillingStream>(temporaryName, half);
    });
    FAIL() << "a save onto a full disk reported success";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
  // The copy went to a temporary file beside the target, now gone.
  EXPECT_EQ(std::filesystem::path(written_to).parent_path(), std::filesystem::path(folder.Path()));
  EXPECT_EQ(std::filesystem::path(written_to).filename().string().rfind("VXP", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(written_to));
  EXPECT_EQ(test::ReadFileBytes(file), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(PageListSafeSave, SavingOverTheOpenedSourceWritesAnIdenticalCopy) {
  TempFolder folder;
  const std::string file = folder.File("report.vxp");
  Recorded(3)->StoreToFile(file);
  const Bytes before = test::ReadFileBytes(file);
  TVXPageList list;
  list.OpenFile(file);
  list.StoreToFile(file);
  EXPECT_EQ(test::ReadFileBytes(file), before);
  EXPECT_EQ(list.FetchPage(2)->Bytes(), test::PageEmf(2));
  TVXPageList reopened;
  reopened.OpenFile(file);
  EXPECT_EQ(reopened.StoredPages(), 3);
  EXPECT_TRUE(folder.EntriesStartingWith("VXP").empty());
}

TEST(PageListSafeSave, ANewFileGetsThePermissionsOfAPlainCreate) {
  TempFolder folder;
  const std::string file = folder.File("new.vxp");
  const mode_t mask = ::umask(022);
  Recorded(1)->StoreToFile(file);
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(PageListSafeSave, ASymbolicLinkKeepsPointingAtTheReplacedFile) {
  TempFolder folder;
  const std::string real = folder.File("real.vxp");
  const std::string link = folder.File("link.vxp");
  Recorded(1)->StoreToFile(real);
  std::filesystem::create_symlink(real, link);
  Recorded(4)->StoreToFile(link);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  TVXPageList reopened;
  reopened.OpenFile(real);
  EXPECT_EQ(reopened.StoredPages(), 4);
}

TEST(PageListSafeSave, AFolderThatDoesNotExistFailsWithCannotCreate) {
  TempFolder folder;
  const std::string file = folder.File("missing/report.vxp");
  try {
    Recorded(1)->StoreToFile(file);
    FAIL() << "saved into a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + file + "\". No such file or directory");
  }
}

}  // namespace
}  // namespace vx
