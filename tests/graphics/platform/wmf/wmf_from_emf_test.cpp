// The conversion of an enhanced metafile back into a Windows metafile, for
// callers that ask a metafile for its Windows-metafile bits.
#include <gtest/gtest.h>

#include <vector>

#include <algorithm>
#include "graphics/platform/wmf/wmf_from_emf.h"
#include "graphics/platform/wmf/wmf_header.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

std::vector<uint16_t> FunctionsOf(const WinMetaFileBits& bits) {
  std::vector<uint16_t> functions;
  ForEachWmfRecord(bits.wmf.data(), bits.wmf.size(),
                   [&](const WmfRecord& r) { functions.push_back(r.function); });
  return functions;
}

TEST(WmfFromEmfTest, RecordsTooShortForTheirTypeArePassedOver) {
  test::EmfBuilder b;
  b.RecordWords(EmfRecord::kMoveToEx, {10, 20});
  b.RecordWords(EmfRecord::kLineTo, {30});  // one coordinate short
  b.RecordWords(EmfRecord::kLineTo, {40, 50});
  b.Record(EmfRecord::kSetTextColor);  // no colour at all
  const std::vector<uint8_t> emf = b.Build();
  const WinMetaFileBits bits = ConvertEnhMetaFileToWin(emf.data(), emf.size());
  ASSERT_TRUE(ParseWinMetaHeader(bits.wmf.data(), bits.wmf.size()).has_value());
  const std::vector<uint16_t> functions = FunctionsOf(bits);
  // Only the whole move and line remain; no line to a made-up (30, 0).
  EXPECT_EQ(std::count(functions.begin(), functions.end(), wmf::kLineTo), 1);
  EXPECT_EQ(std::count(functions.begin(), functions.end(), wmf::kMoveTo), 1);
  EXPECT_EQ(std::count(functions.begin(), functions.end(), wmf::kSetTextColor), 0);
  EXPECT_EQ(bits.skipped_records, 2u);
}

}  // namespace
}  // namespace vx::gdi
