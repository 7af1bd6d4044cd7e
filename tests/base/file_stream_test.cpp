#include "base/file_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace vx {
namespace {

class FileStreamTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vxp-stream-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    file_ = folder_ + "/data.bin";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string folder_;
  std::string file_;
};

TEST_F(FileStreamTest, FollowsThePositionThroughWritesReadsAndSeeks) {
  TFileStream stream(file_, TFileMode::Create);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Write("abcdefghij", 10), 10);
  EXPECT_EQ(stream.Position(), 10);
  EXPECT_EQ(stream.Seek64(-4, soCurrent), 6);
  char bytes[8] = {};
  EXPECT_EQ(stream.Read(bytes, 3), 3);
  EXPECT_EQ(std::string(bytes, 3), "ghi");
  EXPECT_EQ(stream.Position(), 9);
  EXPECT_EQ(stream.Read(bytes, 8), 1);  // only "j" is left
  EXPECT_EQ(bytes[0], 'j');
  EXPECT_EQ(stream.Position(), 10);
  EXPECT_EQ(stream.Read(bytes, 8), 0);
  EXPECT_EQ(stream.Position(), 10);
  EXPECT_EQ(stream.Seek64(2, soBeginning), 2);
  EXPECT_EQ(stream.Read(bytes, 2), 2);
  EXPECT_EQ(std::string(bytes, 2), "cd");
  EXPECT_EQ(stream.Seek64(-1, soEnd), 9);
  EXPECT_EQ(stream.Seek(0, soCurrent), 9);
}

TEST_F(FileStreamTest, KeepsThePositionWhenASeekFails) {
  TFileStream stream(file_, TFileMode::Create);
  ASSERT_EQ(stream.Write("abcd", 4), 4);
  EXPECT_EQ(stream.Seek64(-10, soCurrent), -1);
  EXPECT_EQ(stream.Position(), 4);
  char byte = 0;
  EXPECT_EQ(stream.Seek64(-1, soCurrent), 3);
  EXPECT_EQ(stream.Read(&byte, 1), 1);
  EXPECT_EQ(byte, 'd');
}

TEST_F(FileStreamTest, GivesTheSizeWithoutMovingThePosition) {
  TFileStream stream(file_, TFileMode::Create);
  EXPECT_EQ(stream.Size(), 0);
  ASSERT_EQ(stream.Write("abcdef", 6), 6);
  ASSERT_EQ(stream.Seek64(2, soBeginning), 2);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Position(), 2);
  char byte = 0;
  EXPECT_EQ(stream.Read(&byte, 1), 1);
  EXPECT_EQ(byte, 'c');
}

TEST_F(FileStreamTest, SeesTheFileGrowThroughAnotherDescriptor) {
  { TFileStream(file_, TFileMode::Create).Write("abc", 3); }
  TFileStream reader(file_, TFileMode::OpenReadShared);
  EXPECT_EQ(reader.Size(), 3);
  const int other = ::open(file_.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::write(other, "defg", 4), 4);
  ::close(other);
  EXPECT_EQ(reader.Size(), 7);
  EXPECT_EQ(reader.Seek64(0, soEnd), 7);
  EXPECT_EQ(reader.Position(), 7);
}

TEST_F(FileStreamTest, CuttingBelowThePositionMovesItToTheNewEnd) {
  TFileStream stream(file_, TFileMode::Create);
  ASSERT_EQ(stream.Write("abcdefgh", 8), 8);
  stream.SetSize64(5);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_EQ(stream.Position(), 5);
  ASSERT_EQ(stream.Write("X", 1), 1);  // lands where the stream says it stands
  EXPECT_EQ(stream.Size(), 6);
  ASSERT_EQ(stream.Seek64(0, soBeginning), 0);
  char bytes[6] = {};
  EXPECT_EQ(stream.Read(bytes, 6), 6);
  EXPECT_EQ(std::string(bytes, 6), "abcdeX");
}

TEST_F(FileStreamTest, SizesAStreamThatIsNoRegularFileBySeeking) {
  TFileStream null("/dev/null", TFileMode::OpenReadShared);
  EXPECT_EQ(null.Size(), 0);
  EXPECT_EQ(null.Position(), 0);
}

}  // namespace
}  // namespace vx
