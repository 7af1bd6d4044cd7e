#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/wmf/wmf_from_emf.h"
#include "graphics/platform/wmf/wmf_header.h"
#include "graphics/platform/text/charset_coverage.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "graphics/platform/text/code_page_text.h"
#include "graphics/platform/wmf/wmf_to_emf.h"
#include "support/wmf_test_data.h"

namespace vx::gdi {
namespace {

struct EmfRecordView {
  uint32_t type;
  std::vector<int32_t> words;  // the parameters as 32-bit words
};

std::vector<EmfRecordView> RecordsOf(const std::vector<uint8_t>& emf) {
  std::vector<EmfRecordView> out;
  size_t offset = 0;
  while (offset + 8 <= emf.size()) {
    const uint32_t type = LoadU32(emf.data() + offset);
    const uint32_t size = LoadU32(emf.data() + offset + 4);
    EmfRecordView r{type, {}};
    for (size_t i = 8; i + 4 <= size; i += 4) r.words.push_back(LoadI32(emf.data() + offset + i));
    out.push_back(r);
    offset += size;
  }
  return out;
}

std::vector<uint8_t> Convert(const test::WmfBuilder& b, int32_t x = 0, int32_t y = 0) {
  const std::vector<uint8_t> wmf = b.Build();
  auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), x, y);
  EXPECT_TRUE(emf.has_value());
  return emf.value_or(std::vector<uint8_t>{});
}

std::vector<EmfRecordView> OfType(const std::vector<uint8_t>& emf, EmfRecord type) {
  std::vector<EmfRecordView> out;
  for (const auto& r : RecordsOf(emf)) {
    if (r.type == TypeWord(type)) out.push_back(r);
  }
  return out;
}

struct HeaderCase {
  const char* name;
  std::vector<uint8_t> data;
  bool accepted;
};

TEST(WmfHeaderTest, AcceptsWhatTheReferenceConverterAccepts) {
  const std::vector<uint8_t> good = test::RectangleWmf().Build();
  std::vector<uint8_t> odd = good;
  odd.push_back(0);
  const HeaderCase cases[] = {
      {"valid", good, true},
      {"only type, header size and version", {1, 0, 9, 0, 0, 3}, true},
      {"four bytes", {1, 0, 9, 0}, false},
      {"odd length", odd, false},
      {"disk type", test::RectangleWmf().Type(2).Build(), false},
      {"type 0", test::RectangleWmf().Type(0).Build(), false},
      {"header of 8 words", test::RectangleWmf().HeaderWords(8).Build(), false},
      {"version 0x100", test::RectangleWmf().Version(0x100).Build(), false},
      {"version 0x200", test::RectangleWmf().Version(0x200).Build(), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseWinMetaHeader(c.data.data(), c.data.size()).has_value(), c.accepted) << c.name;
    EXPECT_EQ(ConvertWinMetaFileToEnh(c.data.data(), c.data.size(), 0, 0).has_value(), c.accepted)
        << c.name;
  }
}

TEST(WmfHeaderTest, WalkStopsAtTooSmallOrOverlongRecords) {
  ByteWriter small;
  small.U32(2);
  small.U16(wmf::kRectangle);
  const auto walked = [](const std::vector<uint8_t>& wmf) {
    return ForEachWmfRecord(wmf.data(), wmf.size(), [](const WmfRecord&) {});
  };
  auto b = test::RectangleWmf();
  EXPECT_EQ(walked(b.Build()), 4u);
  EXPECT_EQ(walked(test::RectangleWmf().Raw(small.Bytes()).Record(wmf::kRectangle, {1, 1, 0, 0}).Build()), 4u);
  ByteWriter overlong;
  overlong.U32(1000);
  overlong.U16(wmf::kRectangle);
  overlong.U16(0);
  std::vector<uint8_t> wmf = test::RectangleWmf().Build();
  wmf.resize(wmf.size() - 6);  // drop the end-of-file record
  wmf.insert(wmf.end(), overlong.Bytes().begin(), overlong.Bytes().end());
  EXPECT_EQ(walked(wmf), 4u);
  // Records after the end-of-file record are not visited.
  EXPECT_EQ(walked(test::WmfBuilder().Record(wmf::kEof, {}).Record(wmf::kRectangle, {1, 1, 0, 0}).Build()), 0u);
}

TEST(WmfToEmfTest, HeaderDescribesTheReferenceScreen) {
  const std::vector<uint8_t> emf = Convert(test::RectangleWmf());
  ASSERT_TRUE(IsAcceptableEnhMetaFile(emf.data(), emf.size()));
  const auto h = ParseEnhMetaHeader(emf.data(), emf.size());
  EXPECT_EQ(h->frame, (Rect{0, 0, 32000, 24000}));
  EXPECT_EQ(h->device, (Size{1024, 768}));
  EXPECT_EQ(h->millimeters, (Size{320, 240}));
  EXPECT_EQ(h->bytes, emf.size());
  EXPECT_EQ(h->records, RecordsOf(emf).size());
  EXPECT_EQ(RecordsOf(emf).back().type, TypeWord(EmfRecord::kEof));

  const std::vector<uint8_t> sized = Convert(test::RectangleWmf(), 2540, 1270);
  EXPECT_EQ(ParseEnhMetaHeader(sized.data(), sized.size())->frame, (Rect{0, 0, 2540, 1270}));
}

TEST(WmfToEmfTest, ViewportCoversTheFrameInReferencePixels) {
  const std::vector<uint8_t> emf = Convert(test::RectangleWmf(), 2540, 1270);
  const auto records = RecordsOf(emf);
  ASSERT_GE(records.size(), 4u);
  EXPECT_EQ(records[1].type, TypeWord(EmfRecord::kSetMapMode));
  EXPECT_EQ(records[1].words, std::vector<int32_t>{8});
  EXPECT_EQ(records[3].type, TypeWord(EmfRecord::kSetViewportExtEx));  // 2540 and 1270 hundredths in pixels
  EXPECT_EQ(records[3].words, (std::vector<int32_t>{81, 41}));
  // The metafile's own window follows.
  EXPECT_EQ(OfType(emf, EmfRecord::kSetWindowExtEx).back().words, (std::vector<int32_t>{100, 100}));
}

TEST(WmfToEmfTest, ShapesKeepTheirCoordinatesInEnhancedOrder) {
  test::WmfBuilder b;
  b.Record(wmf::kRectangle, {80, 70, 20, 10})                 // Rectangle: bottom, right, top, left
      .Record(wmf::kRoundRect, {6, 5, 80, 70, 20, 10})        // RoundRect: height, width, box
      .Record(wmf::kArc, {4, 3, 2, 1, 80, 70, 20, 10})  // Arc: end, start, box
      .Record(wmf::kMoveTo, {7, 8})                        // MoveTo y, x
      .Record(wmf::kOffsetWindowOrg, {5, 5})                        // OffsetWindowOrg
      .Record(wmf::kOffsetWindowOrg, {1, 2});
  const std::vector<uint8_t> emf = Convert(b);
  EXPECT_EQ(OfType(emf, EmfRecord::kRectangle).at(0).words, (std::vector<int32_t>{10, 20, 70, 80}));
  EXPECT_EQ(OfType(emf, EmfRecord::kRoundRect).at(0).words, (std::vector<int32_t>{10, 20, 70, 80, 5, 6}));
  EXPECT_EQ(OfType(emf, EmfRecord::kArc).at(0).words, (std::vector<int32_t>{10, 20, 70, 80, 1, 2, 3, 4}));
  EXPECT_EQ(OfType(emf, EmfRecord::kMoveToEx).at(0).words, (std::vector<int32_t>{8, 7}));
  const auto origins = OfType(emf, EmfRecord::kSetWindowOrgEx);  // SETWINDOWORGEX accumulates the offsets
  ASSERT_EQ(origins.size(), 2u);
  EXPECT_EQ(origins[1].words, (std::vector<int32_t>{7, 6}));
}

// Text justification (break count, then the extra space), mapper flags and
// the clip offset (y, then x) become their enhanced records.
TEST(WmfToEmfTest, StateRecordsBecomeTheirEnhancedRecords) {
  test::WmfBuilder b;
  b.Record(wmf::kSetTextJustification, {2, 900})
      .Record(wmf::kSetMapperFlags, {1, 0})
      .Record(wmf::kOffsetClipRgn, {5, 300});
  const std::vector<uint8_t> emf = Convert(b);
  EXPECT_EQ(OfType(emf, EmfRecord::kSetTextJustification).at(0).words, (std::vector<int32_t>{900, 2}));
  EXPECT_EQ(OfType(emf, EmfRecord::kSetMapperFlags).at(0).words, (std::vector<int32_t>{1}));
  EXPECT_EQ(OfType(emf, EmfRecord::kOffsetClipRgn).at(0).words, (std::vector<int32_t>{300, 5}));
}

TEST(WmfToEmfTest, PolygonCarriesItsPointsAndBounds) {
  const std::vector<uint8_t> emf = Convert(test::WmfBuilder().Record(wmf::kPolygon, {3, 0, 0, 50, 10, 25, 40}));
  EXPECT_EQ(OfType(emf, EmfRecord::kPolygon).at(0).words,
            (std::vector<int32_t>{0, 0, 50, 40, 3, 0, 0, 50, 10, 25, 40}));
  // A count beyond the record's data drops the record.
  EXPECT_TRUE(OfType(Convert(test::WmfBuilder().Record(wmf::kPolygon, {30, 0, 0})), EmfRecord::kPolygon).empty());
}

TEST(WmfToEmfTest, ObjectsTakeTheLowestFreeSlot) {
  test::WmfBuilder b;
  b.Record(wmf::kCreatePenIndirect, {0, 1, 0, 0, 0})     // pen -> slot 0
      .Record(wmf::kCreateBrushIndirect, {0, 0, 0, 0})     // brush -> slot 1
      .Record(wmf::kCreateRegion, {0, 0, 0})        // region (not converted) -> slot 2
      .Record(wmf::kDeleteObject, {0})              // delete the pen
      .Record(wmf::kCreateBrushIndirect, {0, 255, 0, 0})   // brush -> slot 0 again
      .Record(wmf::kCreatePenIndirect, {0, 1, 0, 0, 0})  // pen -> slot 3, after the region
      .Record(wmf::kSelectObject, {3})
      .Record(wmf::kSelectObject, {2});             // selecting the region emits nothing
  const std::vector<uint8_t> emf = Convert(b);
  const auto pens = OfType(emf, EmfRecord::kCreatePen);
  const auto brushes = OfType(emf, EmfRecord::kCreateBrushIndirect);
  ASSERT_EQ(pens.size(), 2u);
  ASSERT_EQ(brushes.size(), 2u);
  EXPECT_EQ(pens[0].words[0], 1);
  EXPECT_EQ(brushes[0].words[0], 2);
  EXPECT_EQ(brushes[1].words[0], 1);
  EXPECT_EQ(pens[1].words[0], 4);
  EXPECT_EQ(OfType(emf, EmfRecord::kDeleteObject).at(0).words, std::vector<int32_t>{1});
  const auto selects = OfType(emf, EmfRecord::kSelectObject);
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0].words, std::vector<int32_t>{4});
  EXPECT_EQ(ParseEnhMetaHeader(emf.data(), emf.size())->handles, 5);
}

std::vector<uint8_t> FontParams(uint8_t charset, const std::string& face) {
  ByteWriter w;
  w.I16(-12);
  for (int i = 0; i < 3; ++i) w.I16(0);
  w.I16(400);
  for (int i = 0; i < 8; ++i) w.U8(i == 3 ? charset : 0);
  w.Append(face.data(), face.size());
  w.U8(0);
  return std::move(w.Bytes());
}

std::u16string TextOf(const EmfRecordView& r) {
  std::u16string s;
  const uint32_t count = uint32_t(r.words[9]);
  const size_t first = (uint32_t(r.words[10]) - 8) / 4;
  for (uint32_t i = 0; i < count && first + i / 2 < r.words.size(); ++i) {
    const uint32_t word = uint32_t(r.words[first + i / 2]);
    s.push_back(char16_t(i % 2 == 0 ? word & 0xFFFF : word >> 16));
  }
  return s;
}

TEST(WmfToEmfTest, TextIsDecodedWithTheSelectedFontsCharset) {
  test::WmfBuilder b;
  b.RecordBytes(wmf::kCreateFontIndirect, FontParams(0, "Arial"))
      .RecordBytes(wmf::kCreateFontIndirect, FontParams(2, "Symbol"))
      .Record(wmf::kSelectObject, {0})
      .RecordBytes(wmf::kTextOut, {2, 0, 'a', 0x80, 20, 0, 10, 0})  // TextOut "a€" at (10, 20)
      .Record(wmf::kSelectObject, {1})
      .RecordBytes(wmf::kTextOut, {1, 0, 'a', 0, 20, 0, 10, 0});
  const std::vector<uint8_t> emf = Convert(b);
  const auto texts = OfType(emf, EmfRecord::kExtTextOutW);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].words[7], 10);  // reference point
  EXPECT_EQ(texts[0].words[8], 20);
  EXPECT_EQ(TextOf(texts[0]), u"a\u20AC");
  EXPECT_EQ(TextOf(texts[1]), u"\uF061");
  const auto fonts = OfType(emf, EmfRecord::kExtCreateFontIndirectW);
  ASSERT_EQ(fonts.size(), 2u);
  EXPECT_EQ(fonts[0].words[1], -12);  // height
}

TEST(WmfToEmfTest, ExtTextOutKeepsItsSpacing) {
  test::WmfBuilder b;
  b.RecordBytes(wmf::kExtTextOut, {20, 0, 10, 0, 2, 0, 0, 0, 'h', 'i', 7, 0, 9, 0});
  const auto texts = OfType(Convert(b), EmfRecord::kExtTextOutW);
  ASSERT_EQ(texts.size(), 1u);
  const size_t dx = (uint32_t(texts[0].words[16]) - 8) / 4;
  ASSERT_GT(dx, 0u);
  ASSERT_LT(dx + 1, texts[0].words.size());
  EXPECT_EQ(texts[0].words[dx], 7);
  EXPECT_EQ(texts[0].words[dx + 1], 9);
}

TEST(WmfToEmfTest, TextIsReadInTheCodePageOfTheFontsCharset) {
  test::WmfBuilder b;
  b.RecordBytes(wmf::kCreateFontIndirect, FontParams(204, "Times New Roman"))  // RUSSIAN_CHARSET: code page 1251
      .Record(wmf::kSelectObject, {0})
      .RecordBytes(wmf::kTextOut, {2, 0, 0xC4, 0xE5, 20, 0, 10, 0});
  const auto texts = OfType(Convert(b), EmfRecord::kExtTextOutW);
  ASSERT_EQ(texts.size(), 1u);
  ASSERT_TRUE(InstalledFontsCoverCharset(204));  // the set-up installs Cyrillic fonts
  EXPECT_EQ(TextOf(texts[0]), u"\u0414\u0435");
}

TEST(WmfToEmfTest, DoubleByteCharacterAdvancesByBothBytes) {
  test::WmfBuilder b;
  b.RecordBytes(wmf::kCreateFontIndirect, FontParams(136, "MingLiU"))  // CHINESEBIG5_CHARSET: code page 950
      .Record(wmf::kSelectObject, {0})
      // ExtTextOut at (10, 20), 3 bytes "A" + 0xA4 0xA4, advances 7, 5, 6
      .RecordBytes(wmf::kExtTextOut, {20, 0, 10, 0, 3, 0, 0, 0, 'A', 0xA4, 0xA4, 0, 7, 0, 5, 0, 6, 0});
  const auto texts = OfType(Convert(b), EmfRecord::kExtTextOutW);
  ASSERT_EQ(texts.size(), 1u);
  const size_t dx = (uint32_t(texts[0].words[16]) - 8) / 4;
  ASSERT_LT(dx + 1, texts[0].words.size());
  EXPECT_EQ(texts[0].words[dx], 7);
  if (InstalledFontsCoverCharset(136)) {
    EXPECT_EQ(texts[0].words[9], 2);  // characters
    EXPECT_EQ(TextOf(texts[0]), u"A\u4E2D");
    EXPECT_EQ(texts[0].words[dx + 1], 11);
  } else {
    // No font shows the set: the realised font is an ANSI one.
    EXPECT_EQ(texts[0].words[9], 3);
    EXPECT_EQ(TextOf(texts[0]), u"A\u00A4\u00A4");
    EXPECT_EQ(texts[0].words[dx + 1], 5);
  }
}

TEST(WmfTextTest, DoubleBytePagesJoinLeadAndTrailBytes) {
  const uint8_t big5[] = {'A', 0xA4, 0xA4, 'B'};
  std::vector<uint8_t> bytes;
  EXPECT_EQ(DecodeCodePageText(big5, 4, 950, &bytes), u"A\u4E2DB");
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 1}));
  EXPECT_EQ(AdvancesPerCharacter({7, 5, 6, 8}, bytes, false), (std::vector<int32_t>{7, 11, 8}));
  EXPECT_EQ(AdvancesPerCharacter({7, 0, 5, 1, 6, 2, 8, 0}, bytes, true),
            (std::vector<int32_t>{7, 0, 11, 3, 8, 0}));
  const uint8_t cut[] = {'x', 0x82};  // Shift-JIS lead byte without its trail byte
  EXPECT_EQ(DecodeCodePageText(cut, 2, 932, &bytes).size(), 2u);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 1}));
}

TEST(WmfTextTest, CharsetsMapToTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(0), 1252u);
  EXPECT_EQ(CodePageOfCharset(1), 1252u);
  EXPECT_EQ(CodePageOfCharset(204), 1251u);
  EXPECT_EQ(CodePageOfCharset(238), 1250u);
  EXPECT_EQ(CodePageOfCharset(128), 932u);
  EXPECT_EQ(CodePageOfCharset(136), 950u);
  const uint8_t greek[] = {0xC1, 0xE1};
  EXPECT_EQ(DecodeCodePageText(greek, 2, 1253), u"\u0391\u03B1");
  const uint8_t cyrillic[] = {0xC4, 0xE5, 0x98};  // 0x98 is unassigned in 1251
  EXPECT_EQ(DecodeCodePageText(cyrillic, 3, 1251), u"\u0414\u0435\u0098");
}

TEST(WmfTextTest, DecodesAndEncodesWindows1252AndSymbol) {
  const uint8_t bytes[] = {'A', 0x80, 0x9F, 0xE9};
  EXPECT_EQ(DecodeWmfText(bytes, 4, kAnsiCharset), u"A\u20AC\u0178\u00E9");
  EXPECT_EQ(DecodeWmfText(bytes, 1, kSymbolCharset), u"\uF041");
  EXPECT_EQ(EncodeWmfText(u"A\u20AC\u4E00", kAnsiCharset), std::string("A\x80?"));
}

TEST(WmfFromEmfTest, ShapesSurviveTheRoundTrip) {
  test::WmfBuilder b;
  b.Record(wmf::kSetMapMode, {8}).Record(wmf::kSetWindowExt, {100, 200}).Record(wmf::kRectangle, {80, 70, 20, 10});
  const std::vector<uint8_t> emf = Convert(b, 2540, 1270);
  const WinMetaFileBits back = ConvertEnhMetaFileToWin(emf.data(), emf.size());
  ASSERT_TRUE(ParseWinMetaHeader(back.wmf.data(), back.wmf.size()).has_value());
  std::vector<WmfRecord> records;
  ForEachWmfRecord(back.wmf.data(), back.wmf.size(), [&](const WmfRecord& r) { records.push_back(r); });
  ASSERT_EQ(records.size(), 3u);  // window origin, window extent, rectangle
  EXPECT_EQ(records[1].function, wmf::kSetWindowExt);
  EXPECT_EQ(LoadU16(records[1].params), 41);  // the frame's height in reference pixels
  EXPECT_EQ(LoadU16(records[1].params + 2), 81);
  EXPECT_EQ(records[2].function, wmf::kRectangle);
  // 10..70 of a 200-unit window over 81 pixels.
  EXPECT_EQ(static_cast<int16_t>(LoadU16(records[2].params + 6)), 4);
  EXPECT_EQ(static_cast<int16_t>(LoadU16(records[2].params + 2)), 28);
  EXPECT_EQ(back.skipped_records, 0u);
}

}  // namespace
}  // namespace vx::gdi
