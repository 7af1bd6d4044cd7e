#include "graphics/platform/emf/emf_record_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"

namespace vx::gdi {
namespace {

EnhMetaHeader SmallHeader() {
  EnhMetaHeader header;
  header.bounds = {0, 0, 9, 9};
  header.frame = {0, 0, 265, 265};
  header.device = {1024, 768};
  header.millimeters = {320, 240};
  return header;
}

TEST(EmfRecordWriter, ARecordInTwoPartsIsTheSameRecordWhole) {
  const std::array<uint8_t, 5> bits{1, 2, 3, 4, 5};
  EmfRecordWriter parts;
  ByteWriter head;
  head.U32(0xAABBCCDD);
  parts.Add(EmfRecord::kStretchDIBits, head, bits);

  EmfRecordWriter whole;
  whole.Add(EmfRecord::kStretchDIBits, std::vector<uint8_t>{0xDD, 0xCC, 0xBB, 0xAA, 1, 2, 3, 4, 5});

  const std::vector<uint8_t> a = std::move(parts).Finish(SmallHeader());
  const std::vector<uint8_t> b = std::move(whole).Finish(SmallHeader());
  EXPECT_EQ(a, b);
  // 8 bytes of type and size, 9 of body padded to 12.
  const size_t record = ParseEnhMetaHeader(a.data(), a.size())->size;
  ASSERT_GE(a.size(), record + 20);
  EXPECT_EQ(LoadU32(a.data() + record), TypeWord(EmfRecord::kStretchDIBits));
  EXPECT_EQ(LoadU32(a.data() + record + 4), 20u);
  EXPECT_EQ(a[record + 8 + 4 + 4], 5);
  EXPECT_EQ(a[record + 8 + 9], 0);  // padding
}

TEST(EmfRecordWriter, FinishPutsHeaderRecordsAndEndTogetherInPlace) {
  EmfRecordWriter writer;
  writer.Reserve(1 << 16);
  writer.Add(EmfRecord::kSaveDC, std::vector<uint8_t>{});
  ByteWriter extent;
  extent.I32(10);
  extent.I32(20);
  writer.Add(EmfRecord::kSetWindowExtEx, extent);
  EXPECT_EQ(writer.RecordCount(), 2u);

  const std::vector<uint8_t> emf = std::move(writer).Finish(SmallHeader());
  const std::optional<EnhMetaHeader> header = ParseEnhMetaHeader(emf.data(), emf.size());
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->bytes, emf.size());
  EXPECT_EQ(header->records, 4u);  // header, two records, end
  EXPECT_EQ(header->frame, (Rect{0, 0, 265, 265}));
  EXPECT_TRUE(IsAcceptableEnhMetaFile(emf.data(), emf.size()));
  EXPECT_EQ(emf.size(), header->size + 8 + 16 + 20);
  EXPECT_EQ(LoadU32(emf.data() + header->size), TypeWord(EmfRecord::kSaveDC));
  EXPECT_EQ(LoadU32(emf.data() + header->size + 8 + 8), 10u);
  EXPECT_EQ(LoadU32(emf.data() + emf.size() - 20), TypeWord(EmfRecord::kEof));
  EXPECT_EQ(LoadU32(emf.data() + emf.size() - 4), 20u);
}

}  // namespace
}  // namespace vx::gdi
