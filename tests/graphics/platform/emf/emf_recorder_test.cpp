#include "graphics/platform/emf/emf_recorder.h"

#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "graphics/canvas.h"
#include "graphics/metafile.h"
#include "graphics/metafile_canvas.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/text/text_advances.h"

namespace vx::gdi {
namespace {

struct RecordView {
  uint32_t type;
  std::vector<uint32_t> fields;  // the record's parameters as 32-bit numbers
};

std::vector<RecordView> Records(const std::vector<uint8_t>& emf) {
  std::vector<RecordView> out;
  for (size_t at = 0; at + 8 <= emf.size();) {
    const uint32_t size = LoadU32(emf.data() + at + 4);
    RecordView r{LoadU32(emf.data() + at), {}};
    for (size_t f = at + 8; f + 4 <= at + size; f += 4) r.fields.push_back(LoadU32(emf.data() + f));
    out.push_back(r);
    at += size;
  }
  return out;
}

// Type and first parameter (the handle of object records).
std::vector<std::pair<uint32_t, uint32_t>> ObjectRecords(const std::vector<uint8_t>& emf) {
  std::vector<std::pair<uint32_t, uint32_t>> out;
  for (const RecordView& r : Records(emf))
    if (r.type == 37 || r.type == 38 || r.type == 39 || r.type == 40 || r.type == 82) out.push_back({r.type, r.fields[0]});
  return out;
}

EmfRecorder ScreenRecorder() { return EmfRecorder({1024, 768}, {320, 240}, {0, 0, 1000, 1000}); }

TEST(EmfRecorder, AnEmptyRecordingIsAHeaderAndAnEndRecord) {
  EmfRecorder recorder = ScreenRecorder();
  const std::vector<uint8_t> emf = recorder.Close();
  ASSERT_EQ(emf.size(), 108u + 20u);
  const auto header = ParseEnhMetaHeader(emf.data(), emf.size());
  ASSERT_TRUE(header);
  EXPECT_EQ(header->size, 108u);
  EXPECT_EQ(header->bounds, (Rect{0, 0, -1, -1}));
  EXPECT_EQ(header->frame, (Rect{0, 0, 1000, 1000}));
  EXPECT_EQ(header->records, 2u);
  EXPECT_EQ(header->handles, 1);
  EXPECT_EQ(header->bytes, 128u);
  EXPECT_EQ(header->palette_entries, 0u);
  const std::vector<uint32_t> eof{14, 20, 0, 16, 20};
  EXPECT_EQ(std::vector<uint32_t>({LoadU32(&emf[108]), LoadU32(&emf[112]), LoadU32(&emf[116]),
                                   LoadU32(&emf[120]), LoadU32(&emf[124])}),
            eof);
}

TEST(EmfRecorder, ChangedObjectsReuseTheLowestFreeSlot) {
  TMetafile page;
  page.SetPixelWidth(100);
  page.SetPixelHeight(100);
  {
    TMetafileCanvas canvas(page);
    canvas.Pen().Color = RGB(255, 0, 0);
    canvas.Brush().Color = RGB(0, 255, 0);
    canvas.Rectangle({0, 0, 10, 10});
    canvas.Pen().Color = RGB(0, 0, 255);  // a new pen: the old one's slot is free again
    canvas.Rectangle({0, 0, 20, 20});
    canvas.Rectangle({0, 0, 30, 30});     // unchanged objects are not selected again
    canvas.Release();
  }
  const std::vector<std::pair<uint32_t, uint32_t>> expected{
      {38, 1}, {37, 1}, {39, 2}, {37, 2},             // pen and brush created and selected
      {37, 0x80000007}, {40, 1}, {38, 1}, {37, 1},     // stock pen in, old pen out, new pen in slot 1
      {37, 0x80000007}, {40, 1}, {37, 0x80000005}, {40, 2}};  // release: stock objects back
  EXPECT_EQ(ObjectRecords(page.Bytes()), expected);
  EXPECT_EQ(page.Header()->handles, 3);
}

TEST(EmfRecorder, TextCarriesTheSpacingOfTheSelectedFont) {
  TMetafile page;
  page.SetPixelWidth(400);
  page.SetPixelHeight(100);
  int32_t width = 0;
  {
    TMetafileCanvas canvas(page);
    canvas.Font().Name = "Arial";
    canvas.Font().SetSize(12);
    canvas.TextOut(10, 20, "Will");
    width = canvas.TextWidth("Will");
    canvas.Release();
  }
  LogFont font;
  font.height = -16;
  font.face_name = u"Arial";
  const std::vector<int32_t> advances = UntransformedAdvances(font, u"Will");
  ASSERT_EQ(advances.size(), 4u);
  EXPECT_GT(advances[0], advances[1]);  // W is wider than i
  for (const RecordView& r : Records(page.Bytes())) {
    if (r.type != 84) continue;
    // bounds (4), mode, scales (3), reference (2), chars, offString, options, rect (4), offDx
    EXPECT_EQ(r.fields[4], uint32_t(GM_COMPATIBLE));
    EXPECT_EQ(r.fields[7], 10u);
    EXPECT_EQ(r.fields[8], 20u);
    ASSERT_EQ(r.fields[9], 4u);
    const uint32_t dx_at = (r.fields[16] - 8) / 4;
    int32_t sum = 0;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(int32_t(r.fields[dx_at + i]), advances[i]) << i;
      sum += int32_t(r.fields[dx_at + i]);
    }
    EXPECT_EQ(sum, width);
    return;
  }
  FAIL() << "no EMR_EXTTEXTOUTW recorded";
}

TEST(EmfRecorder, ShapesOfTheCompatibleModeAreStoredOneSmaller) {
  EmfRecorder recorder = ScreenRecorder();
  recorder.Rectangle({10, 20, 30, 40});
  recorder.Ellipse({30, 40, 10, 20});  // corners in any order
  const std::vector<uint8_t> emf = recorder.Close();
  const std::vector<RecordView> records = Records(emf);
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records[1].type, 43u);
  EXPECT_EQ(records[1].fields, (std::vector<uint32_t>{10, 20, 29, 39}));
  EXPECT_EQ(records[2].type, 42u);
  EXPECT_EQ(records[2].fields, (std::vector<uint32_t>{10, 20, 29, 39}));
  const auto header = ParseEnhMetaHeader(emf.data(), emf.size());
  EXPECT_EQ(header->bounds, (Rect{10, 20, 29, 39}));
}

TEST(EmfRecorder, ImagesAreStretchDIBitsWithTheirColourTable) {
  std::vector<uint8_t> info(40 + 8, 0), bits(4, 0);
  StoreU32(&info[0], 40);
  StoreU32(&info[4], 2);   // 2 x 1, 1 bit per pixel
  StoreU32(&info[8], 1);
  StoreU16(&info[12], 1);
  StoreU16(&info[14], 1);
  info[40 + 4] = 0xFF;     // colour 1: blue
  bits[0] = 0x40;          // pixels 0, 1
  const auto image = DibImage::Parse(info.data(), info.size(), bits.data(), bits.size());
  ASSERT_TRUE(image);
  EmfRecorder recorder = ScreenRecorder();
  recorder.StretchDIBits({5, 6, 20, 10}, *image, {0, 0, 2, 1}, SRCCOPY);
  const std::vector<uint8_t> emf = recorder.Close();
  const RecordView r = Records(emf)[1];
  ASSERT_EQ(r.type, 81u);
  EXPECT_EQ(std::vector<uint32_t>(r.fields.begin(), r.fields.begin() + 4), (std::vector<uint32_t>{5, 6, 24, 15}));
  EXPECT_EQ(r.fields[4], 5u);       // destination
  EXPECT_EQ(r.fields[5], 6u);
  EXPECT_EQ(r.fields[10], 80u);     // BITMAPINFO right after the fixed part
  EXPECT_EQ(r.fields[11], 40u + 1024u);
  EXPECT_EQ(r.fields[15], SRCCOPY);
  EXPECT_EQ(r.fields[16], 20u);
  EXPECT_EQ(r.fields[17], 10u);
  // Re-read as the player reads it: the same two colours.
  const size_t record_at = 108;
  const auto replayed = DibImage::Parse(emf.data() + record_at + 80, 1064, emf.data() + record_at + 80 + 1064, 4);
  ASSERT_TRUE(replayed);
  EXPECT_EQ(replayed->Color(0, 0).b, 0);
  EXPECT_EQ(replayed->Color(1, 0).b, 0xFF);
}

TEST(EmfRecorder, ADescriptionFollowsTheHeaderAndIsKeptByANewRecording) {
  const std::u16string description(u"Creator\0Page one\0\0", 18);
  EmfRecorder recorder({1024, 768}, {320, 240}, {0, 0, 3200, 2400}, description);
  TMetafile picture;
  picture.InstallEnhMetaFile(recorder.Close());
  const auto header = picture.Header();
  EXPECT_EQ(header->description_chars, 18u);
  EXPECT_EQ(header->description_offset, 108u);
  EXPECT_EQ(header->size, 108u + 36u);
  TMetafileCanvas canvas(picture);
  EXPECT_EQ(canvas.Description(), description);
  canvas.Release();
  EXPECT_EQ(picture.Header()->description_chars, 18u);
}

}  // namespace
}  // namespace vx::gdi
