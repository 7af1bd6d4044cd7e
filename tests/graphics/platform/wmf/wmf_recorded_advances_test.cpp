// Text a Windows metafile draws without advances gets the widths its
// recording context measures on the reference screen, at the resolution the
// picture's frame gives it. The figures are those of the reference converter
// and renderer for the same metafile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/wmf/wmf_drawn_extent.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "graphics/platform/wmf/wmf_to_emf.h"
#include "support/wmf_test_data.h"

namespace vx::gdi {
namespace {

std::vector<uint8_t> FontParams(int16_t height, const std::string& face) {
  ByteWriter w;
  w.I16(height);
  for (int i = 0; i < 3; ++i) w.I16(0);
  w.I16(400);
  for (int i = 0; i < 8; ++i) w.U8(0);
  w.Append(face.data(), face.size());
  w.U8(0);
  return std::move(w.Bytes());
}

std::vector<uint8_t> TextOutParams(const std::string& s, int16_t x, int16_t y) {
  ByteWriter w;
  w.I16(int16_t(s.size()));
  w.Append(s.data(), s.size());
  if (s.size() % 2) w.U8(0);
  w.I16(y);
  w.I16(x);
  return std::move(w.Bytes());
}

std::vector<uint8_t> ExtTextOutParams(const std::string& s, int16_t x, int16_t y) {
  ByteWriter w;
  w.I16(y);
  w.I16(x);
  w.I16(int16_t(s.size()));
  w.U16(0);
  w.Append(s.data(), s.size());
  return std::move(w.Bytes());
}

// Arial of 12 units in a 96 x 81 window: "Membership" with TextOut, "Mi" with
// 2 units of character extra, "Wide" with ExtTextOut and no advances.
test::WmfBuilder SpacedText() {
  test::WmfBuilder b;
  b.Record(wmf::kSetMapMode, {8})
      .Record(wmf::kSetWindowOrg, {0, 0})
      .Record(wmf::kSetWindowExt, {81, 96})
      .RecordBytes(wmf::kCreateFontIndirect, FontParams(-12, "Arial"))
      .Record(wmf::kSelectObject, {0})
      .RecordBytes(wmf::kTextOut, TextOutParams("Membership", 10, 20))
      .Record(wmf::kSetTextCharExtra, {2})
      .RecordBytes(wmf::kTextOut, TextOutParams("Mi", 10, 40))
      .Record(wmf::kSetTextCharExtra, {0})
      .RecordBytes(wmf::kExtTextOut, ExtTextOutParams("Wide", 10, 60));
  return b;
}

struct Record {
  uint32_t type;
  const uint8_t* data;
  uint32_t size;
};

std::vector<Record> RecordsOfType(const std::vector<uint8_t>& emf, EmfRecord type) {
  std::vector<Record> out;
  for (size_t offset = 0; offset + 8 <= emf.size();) {
    const uint32_t size = LoadU32(emf.data() + offset + 4);
    if (size < 8 || size > emf.size() - offset) break;
    if (LoadU32(emf.data() + offset) == TypeWord(type)) out.push_back({TypeWord(type), emf.data() + offset, size});
    offset += size;
  }
  return out;
}

// The advances of an EMR_EXTTEXTOUTW record; empty without them.
std::vector<int32_t> AdvancesOf(const Record& r) {
  const uint32_t chars = LoadU32(r.data + 44);
  const uint32_t off_dx = LoadU32(r.data + 72);
  std::vector<int32_t> dx;
  if (off_dx == 0 || off_dx + uint64_t(chars) * 4 > r.size) return dx;
  for (uint32_t i = 0; i < chars; ++i) dx.push_back(LoadI32(r.data + off_dx + 4 * i));
  return dx;
}

TMetafile ReadPlaceable(const test::WmfBuilder& b) {
  const std::vector<uint8_t> bytes = b.Placeable(0, 0, 960, 810, 96);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  TMetafile metafile;
  metafile.ReadFromStream(stream);
  return metafile;
}

TEST(WmfRecordedAdvances, TextWithoutAdvancesIsFound) {
  const std::vector<uint8_t> measured = SpacedText().Build();
  EXPECT_TRUE(WmfHasTextWithoutAdvances(measured.data(), measured.size()));
  test::WmfBuilder spaced;  // ExtTextOut "hi" with its advances 7 and 9
  spaced.RecordBytes(wmf::kExtTextOut, {20, 0, 10, 0, 2, 0, 0, 0, 'h', 'i', 7, 0, 9, 0});
  const std::vector<uint8_t> given = spaced.Build();
  EXPECT_FALSE(WmfHasTextWithoutAdvances(given.data(), given.size()));
  test::WmfBuilder clipped;  // ExtTextOut "hi" clipped to a rectangle, no advances
  clipped.RecordBytes(wmf::kExtTextOut, {20, 0, 10, 0, 2, 0, 4, 0, 0, 0, 0, 0, 50, 0, 50, 0, 'h', 'i'});
  const std::vector<uint8_t> bare = clipped.Build();
  EXPECT_TRUE(WmfHasTextWithoutAdvances(bare.data(), bare.size()));
}

TEST(WmfRecordedAdvances, TextWithoutAdvancesGetsTheReferenceWidths) {
  // Extents that give the viewport 747 x 702 reference pixels.
  const std::vector<uint8_t> wmf = SpacedText().Build();
  const auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 23344, 21938);
  ASSERT_TRUE(emf.has_value());
  const auto viewports = RecordsOfType(*emf, EmfRecord::kSetViewportExtEx);
  ASSERT_EQ(viewports.size(), 1u);
  EXPECT_EQ(LoadI32(viewports[0].data + 8), 747);
  EXPECT_EQ(LoadI32(viewports[0].data + 12), 702);
  const auto texts = RecordsOfType(*emf, EmfRecord::kExtTextOutW);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(AdvancesOf(texts[0]), (std::vector<int32_t>{11, 7, 11, 7, 7, 4, 7, 7, 3, 7}));
  EXPECT_EQ(AdvancesOf(texts[1]), (std::vector<int32_t>{13, 5}));  // 11 and 3, each 2 more
  EXPECT_EQ(AdvancesOf(texts[2]), (std::vector<int32_t>{13, 3, 7, 7}));
}

TEST(WmfRecordedAdvances, TheFrameTakesInTheBoundsTextReserves) {
  // The text's reserved bounds reach further than its glyphs, which sets the
  // reference resolution of the picture: 747 x 702 pixels.
  const TMetafile metafile = ReadPlaceable(SpacedText());
  const auto viewports = RecordsOfType(metafile.Bytes(), EmfRecord::kSetViewportExtEx);
  ASSERT_EQ(viewports.size(), 1u);
  EXPECT_EQ(LoadI32(viewports[0].data + 8), 747);
  EXPECT_EQ(LoadI32(viewports[0].data + 12), 702);
}

struct InkRun {
  int first, last;
  bool operator==(const InkRun&) const = default;
};

TEST(WmfRecordedAdvances, GlyphsAt300DpiSitWhereTheReferencePutsThem) {
  TMetafile metafile = ReadPlaceable(SpacedText());
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(3000);  // 10 x 8.4375 inches at 300 dpi
  bitmap.SetPixelHeight(2531);
  bitmap.DrawingSurface().DrawStretched({0, 0, 3000, 2531}, &metafile);
  // The column runs of ink between two rows, and the rows that have ink.
  const auto columns = [&](int top, int bottom) {
    std::vector<InkRun> runs;
    for (int x = 0; x < 3000; ++x) {
      bool ink = false;
      for (int y = top; y <= bottom && !ink; ++y) ink = bitmap.PixelIndex(x, y) != 255;
      if (!ink) continue;
      if (!runs.empty() && runs.back().last == x - 1) runs.back().last = x;
      else runs.push_back({x, x});
    }
    return runs;
  };
  std::vector<InkRun> rows;
  for (int y = 0; y < 2531; ++y) {
    bool ink = false;
    for (int x = 0; x < 3000 && !ink; ++x) ink = bitmap.PixelIndex(x, y) != 255;
    if (!ink) continue;
    if (!rows.empty() && rows.back().last == y - 1) rows.back().last = y;
    else rows.push_back({y, y});
  }
  ASSERT_EQ(rows, (std::vector<InkRun>{{698, 1046}, {1322, 1592}, {1947, 2221}}));
  EXPECT_EQ(columns(698, 1046), (std::vector<InkRun>{{343, 592}, {672, 846}, {899, 1160}, {1242, 1409}, {1453, 1627},
                                                  {1680, 1773}, {1791, 1952}, {2025, 2182}, {2243, 2275}, {2335, 2502}}));
  EXPECT_EQ(columns(1322, 1592), (std::vector<InkRun>{{343, 592}, {743, 775}}));
  EXPECT_EQ(columns(1947, 2221), (std::vector<InkRun>{{314, 663}, {743, 775}, {828, 995}, {1047, 1221}}));
}

}  // namespace
}  // namespace vx::gdi
