#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "converter/batch_conversion.h"
#include "converter/conversion_driver.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

const std::string kSamples = VXP_SOURCE_DIR "/samples/";

void WriteText(const std::string& name, const std::string& text) {
  WriteFileBytes(name, Bytes(text.begin(), text.end()));
}

struct BatchResult {
  int status = -1;
  std::vector<std::string> lines;
};

BatchResult RunBatch(const std::string& list, int jobs) {
  BatchResult result;
  TConversionOptions options;
  options.jobs = jobs;
  result.status = RunBatchConversion(list, options, [&](std::string_view line) { result.lines.emplace_back(line); });
  return result;
}

// What a single conversion writes for the same source.
Bytes SingleMetafileConversion(const std::string& source, int32_t resolution) {
  TempFolder folder;
  ConvertMetafileFile(source, folder.File("one.bmp"), resolution);
  return ReadFileBytes(folder.File("one.bmp"));
}

int32_t XPixelsPerMetre(const Bytes& bmp) { return bmp.size() >= 42 ? LoadI32(bmp.data() + 38) : -1; }

class BatchJobs : public ::testing::TestWithParam<int> {};

TEST_P(BatchJobs, ConvertsEveryItemAsItsOwnRunWould) {
  TempFolder folder;
  WriteText(folder.File("list.txt"),
            kSamples + "shapes.emf\t" + folder.File("shapes.bmp") + "\t96\n" +
            kSamples + "shapes.wmf\t" + folder.File("wmf.out") + "\n" +
            kSamples + "demo-report.vxp\t" + folder.File("demo.bmp") + "\t50\n" +
            kSamples + "text.emf\t" + folder.File("text.bmp") + "\t120\n" +
            kSamples + "demo-report.vxp\t" + folder.File("again.bmp") + "\t50\n");
  const BatchResult result = RunBatch(folder.File("list.txt"), GetParam());
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.lines.empty());
  EXPECT_EQ(ReadFileBytes(folder.File("shapes.bmp")), SingleMetafileConversion(kSamples + "shapes.emf", 96));
  EXPECT_EQ(ReadFileBytes(folder.File("text.bmp")), SingleMetafileConversion(kSamples + "text.emf", 120));
  // Without a DPI field: the default resolution, 300 dpi = 11811 pixels per metre.
  const Bytes wmf = ReadFileBytes(folder.File("wmf.out"));
  EXPECT_EQ(wmf, SingleMetafileConversion(kSamples + "shapes.wmf", 300));
  EXPECT_EQ(XPixelsPerMetre(wmf), 11811);
  EXPECT_EQ(folder.EntriesStartingWith("demo"),
            (std::vector<std::string>{"demo00001.bmp", "demo00002.bmp", "demo00003.bmp"}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("demo.bmp")));
  // The same report twice, perhaps at the same time: the same pages.
  for (const char* page : {"00001", "00002", "00003"}) {
    EXPECT_EQ(ReadFileBytes(folder.File(std::string("again") + page + ".bmp")),
              ReadFileBytes(folder.File(std::string("demo") + page + ".bmp")));
  }
}

TEST_P(BatchJobs, EachFailedItemGivesOneLineInListOrderAndStatusOne) {
  TempFolder folder;
  const std::string missing = folder.File("none.emf");
  WriteText(folder.File("list.txt"),
            missing + "\t" + folder.File("a.bmp") + "\n" +                        // line 1
            kSamples + "shapes.emf\t" + folder.File("good.bmp") + "\t72\n" +      // line 2
            kSamples + "shapes.emf\t" + folder.File("b.bmp") + "\tlots\n" +       // line 3
            "\n" +                                                                // line 4
            kSamples + "README.md\t" + folder.File("c.bmp") + "\n" +              // line 5
            "no tab here\n" +                                                     // line 6
            kSamples + "shapes.emf\t" + folder.File("nodir/d.bmp") + "\n");       // line 7
  const BatchResult result = RunBatch(folder.File("list.txt"), GetParam());
  EXPECT_EQ(result.status, 1);
  ASSERT_EQ(result.lines.size(), 5u);
  EXPECT_EQ(result.lines[0], "batch line 1: " + missing + ": EFOpenError: Cannot open file \"" + missing +
                                 "\". No such file or directory");
  EXPECT_EQ(result.lines[1], "batch line 3: " + kSamples + "shapes.emf: EConvertError: 'lots' is not a valid integer value");
  EXPECT_EQ(result.lines[2], "batch line 5: " + kSamples + "README.md: Exception: The source file format is not supported");
  EXPECT_EQ(result.lines[3], "batch line 6: no tab here: Exception: The line is not SOURCE<TAB>DEST[<TAB>DPI]");
  EXPECT_EQ(result.lines[4], "batch line 7: " + kSamples + "shapes.emf: EFCreateError: Cannot create file \"" +
                                 folder.File("nodir/d.bmp") + "\". No such file or directory");
  // The good item is converted in spite of the others.
  EXPECT_EQ(ReadFileBytes(folder.File("good.bmp")), SingleMetafileConversion(kSamples + "shapes.emf", 72));
  EXPECT_FALSE(std::filesystem::exists(folder.File("a.bmp")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("b.bmp")));
}

INSTANTIATE_TEST_SUITE_P(Jobs, BatchJobs, ::testing::Values(1, 2, 4));

TEST(Batch, EmptyListConvertsNothingAndSucceeds) {
  TempFolder folder;
  WriteText(folder.File("list.txt"), "\n\n");
  const BatchResult result = RunBatch(folder.File("list.txt"), 2);
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.lines.empty());
}

TEST(Batch, MissingListRaisesAnOpenError) {
  TempFolder folder;
  EXPECT_THROW(RunBatch(folder.File("none.txt"), 2), EFOpenError);
}

// Standard input replaced by a file for the lifetime of the object.
class StandardInputFrom {
public:
  explicit StandardInputFrom(const std::string& name) : saved_(::dup(STDIN_FILENO)) {
    const int fd = ::open(name.c_str(), O_RDONLY);
    ::dup2(fd, STDIN_FILENO);
    ::close(fd);
  }
  ~StandardInputFrom() {
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
  }
  StandardInputFrom(const StandardInputFrom&) = delete;
  StandardInputFrom& operator=(const StandardInputFrom&) = delete;

private:
  int saved_;
};

TEST(Batch, DashReadsTheListFromStandardInput) {
  TempFolder folder;
  WriteText(folder.File("list.txt"), kSamples + "shapes.emf\t" + folder.File("in.bmp") + "\t48\n");
  BatchResult result;
  {
    StandardInputFrom input(folder.File("list.txt"));
    result = RunBatch("-", 2);
  }
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFileBytes(folder.File("in.bmp")), SingleMetafileConversion(kSamples + "shapes.emf", 48));
}

}  // namespace
}  // namespace vx
