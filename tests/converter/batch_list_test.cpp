#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/errors.h"
#include "converter/batch_list.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

std::vector<TBatchItem> Read(const std::string& text) {
  std::istringstream in(text);
  return ReadBatchList(in);
}

TEST(BatchList, ReadsSourceDestinationAndOptionalResolution) {
  const auto items = Read("a.emf\tout/a.bmp\t150\nb c.vxp\tout/b.bmp\n");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].line, 1);
  EXPECT_EQ(items[0].source, "a.emf");
  EXPECT_EQ(items[0].destination, "out/a.bmp");
  EXPECT_EQ(items[0].resolution_text, "150");
  EXPECT_TRUE(items[0].fault.empty());
  EXPECT_EQ(items[1].line, 2);
  EXPECT_EQ(items[1].source, "b c.vxp");  // blanks belong to the name
  EXPECT_EQ(items[1].destination, "out/b.bmp");
  EXPECT_EQ(items[1].resolution_text, "");
}

TEST(BatchList, SkipsBlankLinesButKeepsTheirNumbers) {
  const auto items = Read("\n  \n\t\na.emf\tx.bmp\r\n\nlast.wmf\ty.bmp");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].line, 4);
  EXPECT_EQ(items[0].destination, "x.bmp");  // the carriage return is gone
  EXPECT_EQ(items[1].line, 6);
  EXPECT_EQ(items[1].destination, "y.bmp");  // a last line without line end
}

TEST(BatchList, LinesOfTheWrongShapeBecomeFaultyItems) {
  const auto items = Read("only-a-source\na\tb\tc\td\n\tdest.bmp\nsrc.emf\t\n");
  ASSERT_EQ(items.size(), 4u);
  for (const TBatchItem& item : items) EXPECT_EQ(item.fault, kBatchLineFault) << item.line;
  EXPECT_EQ(items[0].source, "only-a-source");
}

TEST(BatchList, AMissingListFileIsAnOpenError) {
  test::TempFolder folder;
  EXPECT_THROW(ReadBatchListFile(folder.File("none.txt")), EFOpenError);
}

TEST(BatchList, ReadsAListFile) {
  test::TempFolder folder;
  const std::string text = "a.emf\tb.bmp\t96\n";
  test::WriteFileBytes(folder.File("list.txt"), test::Bytes(text.begin(), text.end()));
  const auto items = ReadBatchListFile(folder.File("list.txt"));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].resolution_text, "96");
}

}  // namespace
}  // namespace vx
