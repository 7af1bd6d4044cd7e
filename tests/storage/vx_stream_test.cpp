#include "storage/vx_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::Bytes;

Bytes Sequence(size_t count, uint8_t first = 0) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

void WriteAll(TStream& stream, const Bytes& bytes) {
  ASSERT_EQ(stream.Write(bytes.data(), static_cast<int32_t>(bytes.size())),
            static_cast<int32_t>(bytes.size()));
}

class SpillStream : public ::testing::Test {
protected:
  test::TempFolder folder_;
  test::ScopedEnv tmpdir_{"TMPDIR", folder_.Path().c_str()};

  size_t SpillFiles() const { return folder_.EntriesStartingWith("VXP").size(); }
};

TEST_F(SpillStream, StaysResidentAtExactlyTheLimitAndSpillsOnTheNextByte) {
  auto stream = TVXStream::CreateInMemory(10);
  WriteAll(*stream, Sequence(10));
  EXPECT_TRUE(stream->Resident());
  EXPECT_EQ(SpillFiles(), 0u);

  WriteAll(*stream, Sequence(1, 10));
  EXPECT_FALSE(stream->Resident());
  EXPECT_EQ(SpillFiles(), 1u);
  EXPECT_EQ(stream->Position(), 11);
  EXPECT_EQ(test::AllBytes(*stream), Sequence(11));
}

TEST_F(SpillStream, LimitZeroSpillsOnTheFirstByteButNotOnAnEmptyWrite) {
  auto stream = TVXStream::CreateInMemory(0);
  EXPECT_EQ(stream->Write(nullptr, 0), 0);
  EXPECT_TRUE(stream->Resident());
  WriteAll(*stream, Sequence(1, 7));
  EXPECT_FALSE(stream->Resident());
  EXPECT_EQ(test::AllBytes(*stream), Sequence(1, 7));
}

TEST_F(SpillStream, NegativeLimitSpillsOnTheFirstWriteEvenAnEmptyOne) {
  auto stream = TVXStream::CreateInMemory(-1);
  EXPECT_EQ(stream->Write(nullptr, 0), 0);
  EXPECT_FALSE(stream->Resident());
  EXPECT_EQ(stream->Size(), 0);
  EXPECT_EQ(SpillFiles(), 1u);
}

TEST_F(SpillStream, SpilledStreamReadsSeeksAndWritesLikeAResidentOne) {
  auto resident = TVXStream::CreateInMemory(1 << 20);
  auto spilled = TVXStream::CreateInMemory(4);
  for (TVXStream* stream : {resident.get(), spilled.get()}) {
    WriteAll(*stream, Sequence(20));
    EXPECT_EQ(stream->Seek(5, soBeginning), 5);
    WriteAll(*stream, Bytes{0xAA, 0xBB});
    EXPECT_EQ(stream->Seek(-3, soEnd), 17);
    uint8_t tail[8] = {};
    EXPECT_EQ(stream->Read(tail, 8), 3);
    EXPECT_EQ(stream->Read(tail, 8), 0);
    EXPECT_EQ(stream->Seek(2, soCurrent), 22);
    WriteAll(*stream, Bytes{0xCC});
  }
  EXPECT_FALSE(spilled->Resident());
  EXPECT_EQ(test::AllBytes(*spilled), test::AllBytes(*resident));
  EXPECT_EQ(spilled->Size(), 23);
}

TEST_F(SpillStream, DestroyingASpilledStreamDeletesItsTemporaryFile) {
  auto stream = TVXStream::CreateInMemory(0);
  WriteAll(*stream, Sequence(3));
  const std::string name = stream->TemporaryFileName();
  EXPECT_EQ(name.rfind(folder_.Path() + "/VXP", 0), 0u) << name;
  EXPECT_EQ(test::ReadFileBytes(name), Sequence(3));
  stream.reset();
  EXPECT_EQ(SpillFiles(), 0u);
}

TEST_F(SpillStream, StreamsThatNeverSpilledDeleteNothing) {
  const std::string report = folder_.File("report.vxp");
  test::WriteFileBytes(report, Sequence(5));
  TVXStream::CreateInMemory(100)->Write("abc", 3);
  TVXStream::CreateOnFile(report).reset();
  EXPECT_EQ(test::ReadFileBytes(report), Sequence(5));
  EXPECT_EQ(SpillFiles(), 0u);
}

TEST(SpillStreamTemporaryDirectory, UnsetOrEmptyTmpdirMeansSlashTmp) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    test::ScopedEnv tmpdir("TMPDIR", value);
    auto stream = TVXStream::CreateInMemory(0);
    stream->Write("x", 1);
    const std::string name = stream->TemporaryFileName();
    EXPECT_EQ(name.rfind("/tmp/VXP", 0), 0u) << name;
    stream.reset();
    EXPECT_NE(access(name.c_str(), F_OK), 0);
  }
}

TEST(SpillStreamTemporaryDirectory, FailedSpillKeepsTheBytesResidentAndLeavesNoFile) {
  test::ScopedEnv tmpdir("TMPDIR", "/nonexistent-vxp-dir");
  auto stream = TVXStream::CreateInMemory(2);
  WriteAll(*stream, Sequence(2));
  try {
    stream->Write("z", 1);
    FAIL() << "spill into a missing folder succeeded";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot create file \"/nonexistent-vxp-dir/VXPXXXXXX\". No such file or directory");
  }
  EXPECT_TRUE(stream->Resident());
  EXPECT_EQ(stream->TemporaryFileName(), "");
  EXPECT_EQ(test::AllBytes(*stream), (Bytes{0, 1, 'z'}));
}

TEST(SpillStreamOnFile, MissingFileFailsToOpen) {
  try {
    TVXStream::CreateOnFile("/nonexistent-vxp-dir/report.vxp");
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file \"/nonexistent-vxp-dir/report.vxp\". No such file or directory");
  }
}

TEST_F(SpillStream, StreamOnAFileReadsButCannotWrite) {
  const std::string report = folder_.File("report.vxp");
  test::WriteFileBytes(report, Sequence(6));
  auto stream = TVXStream::CreateOnFile(report);
  EXPECT_FALSE(stream->Resident());
  EXPECT_EQ(stream->MemoryLimit(), 0);
  EXPECT_EQ(stream->TemporaryFileName(), "");
  EXPECT_EQ(stream->Write("xy", 2), 0);
  EXPECT_EQ(test::AllBytes(*stream), Sequence(6));
}

TEST(SpillStreamSize, SettingTheSizeDoesNothingAndSizeQueriesKeepThePosition) {
  auto stream = TVXStream::CreateInMemory(100);
  WriteAll(*stream, Sequence(9));
  stream->Seek(4, soBeginning);
  stream->SetSize(0);
  stream->SetSize64(50);
  EXPECT_EQ(stream->Size(), 9);
  EXPECT_EQ(stream->Position(), 4);
}

// Records the count of every plain write it receives.
class WriteLog : public TMemoryStream {
public:
  int32_t Write(const void* buffer, int32_t count) override {
    counts.push_back(count);
    return TMemoryStream::Write(buffer, count);
  }
  std::vector<int32_t> counts;
};

TEST(SpillStreamCopy, CopiesEverythingInBlocksOf10240AndEndsWithAnEmptyBlock) {
  auto stream = TVXStream::CreateInMemory(1 << 20);
  const Bytes content = Sequence(25000);
  WriteAll(*stream, content);
  stream->Seek(7, soBeginning);
  WriteLog target;
  target.Write("ab", 2);
  target.counts.clear();
  stream->CopyAllTo(target);
  EXPECT_EQ(target.counts, (std::vector<int32_t>{10240, 10240, 4520, 0}));
  Bytes expected{'a', 'b'};
  expected.insert(expected.end(), content.begin(), content.end());
  EXPECT_EQ(target.Bytes(), expected);
  EXPECT_EQ(stream->Position(), 25000);
}

TEST(SpillStreamCopy, EmptyStreamWritesOneEmptyBlock) {
  auto stream = TVXStream::CreateInMemory(100);
  WriteLog target;
  stream->CopyAllTo(target);
  EXPECT_EQ(target.counts, std::vector<int32_t>{0});
  EXPECT_EQ(target.Size(), 0);
}

TEST(SpillStreamLock, AnotherThreadWaitsWhileTheLockIsHeld) {
  auto stream = TVXStream::CreateInMemory(100);
  std::atomic<bool> written = false;
  std::unique_lock held(stream->Lock());
  std::thread writer([&] {
    stream->Write("a", 1);
    written = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(written);
  held.unlock();
  writer.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(stream->Size(), 1);
}

// Header probes: the signature "EMF\0" behind each known header length.
struct HeaderProbeCase {
  int32_t signatureAt;  // -1: nowhere
  size_t streamSize;
  int32_t expected;     // 0: "Stream read error"
};

class DetectHeaderLength : public ::testing::TestWithParam<HeaderProbeCase> {};

TEST_P(DetectHeaderLength, FindsTheHeaderFromTheFirstPagesSignature) {
  const HeaderProbeCase c = GetParam();
  Bytes bytes(c.streamSize, 0x11);
  if (c.signatureAt >= 0) {
    const uint8_t signature[4] = {'E', 'M', 'F', 0};
    std::copy(signature, signature + 4, bytes.begin() + c.signatureAt);
  }
  auto stream = test::StreamHolding(bytes);
  stream->Seek(33, soBeginning);
  if (c.expected == 0) {
    try {
      stream->DetectHeaderLength();
      FAIL() << "no read error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
  } else {
    EXPECT_EQ(stream->DetectHeaderLength(), c.expected);
  }
  EXPECT_EQ(stream->Position(), 33);
}

INSTANTIATE_TEST_SUITE_P(
    Probes, DetectHeaderLength,
    ::testing::Values(HeaderProbeCase{173, 300, 124}, HeaderProbeCase{169, 300, 128},
                      HeaderProbeCase{145, 300, 96}, HeaderProbeCase{177, 300, 128},
                      HeaderProbeCase{-1, 300, 128}, HeaderProbeCase{-1, 181, 128},
                      HeaderProbeCase{-1, 176, 0}, HeaderProbeCase{-1, 178, 0},
                      HeaderProbeCase{145, 178, 96}));

}  // namespace
}  // namespace vx
